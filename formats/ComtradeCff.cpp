#include "formats/ComtradeCff.h"

#include <cstdint>

namespace {

constexpr std::string_view kSectionMark = "--- file type:";

size_t Find(std::string_view text, std::string_view what, size_t from = 0) {
    return from > text.size() ? std::string_view::npos : text.find(what, from);
}

}  // namespace

bool CffSectionText(std::string_view all, std::string_view mark, std::string& out) {
    size_t at = Find(all, mark);
    if (at == std::string_view::npos) return false;
    out.clear();
    size_t start = Find(all, "\r\n", at);
    if (start == std::string_view::npos) return true;
    start += 2;
    size_t next = Find(all, kSectionMark, start);
    if (next != std::string_view::npos) out.assign(all.substr(start, next - start));
    return true;
}

size_t CffSectionLength(std::string_view line) {
    size_t colon = line.rfind(':');
    std::string_view digits = line;
    if (colon != std::string_view::npos) {
        digits = line.substr(colon + 1);
    } else {
        size_t first = line.find_first_of("0123456789"), last = line.find_last_of("0123456789");
        if (first == std::string_view::npos) return 0;
        digits = line.substr(first, last - first + 1);
    }
    size_t i = digits.find_first_not_of(' ');
    uint64_t n = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        n = n * 10 + uint64_t(digits[i] - '0');
        if (n > (uint64_t(1) << 62)) break;
    }
    return size_t(n);
}

bool CffDataSection(std::string_view all, std::string_view& out) {
    size_t line = Find(all, "--- file type: DAT");
    if (line == std::string_view::npos) return false;
    size_t lineEnd = all.find_first_of("\r\n", line);
    if (lineEnd == std::string_view::npos) lineEnd = all.size();
    const size_t n = CffSectionLength(all.substr(line, lineEnd - line));
    size_t data = lineEnd;
    if (data < all.size() && all[data] == '\r') ++data;
    if (data < all.size() && all[data] == '\n') ++data;
    out = data <= all.size() && n <= all.size() - data ? all.substr(data, n) : std::string_view();
    return true;
}
