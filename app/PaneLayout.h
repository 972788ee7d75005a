#pragma once
// What the main frame keeps of its diagram panes for the next start: which panes are hidden
// to an edge of the frame, and whether a pane's saved place can be taken again. Kept free of
// the toolkit so that damaged profile texts are tested without a display.
#include <string>
#include <vector>

namespace panelayout {

// Edges as the frame's layout numbers them: 1 top, 2 right, 3 bottom, 4 left.
bool IsEdge(int dock);

struct EdgePane {
    std::wstring name;
    int dock;
};
// "name:edge;name:edge": entries that name no pane of `known` or no edge are left out, and a
// pane named twice keeps its first edge.
std::vector<EdgePane> ParseEdgePanes(const std::wstring& text, const std::vector<std::wstring>& known);
std::wstring FormatEdgePanes(const std::vector<EdgePane>& panes);

// A pane's place: the edge, layer, row and position it is docked at with its share of the row,
// the size it asks for (-1: none), whether it floats and where, and whether it is on show.
struct PanePlace {
    int dock = 0, layer = 0, row = 0, position = 0, proportion = 0;
    bool floating = false, shown = true;
    int width = -1, height = -1;
    int floatX = 0, floatY = 0, floatW = 0, floatH = 0;
};
// "dir=2;layer=1;...": the profile's text of a place, and back. Reading takes the fields it
// knows, each a whole number, and fails (leaving `place` as it was) when the edge is missing
// or any field it knows is not a number; unknown fields are passed over.
std::wstring FormatPanePlace(const PanePlace& place);
bool ReadPanePlace(const std::wstring& text, PanePlace& place);
// True when `place` can be taken again on a screen of `screenW` x `screenH` pixels: a docked
// pane on a known edge within the frame's layers, of a size that fits the screen; a floating
// one of such a size whose title bar lies on the screen.
bool IsUsablePlace(const PanePlace& place, int maxLayer, int screenW, int screenH);

}  // namespace panelayout
