#pragma once
// How much of the main frame a diagram pane takes: an empty diagram takes little room until it
// has something to show, and the record's curves keep at least half of the frame's height.
class CTenvorikDoc;

namespace paneroom {

// Whether the diagram of `displayBit` (2 spectrum, 4 vector, 8 circle, 16 differential) has
// something of `doc` to show: a channel put on it, a pair of it shown, or (`block`) a
// protection characteristic chosen for it. Nothing without a record.
bool DiagramHasContent(const CTenvorikDoc* doc, int displayBit, bool block);

// The sizes a pane is given: the size it starts with, the least it can be squeezed to, and its
// share of the height of the column it stands in.
struct Room {
    int bestW, bestH, minW, minH, proportion;
};
// A pane docked at the bottom (else at a side) of a frame whose client area is `width` by
// `height`, on a small screen or not, with or without something to show; `proportion` is its
// share while it shows something.
Room PaneRoom(bool bottom, int width, int height, bool smallScreen, bool content, int proportion);

// The height the bottom dock, `dock` pixels high now, may keep while the curves above it are
// `curves` pixels high in a frame `client` pixels high: no more than leaves the curves half of
// the frame, and no less than `least`.
int BottomDockHeight(int dock, int curves, int client, int least);

}  // namespace paneroom
