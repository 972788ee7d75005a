#include "orvinel/ConverterOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/Encoding.h"

ComtradeConverter::Output::Output(const CString& folder, const CString& fileName) {
    std::string dir = platform::WideToUtf8(folder.view());
    // Peers written for Windows may hand a folder with backslashes or a trailing separator.
    for (char& c : dir)
        if (c == '\\') c = '/';
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    m_base = (dir.empty() ? std::string() : dir + "/") + platform::WideToUtf8(fileName.view()) + ".";
}

ComtradeConverter::Output::~Output() { Discard(); }

std::FILE* ComtradeConverter::Output::Open(const char* ext) {
    if (m_open) Close();
    std::string target = m_base + ext;
    std::string pattern = target;
    auto slash = pattern.rfind('/');
    pattern.insert(slash == std::string::npos ? 0 : slash + 1, ".");
    pattern += ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) return nullptr;
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    m_open = fdopen(fd, "wb");
    if (!m_open) {
        ::close(fd);
        ::unlink(name.data());
        return nullptr;
    }
    m_files.push_back({name.data(), target});
    return m_open;
}

bool ComtradeConverter::Output::Close() {
    if (!m_open) return true;
    bool ok = std::ferror(m_open) == 0;
    if (std::fclose(m_open) != 0) ok = false;
    m_open = nullptr;
    return ok;
}

bool ComtradeConverter::Output::Commit() {
    if (!Close()) {
        Discard();
        return false;
    }
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (std::rename(m_files[i].temp.c_str(), m_files[i].target.c_str()) != 0) {
            m_files.erase(m_files.begin(), m_files.begin() + long(i));
            Discard();
            return false;
        }
    }
    m_files.clear();
    return true;
}

void ComtradeConverter::Output::Discard() {
    if (m_open) {
        std::fclose(m_open);
        m_open = nullptr;
    }
    for (const Pending& file : m_files) ::unlink(file.temp.c_str());
    m_files.clear();
}
