#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "diagrams/ChannelDrop.h"

using namespace viewtest;

namespace {

// Three analog channels and a discrete one; analog 0 and 2 and the discrete channel selected.
struct DragRig : ViewRig {
    DragRig() {
        SetUpRecord(doc, 1000, 200);
        std::vector<double> wave(200, 1.0), bits(200, 0.0);
        AddChannels(doc, {Analog(doc, "Ua", wave), Analog(doc, "Ub", wave), Analog(doc, "Ia", wave, L"A"),
                          Discrete(doc, "D", bits)});
        for (size_t i : {0u, 2u, 3u}) doc.GetOscillogram().m_channels[i].m_selected = true;
        Open(800, 600);
    }
};

}  // namespace

TEST(ChannelDrag, OnlyAPlainLeftDragInTheCaptionColumnOffersTheSelectedAnalogChannels) {
    DragRig rig;
    oscview::CTenvorikView& v = *rig.view;
    const int w = v.m_leftWidth;
    ASSERT_GT(w, 1);
    const std::vector<uint32_t> selected{0, 2}, none;
    struct Case {
        int mode, x;
        bool left, right, ctrl;
        const std::vector<uint32_t>& expect;
    } cases[] = {
        {0, 0, true, false, false, selected},
        {0, w - 1, true, false, false, selected},
        {7, w / 2, true, false, false, selected},  // armed for a measurement, not measuring yet
        {0, w, true, false, false, none},           // the traces begin at the column's width
        {0, w + 50, true, false, false, none},
        {0, w / 2, false, false, false, none},      // no button
        {0, w / 2, false, true, false, none},       // right button alone
        {0, w / 2, true, true, false, none},        // both buttons
        {0, w / 2, true, false, true, none},        // CTRL extends the selection instead
        {1, w / 2, true, false, false, none},       // a cursor, pasted channel, measurement
        {3, w / 2, true, false, false, none},       // or comment item being dragged keeps the mouse
        {5, w / 2, true, false, false, none},
        {6, w / 2, true, false, false, none},
        {8, w / 2, true, false, false, none},
        {10, w / 2, true, false, false, none},
    };
    for (const Case& c : cases) {
        v.m_mouseMode = c.mode;
        EXPECT_EQ(v.ChannelsToDrag(c.x, c.left, c.right, c.ctrl), c.expect)
            << "mode " << c.mode << " x " << c.x << " left " << c.left << " right " << c.right << " ctrl " << c.ctrl;
    }

    v.m_mouseMode = 0;
    for (auto& ch : rig.doc.GetOscillogram().m_channels) ch.m_selected = false;
    rig.doc.GetOscillogram().m_channels[3].m_selected = true;  // a discrete channel is never offered
    EXPECT_TRUE(v.ChannelsToDrag(0, true, false, false).empty());
}

TEST(ChannelDrag, TheDropSideReadsBackWhatTheViewWrites) {
    // The exact bytes: little-endian count, then the indices.
    EXPECT_EQ(oscview::WriteDraggedChannels({1, 258}),
              (std::vector<uint8_t>{2, 0, 0, 0, 1, 0, 0, 0, 2, 1, 0, 0}));
    EXPECT_EQ(oscview::WriteDraggedChannels({}), (std::vector<uint8_t>{0, 0, 0, 0}));

    const std::vector<std::vector<uint32_t>> lists{{}, {0}, {0, 2}, {5, 70000, 0x01020304u, 0xFFFFFFFFu}};
    for (const auto& list : lists) {
        const std::vector<uint8_t> bytes = oscview::WriteDraggedChannels(list);
        EXPECT_EQ(bytes.size(), 4 * (list.size() + 1));
        EXPECT_EQ(ReadDroppedChannels(bytes.data(), bytes.size()), std::set<uint32_t>(list.begin(), list.end()));
    }

    // From the view's selection to the commands a vector diagram is sent on the drop.
    DragRig rig;
    const std::vector<uint8_t> bytes = oscview::WriteDraggedChannels(rig.view->ChannelsToDrag(1, true, false, false));
    const std::set<uint32_t> dropped = ReadDroppedChannels(bytes.data(), bytes.size());
    EXPECT_EQ(dropped, (std::set<uint32_t>{0, 2}));
    for (uint32_t i : dropped) rig.doc.GetOscillogram().m_channels[i].m_flags &= ~uint32_t(DROP_VECTOR);
    EXPECT_EQ(DiagramDropCommands(rig.doc, DROP_VECTOR, dropped), (std::vector<unsigned>{35000, 35002}));
}
