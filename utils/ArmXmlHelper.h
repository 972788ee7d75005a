#pragma once
// XML text <-> ParamsTreeNode trees: each element becomes a node named after it whose value
// is the element's own text; attributes are not part of the tree.
#include "platform/CString.h"
#include "utils/ParamsTreeNode.h"

class ArmXmlHelper {
public:
    // A new tree owned by the caller, or null when the file cannot be read or is no XML.
    static ParamsTreeNode* CreateTreeFromXmlFile(const CString& path);
    // The same for XML held in memory. With `lenient` false the text must be one XML
    // document; with true it may also be a fragment (stray text or several top-level
    // elements), whose first element is taken.
    static ParamsTreeNode* CreateTreeFromXmlBuffer(const wchar_t* text, bool lenient);
    // Writes the tree as UTF-8 XML; the file is replaced only once it is complete.
    static bool CreateXmlFileFromTree(const CString& path, const ParamsTreeNode* tree);
    // The XML text of the tree, as CreateXmlFileFromTree writes it.
    static std::string XmlTextFromTree(const ParamsTreeNode* tree);
};
