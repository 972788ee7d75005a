// Merging channels into one strip, separating them, and the channel name edited in place.
#include <gtest/gtest.h>

#include "FakeUi.h"
#include "TestUtil.h"
#include "platform/CmdUI.h"
#include "ViewFixture.h"

using namespace viewtest;

namespace {

// Analog Ua, Ub (V), Ia (A) and a pasted Up (V, at another rate), then a discrete X.
struct StripRig : ViewRig {
    testutil::FakeUi ui;
    StripRig() {
        SetUpRecord(doc, 1000, 60);
        std::vector<double> s(60, 1.0), bits(60, 0.0);
        CChannel pasted = Analog(doc, "Up", s);
        pasted.m_ownRate = 2000.0;
        AddChannels(doc, {Analog(doc, "Ua", s), Analog(doc, "Ub", s), Analog(doc, "Ia", s, L"A"), std::move(pasted),
                          Discrete(doc, "X", bits)});
        Open(800, 600);
    }
    CChannel& ch(int k) { return doc.GetOscillogram().m_channels[size_t(k)]; }
    void Select(std::initializer_list<int> ks) {
        doc.GetOscillogram().ClearSelection();
        for (int k : ks) ch(k).m_selected = true;
    }
};

}  // namespace

TEST(StripCommands, OverlayMakesOneStripUnderANewKeyAndSeparateUndoesIt) {
    StripRig r;
    r.Select({0});
    EXPECT_FALSE(r.view->CanOverlaySelected());
    r.view->OnOverlayChannels();  // one channel: nothing
    EXPECT_TRUE(r.doc.m_channelGroups.empty());

    r.Select({0, 2});
    EXPECT_FALSE(r.view->CanOverlaySelected());  // volts and amperes
    r.Select({0, 1});
    ASSERT_TRUE(r.view->CanOverlaySelected());
    r.ch(0).m_flags |= CHF_CURVE_RMS;
    r.ch(0).m_flags &= ~uint32_t(CHF_CURVE_INSTANT);
    r.ch(1).SetVerticalZoom(0.2, 0.4);
    // A level cursor on a merged channel goes; one on another channel stays.
    r.doc.m_cursors.m_cursors[3] = CursorMarker{true, 0, 0.5, 1};
    r.doc.m_cursors.m_cursors[4] = CursorMarker{true, 0, 0.5, 2};
    r.doc.SetModifiedFlag(false);
    r.view->OnOverlayChannels();
    ASSERT_EQ(r.doc.m_channelGroups.size(), 1u);
    const CString key = r.doc.m_channelGroups.begin()->first;
    EXPECT_EQ(key.GetLength(), 36);
    EXPECT_EQ(r.doc.m_channelGroups.begin()->second, (std::set<CStringA>{"Ua", "Ub"}));
    EXPECT_EQ(r.ch(0).m_flags & CHF_CURVE_MASK, uint32_t(CHF_CURVE_INSTANT));
    EXPECT_FALSE(r.ch(1).m_zoomed);
    EXPECT_FALSE(r.doc.m_cursors.m_cursors[3].shown);
    EXPECT_TRUE(r.doc.m_cursors.m_cursors[4].shown);
    EXPECT_TRUE(r.doc.IsModified());
    EXPECT_EQ(r.view->GetChannelHeight(r.ch(1)), 0);  // drawn in Ua's row

    // Adding a channel to a strip dissolves the old strip and makes one of all, under a new key.
    r.ch(2).m_unit = "V";
    r.ch(2).ParseUnit();
    r.Select({1, 2});
    r.view->OnOverlayChannels();
    ASSERT_EQ(r.doc.m_channelGroups.size(), 1u);
    EXPECT_NE(r.doc.m_channelGroups.begin()->first, key);
    EXPECT_EQ(r.doc.m_channelGroups.begin()->second, (std::set<CStringA>{"Ia", "Ua", "Ub"}));

    // Channels of different rates are refused with the message, nothing changed.
    r.Select({0, 3});
    r.view->OnOverlayChannels();
    ASSERT_EQ(r.ui.messages.size(), 1u);
    EXPECT_EQ(r.ui.messages[0], L"Выбранные каналы имеют разную частоту ");
    EXPECT_EQ(r.doc.m_channelGroups.begin()->second.size(), 3u);

    r.Select({4});
    EXPECT_FALSE(r.view->CanSeparateSelected());
    r.Select({2});
    ASSERT_TRUE(r.view->CanSeparateSelected());
    r.doc.SetModifiedFlag(false);
    r.view->OnSeparateChannels();
    EXPECT_TRUE(r.doc.m_channelGroups.empty());
    EXPECT_TRUE(r.doc.IsModified());
    EXPECT_GT(r.view->GetChannelHeight(r.ch(1)), 0);
}

TEST(StripCommands, StripsRoundTripThroughTheRecordSettings) {
    StripRig r;
    r.Select({0, 1});
    r.view->OnOverlayChannels();
    ASSERT_EQ(r.doc.m_channelGroups.size(), 1u);
    testutil::TempDir dir;
    const CString set(dir.File("rec.set").c_str());
    r.doc.SaveSettingsFile(set);
    StripRig back;
    back.doc.LoadSettingsFile(set, true);
    EXPECT_EQ(back.doc.m_channelGroups, r.doc.m_channelGroups);
}

TEST(StripCommands, NameEditedInPlace) {
    StripRig r;
    CRect box;
    // The name's frame at the top of the first row.
    const int index = r.view->NameEditAt(8, 5 + r.view->m_captionLineHeight / 2, &box);
    ASSERT_EQ(index, 0);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(r.view->NameEditAt(r.view->m_leftWidth - 2, 12, nullptr), -1);  // right of the name
    EXPECT_FALSE(r.view->CommitInPlaceEdit(true, L"x"));  // no edit open

    // Escape: nothing changes, nothing is modified.
    r.doc.SetModifiedFlag(false);
    r.view->BeginNameEdit(0);
    EXPECT_TRUE(r.view->CommitInPlaceEdit(false, L"Other"));
    EXPECT_EQ(r.ch(0).GetName(), L"Ua");
    EXPECT_FALSE(r.doc.IsModified());

    // The channel's own name is not compared with itself; another's is refused.
    r.view->BeginNameEdit(0);
    r.view->CommitInPlaceEdit(true, L"Ua");
    EXPECT_TRUE(r.ui.messages.empty());
    r.view->BeginNameEdit(0);
    r.view->CommitInPlaceEdit(true, L"Ub");
    ASSERT_EQ(r.ui.messages.size(), 1u);
    EXPECT_EQ(r.ui.messages[0], L"Данное имя канала уже используется.");
    EXPECT_EQ(r.ch(0).GetName(), L"Ua");
    r.view->BeginNameEdit(0);
    r.view->CommitInPlaceEdit(true, L"Фаза A");
    EXPECT_EQ(r.ch(0).GetName(), L"Фаза A");
    EXPECT_TRUE(r.doc.IsModified());
    // A name a channel stores in the record stays taken while it shows its alias.
    r.view->BeginNameEdit(1);
    r.view->CommitInPlaceEdit(true, L"Ua");
    EXPECT_EQ(r.ui.messages.size(), 2u);
}

TEST(StripCommands, ChannelCommandsThroughTheView) {
    StripRig r;
    r.Select({0});
    CCmdUI invert(ID_CHANNEL_INVERT), overlay(oscview::ID_OVERLAY_CHANNELS), separate(oscview::ID_SEPARATE_CHANNELS);
    ASSERT_TRUE(r.view->UpdateChannelCommandUI(invert));
    EXPECT_TRUE(invert.m_enabled);
    EXPECT_EQ(invert.m_check, 0);
    ASSERT_TRUE(r.view->OnChannelCommand(ID_CHANNEL_INVERT));
    EXPECT_TRUE(r.ch(0).m_flags & CHF_INVERT);
    EXPECT_EQ(r.ch(0).GetCurveValue(3), -1.0);
    r.view->UpdateChannelCommandUI(overlay);
    r.view->UpdateChannelCommandUI(separate);
    EXPECT_FALSE(overlay.m_enabled);
    EXPECT_FALSE(separate.m_enabled);
    // Hiding is kept in the record's settings, so the record is modified.
    r.doc.SetModifiedFlag(false);
    r.Select({1});
    ASSERT_TRUE(r.view->OnChannelCommand(ID_HIDE_SELECTED_CHANNELS));
    EXPECT_FALSE(r.ch(1).m_flags & CHF_VISIBLE);
    EXPECT_TRUE(r.doc.IsModified());
    CCmdUI other(32800);
    EXPECT_FALSE(r.view->UpdateChannelCommandUI(other));
    EXPECT_FALSE(r.view->OnChannelCommand(32800));
}

// Merging channels whose captions show their values keeps the caption column's width: the
// strip's line of values stays inside the column, cut at its edge.
TEST(StripCommands, OverlayKeepsTheCaptionColumnWidth) {
    for (uint32_t flags : {0u, uint32_t(CHF_SHOW_RMS), uint32_t(CHF_SHOW_RMS | CHF_SHOW_HARMONIC | CHF_SHOW_MINMAX)}) {
        SCOPED_TRACE(flags);
        StripRig r;
        r.ch(0).m_flags |= flags;
        r.ch(1).m_flags |= flags;
        r.Render();
        const int before = r.view->m_leftWidth;
        ASSERT_GT(before, 0);
        r.Select({0, 1});
        ASSERT_TRUE(r.view->CanOverlaySelected());
        r.view->OnOverlayChannels();
        ASSERT_EQ(r.doc.m_channelGroups.size(), 1u);
        CBitmap& bmp = r.Render();
        EXPECT_EQ(r.view->m_leftWidth, before);
        // Nothing of the captions is written right of the column, over the curves.
        const int rowH = r.view->GetChannelHeight(r.ch(0));
        int text = 0;
        for (int y = 0; y < rowH; ++y)
            for (int x = before + 2; x < before + 60; ++x) {
                const COLORREF c = bmp.GetPixel(x, y);
                text += c == RGB(0, 0, 127) || c == RGB(69, 85, 199);
            }
        EXPECT_EQ(text, 0);
    }
}
