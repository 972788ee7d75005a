#include "model/XmlDocument.h"

#include <climits>
#include <new>
#include <sstream>

#include "model/SettingsStrings.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/MappedFile.h"
#include "platform/UiServices.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Hands a failure to the user or drops it; `error` receives its message either way.
void Dispose(CException* e, bool report, CString* error) {
    if (error) *error = e->GetErrorMessage();
    if (report)
        platform::Ui().PostException(e);
    else
        e->Delete();
}

}  // namespace

const wchar_t* const XmlDocument::kDeclaration = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>";

XmlDocument::XmlDocument() : XmlNode(L"settings") {}

XmlDocument::XmlDocument(const CString& path, bool report) { LoadFile(path, report); }

void XmlDocument::FormatError() { throw new CTenvorikException(IDS_XML_FORMAT_ERROR); }

bool XmlDocument::StartsWith(int pos, const wchar_t* s) const {
    for (int i = 0; s[i]; ++i)
        if (pos + i >= m_length || m_text[size_t(pos + i)] != s[i]) return false;
    return true;
}

// Steps over a comment or processing instruction that starts at the position; one that
// never ends is a format error, not a read past the end of the text.
bool XmlDocument::Skip(const wchar_t* opener, const wchar_t* closer) {
    if (!StartsWith(m_pos, opener)) return false;
    int closerLength = 0;
    while (closer[closerLength]) ++closerLength;
    while (m_pos < m_length && !StartsWith(m_pos, closer)) ++m_pos;
    if (m_pos >= m_length) FormatError();
    m_pos += closerLength;
    return true;
}

XmlDocument::Token XmlDocument::NextToken() {
    for (;;) {
        while (m_pos < m_length && IsBlank(m_text[size_t(m_pos)])) ++m_pos;
        if (Skip(L"<?", L"?>")) continue;
        if (Skip(L"<!--", L"-->")) continue;
        break;
    }
    Token t;
    if (m_pos >= m_length) return t;
    const wchar_t c = m_text[size_t(m_pos)];
    switch (c) {
        case L'<': t.kind = TokenKind::TagOpen; ++m_pos; return t;
        case L'>': t.kind = TokenKind::TagClose; ++m_pos; return t;
        case L'/': t.kind = TokenKind::Slash; ++m_pos; return t;
        case L'=': t.kind = TokenKind::Equals; ++m_pos; return t;
        default: break;
    }
    if (c == L'"') {
        const int first = m_pos + 1;
        int end = first;
        while (end < m_length && m_text[size_t(end)] != L'"') ++end;
        if (end >= m_length) FormatError();  // no closing quote
        t.kind = TokenKind::Word;
        t.text = CString(m_text.substr(size_t(first), size_t(end - first)));
        m_pos = end + 1;
        return t;
    }
    if (IsXmlNameChar(c)) {
        const int first = m_pos;
        while (m_pos < m_length && IsXmlNameChar(m_text[size_t(m_pos)])) ++m_pos;
        t.kind = TokenKind::Word;
        t.text = CString(m_text.substr(size_t(first), size_t(m_pos - first)));
        return t;
    }
    FormatError();
}

XmlDocument::Tag XmlDocument::ParseElement() {
    Tag tag;
    Token t = NextToken();
    if (t.kind == TokenKind::EndOfText) return tag;
    if (t.kind != TokenKind::TagOpen) FormatError();
    t = NextToken();
    if (t.kind == TokenKind::Slash) {
        t = NextToken();
        if (t.kind != TokenKind::Word) FormatError();
        tag.name = t.text;
        if (NextToken().kind != TokenKind::TagClose) FormatError();
        tag.kind = TagKind::EndTag;
        return tag;
    }
    if (t.kind != TokenKind::Word) FormatError();
    tag.name = t.text;
    for (t = NextToken();; t = NextToken()) {
        if (t.kind == TokenKind::TagClose) {
            tag.kind = TagKind::StartTag;
            return tag;
        }
        if (t.kind == TokenKind::Slash) {
            if (NextToken().kind != TokenKind::TagClose) FormatError();
            tag.kind = TagKind::EmptyElement;
            return tag;
        }
        if (t.kind != TokenKind::Word) FormatError();
        if (NextToken().kind != TokenKind::Equals) FormatError();
        Token value = NextToken();
        if (value.kind != TokenKind::Word) FormatError();
        tag.attributes[t.text] = UnescapeValue(value.text);
    }
}

void XmlDocument::ParseChildren(XmlNode& node, const Tag& tag) { ParseChildren(node, tag, 1); }

void XmlDocument::ParseChildren(XmlNode& node, const Tag& tag, int depth) {
    node.SetName(tag.name);
    for (const auto& [name, value] : tag.attributes) node.SetAttribute(name, value);
    if (tag.kind == TagKind::EmptyElement) return;
    if (tag.kind != TagKind::StartTag || depth > kMaxDepth) FormatError();
    for (;;) {
        Tag t = ParseElement();
        switch (t.kind) {
            case TagKind::EndTag:
                if (t.name == node.GetName()) return;
                FormatError();
            case TagKind::EndOfText:
                FormatError();
            case TagKind::StartTag:
            case TagKind::EmptyElement: {
                XmlNode& child = node.AddChild(t.name);
                ParseChildren(child, t, depth + 1);
                break;
            }
        }
    }
}

bool XmlDocument::Parse(CString* error, bool report) {
    m_pos = 0;
    bool ok = false;
    try {
        if (m_text.size() > size_t(INT_MAX)) FormatError();
        m_length = int(m_text.size());
        Tag first = ParseElement();
        ParseChildren(*this, first, 1);
        ok = true;
    } catch (CException* e) {
        Dispose(e, report, error);
    } catch (const std::bad_alloc&) {
        Dispose(new CTenvorikException(IDS_XML_FORMAT_ERROR), report, error);
    }
    // The parser state is not needed once the tree is built; a clipboard text may be large.
    std::wstring().swap(m_text);
    m_length = 0;
    m_pos = 0;
    return ok;
}

bool XmlDocument::LoadFile(const CString& path, bool report, CString* error) {
    XmlNode::Clear();
    platform::MappedFile file;
    if (!file.Open(path)) {
        // Why it failed, in the words of the file layer; an empty file is no XML document.
        CFile probe;
        CFileException why;
        CException* e = nullptr;
        if (!probe.Open(path, CFile::modeRead, &why))
            e = new CFileException(why);
        else if (probe.GetLength() == 0)
            e = new CTenvorikException(IDS_XML_FORMAT_ERROR);
        else
            e = new CFileException(CFileException::invalidFile, -1, path);
        Dispose(e, report, error);
        return false;
    }
    try {
        // The first two bytes are the byte-order mark; an odd last byte is dropped.
        const size_t bytes = file.size() >= 2 ? (file.size() - 2) & ~size_t(1) : 0;
        m_text = platform::Utf16LeToWide(std::string_view(file.data() + (file.size() >= 2 ? 2 : 0), bytes));
    } catch (const std::bad_alloc&) {
        Dispose(new CTenvorikException(IDS_XML_FORMAT_ERROR), report, error);
        return false;
    }
    file.Close();
    return Parse(error, report);
}

bool XmlDocument::LoadString(const CString& text, CString* error) {
    XmlNode::Clear();
    m_text = text.str();
    return Parse(error, true);
}

bool XmlDocument::ParseString(const CString& text, CString* error) {
    XmlNode::Clear();
    m_text = text.str();
    return Parse(error, false);
}

CString XmlDocument::SaveString() const {
    std::wostringstream out;
    out << kDeclaration << L"\r\n";
    WriteStream(out, CString());
    return CString(out.str());
}
