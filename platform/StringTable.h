#pragma once
// String resources by numeric id. Each module has its Russian table built in; the module's
// English resource library, when the user's choice takes it (platform/TextLanguage.h), is
// used instead.
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/CString.h"

namespace platform {

struct StringEntry {
    unsigned id;
    const wchar_t* text;
};

struct StringTableView {
    const StringEntry* entries;
    size_t count;
};

class StringTable {
public:
    // `anchor` is any address inside the module that owns the table; the English library
    // `englishName` is looked for beside that module, and in its "lang" folder, on first use.
    StringTable(StringTableView builtin, const char* englishName, const void* anchor);
    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    // The text of `id`; an id missing from the English table falls back to the Russian one,
    // an unknown id gives an empty text.
    CString Get(unsigned id) const;
    bool Has(unsigned id) const;
    bool IsEnglish() const;

    // Replaces the English table by the library at `path` (false, and Russian texts, when it
    // cannot be loaded), or drops it with an empty path.
    bool LoadEnglishFrom(const std::string& path);
    // The folder of the module that holds `anchor`.
    static std::string ModuleFolder(const void* anchor);

private:
    void EnsureInit() const;
    bool LoadLocked(const std::string& path) const;
    void UnloadLocked() const;

    std::unordered_map<unsigned, const wchar_t*> m_builtin;
    mutable std::unordered_map<unsigned, const wchar_t*> m_english;
    mutable void* m_handle = nullptr;
    mutable bool m_init = false;
    mutable std::mutex m_mutex;
    std::string m_englishName;
    const void* m_anchor;
};

}  // namespace platform
