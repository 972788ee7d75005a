// What the caption bars decide without their windows.
#include <gtest/gtest.h>

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

TEST(CaptionBars, MergeModeAndButtonPlaces) {
    EXPECT_FALSE(captionbar::MergeChannelListsEnabled(0));
    EXPECT_TRUE(captionbar::MergeChannelListsEnabled(1));
    EXPECT_TRUE(captionbar::MergeChannelListsEnabled(2));
    const auto p = captionbar::PlaceMergeButtons(1000);
    EXPECT_EQ(p.syncLeft, 760);
    EXPECT_EQ(p.combineLeft, 870);
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
