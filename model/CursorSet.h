#pragma once
// The five time cursors of a document: records 0 to 2 are the vertical cursors (record 0 is
// the red cursor), 3 and 4 the horizontal ones bound to a channel row.
#include <array>

class DocumentModel;

struct CursorRecord {
    bool shown = false;
    int position = 0;    // sample of a vertical cursor
    double level = 0.0;  // value of a horizontal cursor
    int channel = -1;    // channel a horizontal cursor is bound to; -1 for none
};

class CursorSet {
public:
    explicit CursorSet(DocumentModel* doc) : m_document(doc) {}
    static constexpr int kHorizontalFirst = 3;
    static constexpr int kCount = 5;

    // Switches a cursor off and unbinds it.
    void SwitchOff(int i) { m_cursors[size_t(i)] = CursorRecord(); }

    DocumentModel* m_document;
    std::array<CursorRecord, kCount> m_cursors{};
};
