// Moving pasted channels in time with the mouse: a press on a pasted row takes them, the move
// shifts them by the samples the mouse passed, within the two recordings' spans.
#include <gtest/gtest.h>

#include "ViewFixture.h"

using namespace viewtest;

TEST(PasteShift, DraggingAPastedRowMovesThePastedChannelsInTime) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 400);
    CChannel pasted = Analog(rig.doc, "P", std::vector<double>(200, 1.0));
    pasted.m_flags |= CHF_OWN_TIMEBASE;
    pasted.m_ownRate = 1000;
    std::vector<int64_t> times(200);
    for (size_t i = 0; i < times.size(); ++i) times[i] = int64_t(i) * 1000;
    pasted.m_ownTimes = times;
    AddChannels(rig.doc, {Analog(rig.doc, "H", std::vector<double>(400, 2.0)), std::move(pasted)});
    rig.Open(900, 500);
    oscview::CTenvorikView& v = *rig.view;
    v.m_xScale = 0.04;  // one pixel a sample
    const int hostY = v.m_yOffset + v.GetChannelHeight(rig.doc.m_oscillogram.m_channels[0]) / 2;
    const int pastedY = hostY + v.GetChannelHeight(rig.doc.m_oscillogram.m_channels[0]);
    const int x = v.m_leftWidth + 100;

    EXPECT_EQ(v.PointerAt(x, pastedY), oscview::CTenvorikView::Pointer::Hand);
    EXPECT_EQ(v.PointerAt(x, hostY), oscview::CTenvorikView::Pointer::Default);
    // A press on the host row places the red cursor instead.
    v.OnButtonDown(x + 200, hostY, true, false);
    EXPECT_EQ(v.m_mouseMode, 1);
    v.OnButtonUp();

    v.OnButtonDown(x, pastedY, true, false);
    ASSERT_EQ(v.m_mouseMode, 6);
    v.OnMouseMove(x + 25, pastedY);
    EXPECT_NEAR(rig.doc.m_merger.GetTimeShift(), 0.025, 1e-12);
    v.OnMouseMove(x - 10, pastedY);
    EXPECT_NEAR(rig.doc.m_merger.GetTimeShift(), -0.010, 1e-12);
    // Never so far that the two recordings share less than one sample interval.
    v.OnMouseMove(x + 5000, pastedY);
    EXPECT_NEAR(rig.doc.m_merger.GetTimeShift(), 0.399 - 0.001, 1e-12);
    v.OnMouseMove(x - 5000, pastedY);
    EXPECT_NEAR(rig.doc.m_merger.GetTimeShift(), -(0.199 - 0.001), 1e-12);
    v.OnButtonUp();
    EXPECT_EQ(v.m_mouseMode, 0);
    // A later press starts from where the last drag left the channels.
    v.OnButtonDown(x, pastedY, true, false);
    v.OnMouseMove(x + 10, pastedY);
    EXPECT_NEAR(rig.doc.m_merger.GetTimeShift(), -0.188, 1e-12);
}
