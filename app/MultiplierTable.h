#pragma once
// The transformation-ratio dialog without its window: one row per recorded analog channel with
// its primary and secondary values as texts, the cells marked with SHIFT and CTRL, the cell
// being edited, and how an accepted table is applied to the record.
#include <cstddef>
#include <functional>
#include <vector>

#include "platform/CString.h"

class CChannelCollection;
class CTenvorikDoc;

// A ratio value typed by the user: a finite number above zero; false for anything else.
bool ParseRatio(const CString& text, double& value);

class MultiplierTable {
public:
    struct Row {
        size_t channel;    // index into the record's channels
        CString name;
        CString values[2];  // primary, secondary ("%g")
        unsigned marks = 0;  // bit 0: the primary cell is marked, bit 1: the secondary cell
    };

    explicit MultiplierTable(const CChannelCollection& channels);

    const std::vector<Row>& Rows() const { return m_rows; }
    // Text of a cell: column 0 the name, 1 the primary and 2 the secondary value.
    CString CellText(int row, int col) const;
    bool IsMarked(int row, int col) const;

    // A double click on a cell (col 0 to 2). With SHIFT the rectangle between the last edited
    // cell and this one becomes the marked cells. True when an edit of the cell begins (a
    // value cell): the cell is then marked and edited.
    bool StartEdit(int row, int col, bool shift);
    bool IsEditing() const { return m_editRow >= 0; }
    int EditRow() const { return m_editRow; }
    int EditCol() const { return m_editCol; }
    // Ends the edit with the typed text: a changed text goes into every marked cell. A text that
    // is no ratio changes nothing and is refused with the message returned in `error`. Unless
    // CTRL is held the marks are cleared. False when the text was refused.
    bool CommitEdit(const CString& text, bool ctrl, CString* error);
    // Something was typed that differs from what the cell showed.
    bool IsChanged() const { return m_changed; }

    // Whether applying the table would change a channel's ratio.
    bool DiffersFrom(const CChannelCollection& channels) const;
    // Writes the values into the channels; true when one changed.
    bool Apply(CChannelCollection& channels) const;

private:
    std::vector<Row> m_rows;
    int m_editRow = -1, m_editCol = -1;
    int m_lastRow = -1, m_lastCol = -1;
    bool m_changed = false;
};

// The ratio edit of the document: the table is shown through `edit` (true on OK); accepted
// changes are one undo step and the channels are recalculated. True when a ratio changed.
bool RunRatioEdit(CTenvorikDoc& doc, const std::function<bool(MultiplierTable&)>& edit);
