#include "model/XmlNode.h"

#include <clocale>
#include <cstdint>
#include <cwctype>
#include <iterator>
#include <locale.h>
#include <utility>

namespace {

// The first UTF-16 code unit of a character, and the character itself to tell apart two
// characters sharing a high surrogate: ordering by this pair is ordering by code units.
std::pair<uint32_t, uint32_t> UnitKey(wchar_t c) {
    const uint32_t u = static_cast<uint32_t>(c);
    return {u >= 0x10000 ? 0xD800 + ((u - 0x10000) >> 10) : u, u};
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// An attribute name the reader takes back: name characters, white space only at the ends
// (the reader skips white space between tokens).
bool IsReadableName(const std::wstring& name) {
    size_t first = 0, last = name.size();
    while (first < last && IsBlank(name[first])) ++first;
    while (last > first && IsBlank(name[last - 1])) --last;
    if (first == last) return false;
    for (size_t i = first; i < last; ++i)
        if (!IsXmlNameChar(name[i])) return false;
    return true;
}

}  // namespace

bool Utf16Less::operator()(const CString& a, const CString& b) const {
    const std::wstring& x = a.str();
    const std::wstring& y = b.str();
    const size_t n = x.size() < y.size() ? x.size() : y.size();
    for (size_t i = 0; i < n; ++i) {
        if (x[i] == y[i]) continue;
        return UnitKey(x[i]) < UnitKey(y[i]);
    }
    return x.size() < y.size();
}

bool IsXmlNameChar(wchar_t c) {
    if (c < 0x80)
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
    // Letters of every script, whatever locale the process runs under.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    if (utf8) return iswalpha_l(static_cast<wint_t>(c), utf8) != 0;
    // Without that locale: the Latin-1 letters and the Cyrillic block.
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x400 && c <= 0x481) ||
           (c >= 0x48A && c <= 0x52F);
}

XmlNode& XmlNode::AddChild(const CString& name) {
    m_children.emplace_back(name);
    return m_children.back();
}

void XmlNode::SetAttribute(const CString& name, const CString& value) { m_attributes[name] = value; }

CString XmlNode::GetAttribute(const CString& name) const {
    auto it = m_attributes.find(name);
    return it == m_attributes.end() ? CString() : it->second;
}

CString XmlNode::GetAttributeName(int i) const {
    if (i < 0 || i >= GetAttributeCount()) return CString();
    return std::next(m_attributes.begin(), i)->first;
}

CString XmlNode::GetAttributeValue(int i) const {
    if (i < 0 || i >= GetAttributeCount()) return CString();
    return std::next(m_attributes.begin(), i)->second;
}

void XmlNode::Clear() {
    m_name.Empty();
    m_children.clear();
    m_attributes.clear();
}

CString XmlNode::EscapeValue(const CString& value) {
    std::wstring out;
    out.reserve(value.str().size());
    for (wchar_t c : value.str()) {
        switch (c) {
            case L'&': out += L"&amp;"; break;
            case L'"': out += L"&quot;"; break;
            case L'<': out += L"&lt;"; break;
            case L'>': out += L"&gt;"; break;
            default: out += c; break;
        }
    }
    return CString(std::move(out));
}

CString XmlNode::UnescapeValue(const CString& text) {
    static const struct { const wchar_t* ref; size_t len; wchar_t c; } refs[] = {
        {L"&amp;", 5, L'&'}, {L"&quot;", 6, L'"'}, {L"&lt;", 4, L'<'}, {L"&gt;", 4, L'>'},
    };
    const std::wstring& s = text.str();
    if (s.find(L'&') == std::wstring::npos) return text;
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        bool replaced = false;
        if (s[i] == L'&') {
            for (const auto& r : refs) {
                if (s.compare(i, r.len, r.ref) == 0) {
                    out += r.c;
                    i += r.len;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += s[i++];
    }
    return CString(std::move(out));
}

void XmlNode::Write(std::wstring& out, const std::wstring& indent) const {
    out += indent;
    out += L'<';
    out += m_name.str();
    for (const auto& [name, value] : m_attributes) {
        // A name the reader would stop at would make the rest of the file unreadable; such a
        // value could never be read back anyway.
        if (!IsReadableName(name.str())) continue;
        out += L' ';
        out += name.str();
        out += L"=\"";
        out += EscapeValue(value).str();
        out += L'"';
    }
    if (m_children.empty()) {
        out += L"/>\r\n";
        return;
    }
    out += L">\r\n";
    const std::wstring inner = indent + L'\t';
    for (const XmlNode& child : m_children) child.Write(out, inner);
    out += indent;
    out += L"</";
    out += m_name.str();
    out += L">\r\n";
}

void XmlNode::WriteFile(std::wstring& out, const CString& indent) const { Write(out, indent.str()); }

void XmlNode::WriteStream(std::wostream& out, const CString& indent) const {
    std::wstring text;
    Write(text, indent.str());
    out << text;
}
