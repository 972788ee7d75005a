// Scrolling while something is dragged over the view: a line up or down per request, the
// record's views and the diagrams following each step that moved the rows.
#include <gtest/gtest.h>

#include "ViewFixture.h"

using namespace viewtest;
using namespace oscview;

namespace {

class CountingDoc : public CTenvorikDoc {
public:
    void UpdateAllViews() override { ++viewUpdates; }
    int viewUpdates = 0;
};

struct DragRig {
    CountingDoc doc;
    FakeHost host;
    std::unique_ptr<CTenvorikView> view;
    // `rows` analog rows of 93 pixels in a view 400 pixels high.
    explicit DragRig(int rows) {
        SetUpRecord(doc, 1000, 100);
        std::vector<CChannel> chs;
        for (int i = 0; i < rows; ++i)
            chs.push_back(Analog(doc, ("U" + std::to_string(i)).c_str(), std::vector<double>(100, 1.0)));
        AddChannels(doc, std::move(chs));
        view = std::make_unique<CTenvorikView>(&doc, &host);
        view->OnSize(800, 400);
        view->OnInitialUpdate();
    }
    // The first row on show: the one at the top of the rows' area.
    int FirstRow() const {
        const CChannel* ch = view->ChannelFromPoint(view->m_leftWidth + 10, -view->m_yOffset);
        const auto& all = doc.m_oscillogram.m_channels;
        for (size_t i = 0; i < all.size(); ++i)
            if (&all[i] == ch) return int(i);
        return -1;
    }
};

// A request as the drop target makes it: no horizontal step, a line in the high byte.
unsigned Line(int code) { return (unsigned(code) << 8) | 0xFF; }

}  // namespace

TEST(DragScroll, EachRequestScrollsALineAndTheViewsAndDiagramsFollow) {
    DragRig rig(20);
    ASSERT_EQ(rig.FirstRow(), 0);
    EXPECT_TRUE(rig.view->OnScroll(Line(kLineDown), 0, true));
    EXPECT_EQ(rig.view->m_yOffset, -93);
    EXPECT_EQ(rig.FirstRow(), 1);
    EXPECT_EQ(rig.host.v.pos, 93);
    EXPECT_EQ(rig.doc.viewUpdates, 1);
    EXPECT_EQ(rig.host.diagramUpdates, 1);
    EXPECT_TRUE(rig.view->OnScroll(Line(kLineDown), 0, true));
    EXPECT_EQ(rig.FirstRow(), 2);
    EXPECT_TRUE(rig.view->OnScroll(Line(kLineUp), 0, true));
    EXPECT_EQ(rig.FirstRow(), 1);
    EXPECT_EQ(rig.doc.viewUpdates, 3);
    EXPECT_EQ(rig.host.diagramUpdates, 3);
    // The sample axis stays where it was: a drag takes no sideways step.
    EXPECT_EQ(rig.view->m_firstSample, 0);
}

TEST(DragScroll, NothingMovesPastTheEndsOrWithoutAVerticalRequest) {
    DragRig rig(20);
    // At the top, a line up moves nothing and reloads nothing.
    EXPECT_FALSE(rig.view->OnScroll(Line(kLineUp), 0, true));
    EXPECT_EQ(rig.view->m_yOffset, 0);
    EXPECT_EQ(rig.host.diagramUpdates, 0);
    EXPECT_EQ(rig.doc.viewUpdates, 0);
    // Down to the last row, and no further.
    const int available = 400 - 75 + 2;
    for (int i = 0; i < 40; ++i) rig.view->OnScroll(Line(kLineDown), 0, true);
    EXPECT_EQ(rig.view->m_yOffset, -(20 * 93 - available));
    const int updates = rig.host.diagramUpdates;
    EXPECT_FALSE(rig.view->OnScroll(Line(kLineDown), 0, true));
    EXPECT_EQ(rig.host.diagramUpdates, updates);
    // A request without a vertical line, or with scrolling off, scrolls nothing.
    for (unsigned code : {0xFFFFu, (0xFFu << 8) | unsigned(kThumbTrack), (0xFFu << 8) | unsigned(kTop), 0x0808u})
        EXPECT_FALSE(rig.view->OnScroll(code, 5, true)) << code;
    EXPECT_FALSE(rig.view->OnScroll(Line(kLineUp), 0, false));
    EXPECT_FALSE(rig.view->OnScrollBy(0, 1, false));
    EXPECT_EQ(rig.view->m_yOffset, -(20 * 93 - available));
    EXPECT_EQ(rig.host.diagramUpdates, updates);
}

TEST(DragScroll, RowsThatFitDoNotScroll) {
    DragRig rig(2);
    EXPECT_FALSE(rig.view->OnScroll(Line(kLineDown), 0, true));
    EXPECT_EQ(rig.view->m_yOffset, 0);
    EXPECT_EQ(rig.host.diagramUpdates, 0);
}
