#include <gtest/gtest.h>

#include <string>

#include "ViewFixture.h"

using namespace viewtest;

namespace {

// Analog A, B, C, D and a hidden H, then a discrete X; B and D share a strip, so the caption
// column reads A, B, D, C, X from the top (H takes no room).
struct SelectRig : ViewRig {
    int yA = 0, yB = 0, yD = 0, yC = 0, yX = 0, yEnd = 0;
    SelectRig() {
        SetUpRecord(doc, 1000, 50);
        std::vector<double> s(50, 1.0), bits(50, 0.0);
        AddChannels(doc, {Analog(doc, "A", s), Analog(doc, "B", s), Analog(doc, "C", s), Analog(doc, "D", s),
                          Analog(doc, "H", s), Discrete(doc, "X", bits)});
        doc.m_channelGroups[L"g"] = {"B", "D"};
        auto& chs = doc.GetOscillogram().m_channels;
        chs[4].m_flags &= ~uint32_t(CHF_VISIBLE);
        Open(800, 600);
        const oscview::CTenvorikView& v = *view;
        const int hA = v.GetChannelHeight(chs[0]), strip = v.GetChannelHeight(chs[1]);
        const int block = v.GetCaptionBlockHeight(chs[1]), hC = v.GetChannelHeight(chs[2]);
        yA = hA / 2;
        yB = hA + block / 2;
        yD = hA + block + block / 2;
        yC = hA + strip + hC / 2;
        yX = hA + strip + hC + 10;
        yEnd = hA + strip + hC + 20;
    }
    std::string Selected() const {
        std::string out;
        for (const CChannel& ch : doc.GetOscillogram().m_channels)
            if (ch.m_selected) out += ch.GetFileName().GetString();
        return out;
    }
};

}  // namespace

TEST(ChannelSelect, CaptionColumnEntriesFollowTheDisplayOrderWithStripMembersByTheirBlocks) {
    SelectRig rig;
    const auto& chs = rig.doc.GetOscillogram().m_channels;
    const struct {
        int y;
        const CChannel* expect;
    } cases[] = {
        {-1, nullptr}, {0, &chs[0]}, {rig.yA, &chs[0]}, {rig.yB, &chs[1]}, {rig.yD, &chs[3]},
        {rig.yC, &chs[2]}, {rig.yX, &chs[5]}, {rig.yEnd - 1, &chs[5]}, {rig.yEnd, nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(rig.view->CaptionChannelAt(c.y), c.expect) << "content y " << c.y;
}

TEST(ChannelSelect, ClicksInTheCaptionColumnSelectToggleAndExtendFromTheAnchor) {
    SelectRig rig;
    oscview::CTenvorikView& v = *rig.view;
    enum Keys { kPlain = 0, kCtrl = 1, kShift = 2, kRight = 4 };
    // Applied in sequence: each press, the selection after it (file names in index order) and
    // the range anchor after it.
    const struct {
        int y, keys;
        const char* selected;
        const char* anchor;
    } steps[] = {
        {rig.yC, kPlain, "C", "C"},
        {rig.yA, kCtrl, "AC", "A"},
        {rig.yC, kCtrl, "A", "A"},            // toggled off, the anchor stays
        {rig.yX, kShift, "ABCDX", "A"},       // A..X in display order, hidden H left out
        {rig.yD, kPlain, "D", "D"},
        {rig.yB, kShift, "BD", "D"},          // upwards inside the strip
        {rig.yC, kShift | kCtrl, "BCD", "D"}, // CTRL keeps what was selected
        {rig.yB, kPlain, "B", "B"},           // a selected channel pressed alone stays selected, alone
        {rig.yC, kCtrl, "BC", "C"},
        {rig.yB, kRight, "BC", "C"},          // right press inside the selection keeps it
        {rig.yA, kRight, "A", "C"},           // outside it, the channel becomes the selection
        {rig.yA, kRight | kCtrl, "", "C"},    // CTRL with the right button toggles
        {rig.yEnd + 5, kCtrl, "", "C"},       // below the last caption nothing is hit
        {rig.yA, kPlain, "A", "A"},
        {rig.yEnd + 5, kPlain, "", "A"},      // a plain press there still clears
    };
    int diagrams = rig.host.diagramUpdates;
    for (const auto& s : steps) {
        v.OnButtonDown(5, s.y, !(s.keys & kRight), s.keys & kShift, s.keys & kCtrl, s.keys & kRight);
        v.OnButtonUp();
        EXPECT_EQ(rig.Selected(), s.selected) << "y " << s.y << " keys " << s.keys;
        EXPECT_EQ(std::string(v.m_rangeAnchor.GetString()), s.anchor) << "y " << s.y << " keys " << s.keys;
        EXPECT_EQ(rig.host.diagramUpdates, ++diagrams);
    }

    // An anchor no longer in the record: SHIFT selects the pressed channel only; no anchor, nothing.
    v.m_rangeAnchor = "gone";
    v.OnButtonDown(5, rig.yC, true, true, false, false);
    EXPECT_EQ(rig.Selected(), "C");
    v.m_rangeAnchor = "";
    v.OnButtonDown(5, rig.yC, true, true, false, false);
    EXPECT_EQ(rig.Selected(), "");
}

TEST(ChannelSelect, PressesOutsideTheCaptionsAndScrolledRows) {
    SelectRig rig;
    oscview::CTenvorikView& v = *rig.view;
    auto& chs = rig.doc.GetOscillogram().m_channels;
    chs[0].m_selected = chs[5].m_selected = true;
    const int diagrams = rig.host.diagramUpdates;

    // The time axis band clears the selection, even over the caption column, and nothing more.
    v.OnButtonDown(5, v.m_clientHeight - 1, true, false);
    EXPECT_EQ(rig.Selected(), "");
    EXPECT_EQ(rig.host.diagramUpdates, diagrams);

    // The column ends where the traces begin.
    v.OnButtonDown(v.m_leftWidth, rig.yA, true, false, false, false);
    v.OnButtonUp();
    EXPECT_EQ(rig.Selected(), "");

    // Rows scrolled up: the press is taken at content y; an armed measurement is dropped.
    v.m_yOffset = -rig.yC + 10;
    v.m_mouseMode = 7;
    v.OnButtonDown(5, 10, true, false, false, false);
    EXPECT_EQ(rig.Selected(), "C");
    EXPECT_EQ(v.m_mouseMode, 0);
    EXPECT_EQ(rig.host.diagramUpdates, diagrams + 1);
}

// Alt with the arrows steps the selection from caption to caption in display order; with Shift
// it stretches from the anchor; a press in the column moves the place the keys go on from.
TEST(ChannelSelect, KeysStepTheSelectionThroughTheCaptionColumn) {
    SelectRig rig;
    oscview::CTenvorikView& v = *rig.view;
    const struct {
        int step;
        bool extend;
        const char* selected;
        const char* anchor;
    } steps[] = {
        {1, false, "A", "A"},    // nothing selected yet: the first caption
        {1, false, "B", "B"},    // A, B, D, C, X from the top
        {1, false, "D", "D"},
        {1, true, "CD", "D"},    // stretched from the anchor
        {1, true, "CDX", "D"},
        {1, true, "CDX", "D"},   // the last caption is as far as it goes
        {-1, true, "CD", "D"},
        {-1, true, "D", "D"},
        {-1, true, "BD", "D"},   // past the anchor, upwards
        {-1, false, "A", "A"},
        {-1, false, "A", "A"},   // the first caption is as far as it goes
    };
    int diagrams = rig.host.diagramUpdates;
    for (const auto& s : steps) {
        EXPECT_TRUE(v.SelectChannelByKey(s.step, s.extend));
        EXPECT_EQ(rig.Selected(), s.selected) << s.step << " " << s.extend;
        EXPECT_EQ(std::string(v.m_rangeAnchor.GetString()), s.anchor) << s.step << " " << s.extend;
        EXPECT_EQ(rig.host.diagramUpdates, ++diagrams);
    }
    // From the last channel pressed, whether the press selected it or not.
    v.OnButtonDown(5, rig.yC, true, false, false, false);
    v.OnButtonUp();
    v.SelectChannelByKey(1, false);
    EXPECT_EQ(rig.Selected(), "X");
    v.OnButtonDown(5, rig.yB, true, false, true, false);  // CTRL: B joins X
    v.OnButtonDown(5, rig.yB, true, false, true, false);  // and leaves again
    v.SelectChannelByKey(-1, false);
    EXPECT_EQ(rig.Selected(), "A");
    // Going up from nothing selected starts at the last caption.
    v.m_rangeAnchor = v.m_caretChannel = "";
    rig.doc.GetOscillogram().ClearSelection();
    v.SelectChannelByKey(-1, false);
    EXPECT_EQ(rig.Selected(), "X");
    // A selection the keys did not make goes on from its end in the step's direction.
    auto& chs = rig.doc.GetOscillogram().m_channels;
    for (const bool down : {true, false}) {
        v.m_rangeAnchor = v.m_caretChannel = "";
        rig.doc.GetOscillogram().ClearSelection();
        chs[1].m_selected = chs[3].m_selected = true;  // B and D, in the strip
        v.SelectChannelByKey(down ? 1 : -1, false);
        EXPECT_EQ(rig.Selected(), down ? "C" : "A");
    }
}

// The rows scroll to show the channel the keys reached, and the captions' menu opens beside it.
TEST(ChannelSelect, KeysScrollTheRowsToTheSelectedChannelAndTheMenuOpensBesideIt) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 50);
    std::vector<double> s(50, 1.0);
    AddChannels(rig.doc, {Analog(rig.doc, "C0", s), Analog(rig.doc, "C1", s), Analog(rig.doc, "C2", s),
                          Analog(rig.doc, "C3", s), Analog(rig.doc, "C4", s), Analog(rig.doc, "C5", s),
                          Analog(rig.doc, "C6", s), Analog(rig.doc, "C7", s), Analog(rig.doc, "C8", s)});
    rig.Open(800, 400);
    oscview::CTenvorikView& v = *rig.view;
    const int available = v.m_clientHeight - v.GetBottomBand() + 2;
    ASSERT_GT(v.GetAnalogHeight(), 2 * available);
    // With nothing selected the menu opens at the column's top.
    EXPECT_EQ(v.CaptionMenuPoint().y, 10);
    for (int i = 0; i < 9; ++i) {
        v.SelectChannelByKey(1, false);
        const auto blocks = v.CaptionBlocks();
        const int64_t top = blocks[size_t(i)].top + v.m_yOffset;
        EXPECT_GE(top, 0) << i;
        EXPECT_LE(top + blocks[size_t(i)].height, available) << i;
        const CPoint at = v.CaptionMenuPoint();
        EXPECT_LT(at.x, v.m_leftWidth);
        EXPECT_GE(at.y, top) << i;
        EXPECT_LT(at.y, top + blocks[size_t(i)].height) << i;
    }
    EXPECT_LT(v.m_yOffset, 0);
    for (int i = 0; i < 8; ++i) v.SelectChannelByKey(-1, false);
    EXPECT_EQ(v.m_yOffset, 0);
}
