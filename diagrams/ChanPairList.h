#pragma once
// What the channel-pair dialog shows and does, without the window: the working copy of the
// pairs, the two channel choices, the selected row and the state of the two buttons. The
// dialog window only mirrors this.
#include <vector>

#include "model/ChannelPair.h"
#include "platform/CString.h"

class ChanPairList {
public:
    // `circle` selects the circle-chart mode (active and reactive resistance), else the
    // differential mode (braking and differential current). `channels` are the names of the
    // record's analog channels in channel order; both choices start on the first of them.
    ChanPairList(bool circle, std::vector<ChannelPair> pairs, std::vector<CString> channels);

    bool IsCircle() const { return m_circle; }
    CString Caption() const;
    // Texts of the two statics (4001 first) and the two list columns.
    CString StaticText(int which) const;
    CString ColumnTitle(int column) const;

    // Combo boxes 2159 and 2160: the offered names and the chosen index (-1: none).
    const std::vector<CString>& ChannelNames() const { return m_channels; }
    int Choice(int comboId) const;
    void Choose(int comboId, int index);

    int RowCount() const { return int(m_pairs.size()); }
    CString CellText(int row, int column) const;
    int SelectedRow() const { return m_selected; }
    // -1, or an index outside the list, clears the selection.
    void SelectRow(int row);

    bool CanAdd() const;
    bool CanRemove() const;
    // Appends the chosen pair (shown) and selects its row; false when a choice is missing.
    bool Add();
    // Removes the selected pair and selects the row that takes its place, else the new last.
    bool Remove();

    const std::vector<ChannelPair>& Pairs() const { return m_pairs; }

    static constexpr int kComboSecondColumn = 2159;  // braking current / reactive resistance
    static constexpr int kComboFirstColumn = 2160;   // differential current / active resistance

private:
    bool m_circle;
    std::vector<ChannelPair> m_pairs;
    std::vector<CString> m_channels;
    int m_choice2159 = -1;
    int m_choice2160 = -1;
    int m_selected = -1;
};
