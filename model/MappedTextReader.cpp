#include "model/MappedTextReader.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/FileException.h"

namespace {
inline bool IsBlank(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }
inline bool IsSeparator(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ','; }
}  // namespace

MappedTextReader::MappedTextReader(const CStringW& path) : m_path(path) {
    // Opening first tells a missing or unreadable file (a file error) from one that opens but
    // cannot be mapped (a bad record).
    int fd = ::open(platform::WideToUtf8(path.view()).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw new CFileException(errno, -1, path);
    ::close(fd);
    if (!m_file.Open(path) || uint64_t(m_file.size()) >= (uint64_t(1) << 32))
        throw new CTenvorikException(330, path);
    m_view = m_cursor = m_file.data();
    m_end = m_view + m_file.size();
}

void MappedTextReader::SkipBlanks() {
    while (m_cursor < m_end && IsBlank(*m_cursor)) ++m_cursor;
}

CStringW MappedTextReader::ReadLine() {
    SkipBlanks();
    const char* start = m_cursor;
    while (m_cursor < m_end && *m_cursor != '\r' && *m_cursor != '\n') ++m_cursor;
    CStringW line(platform::AnsiToWide(std::string_view(start, size_t(m_cursor - start))));
    if (m_cursor < m_end) ++m_cursor;
    return line;
}

const char* MappedTextReader::ReadField() {
    SkipBlanks();
    char* start = m_cursor;
    while (m_cursor < m_end && !IsSeparator(*m_cursor)) ++m_cursor;
    if (m_cursor < m_end) {
        *m_cursor++ = '\0';
        return start;
    }
    m_lastField = CStringA(std::string(start, size_t(m_end - start)));
    return m_lastField.GetString();
}

int32_t MappedTextReader::ReadInt() {
    SkipBlanks();
    int64_t value = 0;
    bool negative = false;
    while (m_cursor < m_end) {
        unsigned char c = static_cast<unsigned char>(*m_cursor);
        if (c >= '0' && c <= '9') {
            if (value <= INT64_MAX / 100) value = value * 10 + (c - '0');
        } else if (c == '-') {
            negative = !negative;
        } else {
            break;
        }
        ++m_cursor;
    }
    if (negative) value = -value;
    while (m_cursor < m_end && !IsSeparator(*m_cursor)) ++m_cursor;
    if (m_cursor < m_end) ++m_cursor;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int32_t(value);
}

CStringA MappedTextAsNarrow(const MappedTextReader& reader) {
    return CStringA(std::string(reader.m_view, size_t(reader.m_end - reader.m_view)));
}

bool IsAnsiText(const CStringA& text) {
    const std::string converted = platform::OemToAnsi(text.view());
    auto cyrillic = [](const std::string& s, size_t n) {
        size_t count = 0;
        for (size_t k = 0; k < n && k < s.size(); ++k)
            if (static_cast<unsigned char>(s[k]) >= 0xC0) ++count;
        return count;
    };
    size_t n = size_t(text.GetLength());
    return cyrillic(converted, n) < cyrillic(text.str(), n);
}

CStringA WideToOem(const CStringW& text) {
    std::string bytes = platform::WideToOem(text.view());
    size_t nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
    return CStringA(std::move(bytes));
}
