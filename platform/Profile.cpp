#include "platform/Profile.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

enum class Part { Section, Key, Value };

std::wstring Escape(const CString& text, Part part) {
    std::wstring out;
    const std::wstring& s = text.str();
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        bool special = c < 0x20 || c == 0x7F || c == L'\\' ||
                       (part == Part::Section && (c == L']' || c == L'[')) ||
                       (part == Part::Key && (c == L'=' || (i == 0 && (c == L'[' || c == L';' || c == L'#'))));
        if (!special) {
            out += c;
            continue;
        }
        switch (c) {
            case L'\\': out += L"\\\\"; break;
            case L'\n': out += L"\\n"; break;
            case L'\r': out += L"\\r"; break;
            case L'\t': out += L"\\t"; break;
            default: {
                wchar_t buf[8];
                swprintf(buf, 8, L"\\x%02X", unsigned(c));
                out += buf;
            }
        }
    }
    return out;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

CString Unescape(std::wstring_view s) {
    std::wstring out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != L'\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        wchar_t c = s[++i];
        switch (c) {
            case L'n': out += L'\n'; break;
            case L'r': out += L'\r'; break;
            case L't': out += L'\t'; break;
            case L'x':
                if (i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
                    out += wchar_t(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
                    i += 2;
                } else {
                    out += L"\\x";
                }
                break;
            default: out += c; break;  // "\\" and anything a person typed
        }
    }
    return CString(std::move(out));
}

bool SameName(const CString& a, const CString& b) { return a.CompareNoCase(b) == 0; }

// A name as SameName compares it.
std::wstring Folded(const CString& name) {
    CString folded = name;
    folded.MakeLower();
    return folded.str();
}

std::mutex g_appMutex;
std::unique_ptr<Profile> g_app;
// Profiles replaced by SetProfileProgram stay alive: a caller may still hold a reference.
std::vector<std::unique_ptr<Profile>> g_retired;

CString ProgramFilePath(const CString& program) { return JoinPath(Profile::Folder(), program + L".ini"); }

}  // namespace

Profile::Profile(const CString& program) : Profile(Tag{}, ProgramFilePath(program)) {}
Profile::Profile(Tag, const CString& filePath) : m_path(filePath), m_mutex(std::make_unique<std::mutex>()) {}
Profile::Profile(Profile&&) noexcept = default;
Profile::~Profile() = default;

Profile Profile::AtPath(const CString& filePath) { return Profile(Tag{}, filePath); }

CString Profile::Folder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // XDG base-directory rules: a relative value is to be ignored.
    CString base = xdg && xdg[0] == '/' ? CString(Utf8ToWide(xdg)) : JoinPath(HomeFolder(), L".config");
    return JoinPath(base, L"Korvelund");
}

std::string Profile::Serialize(const std::vector<Section>& sections) {
    std::wstring text;
    for (const auto& s : sections) {
        if (!text.empty()) text += L"\n";
        text += L"[" + Escape(s.name, Part::Section) + L"]\n";
        for (const auto& e : s.entries) text += Escape(e.key, Part::Key) + L"=" + Escape(e.value, Part::Value) + L"\n";
    }
    return WideToUtf8(text);
}

std::vector<Profile::Section> Profile::Parse(const std::string& bytes) {
    std::vector<Section> sections;
    // Sections and keys are found by their folded names, so that a large profile parses in
    // time proportional to its length.
    std::unordered_map<std::wstring, size_t> sectionAt;
    std::vector<std::unordered_map<std::wstring, size_t>> keyAt;
    std::wstring text = Utf8ToWide(bytes);
    size_t current = SIZE_MAX;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find(L'\n', pos);
        if (eol == std::wstring::npos) eol = text.size();
        std::wstring_view line(text.data() + pos, eol - pos);
        pos = eol + 1;
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        if (line.empty() || line[0] == L';' || line[0] == L'#') continue;
        if (line[0] == L'[') {
            size_t close = line.find(L']');
            CString name = Unescape(line.substr(1, close == std::wstring_view::npos ? line.size() - 1 : close - 1));
            auto [it, added] = sectionAt.try_emplace(Folded(name), sections.size());
            if (added) {
                sections.push_back({name, {}});
                keyAt.emplace_back();
            }
            current = it->second;
            continue;
        }
        size_t eq = line.find(L'=');
        if (current == SIZE_MAX || eq == std::wstring_view::npos) continue;
        CString key = Unescape(line.substr(0, eq)), value = Unescape(line.substr(eq + 1));
        std::vector<Entry>& entries = sections[current].entries;
        auto [it, added] = keyAt[current].try_emplace(Folded(key), entries.size());
        if (added)
            entries.push_back({std::move(key), std::move(value)});
        else
            entries[it->second].value = std::move(value);
    }
    return sections;
}

void Profile::LoadLocked() const {
    if (m_loaded) return;
    m_loaded = true;
    m_sections.clear();
    try {
        m_sections = Parse(ReadFileBytes(m_path));
    } catch (CFileException* e) {
        // A missing file is an empty profile; an unreadable one reads as empty too, and
        // callers get their defaults.
        e->Delete();
    }
}

Profile::Section* Profile::FindSection(const CString& name) const {
    for (auto& s : m_sections)
        if (SameName(s.name, name)) return &s;
    return nullptr;
}

bool Profile::SaveLocked() {
    CreateFolders(PathFolder(m_path));
    return TryWriteFileAtomically(m_path, Serialize(m_sections));
}

void Profile::Reload() {
    std::lock_guard lock(*m_mutex);
    m_loaded = false;
}

int Profile::GetProfileInt(const CString& section, const CString& key, int defaultValue) const {
    CString text = GetProfileString(section, key, CString());
    std::string s = WideToUtf8(CString(text).Trim().view());
    if (s.empty()) return defaultValue;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (end == s.c_str() || *end != '\0' || errno == ERANGE) return defaultValue;
    // The registry keeps a 32-bit word: 4294967295 reads back as -1.
    return int(uint32_t(uint64_t(v)));
}

CString Profile::GetProfileString(const CString& section, const CString& key, const CString& defaultValue) const {
    std::lock_guard lock(*m_mutex);
    LoadLocked();
    if (const Section* s = FindSection(section))
        for (const auto& e : s->entries)
            if (SameName(e.key, key)) return e.value;
    return defaultValue;
}

bool Profile::WriteProfileInt(const CString& section, const CString& key, int value) {
    CString text;
    text.Format(L"%d", value);
    return Write(section, &key, &text);
}

bool Profile::WriteProfileString(const CString& section, const wchar_t* key, const wchar_t* value) {
    CString k(key), v(value);
    return Write(section, key ? &k : nullptr, value ? &v : nullptr);
}

bool Profile::Write(const CString& section, const CString* key, const CString* value) {
    std::lock_guard lock(*m_mutex);
    // Take in what another instance saved since this one read the file.
    m_loaded = false;
    LoadLocked();
    Section* s = FindSection(section);
    if (!key) {
        if (!s) return true;
        m_sections.erase(m_sections.begin() + (s - m_sections.data()));
        return SaveLocked();
    }
    if (!s) {
        if (!value) return true;
        m_sections.push_back({section, {}});
        s = &m_sections.back();
    }
    for (size_t i = 0; i < s->entries.size(); ++i) {
        if (!SameName(s->entries[i].key, *key)) continue;
        if (value)
            s->entries[i].value = *value;
        else
            s->entries.erase(s->entries.begin() + long(i));
        return SaveLocked();
    }
    if (!value) return true;
    s->entries.push_back({*key, *value});
    return SaveLocked();
}

void SetProfileProgram(const CString& program) {
    std::lock_guard lock(g_appMutex);
    if (g_app) g_retired.push_back(std::move(g_app));
    g_app = std::make_unique<Profile>(program);
}

Profile& AppProfile() {
    std::lock_guard lock(g_appMutex);
    if (!g_app) g_app = std::make_unique<Profile>(PathFileName(ExecutablePath()));
    return *g_app;
}

int GetProfileInt(const CString& section, const CString& key, int defaultValue) {
    return AppProfile().GetProfileInt(section, key, defaultValue);
}
CString GetProfileString(const CString& section, const CString& key, const CString& defaultValue) {
    return AppProfile().GetProfileString(section, key, defaultValue);
}
bool WriteProfileInt(const CString& section, const CString& key, int value) {
    return AppProfile().WriteProfileInt(section, key, value);
}
bool WriteProfileString(const CString& section, const wchar_t* key, const wchar_t* value) {
    return AppProfile().WriteProfileString(section, key, value);
}

}  // namespace platform
