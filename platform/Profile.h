#pragma once
// The application profile in place of the registry: one INI-like text file per program,
// $XDG_CONFIG_HOME/Korvelund/<program>.ini (~/.config/Korvelund/ when the variable is unset).
// Section and key names are compared ignoring case, as the registry does, and keep the case
// they were first written with. Values hold any characters: backslash, line breaks and other
// control characters are escaped in the file. Every write saves the whole file atomically
// after taking in what another running instance may have saved meanwhile. Thread-safe.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/CString.h"

namespace platform {

class Profile {
public:
    // The profile of `program` in the default folder, or a profile kept at `filePath`.
    explicit Profile(const CString& program);
    static Profile AtPath(const CString& filePath);

    static CString Folder();  // $XDG_CONFIG_HOME/Korvelund

    int GetProfileInt(const CString& section, const CString& key, int defaultValue) const;
    CString GetProfileString(const CString& section, const CString& key,
                             const CString& defaultValue = CString()) const;
    // False when the file could not be saved (the value is kept for this run).
    bool WriteProfileInt(const CString& section, const CString& key, int value);
    // A null `value` removes the key; a null `key` removes the whole section.
    bool WriteProfileString(const CString& section, const wchar_t* key, const wchar_t* value);
    bool WriteProfileString(const CString& section, const CString& key, const CString& value) {
        return Write(section, &key, &value);
    }

    const CString& GetFilePath() const { return m_path; }
    // Forgets what was read, so that the next read takes the file as it is now.
    void Reload();

    // The text of the file for a set of sections, and back (exposed for tests).
    struct Entry {
        CString key, value;
    };
    struct Section {
        CString name;
        std::vector<Entry> entries;
    };
    static std::string Serialize(const std::vector<Section>& sections);
    static std::vector<Section> Parse(const std::string& text);

    Profile(Profile&&) noexcept;
    ~Profile();

private:
    struct Tag {};
    Profile(Tag, const CString& filePath);
    bool Write(const CString& section, const CString* key, const CString* value);
    void LoadLocked() const;
    bool SaveLocked();
    Section* FindSection(const CString& name) const;

    CString m_path;
    mutable std::unique_ptr<std::mutex> m_mutex;
    mutable std::vector<Section> m_sections;
    mutable bool m_loaded = false;
};

// The program's own profile, named once at start-up (the executable's name until then).
void SetProfileProgram(const CString& program);
Profile& AppProfile();

// The framework's calls on the program's profile.
int GetProfileInt(const CString& section, const CString& key, int defaultValue);
CString GetProfileString(const CString& section, const CString& key, const CString& defaultValue = CString());
bool WriteProfileInt(const CString& section, const CString& key, int value);
bool WriteProfileString(const CString& section, const wchar_t* key, const wchar_t* value);

}  // namespace platform
