#pragma once
// What the caption bars under the ribbon decide without their windows: which channels the
// merge bar offers, when its channel lists apply, where its buttons go, and where the
// parameter bar draws its labels and values.
#include <vector>

#include "platform/CString.h"

class COscillogram;

namespace captionbar {

// The analog channels of a record for the merge bar: the receiving record's own channels and
// those pasted from another record (own time base); discrete channels are in neither.
struct MergeChannels {
    std::vector<CString> host, pasted;
};
MergeChannels ListMergeChannels(const COscillogram& osc);

// The channel lists apply to every merge mode but the start-time one (index 0).
inline bool MergeChannelListsEnabled(int mode) { return mode != 0; }

struct Rect {
    int left, top, right, bottom;
    bool operator==(const Rect&) const = default;
};

struct Size {
    int w = 0, h = 0;
};

// What the merge bar's parts need in its font: the widths of the labels "Синхронизация",
// "Канал 1" and "Канал 2", the height of a line of text, and the controls' best sizes (a list
// as wide as its longest entry, a button as its text).
struct MergeBarSizes {
    int syncLabel = 0, channel1Label = 0, channel2Label = 0, textHeight = 0;
    Size mode, host, pasted, sync, combine, close;
};

// Where the merge bar's parts go in a bar `width` wide: one row of each label before its list,
// with the two buttons and the close button at the right end, and the bar's message on a line
// of its own under the row. Every part gets its whole size; only when the row is wider than
// the bar are the two channel lists narrowed, the longer first, down to a least width.
struct MergeBarLayout {
    Rect syncLabel, mode, channel1Label, host, channel2Label, pasted, sync, combine, close, message;
    int height = 0;
};
MergeBarLayout LayoutMergeBar(int width, const MergeBarSizes& sizes);

// The parameter bar's rectangles, from the width of "Номер регистратора: " (w1), of
// "Момент запуска:" (w3) and the text height h.
enum ParamText { StationLabel, RecorderLabel, StartLabel, TriggerLabel, DurationLabel, Station, Recorder, Start,
                 Trigger, Duration, kParamTexts };
std::vector<Rect> ParamBarRects(int w1, int w3, int h);

}  // namespace captionbar
