// What the caption bars decide without their windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/CaptionBarLogic.h"
#include "model/Oscillogram.h"

namespace {

CChannel Channel(const wchar_t* name, bool discrete, bool pasted) {
    CChannel ch(nullptr);
    ch.m_name = name;
    ch.m_discrete = discrete ? 1 : 0;
    if (pasted) ch.m_flags |= CHF_OWN_TIMEBASE;
    return ch;
}

}  // namespace

TEST(CaptionBars, MergeListsSplitAnalogChannelsByOrigin) {
    COscillogram osc(nullptr);
    osc.m_channels = {Channel(L"Ua", false, false), Channel(L"Ua ext", false, true), Channel(L"Ib", false, false),
                      Channel(L"Trip", true, false), Channel(L"Trip ext", true, true)};
    const auto lists = captionbar::ListMergeChannels(osc);
    EXPECT_EQ(lists.host, (std::vector<CString>{L"Ua", L"Ib"}));
    EXPECT_EQ(lists.pasted, (std::vector<CString>{L"Ua ext"}));
    EXPECT_TRUE(captionbar::ListMergeChannels(COscillogram(nullptr)).host.empty());
}

TEST(CaptionBars, MergeModeEnablesTheChannelLists) {
    EXPECT_FALSE(captionbar::MergeChannelListsEnabled(0));
    EXPECT_TRUE(captionbar::MergeChannelListsEnabled(1));
    EXPECT_TRUE(captionbar::MergeChannelListsEnabled(2));
}

// The merge bar's parts get the sizes their texts need, side by side without overlapping, the
// buttons at the right end whatever the width; a bar too narrow narrows the channel lists only.
TEST(CaptionBars, MergeBarPartsTakeTheirTextsSizes) {
    using namespace captionbar;
    MergeBarSizes s;
    s.syncLabel = 100;
    s.channel1Label = s.channel2Label = 55;
    s.textHeight = 17;
    s.mode = {230, 34};
    s.host = {180, 34};
    s.pasted = {260, 34};
    s.sync = {130, 36};
    s.combine = {110, 36};
    s.close = {30, 30};
    auto width = [](const Rect& r) { return r.right - r.left; };
    auto inRow = [](const MergeBarLayout& l) {
        return std::vector<Rect>{l.syncLabel, l.mode, l.channel1Label, l.host, l.channel2Label, l.pasted, l.sync, l.combine, l.close};
    };
    for (int bar : {1366, 1920, 1600}) {
        SCOPED_TRACE(bar);
        const MergeBarLayout l = LayoutMergeBar(bar, s);
        EXPECT_EQ(width(l.syncLabel), 100);
        EXPECT_EQ(width(l.mode), 230);
        EXPECT_EQ(width(l.host), 180);
        EXPECT_EQ(width(l.pasted), 260);
        EXPECT_EQ(width(l.sync), 130);
        EXPECT_EQ(width(l.combine), 110);
        EXPECT_EQ(l.close.right, bar - 10);
        const auto row = inRow(l);
        for (size_t i = 1; i < row.size(); ++i) EXPECT_LT(row[i - 1].right, row[i].left) << i;
        // The message under the row, the bar as tall as both and never below its old height.
        for (const Rect& r : row) EXPECT_LE(r.bottom, l.message.top);
        EXPECT_EQ(l.message.bottom - l.message.top, 17);
        EXPECT_GE(l.height, std::max(70, l.message.bottom));
        EXPECT_EQ(l.message.right, bar - 34);  // clear of the picture in the corner
    }
    // Narrower than the row: the longer list gives way first, then both, not below 60.
    const int needed = LayoutMergeBar(2000, s).pasted.right + 16 + 130 + 8 + 110 + 8 + 30 + 10;
    MergeBarLayout l = LayoutMergeBar(needed - 50, s);
    EXPECT_EQ(width(l.host), 180);
    EXPECT_EQ(width(l.pasted), 210);
    l = LayoutMergeBar(needed - 100, s);
    EXPECT_EQ(width(l.host), 170);
    EXPECT_EQ(width(l.pasted), 170);
    l = LayoutMergeBar(300, s);
    EXPECT_EQ(width(l.host), 60);
    EXPECT_EQ(width(l.pasted), 60);
    // Still one after the other, the buttons after the lists rather than over them.
    const auto row = inRow(l);
    for (size_t i = 1; i < row.size(); ++i) EXPECT_LT(row[i - 1].right, row[i].left) << i;
    // Taller controls make a taller bar.
    s.mode.h = s.host.h = s.pasted.h = s.sync.h = s.combine.h = 60;
    EXPECT_GE(LayoutMergeBar(1366, s).height, 60 + 17);
}

TEST(CaptionBars, ParameterBarRectanglesFollowTheTextExtents) {
    using namespace captionbar;
    const auto r = ParamBarRects(120, 90, 16);
    ASSERT_EQ(r.size(), size_t(kParamTexts));
    EXPECT_EQ(r[StationLabel], (Rect{10, 5, 135, 26}));
    EXPECT_EQ(r[DurationLabel], (Rect{580, 47, 675, 68}));
    EXPECT_EQ(r[Station], (Rect{150, 5, 540, 26}));
    EXPECT_EQ(r[Trigger], (Rect{690, 26, 1080, 47}));
    EXPECT_EQ(r[Duration], (Rect{690, 47, 980, 68}));
}
