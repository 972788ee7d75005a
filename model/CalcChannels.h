#pragma once
// The list of calculated channels of a record (a name and a formula each). It lives inside the
// channel collection so that undo snapshots carry it; the formula engine evaluates it.
#include <utility>
#include <vector>

#include "platform/CString.h"

class DocumentModel;

class CalcChannels {
public:
    explicit CalcChannels(DocumentModel* doc) : m_document(doc) {}

    // Computes every formula again and stores each result in the record. Throws
    // CTenvorikException* when a formula fails.
    void ComputeChannels();
    // Removes every calculated channel of the list from the record and empties the list.
    void Clear();

    DocumentModel* m_document;
    std::vector<std::pair<CString, CString>> m_list;  // (channel name, formula)
};
