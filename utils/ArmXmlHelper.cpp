#include "utils/ArmXmlHelper.h"

#include <pugixml.hpp>


#include <sstream>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Encoding.h"

namespace {

CString Wide(const char* utf8) { return CString(platform::Utf8ToWide(utf8 ? utf8 : "")); }

std::string Narrow(const CString& text) { return platform::WideToUtf8(text.view()); }

CString ElementText(const pugi::xml_node& element) {
    std::string text;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
    return Wide(text.c_str());
}

// Iterative, so that nesting depth taken from a file cannot exhaust the stack.
ParamsTreeNode* BuildTree(const pugi::xml_node& rootElement) {
    auto* root = new ParamsTreeNode(Wide(rootElement.name()), ElementText(rootElement));
    std::vector<std::pair<pugi::xml_node, ParamsTreeNode*>> pending{{rootElement, root}};
    while (!pending.empty()) {
        auto [element, node] = pending.back();
        pending.pop_back();
        // Children are pushed in reverse so they are added in document order.
        std::vector<pugi::xml_node> kids;
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element) kids.push_back(child);
        std::vector<ParamsTreeNode*> made;
        made.reserve(kids.size());
        for (const auto& kid : kids) made.push_back(node->AddNode(Wide(kid.name()), ElementText(kid)));
        for (size_t i = kids.size(); i-- > 0;) pending.emplace_back(kids[i], made[i]);
    }
    return root;
}

// A document has exactly one top-level element; a fragment may have several and its first is taken.
ParamsTreeNode* TreeFromDocument(const pugi::xml_document& doc, bool fragment) {
    pugi::xml_node first;
    int elements = 0;
    for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && elements++ == 0) first = child;
    if (!first || (!fragment && elements != 1)) return nullptr;
    return BuildTree(first);
}

}  // namespace

ParamsTreeNode* ArmXmlHelper::CreateTreeFromXmlFile(const CString& path) {
    pugi::xml_document doc;
    if (!doc.load_file(Narrow(path).c_str(), pugi::parse_default)) return nullptr;
    return TreeFromDocument(doc, false);
}

ParamsTreeNode* ArmXmlHelper::CreateTreeFromXmlBuffer(const wchar_t* text, bool lenient) {
    if (!text) return nullptr;
    std::string utf8 = platform::WideToUtf8(text);
    unsigned options = pugi::parse_default | (lenient ? pugi::parse_fragment : 0u);
    pugi::xml_document doc;
    if (!doc.load_buffer(utf8.data(), utf8.size(), options, pugi::encoding_utf8)) return nullptr;
    return TreeFromDocument(doc, lenient);
}

std::string ArmXmlHelper::XmlTextFromTree(const ParamsTreeNode* tree) {
    if (!tree) return {};
    pugi::xml_document doc;
    auto decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    std::vector<std::pair<const ParamsTreeNode*, pugi::xml_node>> pending{{tree, doc}};
    while (!pending.empty()) {
        auto [node, parent] = pending.back();
        pending.pop_back();
        pugi::xml_node element = parent.append_child(Narrow(node->GetName()).c_str());
        if (!node->GetValue().IsEmpty()) element.text().set(Narrow(node->GetValue()).c_str());
        const auto& kids = node->Children();
        for (size_t i = kids.size(); i-- > 0;) pending.emplace_back(kids[i].get(), element);
    }
    std::ostringstream out;
    doc.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

bool ArmXmlHelper::CreateXmlFileFromTree(const CString& path, const ParamsTreeNode* tree) {
    if (!tree || path.IsEmpty()) return false;
    return platform::TryWriteFileAtomically(path, XmlTextFromTree(tree));
}
