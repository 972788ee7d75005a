// The phasor diagram's commands, menus and settings, the phasor look-up of pasted channels,
// and channels dropped from the oscillogram view.
#include <gtest/gtest.h>

#include "DiagramFixture.h"
#include "FakeUi.h"
#include "diagrams/ChannelDrop.h"
#include "diagrams/VectorDiagramWnd.h"

using namespace diagtest;

namespace {

std::vector<uint8_t> Stream(std::initializer_list<uint32_t> values) {
    std::vector<uint8_t> out;
    for (uint32_t v : values)
        for (int b = 0; b < 4; ++b) out.push_back(uint8_t(v >> (8 * b)));
    return out;
}

void Record(CTenvorikDoc& doc) {
    Fill(doc, {{"Ua", L"V", 100, 0, 0}, {"Ia", L"A", 10, 0, 0}, {"P", L"W", 5, 0, 0}, {"Z", L"Ohm", 5, 0, 0},
               {"Ia2", L"a", 1, 0, 0}});
    for (CChannel& ch : doc.GetOscillogram().m_channels) ch.m_flags &= ~uint32_t(CHF_VECTOR_DIAGRAM);
}

std::vector<unsigned> Ids(const std::vector<DiagramMenuItem>& items) {
    std::vector<unsigned> ids;
    for (const auto& i : items) ids.push_back(i.id);
    return ids;
}

}  // namespace

TEST(ChannelDrop, StreamIsReadWithinItsBytes) {
    struct {
        std::vector<uint8_t> bytes;
        std::set<uint32_t> expect;
    } cases[] = {
        {Stream({3, 4, 1, 7}), {1, 4, 7}},
        {Stream({5, 2, 9}), {2, 9}},                  // count larger than the data
        {Stream({3, 2, 2, 2, 5}), {2, 5}},            // duplicates count once
        {Stream({1, 8, 9}), {8}},                     // the count ends the reading
        {Stream({0xFFFFFFFF}), {}},
        {{}, {}},
        {{1, 0}, {}},
        {{2, 0, 0, 0, 6, 0, 0}, {}},                  // a short last value is not read
    };
    for (auto& c : cases) EXPECT_EQ(ReadDroppedChannels(c.bytes.data(), c.bytes.size()), c.expect);
    EXPECT_TRUE(ReadDroppedChannels(nullptr, 12).empty());
}

TEST(ChannelDrop, CommandsByKind) {
    testutil::FakeUi ui;
    Doc doc;
    Record(doc);
    auto& chs = doc.GetOscillogram().m_channels;
    chs[0].m_flags |= CHF_VECTOR_DIAGRAM;  // already shown: not toggled off
    const std::set<uint32_t> all{0, 1, 2, 3, 4, 99};
    EXPECT_EQ(DiagramDropCommands(doc, DROP_VECTOR, all), (std::vector<unsigned>{35001, 35002, 35003, 35004}));
    EXPECT_EQ(DiagramDropCommands(doc, DROP_CIRCLE, all), (std::vector<unsigned>{35003}));
    chs[3].m_flags |= CHF_OWN_TIMEBASE;
    EXPECT_TRUE(DiagramDropCommands(doc, DROP_CIRCLE, all).empty());
}

TEST(ChannelDrop, OntoTheViewSelectsAndOverlays) {
    testutil::FakeUi ui;
    Doc doc;
    Record(doc);
    struct View : ChannelDropView {
        bool can = false;
        int overlaid = 0, refused = 0;
        int GetChannelHeight(int i) override { return i == 1 ? 0 : 50; }
        bool CanOverlaySelected() override { return can; }
        void OverlaySelected() override { ++overlaid; }
        void ShowCannotOverlay() override { ++refused; }
    } view;
    EXPECT_EQ(FindDropTargetRow(doc, view, 10), 0);
    EXPECT_EQ(FindDropTargetRow(doc, view, 60), 2);  // row 1 has no height
    EXPECT_EQ(FindDropTargetRow(doc, view, 1000), -1);
    DropOnView(doc, view, 60, {2});  // onto its own row
    EXPECT_FALSE(doc.GetOscillogram().m_channels[2].m_selected);
    DropOnView(doc, view, 60, {0, 3});
    auto& chs = doc.GetOscillogram().m_channels;
    EXPECT_TRUE(chs[0].m_selected && chs[2].m_selected && chs[3].m_selected);
    EXPECT_EQ(view.refused, 1);
    view.can = true;
    DropOnView(doc, view, 10, {3});
    EXPECT_EQ(view.overlaid, 1);
}

TEST(VectorWindow, OptionsGoToTheRecordSettings) {
    testutil::FakeUi ui;
    Doc doc;
    Record(doc);
    Owner owner(nullptr);
    VectorDiagramWnd wnd(&owner);
    EXPECT_TRUE(wnd.ShowAnglesValue());
    // Without a document only the member flips.
    wnd.OnCommand(ID_VECTOR_SHOW_VALUES);
    EXPECT_FALSE(wnd.ShowAnglesValue());
    owner.doc = &doc;
    wnd.OnCommand(ID_VECTOR_TB_SHOW_VALUES);
    wnd.OnCommand(ID_VECTOR_RADIANS);
    SettingsNode& node = doc.m_settings.GetCategory(L"Vector Chart");
    EXPECT_EQ(node.GetInt(L"ShowAnglesValue", -1), 1);
    EXPECT_EQ(node.GetInt(L"AngleInRadians", -1), 1);
    EXPECT_EQ(doc.modified, 2);
    // Only an exact 1 sets an option; a fresh record reads all false.
    node.SetInt(L"ShowAnglesValue", 2);
    node.SetString(L"AngleChannelName", L"Ia");
    wnd.LoadSettings();
    EXPECT_FALSE(wnd.ShowAnglesValue());
    EXPECT_TRUE(wnd.AngleInRadians());
    EXPECT_EQ(wnd.GetAngleChannelName(), L"Ia");
    doc.m_settings.Clear();
    wnd.LoadSettings();
    EXPECT_FALSE(wnd.ShowAnglesValue() || wnd.AngleInRadians() || wnd.OnlyDirection());
    EXPECT_TRUE(wnd.GetAngleChannelName().IsEmpty());
}

TEST(VectorWindow, ChannelChoiceAndReference) {
    testutil::FakeUi ui;
    Doc doc;
    Record(doc);
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    auto& chs = doc.GetOscillogram().m_channels;
    // Volts, amperes and nominal units, any letter case; not watts or ohms.
    EXPECT_EQ(Ids(wnd.BuildChannelMenu()), (std::vector<unsigned>{32845, 32846, 0, 35000, 35001, 35004}));
    wnd.OnCommand(ID_VECTOR_SHOW_ALL);
    EXPECT_EQ(chs[4].m_flags & CHF_VECTOR_DIAGRAM, CHF_VECTOR_DIAGRAM);
    EXPECT_EQ(chs[2].m_flags & CHF_VECTOR_DIAGRAM, 0u);
    // A channel taken through the menu stays after the next reload.
    chs[2].m_flags |= CHF_VECTOR_DIAGRAM;
    wnd.LoadSettings();
    EXPECT_EQ(chs[4].m_flags & CHF_VECTOR_DIAGRAM, CHF_VECTOR_DIAGRAM);
    EXPECT_EQ(chs[2].m_flags & CHF_VECTOR_DIAGRAM, 0u);
    // Toggles: out of range changes no channel but marks the record.
    const int before = doc.modified;
    wnd.OnCommand(35000);
    EXPECT_EQ(chs[0].m_flags & CHF_VECTOR_DIAGRAM, 0u);
    wnd.OnCommand(35000 + 999);
    EXPECT_EQ(doc.modified, before + 2);
    CCmdUI check(35001);
    wnd.OnUpdateCommand(check);
    EXPECT_TRUE(check.m_checkSet && check.m_check == 1);
    // Reference: the shown channels; a choice past the end keeps the name.
    EXPECT_EQ(Ids(wnd.BuildReferenceMenu()), (std::vector<unsigned>{36000, 0, 36002, 36005}));
    wnd.OnCommand(36002);
    EXPECT_EQ(wnd.GetAngleChannelName(), L"Ia");
    wnd.OnCommand(36000 + 40);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Vector Chart").GetString(L"AngleChannelName", L"?"), L"Ia");
    CCmdUI radio(36002);
    wnd.OnUpdateCommand(radio);
    EXPECT_TRUE(radio.m_radioSet && radio.m_radio);
    wnd.OnCommand(36000);
    EXPECT_TRUE(wnd.GetAngleChannelName().IsEmpty());
    // The context menu has no radians item.
    const auto menu = wnd.BuildContextMenu();
    EXPECT_EQ(Ids(menu), (std::vector<unsigned>{0, 0, 0, 0, 32844, 32842}));
    EXPECT_TRUE(Owner(nullptr).GetActiveDocument() == nullptr);
    owner.doc = nullptr;
    EXPECT_TRUE(wnd.BuildContextMenu().empty());
    CCmdUI button(ID_VECTOR_TB_CHANNELS);
    wnd.OnUpdateCommand(button);
    EXPECT_FALSE(button.m_enabled);
}

TEST(VectorWindow, PhasorOfPastedChannelFollowsTime) {
    testutil::FakeUi ui;
    Doc doc;
    Fill(doc, {{"Ua", L"V", 100, 0, 0}}, 100);
    CChannel pasted = doc.GetOscillogram().m_channels[0];
    pasted.m_flags |= CHF_OWN_TIMEBASE;
    pasted.m_ownRate = 1000;
    pasted.m_ownTimes = {10000, 12000, 12000, 14000};
    pasted.SetPhasorSeries({{1, 0}, {3, 0}, {5, 0}, {7, 0}});
    // Document sample i is at i ms.
    struct {
        uint32_t q;
        double re;
    } cases[] = {{5, 1}, {10, 1}, {11, 2}, {12, 3}, {13, 6}, {14, 7}, {15, 0}, {50, 0}};
    for (auto& c : cases) EXPECT_DOUBLE_EQ(GetChannelPhasorAt(pasted, c.q, doc).real(), c.re) << c.q;
    // The merge shift moves the document's times.
    doc.m_pasteTimeShift = -0.002;
    EXPECT_DOUBLE_EQ(GetChannelPhasorAt(pasted, 11, doc).real(), 6);
    // Own phasor: NaN or outside reads as 0.
    CChannel plain = doc.GetOscillogram().m_channels[0];
    std::vector<Complex> series(plain.GetPhasorCount());
    for (uint32_t i = 0; i < series.size(); ++i) series[i] = plain.GetStoredHarmonic(i);
    series[3] = Complex(NAN, 0);
    plain.SetPhasorSeries(std::move(series));
    EXPECT_EQ(GetChannelPhasorAt(plain, 3, doc), Complex());
    EXPECT_EQ(GetChannelPhasorAt(plain, 100000, doc), Complex());
}
