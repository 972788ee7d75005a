#pragma once
// The channels dialog without its window: one list of the record's analog channels, the pairs
// of the differential and circle diagrams and the discrete channels, with the display flags
// each row may carry, and the changes a double click, a header click or a rename make. Every
// change takes effect at once: views and diagrams follow and the record is marked modified.
#include <cstddef>

#include "platform/CString.h"

class CChannel;
class CTenvorikDoc;
struct ChannelPair;

class ChannelsTable {
public:
    enum class RowKind { Analog, DiffPair, CirclePair, Discrete };
    enum class Cell { Set, Clear, NotApplicable };
    static constexpr int kColumns = 6;  // the name, then five flag columns

    explicit ChannelsTable(CTenvorikDoc& doc);

    int RowCount() const;
    RowKind Kind(int row) const;
    // Column 0: the channel's name, or the pair's two names joined by " | ".
    CString Text(int row) const;
    // "(file name)" after a channel whose shown name differs from the one the record stores.
    CString FileNameNote(int row) const;
    Cell GetCell(int row, int col) const;

    // A double click on a cell. Column 0 of a channel row asks for a rename: true when one may
    // begin (a program-made channel keeps its name, which the user is told).
    bool DoubleClick(int row, int col);
    // A click on the header of flag column `col`: every cell that may carry the flag is set,
    // or cleared when all already were.
    void HeaderClick(int col);
    // The typed name becomes the channel's alias (empty: the stored name again). False, with
    // the user told, when another channel already shows or stores that name.
    bool Rename(int row, const CString& text);

private:
    CChannel* ChannelAt(int row) const;
    ChannelPair* PairAt(int row) const;
    // Whether flag column `col` applies to channel `ch`; `exactUnits` compares the vector
    // diagram's "A" and "V" case included.
    bool Applies(const CChannel& ch, int col, bool exactUnits) const;
    void Hide(CChannel& ch);
    void Refresh();

    CTenvorikDoc& m_doc;
};
