#include "app/CaptionBarLogic.h"

#include <algorithm>

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

MergeBarLayout LayoutMergeBar(int width, const MergeBarSizes& s) {
    constexpr int kMargin = 10, kLabelGap = 6, kGroupGap = 16, kButtonGap = 8, kTop = 6, kLeastList = 60;
    MergeBarLayout out;
    const int row = std::max({s.mode.h, s.host.h, s.pasted.h, s.sync.h, s.combine.h, s.close.h, s.textHeight});
    int hostW = s.host.w, pastedW = s.pasted.w;
    // The row but the two channel lists: labels, mode list, buttons and the gaps between.
    const int fixed = kMargin + s.syncLabel + kLabelGap + s.mode.w + kGroupGap + s.channel1Label + kLabelGap +
                      kGroupGap + s.channel2Label + kLabelGap + kGroupGap + s.sync.w + kButtonGap + s.combine.w +
                      kButtonGap + s.close.w + kMargin;
    // Too narrow a bar takes its room from the longer channel list first, down to the other's
    // width, then from both alike, down to the least width.
    int over = fixed + hostW + pastedW - width;
    if (over > 0) {
        int& longer = hostW >= pastedW ? hostW : pastedW;
        const int other = std::min(hostW, pastedW);
        const int cut = std::min(over, std::max(longer - std::max(other, kLeastList), 0));
        longer -= cut;
        over -= cut;
    }
    if (over > 0) {
        const int each = std::min((over + 1) / 2, std::max(std::min(hostW, pastedW) - kLeastList, 0));
        hostW -= each;
        pastedW -= each;
    }
    auto centred = [&](int x, int w, int h) { return Rect{x, kTop + (row - h) / 2, x + w, kTop + (row - h) / 2 + h}; };
    int x = kMargin;
    auto place = [&](Rect& r, int w, int h, int gap) {
        r = centred(x, w, h);
        x += w + gap;
    };
    place(out.syncLabel, s.syncLabel, s.textHeight, kLabelGap);
    place(out.mode, s.mode.w, s.mode.h, kGroupGap);
    place(out.channel1Label, s.channel1Label, s.textHeight, kLabelGap);
    place(out.host, hostW, s.host.h, kGroupGap);
    place(out.channel2Label, s.channel2Label, s.textHeight, kLabelGap);
    place(out.pasted, pastedW, s.pasted.h, kGroupGap);
    // The buttons keep to the right end, the close button last.
    int right = width - kMargin;
    out.close = centred(right - s.close.w, s.close.w, s.close.h);
    right -= s.close.w + kButtonGap;
    out.combine = centred(right - s.combine.w, s.combine.w, s.combine.h);
    right -= s.combine.w + kButtonGap;
    out.sync = centred(right - s.sync.w, s.sync.w, s.sync.h);
    // A bar narrower than its row keeps the buttons after the lists rather than over them.
    if (out.sync.left < x) {
        const int shift = x - out.sync.left;
        for (Rect* r : {&out.sync, &out.combine, &out.close}) r->left += shift, r->right += shift;
    }
    const int messageTop = kTop + row + 6;
    // The message's line ends before the bar's picture in its bottom right corner.
    constexpr int kPictureRoom = 24;
    out.message = {kMargin + 5, messageTop, std::max(width - kMargin - kPictureRoom, kMargin + 5), messageTop + s.textHeight};
    out.height = std::max(70, out.message.bottom + 8);
    return out;
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
