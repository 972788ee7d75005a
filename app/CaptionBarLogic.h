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

// The synchronise and combine buttons of a merge bar whose client area is `width` wide:
// their left edges, 220 and 110 pixels from the right end of the area shrunk by 10 pixels at
// either side.
struct MergeButtonPlaces {
    int syncLeft, combineLeft;
};
MergeButtonPlaces PlaceMergeButtons(int width);

// The parameter bar's rectangles, from the width of "Номер регистратора: " (w1), of
// "Момент запуска:" (w3) and the text height h.
enum ParamText { StationLabel, RecorderLabel, StartLabel, TriggerLabel, DurationLabel, Station, Recorder, Start,
                 Trigger, Duration, kParamTexts };
std::vector<Rect> ParamBarRects(int w1, int w3, int h);

}  // namespace captionbar
