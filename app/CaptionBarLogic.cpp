#include "app/CaptionBarLogic.h"

#include "model/Oscillogram.h"

namespace captionbar {

MergeChannels ListMergeChannels(const COscillogram& osc) {
    MergeChannels out;
    for (const auto& ch : osc.m_channels) {
        if (ch.IsDiscrete()) continue;
        (ch.HasOwnTimeBase() ? out.pasted : out.host).push_back(ch.GetName());
    }
    return out;
}

MergeButtonPlaces PlaceMergeButtons(int width) {
    const int w = width - 20;
    return {w - 220, w - 110};
}

std::vector<Rect> ParamBarRects(int w1, int w3, int h) {
    std::vector<Rect> r(kParamTexts);
    r[StationLabel] = {10, 5, w1 + 15, h + 10};
    r[RecorderLabel] = {10, h + 10, w1 + 15, 2 * h + 15};
    r[StartLabel] = {w1 + 450, 5, w1 + w3 + 465, h + 10};
    r[TriggerLabel] = {w1 + 460, h + 10, w1 + w3 + 465, 2 * h + 15};
    r[DurationLabel] = {w1 + 460, 2 * h + 15, w1 + w3 + 465, 3 * h + 20};
    r[Station] = {w1 + 30, 5, w1 + 420, h + 10};
    r[Recorder] = {w1 + 30, h + 10, w1 + 470, 2 * h + 15};
    r[Start] = {w1 + w3 + 480, 5, w1 + w3 + 870, h + 10};
    r[Trigger] = {w1 + w3 + 480, h + 10, w1 + w3 + 870, 2 * h + 15};
    r[Duration] = {w1 + w3 + 480, 2 * h + 15, w1 + w3 + 770, 3 * h + 20};
    return r;
}

}  // namespace captionbar
