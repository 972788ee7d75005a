#pragma once
// The tree of named text values that travels with a record in its settings file: categories
// of values and sub-categories, written as UTF-16 XML, read as XML or as the INI text of
// older files. Every value is text; the typed setters and getters only convert.
#include <map>
#include <string>

#include "model/XmlNode.h"
#include "platform/CString.h"

class SettingsNode {
public:
    using ValueMap = std::map<CString, CString, Utf16Less>;
    using CategoryMap = std::map<CString, SettingsNode, Utf16Less>;

    // Insert or overwrite: integers as "%i", doubles as "%f" (six decimals), text as is.
    void SetInt(const CString& key, int value);
    void SetDouble(const CString& key, double value);
    void SetString(const CString& key, const CString& value);

    // The stored value, or `def` when the key is absent; a present value that is not a
    // number reads as 0. Getting never creates a key.
    CString GetString(const CString& key, const CString& def) const;
    int GetInt(const CString& key, int def) const;
    double GetDouble(const CString& key, double def) const;
    bool HasValue(const CString& key) const { return m_values.count(key) != 0; }

    // The sub-category, created empty when missing. The reference stays valid while other
    // categories are added, until this one is removed or its parent cleared.
    SettingsNode& GetSubCategory(const CString& name);

    // Empties values and sub-categories; references to the sub-categories become invalid.
    void Clear();
    bool IsEmpty() const { return m_values.empty() && m_categories.empty(); }
    int GetValueCount() const { return int(m_values.size()); }
    int GetSubCategoryCount() const { return int(m_categories.size()); }
    const ValueMap& GetValues() const { return m_values; }
    const CategoryMap& GetSubCategories() const { return m_categories; }

    // Values become attributes of the element, sub-categories child elements "category"
    // named by their "name" attribute.
    void WriteXml(XmlNode& element) const;
    // Adds the element's attributes as values ("name" included) and its children as
    // sub-categories; children of one name merge into one sub-category.
    void ReadXml(const XmlNode& element);

    // _wtoi and _wtof of the stored texts: leading white space, a sign, digits up to the
    // first other character; 0 when there are none. Integers beyond the range saturate.
    static int TextToInt(const CString& text);
    static double TextToDouble(const CString& text);

private:
    ValueMap m_values;
    CategoryMap m_categories;
};

class SettingsStore {
public:
    using CategoryMap = SettingsNode::CategoryMap;

    // The top-level category, created empty when missing; references stay valid as for
    // SettingsNode::GetSubCategory.
    SettingsNode& GetCategory(const CString& name);
    const CategoryMap& GetCategories() const { return m_categories; }
    int GetCategoryCount() const { return int(m_categories.size()); }
    bool IsEmpty() const { return m_categories.empty(); }
    void Clear() { m_categories.clear(); }

    // Writes the whole store as UTF-16LE XML with its byte-order mark and CR LF line ends.
    // The file is written beside the target and renamed over it only when complete, so a
    // failed save leaves the old file whole; false with the reason in `error` then.
    [[nodiscard]] bool Save(const CString& path, CString* error = nullptr) const;
    // The file's text as Save writes it (without the byte-order mark).
    CString SaveText() const;
    // The file's bytes as Save writes them.
    std::string SaveBytes() const;

    // Reads a settings file: XML, or INI text when the XML yields no element content.
    // XML content replaces the store; INI content is added to it. A missing file loads
    // nothing and is no error. False, with the reason in `error`, only when the file is a
    // damaged XML settings file: the store then keeps the categories read before the damage.
    bool Load(const CString& path, CString* error = nullptr);

private:
    void LoadIni(const CString& path);
    void BuildXml(XmlNode& root) const;

    CategoryMap m_categories;
};
