#include "app/PaneRoom.h"

#include <algorithm>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"

namespace paneroom {

bool DiagramHasContent(const CTenvorikDoc* doc, int displayBit, bool block) {
    if (!doc) return false;
    if (block && (displayBit == CHF_CIRCLE_DIAGRAM || displayBit == 16)) return true;
    auto shown = [](const std::vector<ChannelPair>& pairs) {
        return std::any_of(pairs.begin(), pairs.end(), [](const ChannelPair& p) { return p.visible; });
    };
    if (displayBit == 16) return shown(doc->m_diffChartPairs);
    if (displayBit == CHF_CIRCLE_DIAGRAM && shown(doc->m_circleChartPairs)) return true;
    if (displayBit != CHF_FREQ_DIAGRAM && displayBit != CHF_VECTOR_DIAGRAM && displayBit != CHF_CIRCLE_DIAGRAM) return false;
    for (const CChannel& ch : doc->GetOscillogram().m_channels)
        if (!ch.IsDiscrete() && (ch.m_flags & uint32_t(displayBit))) return true;
    return false;
}

Room PaneRoom(bool bottom, int width, int height, bool smallScreen, bool content, int proportion) {
    // An empty diagram keeps a strip to drop channels on at the bottom, a fifth of the width at
    // a side; one with something to show gets a fifth of the height at the bottom (a sixth on a
    // small screen) or three tenths of the width at a side.
    // A side pane is never squeezed below what its tool column and grids need (a scroll bar
    // given less than its own least size is given a negative one); the spectrum has neither.
    constexpr int kEmptyStrip = 24, kLeastColumn = 200, kLeastStrip = 60;
    if (bottom) {
        const int h = content ? std::clamp(height / (smallScreen ? 6 : 5), 120, 240) : kEmptyStrip;
        return {200, h, 200, content ? kLeastStrip : kEmptyStrip, proportion};
    }
    const int w = content ? std::clamp(width * 3 / 10, 320, 520) : std::clamp(width / 5, 300, 340);
    // In a column with another pane that shows something, an empty one keeps a small share.
    return {w, 200, kLeastColumn, 200, content ? proportion : std::max(proportion / 4, 1)};
}

int BottomDockHeight(int dock, int curves, int client, int least) {
    const int over = (client + 1) / 2 - curves;
    if (over <= 0) return dock;
    // It only ever gives way, and not below its least height.
    return std::max(dock - over, std::min(least, dock));
}

}  // namespace paneroom
