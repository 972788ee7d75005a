#include "platform/StringTable.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TextLanguage.h"

namespace platform {

StringTable::StringTable(StringTableView builtin, const char* englishName, const void* anchor)
    : m_englishName(englishName ? englishName : ""), m_anchor(anchor) {
    for (size_t i = 0; i < builtin.count; ++i) m_builtin.emplace(builtin.entries[i].id, builtin.entries[i].text);
}

StringTable::~StringTable() {
    std::lock_guard lock(m_mutex);
    UnloadLocked();
}

std::string StringTable::ModuleFolder(const void* anchor) {
    std::string file;
    Dl_info info{};
    if (anchor && dladdr(anchor, &info) && info.dli_fname && std::string(info.dli_fname).find('/') != std::string::npos)
        file = info.dli_fname;
    if (file.empty()) {
        char buf[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n <= 0) return ".";
        file.assign(buf, size_t(n));
    }
    if (char* real = realpath(file.c_str(), nullptr)) {
        file = real;
        free(real);
    }
    size_t slash = file.rfind('/');
    return slash == std::string::npos ? "." : file.substr(0, slash == 0 ? 1 : slash);
}

void StringTable::UnloadLocked() const {
    m_english.clear();
    if (m_handle) dlclose(m_handle);
    m_handle = nullptr;
}

bool StringTable::LoadLocked(const std::string& path) const {
    UnloadLocked();
    struct stat st{};
    if (path.empty() || stat(path.c_str(), &st) != 0) return false;
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) return false;
    using TableFn = const StringEntry* (*)(unsigned long*);
    auto fn = reinterpret_cast<TableFn>(dlsym(h, "ResEngStringTable"));
    if (!fn) {
        dlclose(h);
        return false;
    }
    unsigned long n = 0;
    const StringEntry* e = fn(&n);
    for (unsigned long i = 0; e && i < n; ++i) m_english.emplace(e[i].id, e[i].text);
    m_handle = h;
    return true;
}

void StringTable::EnsureInit() const {
    if (m_init) return;
    m_init = true;
    const std::string path = ChooseEnglishLibrary(ModuleFolder(m_anchor), m_englishName, GetTextLanguage(),
                                                  LocaleAsksForEnglish(), [](const std::string& file) {
                                                      struct stat st {};
                                                      return stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
                                                  });
    if (!path.empty()) LoadLocked(path);
}

bool StringTable::LoadEnglishFrom(const std::string& path) {
    std::lock_guard lock(m_mutex);
    m_init = true;
    if (path.empty()) {
        UnloadLocked();
        return false;
    }
    return LoadLocked(path);
}

CString StringTable::Get(unsigned id) const {
    std::lock_guard lock(m_mutex);
    EnsureInit();
    if (auto it = m_english.find(id); it != m_english.end()) return CString(it->second);
    if (auto it = m_builtin.find(id); it != m_builtin.end()) return CString(it->second);
    return CString();
}

bool StringTable::Has(unsigned id) const {
    std::lock_guard lock(m_mutex);
    EnsureInit();
    return m_english.count(id) || m_builtin.count(id);
}

bool StringTable::IsEnglish() const {
    std::lock_guard lock(m_mutex);
    EnsureInit();
    return m_handle != nullptr;
}

}  // namespace platform
