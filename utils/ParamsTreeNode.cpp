#include "utils/ParamsTreeNode.h"

ParamsTreeNode::ParamsTreeNode(const wchar_t* name, const wchar_t* value) : m_name(name), m_value(value) {}

ParamsTreeNode::~ParamsTreeNode() {
    // Deep trees are torn down iteratively so that a hostile nesting depth cannot exhaust the stack.
    std::vector<std::unique_ptr<ParamsTreeNode>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<ParamsTreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->m_children) pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

ParamsTreeNode* ParamsTreeNode::AddNode(const wchar_t* name) { return AddNode(name, nullptr); }

ParamsTreeNode* ParamsTreeNode::AddNode(const wchar_t* name, const wchar_t* value) {
    m_children.push_back(std::make_unique<ParamsTreeNode>(name, value));
    return m_children.back().get();
}

ParamsTreeNode* ParamsTreeNode::FindFirstNode(const wchar_t* name) const {
    for (const auto& child : m_children)
        if (child->m_name == name) return child.get();
    return nullptr;
}

void ParamsTreeNode::FindNodes(const wchar_t* name, std::list<ParamsTreeNode*>& found) const {
    for (const auto& child : m_children)
        if (child->m_name == name) found.push_back(child.get());
}
