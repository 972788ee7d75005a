// How much room the diagram panes take, without the frame.
#include <gtest/gtest.h>

#include "app/PaneRoom.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"

namespace {

CChannel Channel(bool discrete, uint32_t flags) {
    CChannel ch(nullptr);
    ch.m_discrete = discrete ? 1 : 0;
    ch.m_flags = flags;
    return ch;
}

}  // namespace

// A diagram has something to show once a channel is put on it (a discrete one never is), a pair
// of it is shown, or a characteristic is chosen for a plane diagram; nothing without a record.
TEST(PaneRoom, ADiagramHasContentByItsChannelsPairsOrCharacteristic) {
    using paneroom::DiagramHasContent;
    for (int bit : {2, 4, 8, 16}) EXPECT_FALSE(DiagramHasContent(nullptr, bit, true)) << bit;
    CTenvorikDoc doc;
    auto& channels = doc.GetOscillogram().m_channels;
    channels = {Channel(false, CHF_VISIBLE), Channel(true, CHF_VISIBLE | CHF_VECTOR_DIAGRAM)};
    for (int bit : {2, 4, 8, 16}) EXPECT_FALSE(DiagramHasContent(&doc, bit, false)) << bit;
    channels[0].m_flags |= CHF_VECTOR_DIAGRAM;
    EXPECT_TRUE(DiagramHasContent(&doc, 4, false));
    EXPECT_FALSE(DiagramHasContent(&doc, 2, false));
    channels[0].m_flags |= CHF_FREQ_DIAGRAM | CHF_CIRCLE_DIAGRAM;
    EXPECT_TRUE(DiagramHasContent(&doc, 2, false));
    EXPECT_TRUE(DiagramHasContent(&doc, 8, false));
    // The pairs count while they are shown.
    doc.m_diffChartPairs.push_back(ChannelPair(L"Id", L"It"));
    doc.m_diffChartPairs.back().visible = false;
    EXPECT_FALSE(DiagramHasContent(&doc, 16, false));
    doc.m_diffChartPairs.back().visible = true;
    EXPECT_TRUE(DiagramHasContent(&doc, 16, false));
    channels[0].m_flags = CHF_VISIBLE;
    EXPECT_FALSE(DiagramHasContent(&doc, 8, false));
    doc.m_circleChartPairs.push_back(ChannelPair(L"R", L"X"));
    EXPECT_TRUE(DiagramHasContent(&doc, 8, false));
    doc.m_circleChartPairs.clear();
    // A characteristic shows on the plane diagrams only.
    EXPECT_TRUE(DiagramHasContent(&doc, 8, true));
    EXPECT_FALSE(DiagramHasContent(&doc, 4, true));
    EXPECT_FALSE(DiagramHasContent(&doc, 3, true));
}

TEST(PaneRoom, EmptyPanesTakeLittleRoomAndFullOnesTheirShare) {
    using paneroom::PaneRoom;
    // At the bottom: a strip while empty; a sixth of the height on a small screen, a fifth
    // elsewhere, between 120 and 240, once it shows something.
    EXPECT_EQ(PaneRoom(true, 1366, 746, true, false, 100000).bestH, 24);
    EXPECT_EQ(PaneRoom(true, 1366, 746, true, true, 100000).bestH, 124);
    EXPECT_EQ(PaneRoom(true, 1920, 1000, false, true, 100000).bestH, 200);
    EXPECT_EQ(PaneRoom(true, 1920, 1400, false, true, 100000).bestH, 240);
    EXPECT_LE(PaneRoom(true, 1366, 746, true, false, 100000).minH, 24);
    // At a side: a fifth of the width (300 to 340) while empty, three tenths (320 to 520) with
    // something to show; an empty pane keeps a quarter of its share of the column.
    const paneroom::Room empty = PaneRoom(false, 1366, 746, true, false, 110000);
    const paneroom::Room full = PaneRoom(false, 1366, 746, true, true, 110000);
    EXPECT_EQ(empty.bestW, 300);
    EXPECT_EQ(full.bestW, 409);
    EXPECT_EQ(PaneRoom(false, 1920, 1000, false, false, 90000).bestW, 340);
    EXPECT_EQ(PaneRoom(false, 1920, 1000, false, true, 90000).bestW, 520);
    EXPECT_EQ(empty.proportion, 27500);
    EXPECT_EQ(full.proportion, 110000);
    EXPECT_EQ(empty.minW, 200);
    EXPECT_EQ(empty.minH, 200);
}

TEST(PaneRoom, TheBottomDockGivesWaySoThatTheCurvesKeepHalfTheHeight) {
    using paneroom::BottomDockHeight;
    EXPECT_EQ(BottomDockHeight(150, 400, 746, 60), 150);  // the curves have their half
    EXPECT_EQ(BottomDockHeight(150, 335, 746, 60), 112);  // 38 short: the dock gives 38
    EXPECT_EQ(BottomDockHeight(150, 200, 746, 60), 60);   // not below its least
    EXPECT_EQ(BottomDockHeight(40, 200, 746, 60), 40);    // never grows
    EXPECT_EQ(BottomDockHeight(150, 372, 745, 60), 149);  // half of an odd height, rounded up
}
