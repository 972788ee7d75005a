#pragma once
// The program's small XML tree: elements with a name, attributes and child elements, no text
// content. Settings files, the clipboard exchange of channels and the characteristic-block
// libraries are written and read with it.
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/CString.h"

// Orders texts by their UTF-16 code units, as the files this program exchanges with its peers
// were always ordered: upper-case letters before lower-case ones, characters outside the basic
// plane (two surrogate units) before U+E000..U+FFFF.
struct Utf16Less {
    bool operator()(const CString& a, const CString& b) const;
};

// A letter or digit (Cyrillic and other scripts included) or "_": what names are made of.
bool IsXmlNameChar(wchar_t c);

class XmlNode {
public:
    using AttributeMap = std::map<CString, CString, Utf16Less>;

    XmlNode() = default;
    explicit XmlNode(const CString& name) : m_name(name) {}

    const CString& GetName() const { return m_name; }
    void SetName(const CString& name) { m_name = name; }

    // Appends an empty child. Appending may move the other children, so the reference is
    // good only until the next child is appended to this node: fill each child first.
    XmlNode& AddChild(const CString& name);
    const std::vector<XmlNode>& GetChildren() const { return m_children; }
    std::vector<XmlNode>& GetChildren() { return m_children; }
    int GetChildCount() const { return int(m_children.size()); }

    // Inserts the attribute or overwrites its value.
    void SetAttribute(const CString& name, const CString& value);
    // The value, or an empty text when the element has no such attribute.
    CString GetAttribute(const CString& name) const;
    const AttributeMap& GetAttributes() const { return m_attributes; }
    int GetAttributeCount() const { return int(m_attributes.size()); }
    // The i-th attribute in name order (0 <= i < count); empty texts outside that range.
    CString GetAttributeName(int i) const;
    CString GetAttributeValue(int i) const;

    void Clear();

    // Writes the element and its subtree, one element per line, children one tab deeper
    // than `indent`, each line ended by CR LF. WriteFile appends to the text of a file the
    // caller writes as UTF-16LE; WriteStream writes into a wide stream (the clipboard text).
    void WriteFile(std::wstring& out, const CString& indent) const;
    void WriteStream(std::wostream& out, const CString& indent) const;

    // "&" "\"" "<" ">" as character references, the ampersand first.
    static CString EscapeValue(const CString& value);
    // The reverse, in one pass: a reference never combines with the text another yields;
    // other "&" sequences stay as they are.
    static CString UnescapeValue(const CString& text);

private:
    void Write(std::wstring& out, const std::wstring& indent) const;

    CString m_name;
    std::vector<XmlNode> m_children;
    AttributeMap m_attributes;
};
