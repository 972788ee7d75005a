#pragma once
// Channels dragged from the oscillogram view onto a diagram or back onto the view, in the
// program's private format: a little-endian 32-bit count, then that many channel numbers.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "platform/CString.h"

class CTenvorikDoc;

// Name of the private format on the clipboard and in drags.
inline constexpr const char* kChannelDataFormat = "Korvelund Tenvorik Clipboard Data";

// Which window a drop target serves: the display bit of its diagram, 1 for the view.
enum ChannelDropKind : uint32_t { DROP_VIEW = 1, DROP_SPECTRUM = 2, DROP_VECTOR = 4, DROP_CIRCLE = 8 };

// The distinct channel numbers of a dropped stream. A stream that ends early gives those read
// so far; a count larger than the data never makes the reader go past the end.
std::set<uint32_t> ReadDroppedChannels(const uint8_t* data, size_t size);

// The per-channel toggle commands (35000 + i) a diagram of `kind` is sent for a drop: analog
// channels whose diagram bit is clear; the circle diagram takes only "Ohm" and "VA" channels
// on the record's own time base.
std::vector<unsigned> DiagramDropCommands(const CTenvorikDoc& doc, uint32_t kind, const std::set<uint32_t>& channels);

// Why a diagram of `kind` refuses channels of a drop: a heading, then one line per refused
// channel with its reason (a discrete channel; on the circle diagram, a channel of another
// unit than "Ohm" and "VA", or one on its own time base). Empty when nothing was refused;
// channels the diagram already shows, and numbers that name no channel, are not refusals.
CString DiagramDropRefusal(const CTenvorikDoc& doc, uint32_t kind, const std::set<uint32_t>& channels);

// What a drop onto the oscillogram view asks of the view.
class ChannelDropView {
public:
    virtual ~ChannelDropView() = default;
    // Pixel height of channel i's row (0 or less: no row).
    virtual int GetChannelHeight(int i) = 0;
    virtual bool CanOverlaySelected() = 0;
    // Overlays the selected channels (the view's command 33035).
    virtual void OverlaySelected() = 0;
    // Tells the user that channels of different units cannot be overlaid.
    virtual void ShowCannotOverlay() = 0;
};

// The row under content height `y` (client y plus what is scrolled away), or -1.
int FindDropTargetRow(const CTenvorikDoc& doc, ChannelDropView& view, int y);
// Drop onto the view: the dropped channels and the target row are selected and overlaid.
void DropOnView(CTenvorikDoc& doc, ChannelDropView& view, int y, const std::set<uint32_t>& channels);
