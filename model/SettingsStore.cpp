#include "model/SettingsStore.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <clocale>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <fstream>
#include <locale.h>
#include <sstream>
#include <sys/stat.h>

#include "model/SettingsStrings.h"
#include "model/TenvorikException.h"
#include "model/XmlDocument.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/Exception.h"

namespace {

const wchar_t kCategory[] = L"category";
const wchar_t kName[] = L"name";

}  // namespace

// ---- SettingsNode ---------------------------------------------------------------------

void SettingsNode::SetInt(const CString& key, int value) { m_values[key] = CString(std::to_wstring(value)); }

void SettingsNode::SetDouble(const CString& key, double value) {
    // "%f" whatever the process's numeric locale: six decimals and a point, which every
    // reader of these files takes. A value that six decimals would change (a ratio such as
    // 73323.453100023) is written with as many decimals as it needs to read back the same,
    // still as plain decimals.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    if (res.ec == std::errc() && std::isfinite(value) && TextToDouble(CString(std::wstring(buf, res.ptr))) != value)
        res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::wstring text(buf, res.ec == std::errc() ? res.ptr : buf);
    m_values[key] = CString(std::move(text));
}

void SettingsNode::SetString(const CString& key, const CString& value) { m_values[key] = value; }

CString SettingsNode::GetString(const CString& key, const CString& def) const {
    auto it = m_values.find(key);
    return it == m_values.end() ? def : it->second;
}

int SettingsNode::GetInt(const CString& key, int def) const {
    auto it = m_values.find(key);
    return it == m_values.end() ? def : TextToInt(it->second);
}

double SettingsNode::GetDouble(const CString& key, double def) const {
    auto it = m_values.find(key);
    return it == m_values.end() ? def : TextToDouble(it->second);
}

int SettingsNode::TextToInt(const CString& text) {
    const std::wstring& s = text.str();
    size_t i = 0;
    while (i < s.size() && std::iswspace(static_cast<wint_t>(s[i]))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
    long long v = 0;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
        v = v * 10 + (s[i] - L'0');
        if (v > 1LL + INT_MAX) v = 1LL + INT_MAX;  // saturates below instead of overflowing
    }
    if (negative) v = -v;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

double SettingsNode::TextToDouble(const CString& text) {
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    const wchar_t* s = text.GetString();
    return c ? wcstod_l(s, nullptr, c) : std::wcstod(s, nullptr);
}

SettingsNode& SettingsNode::GetSubCategory(const CString& name) { return m_categories[name]; }

void SettingsNode::Clear() {
    m_values.clear();
    m_categories.clear();
}

void SettingsNode::WriteXml(XmlNode& element) const {
    for (const auto& [key, value] : m_values) element.SetAttribute(key, value);
    for (const auto& [name, sub] : m_categories) {
        XmlNode& child = element.AddChild(kCategory);
        child.SetAttribute(kName, name);
        sub.WriteXml(child);
    }
}

void SettingsNode::ReadXml(const XmlNode& element) {
    for (const auto& [key, value] : element.GetAttributes()) m_values[key] = value;
    for (const XmlNode& child : element.GetChildren()) GetSubCategory(child.GetAttribute(kName)).ReadXml(child);
}

// ---- SettingsStore --------------------------------------------------------------------

SettingsNode& SettingsStore::GetCategory(const CString& name) { return m_categories[name]; }

void SettingsStore::BuildXml(XmlNode& root) const {
    for (const auto& [name, category] : m_categories) {
        XmlNode& child = root.AddChild(kCategory);
        child.SetAttribute(kName, name);
        // A value keyed "name" replaces the category's name attribute: in the file they are one.
        category.WriteXml(child);
    }
}

CString SettingsStore::SaveText() const {
    XmlDocument doc;
    BuildXml(doc);
    std::wstring text = XmlDocument::kDeclaration;
    text += L"\r\n";
    doc.WriteFile(text, CString());
    return CString(std::move(text));
}

std::string SettingsStore::SaveBytes() const { return platform::WideToUtf16Le(SaveText().view(), true); }

bool SettingsStore::Save(const CString& path, CString* error) const {
    std::string bytes;
    try {
        bytes = SaveBytes();
    } catch (const std::bad_alloc&) {
        if (error) *error = L"out of memory";
        return false;
    }
    return platform::TryWriteFileAtomically(path, bytes, error);
}

void SettingsStore::LoadIni(const CString& path) {
    std::ifstream in(platform::WideToUtf8(path.view()), std::ios::binary);
    if (!in) return;
    std::stringstream raw;
    raw << in.rdbuf();
    // Text mode in the ANSI code page: CR LF reads as LF.
    const std::wstring text = platform::AnsiToWide(raw.str());
    SettingsNode* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find(L'\n', start);
        const bool hasLf = lf != std::wstring::npos;
        std::wstring line = text.substr(start, hasLf ? lf - start : std::wstring::npos);
        start = hasLf ? lf + 1 : text.size();
        if (!line.empty() && line.back() == L'\r' && hasLf) line.pop_back();
        if (hasLf) line += L'\n';
        // The line as a C string: nothing after a NUL character counts.
        if (size_t nul = line.find(L'\0'); nul != std::wstring::npos) line.resize(nul);
        if (line.empty()) continue;
        if (line[0] == L'[') {
            // Everything after "[" up to the first "]"; without one, to the end of the line.
            // "[]" makes the category of the empty name current.
            size_t close = line.find(L']', 1);
            current = &GetCategory(CString(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)));
            continue;
        }
        if (!current) continue;
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos || eq == 0) continue;
        size_t end = line.find_first_of(L"\r\n", eq + 1);
        std::wstring value = line.substr(eq + 1, end == std::wstring::npos ? std::wstring::npos : end - eq - 1);
        if (value.empty()) continue;
        current->SetString(CString(line.substr(0, eq)), CString(std::move(value)));
    }
}

bool SettingsStore::Load(const CString& path, CString* error) {
    bool ok = true;
    try {
        XmlDocument doc;
        CString why;
        const bool parsed = doc.LoadFile(path, false, &why);
        if (doc.GetChildCount() == 0 && doc.GetAttributeCount() == 0) {
            // Nothing of an XML settings file: the INI text of older versions. A UTF-16 file
            // here was meant as XML and is damaged.
            if (!parsed) {
                struct stat st {};
                const bool exists = ::stat(platform::WideToUtf8(path.view()).c_str(), &st) == 0;
                std::ifstream in(platform::WideToUtf8(path.view()), std::ios::binary);
                char bom[2] = {};
                if ((exists && !in) || (in.read(bom, 2) && bom[0] == '\xFF' && bom[1] == '\xFE')) {
                    ok = false;
                    if (error) *error = why;
                }
            }
            LoadIni(path);
        } else {
            m_categories.clear();
            for (const XmlNode& child : doc.GetChildren()) GetCategory(child.GetAttribute(kName)).ReadXml(child);
            if (!parsed) {
                ok = false;
                if (error) *error = why;
            }
        }
    } catch (CException* e) {
        if (error) *error = e->GetErrorMessage();
        e->Delete();
        ok = false;
    }
    return ok;
}
