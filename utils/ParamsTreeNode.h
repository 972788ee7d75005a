#pragma once
// A tree of named text values: each XML element of a description becomes one node whose
// value is the element's text. A node owns its children.
#include <list>
#include <memory>
#include <vector>

#include "platform/CString.h"

class ParamsTreeNode {
public:
    explicit ParamsTreeNode(const wchar_t* name, const wchar_t* value = nullptr);
    ~ParamsTreeNode();
    ParamsTreeNode(const ParamsTreeNode&) = delete;
    ParamsTreeNode& operator=(const ParamsTreeNode&) = delete;

    // Append a child and return it (owned by this node).
    ParamsTreeNode* AddNode(const wchar_t* name);
    ParamsTreeNode* AddNode(const wchar_t* name, const wchar_t* value);

    // The first child of that name, or null.
    ParamsTreeNode* FindFirstNode(const wchar_t* name) const;
    // Appends every child of that name, in document order, to `found`.
    void FindNodes(const wchar_t* name, std::list<ParamsTreeNode*>& found) const;

    CString GetName() const { return m_name; }
    CString GetValue() const { return m_value; }
    void SetValue(const wchar_t* value) { m_value = value; }

    const std::vector<std::unique_ptr<ParamsTreeNode>>& Children() const { return m_children; }

private:
    CString m_name;
    CString m_value;
    std::vector<std::unique_ptr<ParamsTreeNode>> m_children;
};
