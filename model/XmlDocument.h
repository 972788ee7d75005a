#pragma once
// An XML document: the root element and the parser that fills it. The accepted syntax is the
// strict subset the program's own writers produce: elements with attributes, comments and
// processing instructions between tokens, UTF-16 text behind a two-byte byte-order mark.
#include "model/XmlNode.h"

class CException;

class XmlDocument : public XmlNode {
public:
    enum class TokenKind { TagOpen, TagClose, Slash, Equals, Word, EndOfText };
    struct Token {
        TokenKind kind = TokenKind::EndOfText;
        CString text;  // the name, or the characters between the quotes; empty for the others
    };
    enum class TagKind { StartTag, EmptyElement, EndTag, EndOfText };
    struct Tag {
        TagKind kind = TagKind::EndOfText;
        CString name;
        AttributeMap attributes;
    };

    // Elements nested deeper than this are refused as a format error rather than parsed
    // with the stack: the program's own files nest a handful of levels.
    static constexpr int kMaxDepth = 256;

    // A root named "settings" and nothing else.
    XmlDocument();
    // An empty root, then LoadFile(path, report).
    XmlDocument(const CString& path, bool report);

    XmlNode& GetRoot() { return *this; }
    const XmlNode& GetRoot() const { return *this; }

    // Parses a file into the (emptied) root: the bytes after the first two are taken as
    // UTF-16LE text. Every failure is caught here: with `report` the error is shown to the
    // user, otherwise discarded; the root keeps what was parsed before it. True when the
    // whole document was read; on failure the message is also left in `error` when given.
    bool LoadFile(const CString& path, bool report, CString* error = nullptr);
    // The same on a text; a failure is always shown to the user. True when the whole text
    // was a document.
    bool LoadString(const CString& text, CString* error = nullptr);
    // The same without showing the failure: for text from outside the program (the
    // clipboard), whose caller explains the refusal in its own words.
    bool ParseString(const CString& text, CString* error = nullptr);
    // The declaration and the root, lines ended by CR LF.
    CString SaveString() const;

    // Parser steps, on the text given to LoadFile or LoadString; they throw the format error.
    Token NextToken();
    Tag ParseElement();
    void ParseChildren(XmlNode& node, const Tag& tag);

    static const wchar_t* const kDeclaration;  // <?xml version="1.0" encoding="utf-16"?>

private:
    bool Parse(CString* error, bool report);
    void ParseChildren(XmlNode& node, const Tag& tag, int depth);
    bool Skip(const wchar_t* opener, const wchar_t* closer);
    wchar_t At(int pos) const { return pos >= 0 && pos < m_length ? m_text[size_t(pos)] : L'\0'; }
    bool StartsWith(int pos, const wchar_t* s) const;
    [[noreturn]] static void FormatError();

    std::wstring m_text;
    int m_pos = 0;
    int m_length = 0;
};
