#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "model/SettingsStore.h"

using namespace viewtest;

namespace {

// 1000 samples at 1 kHz, 5 pixels a sample: analog "U" (-50 .. 49) and "I", discrete "D".
struct CommentRig : ViewRig {
    CommentRig() {
        SetUpRecord(doc, 1000, 1000);
        std::vector<double> ramp(1000), flat(1000, 2.0), bits(1000, 0.0);
        for (size_t i = 0; i < 1000; ++i) ramp[i] = double(i % 100) - 50;
        AddChannels(doc, {Analog(doc, "U", ramp, L"V"), Analog(doc, "I", flat, L"A"), Discrete(doc, "D", bits)});
        for (auto& ch : doc.GetOscillogram().m_channels) ch.m_flags &= ~(CHF_SHOW_RMS | CHF_SHOW_HARMONIC);
        doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 0.2);
        Open(1000, 600);
        Render();  // measures the caption column
    }
    CommentList& list() { return doc.m_comments; }
    int W() const { return view->m_leftWidth; }
    int Row(int i) const { return view->GetChannelHeightAt(i); }
    template <class T>
    T* Add(std::unique_ptr<T> item) {
        return static_cast<T*>(list().Add(std::move(item)));
    }
    // The level line of "U" for value v.
    int LevelY(double v) const { return LevelLineY(ChannelRow{0, Row(0)}, (v + 50) / 99); }
    int Count(CBitmap& pic, int l, int t, int r, int b, COLORREF c) {
        return CountIf(pic, l, t, r, b, [c](COLORREF p) { return p == c; });
    }
    template <class F>
    int CountIf(CBitmap& pic, int l, int t, int r, int b, F f) {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += f(pic.GetPixel(x, y));
        return n;
    }
};

}  // namespace

TEST(CommentGeometry, SampleUnderXTakesTheNearerSampleAndTheLaterOnATie) {
    struct Case {
        int x;
        int64_t first;
        double xscale;
        int64_t sample;
    } cases[] = {
        {100, 0, 0.08, 0},  {101, 0, 0.08, 1},  {102, 0, 0.08, 1}, {103, 0, 0.08, 2},
        {100, 7, 0.2, 7},   {102, 7, 0.2, 7},   {103, 7, 0.2, 8},  {95, 7, 0.2, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommentSampleAt(c.x, 100, c.first, c.xscale), c.sample) << c.x << " " << c.xscale;
        EXPECT_EQ(CommentSampleAt(CommentSampleX(c.sample, 100, c.first, c.xscale), 100, c.first, c.xscale), c.sample);
    }
}

TEST(CommentHitTest, EachKindIsHitWhereItsMarkerIs) {
    CommentRig rig;
    const int W = rig.W(), h0 = rig.Row(0), h1 = rig.Row(1);
    const ChannelLayoutMap layout = rig.list().BuildChannelLayout();
    ASSERT_EQ(layout.at(L"I").top, h0);
    MomentItem moment(100, L"m");                        // x = W + 500
    LevelItem level(L"U", 100, 0.0);                     // x from W + 500 to W + 1000
    level.m_positionTo = 200;
    AreaItem area(L"U", 100);                            // W + 500 .. W + 750, rows U and I
    area.m_positionTo = 150;
    area.SetChannelTo(L"I");
    const int yl = rig.LevelY(0.0), mid = (h0 + h1) / 2;
    struct Case {
        const CommentItem* item;
        int x, y;
        bool hit;
    } cases[] = {
        {&moment, W + 500, 3, true},      {&moment, W + 512, 500, true},   {&moment, W + 513, 5, false},
        {&moment, W + 488, 5, true},      {&moment, W + 487, 5, false},
        {&level, W + 490, yl, true},      {&level, W + 489, yl, false},    {&level, W + 1009, yl + 9, true},
        {&level, W + 1010, yl, false},    {&level, W + 700, yl - 10, true}, {&level, W + 700, yl + 10, false},
        {&level, W + 700, yl - 11, false},
        {&area, W + 625, mid, false},     {&area, W + 495, mid, true},     {&area, W + 489, mid, false},
        {&area, W + 509, mid, true},      {&area, W + 510, mid, false},    {&area, W + 625, h0 + h1 + 9, true},
        {&area, W + 625, h0 + h1 + 10, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.item->HitTest(c.x, c.y, W, 0.2, 0, layout, rig.doc), c.hit)
            << c.item->GetKind() << " at " << c.x - W << "," << c.y;
    // Scrolled by 100 samples the moment moves 500 pixels left.
    EXPECT_TRUE(moment.HitTest(W, 0, W, 0.2, 100, layout, rig.doc));
    // A level outside its channel's range, or on a hidden channel, is nowhere.
    LevelItem high(L"U", 100, 60.0);
    EXPECT_FALSE(high.HitTest(W + 500, rig.LevelY(60.0), W, 0.2, 0, layout, rig.doc));
    rig.doc.GetOscillogram().m_channels[0].m_flags &= ~CHF_VISIBLE;
    EXPECT_FALSE(level.HitTest(W + 700, yl, W, 0.2, 0, layout, rig.doc));
    EXPECT_FALSE(area.HitTest(W + 495, mid, W, 0.2, 0, rig.list().BuildChannelLayout(), rig.doc));
}

TEST(CommentHitTest, RangesNameTheEdgeADragTakes) {
    MomentItem moment(10, L"");
    LevelItem level(L"U", 10, 0.0);
    level.m_positionTo = 20;
    LevelItem point(L"U", 10, 0.0);  // made by a click, not dragged
    AreaItem area(L"U", 10);
    area.m_positionTo = 20;
    struct Case {
        const CommentItem* item;
        int64_t a, b;
        int part;
    } cases[] = {
        {&moment, 8, 12, 2}, {&moment, 11, 12, 0}, {&level, 8, 12, 2},  {&level, 18, 22, 3}, {&level, 14, 16, 4},
        {&level, 21, 30, 0}, {&level, 0, 9, 0},    {&point, 8, 12, 2},  {&area, 8, 12, 2},   {&area, 19, 25, 3},
        {&area, 14, 16, 0},
    };
    for (const Case& c : cases) {
        int part = -1;
        EXPECT_EQ(c.item->HitTestRange(c.a, c.b, part), c.part != 0) << c.item->GetKind() << " " << c.a;
        EXPECT_EQ(part, c.part) << c.item->GetKind() << " " << c.a;
    }
}

TEST(CommentDrawing, EachKindIsDrawnInPlaceWithItsText) {
    CommentRig rig;
    const int W = rig.W(), h0 = rig.Row(0), h1 = rig.Row(1), H = 600;
    rig.Add(std::make_unique<MomentItem>(60, L"Пуск"));  // x = W + 300
    auto* level = rig.Add(std::make_unique<LevelItem>(L"U", 100, 0.0));
    level->m_positionTo = 160;  // W + 500 .. W + 800
    level->m_text = L"Уставка";
    auto* area = rig.Add(std::make_unique<AreaItem>(L"I", 20));  // W + 100 .. W + 250, row I
    area->m_positionTo = 50;
    area->m_text = L"Зона";
    CBitmap& pic = rig.Render();
    const COLORREF thin = RGB(255, 100, 100);
    // The moment: its line from under the icon to above the difference panel, the icon's
    // balloon at the top.
    EXPECT_EQ(pic.GetPixel(W + 300, 100), thin);
    EXPECT_EQ(pic.GetPixel(W + 300, H - 76), thin);  // the difference panel stays clear
    EXPECT_NE(pic.GetPixel(W + 300, H - 74), thin);
    EXPECT_EQ(pic.GetPixel(W + 300 - 10 + 4 + 8, 6), RGB(255, 255, 225));
    // Its text is the second line of its label in the difference panel.
    EXPECT_GT(rig.CountIf(pic, W + 280, H - 42, W + 320, H - 30,
                          [](COLORREF p) { return GetBValue(p) > 60 && GetRValue(p) < 60 && GetGValue(p) < 60; }),
              5);
    // The level line, its end circles, its text under it; the icon after its end.
    const int yl = rig.LevelY(0.0);
    EXPECT_EQ(pic.GetPixel(W + 650, yl), thin);
    EXPECT_EQ(pic.GetPixel(W + 500, yl), RGB(255, 0, 0));
    EXPECT_EQ(pic.GetPixel(W + 800, yl), RGB(255, 0, 0));
    const auto dark = [](COLORREF p) { return GetRValue(p) > 100 && GetGValue(p) < 60 && GetBValue(p) < 60; };
    EXPECT_GT(rig.CountIf(pic, W + 505, yl + 5, W + 795, yl + 20, dark), 20);
    EXPECT_EQ(rig.CountIf(pic, W + 505, yl + 21, W + 795, yl + 40, dark), 0);
    EXPECT_EQ(pic.GetPixel(W + 810 + 10, yl - 10 + 6), RGB(255, 255, 225));
    // The area: its border, a red veil inside, its text at the bottom.
    const int mid = h0 + h1 / 2;
    EXPECT_EQ(pic.GetPixel(W + 100, mid), thin);
    const COLORREF veil = pic.GetPixel(W + 175, h0 + 10);
    EXPECT_GT(GetRValue(veil), 200);
    EXPECT_LT(GetGValue(veil), GetRValue(veil) - 30);
    // (the text lies under the veil: dark red, no longer its own colour)
    EXPECT_GT(rig.CountIf(pic, W + 105, h0 + h1 - 25, W + 245, h0 + h1 - 5, dark), 10);
    EXPECT_EQ(rig.CountIf(pic, W + 105, h0 + 3, W + 245, h0 + 15, dark), 0);
    // Only the selected item shows its text box, drawn in the selected pen.
    EXPECT_EQ(rig.Count(pic, W + 803, yl + 10, W + 900, yl + 40, RGB(255, 230, 230)), 0);
    rig.list().SetSelected(level);
    CBitmap& sel = rig.Render();
    EXPECT_EQ(sel.GetPixel(W + 650, yl), RGB(192, 0, 0));
    const int boxTop = yl + 10;
    EXPECT_EQ(sel.GetPixel(W + 806, boxTop + 3), RGB(255, 230, 230));
    EXPECT_GT(rig.CountIf(sel, W + 808, boxTop + 5, 1000, boxTop + 60,
                          [](COLORREF p) { return GetBValue(p) > 120 && GetRValue(p) < 90 && GetGValue(p) < 90; }),
              20);
    // A hidden text is not written; the marker stays.
    level->m_visible = false;
    rig.list().SetSelected(nullptr);
    CBitmap& hidden = rig.Render();
    EXPECT_EQ(rig.CountIf(hidden, W + 505, yl + 5, W + 795, yl + 20, dark), 0);
    EXPECT_EQ(hidden.GetPixel(W + 650, yl), thin);
}

TEST(CommentText, TooltipsGiveTimeDurationAndLevel) {
    CommentRig rig;
    rig.doc.GetOscillogram().m_startDate = L"15/02/2020";
    rig.doc.GetOscillogram().m_startTime = L"10:20:30.500000";
    EXPECT_EQ(MomentItem(0, L"A").GetTooltipText(rig.doc),
              CString(L"A\n\nВремя: 15.02.2020 10:20:30.500\nОт начала ОСЦ: 0.000 с"));
    EXPECT_EQ(MomentItem(999, L"").GetTooltipText(rig.doc),
              CString(L"\n\nВремя: 15.02.2020 10:20:31.499\nОт начала ОСЦ: 0.999 с"));
    AreaItem area(L"U", 700);
    area.m_positionTo = 200;
    area.m_text = L"B";
    EXPECT_EQ(area.GetTooltipText(rig.doc), CString(L"B\n\nДлительность: 0.500 с"));
    LevelItem level(L"U", 1, 12.345);
    level.m_text = L"C";
    EXPECT_EQ(level.GetTooltipText(rig.doc), CString(L"C\n\nУровень: 12.35 В"));
    EXPECT_EQ(LevelItem(L"X", 1, 1.0).GetTooltipText(rig.doc), CString());
    // A start the text does not hold still shows the comment and its offset.
    rig.doc.GetOscillogram().m_startDate = L"";
    EXPECT_EQ(MomentItem(500, L"A").GetTooltipText(rig.doc), CString(L"A\n\nОт начала ОСЦ: 0.500 с"));
    EXPECT_EQ(FormatCommentSeconds(1500000), CString(L"1.500 с"));
    EXPECT_EQ(FormatCommentSeconds(2500000000LL), CString(L"2500.000 с"));
}

TEST(CommentText, TimesAreRoundedToTheSampleRatesResolution) {
    CommentRig rig;
    SetUpRecord(rig.doc, 2400, 1000);  // one sample every 416.67 us
    rig.doc.GetOscillogram().m_startDate = L"15/02/2020";
    struct Case {
        const wchar_t* start;
        int32_t position;
        const wchar_t* tooltip;
    } cases[] = {
        // 299583 us after a start of 17.652: 17.951583 s, not cut to 17.951 and 0.299.
        {L"10:20:17.652000", 719, L"A\n\nВремя: 15.02.2020 10:20:17.95158\nОт начала ОСЦ: 0.29958 с"},
        // The start's microseconds count, and a rounding carries into the minute.
        {L"10:20:59.999996", 0, L"A\n\nВремя: 15.02.2020 10:21:00.00000\nОт начала ОСЦ: 0.00000 с"},
        {L"10:20:30.5", 1, L"A\n\nВремя: 15.02.2020 10:20:30.50042\nОт начала ОСЦ: 0.00042 с"},
    };
    for (const Case& c : cases) {
        rig.doc.GetOscillogram().m_startTime = c.start;
        EXPECT_EQ(MomentItem(c.position, L"A").GetTooltipText(rig.doc), CString(c.tooltip)) << c.start;
    }
    AreaItem area(L"U", 0);
    area.m_positionTo = 719;
    EXPECT_EQ(area.GetTooltipText(rig.doc), CString(L"\n\nДлительность: 0.29958 с"));
    EXPECT_EQ(FormatCommentSeconds(299583, 1e6 / 2400), CString(L"0.29958 с"));
    EXPECT_EQ(FormatCommentSeconds(299583, 1000), CString(L"0.300 с"));
}

TEST(CommentMouse, ToolsCreateItemsThatDragsShape) {
    CommentRig rig;
    auto& v = *rig.view;
    const int W = rig.W(), h0 = rig.Row(0);
    CommentList& list = rig.list();
    // Outside a .cfg or .osc record the tools stay off.
    EXPECT_FALSE(v.GetCommentCommandState(oscview::ID_COMMENT_MOMENT).enabled);
    list.SetTool(CommentList::kMomentTool);
    v.OnButtonDown(W + 502, 40, true, false);  // nearest sample 100
    v.OnButtonUp();
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_EQ(static_cast<MomentItem&>(*list.Items()[0]).m_position, 100);
    EXPECT_EQ(list.Items()[0]->m_text, CString());
    EXPECT_EQ(list.m_tool, 0);
    EXPECT_TRUE(rig.doc.IsModified());
    EXPECT_FALSE(rig.doc.m_cursors.m_cursors[0].shown);  // the press made no cursor

    // A level drawn leftwards ends with its start before its end.
    list.SetSelected(nullptr);
    list.SetTool(CommentList::kLevelTool);
    const int y = h0 / 2;
    v.OnButtonDown(W + 700, y, true, false);
    EXPECT_EQ(v.m_mouseMode, 9);
    v.OnMouseMove(W + 300, y);
    v.OnButtonUp();
    ASSERT_EQ(list.Items().size(), 2u);
    auto& level = static_cast<LevelItem&>(*list.Items()[1]);
    EXPECT_EQ(level.m_positionFrom, 60);
    EXPECT_EQ(level.m_positionTo, 140);
    EXPECT_NEAR(level.GetLevelFraction(rig.doc), double(h0 - 5 - y) / (h0 - 10), 1e-9);
    EXPECT_EQ(list.m_tool, 0);
    EXPECT_EQ(v.m_mouseMode, 0);

    // An area from row U to row I, dragged past the record's end: it stays inside the record.
    list.SetSelected(nullptr);
    list.SetTool(CommentList::kAreaTool);
    v.OnButtonDown(W + 750, 10, true, false);
    v.OnMouseMove(W + 800, h0 + 5);
    ASSERT_EQ(list.Items().size(), 3u);
    auto& area = static_cast<AreaItem&>(*list.Items()[2]);
    EXPECT_EQ(area.GetChannelFrom(), CString(L"U"));
    EXPECT_EQ(area.GetChannelTo(), CString(L"I"));
    EXPECT_EQ(area.m_positionTo, 160);
    v.m_firstSample = 900;
    v.OnMouseMove(W + 500, h0 + 5);
    v.m_firstSample = 0;
    v.OnButtonUp();
    EXPECT_EQ(area.m_positionFrom, 150);
    EXPECT_EQ(area.m_positionTo, 999);

    // Presses that make nothing: a level on the discrete row, an area below the rows.
    list.SetSelected(nullptr);
    list.SetTool(CommentList::kLevelTool);
    v.OnButtonDown(W + 50, h0 + rig.Row(1) + 5, true, false);
    list.SetTool(CommentList::kAreaTool);
    v.OnButtonDown(W + 50, 520, true, false);
    EXPECT_EQ(list.Items().size(), 3u);
    list.SetTool(CommentList::kNoTool);

    // Hovering selects; a press on the level's start edge drags it; a locked level stays.
    v.OnMouseMove(W + 300, rig.LevelY(level.m_positionY));
    ASSERT_EQ(list.GetSelected(), &level);
    v.OnButtonDown(W + 300, rig.LevelY(level.m_positionY), true, false);
    EXPECT_EQ(v.m_mouseMode, 9);
    v.OnMouseMove(W + 200, 0);
    v.OnButtonUp();
    EXPECT_EQ(level.m_positionFrom, 40);
    level.m_locked = true;
    v.OnMouseMove(W + 200, rig.LevelY(level.m_positionY));
    v.OnButtonDown(W + 200, rig.LevelY(level.m_positionY), true, false);
    EXPECT_NE(v.m_mouseMode, 9);
    v.OnMouseMove(W + 100, 0);
    v.OnButtonUp();
    EXPECT_EQ(level.m_positionFrom, 40);
}

TEST(CommentMouse, ADoubleClickAnywhereOnACommentEditsItsText) {
    CommentRig rig;
    auto& v = *rig.view;
    const int W = rig.W(), h0 = rig.Row(0);
    CommentList& list = rig.list();
    auto* area = rig.Add(std::make_unique<AreaItem>(L"U", 100));  // W + 500 .. W + 1000, rows U and I
    area->m_positionTo = 200;
    area->SetChannelTo(L"I");
    auto* moment = rig.Add(std::make_unique<MomentItem>(40, L"m"));  // x = W + 200
    std::vector<CString> edited;
    list.SetTextEditor([&](CString& text) {
        edited.push_back(text);
        text = L"new";
        return true;
    });
    struct Case {
        int x, y;
        const CommentItem* item;  // edited, or none
        int cursor;               // В1 after the double click
    } cases[] = {
        {W + 650, h0, area, 50},       // well inside the area: its text, and В1 stays where it was
        {W + 502, h0, area, 50},       // on its edge
        {W + 900, 10, area, 50},       // inside, near a corner
        {W + 201, 100, moment, 50},    // on a moment
        {W + 300, h0, nullptr, 60},    // on the bare traces: В1 is placed, nothing edited
    };
    for (const Case& c : cases) {
        rig.doc.m_cursors.SetPosition(0, 50);
        area->m_text = L"a";
        moment->m_text = L"m";
        edited.clear();
        v.OnMouseMove(c.x, c.y);
        v.OnButtonDown(c.x, c.y, true, false);
        v.OnButtonUp();
        const bool changed = v.OnDoubleClick(c.x, c.y);
        v.OnButtonUp();
        EXPECT_EQ(changed, c.item != nullptr) << c.x << "," << c.y;
        if (c.item) {
            ASSERT_EQ(edited.size(), 1u) << c.x << "," << c.y;
            EXPECT_EQ(edited[0], c.item == area ? CString(L"a") : CString(L"m"));
            EXPECT_EQ(c.item->m_text, CString(L"new"));
        } else {
            EXPECT_TRUE(edited.empty());
        }
        EXPECT_TRUE(rig.doc.m_cursors.m_cursors[0].shown);
        EXPECT_EQ(rig.doc.m_cursors.m_cursors[0].position, c.cursor) << c.x << "," << c.y;
    }
}

TEST(CommentCommands, ItemCommandsActOnTheItemUnderTheMouse) {
    CommentRig rig;
    auto& v = *rig.view;
    CommentList& list = rig.list();
    auto* area = rig.Add(std::make_unique<AreaItem>(L"U", 10));
    auto* level = rig.Add(std::make_unique<LevelItem>(L"U", 10, 1.0));
    EXPECT_TRUE(v.CommentMenu().empty());
    EXPECT_FALSE(v.GetCommentCommandState(oscview::ID_COMMENT_DELETE).enabled);

    list.SetSelected(area);
    std::vector<oscview::CommentMenuEntry> menu = v.CommentMenu();
    ASSERT_EQ(menu.size(), 4u);  // no level edit for an area
    EXPECT_EQ(menu[1].text, CString(L"Зафиксировать область"));
    EXPECT_EQ(menu[2].text, CString(L"Удалить область"));
    EXPECT_EQ(menu[3].text, CString(L"Скрыть комментарий"));
    v.OnCommentCommand(oscview::ID_COMMENT_LOCK);
    v.OnCommentCommand(oscview::ID_COMMENT_HIDE);
    EXPECT_TRUE(area->m_locked);
    EXPECT_FALSE(area->m_visible);
    EXPECT_EQ(v.CommentMenu()[1].text, CString(L"Разблокировать область"));
    EXPECT_EQ(v.GetCommentCommandState(oscview::ID_COMMENT_HIDE).text, CString(L"Отображать комментарий"));
    EXPECT_TRUE(v.GetCommentCommandState(oscview::ID_COMMENT_LOCK).checked);

    list.SetSelected(level);
    menu = v.CommentMenu();
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[2].text, CString(L"Удалить линию уровня"));
    oscview::LevelEditPlace place;
    ASSERT_TRUE(v.GetLevelEditPlace(place));
    EXPECT_EQ(place.text, CString(L"1.00"));
    // A level outside the channel's own minimum and maximum is refused.
    v.ApplyLevelEdit(L"75");
    EXPECT_EQ(level->m_positionY, 1.0);
    v.ApplyLevelEdit(L"-12.5");
    EXPECT_EQ(level->m_positionY, -12.5);
    v.OnCommentCommand(oscview::ID_COMMENT_DELETE);
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_EQ(list.GetSelected(), nullptr);
    list.SetSelected(list.Items()[0].get());
    EXPECT_EQ(v.CommentMenu()[2].text, CString(L"Удалить область"));
}

TEST(CommentList, RemovedChannelTakesItsCommentsAlong) {
    CommentRig rig;
    rig.Add(std::make_unique<MomentItem>(5, L"m"));
    rig.Add(std::make_unique<LevelItem>(L"I", 5, 2.0));
    auto* area = rig.Add(std::make_unique<AreaItem>(L"U", 5));
    area->SetChannelTo(L"I");
    rig.Add(std::make_unique<LevelItem>(L"U", 5, 2.0));
    rig.list().SetSelected(area);
    rig.doc.GetOscillogram().RemoveChannel(L"I");
    ASSERT_EQ(rig.list().Items().size(), 2u);
    EXPECT_EQ(rig.list().Items()[0]->GetKind(), CommentItem::kMoment);
    EXPECT_EQ(rig.list().Items()[1]->GetKind(), CommentItem::kLevel);
    EXPECT_EQ(rig.list().GetSelected(), nullptr);
}

TEST(CommentList, SavedItemsLoadInTheirOrderAndSaveToTheSameText) {
    CommentRig rig;
    CommentList& list = rig.list();
    rig.Add(std::make_unique<MomentItem>(3, L"first\r\nline"));
    rig.Add(std::make_unique<MomentItem>(1, L"second"))->m_locked = true;
    auto* level = rig.Add(std::make_unique<LevelItem>(L"U", 4, -1.25));
    level->m_positionTo = 9;
    level->m_visible = false;
    auto* area = rig.Add(std::make_unique<AreaItem>(L"U", 7));
    area->m_positionTo = 2;
    area->SetChannelTo(L"I");
    rig.Add(std::make_unique<MomentItem>(2, L"third"));

    SettingsStore first;
    first.GetCategory(L"Comments").SetInt(L"Codepage", 1);
    list.Save(&first.GetCategory(L"Comments"));
    const SettingsNode& moment1 = first.GetCategory(L"Comments").GetSubCategory(L"Moments").GetSubCategory(L"Moment1");
    EXPECT_EQ(moment1.GetString(L"text", L"?"), CString(L"first\nline"));
    EXPECT_EQ(first.GetCategory(L"Comments").GetSubCategory(L"Levels").GetSubCategory(L"Level1").GetString(L"positionY", L""),
              CString(L"-1.250000"));

    CommentList loaded(&rig.doc);
    EXPECT_EQ(loaded.Load(&first.GetCategory(L"Comments")), 0);
    ASSERT_EQ(loaded.Items().size(), 5u);
    const int kinds[] = {3, 2, 1, 1, 1};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(loaded.Items()[i]->GetKind(), kinds[i]) << i;
    EXPECT_EQ(loaded.Items()[2]->m_text, CString(L"first\nline"));
    EXPECT_TRUE(loaded.Items()[3]->m_locked);
    EXPECT_FALSE(loaded.Items()[1]->m_visible);
    EXPECT_EQ(static_cast<AreaItem&>(*loaded.Items()[0]).GetChannelTo(), CString(L"I"));

    SettingsStore second;
    second.GetCategory(L"Comments").SetInt(L"Codepage", 1);
    loaded.Save(&second.GetCategory(L"Comments"));
    EXPECT_EQ(second.SaveText(), first.SaveText());
    // Saving again after loading what was saved changes nothing either.
    CommentList again(&rig.doc);
    again.Load(&second.GetCategory(L"Comments"));
    SettingsStore third;
    third.GetCategory(L"Comments").SetInt(L"Codepage", 1);
    again.Save(&third.GetCategory(L"Comments"));
    EXPECT_EQ(third.SaveText(), first.SaveText());
}

TEST(CommentList, ItemsThatCannotBeReadAreLeftOutAndTheRestLoads) {
    CommentRig rig;
    struct Case {
        const wchar_t* group;
        const wchar_t* name;
        const wchar_t* key;
        const wchar_t* value;
        bool loads;
    } cases[] = {
        {L"Moments", L"Moment1", L"position", L"12", true},
        {L"Moments", L"Moment2", L"position", L"12abc", false},
        {L"Moments", L"Moment3", L"position", L"", false},
        {L"Moments", L"Moment4", L"position", L"99999999999", false},
        {L"Moments", L"Moment5", L"visible", L"yes", false},
        {L"Moments", L"Moment6", L"text", L"no key of numbers", true},
        {L"Moments", L"Note1", L"position", L"3", false},
        {L"Moments", L"Moment0", L"position", L"3", false},
        {L"Levels", L"Level1", L"positionY", L"nan", false},
        {L"Levels", L"Level2", L"positionY", L"1.5x", false},
        {L"Levels", L"Level3", L"positionY", L" 1.5 ", true},
        {L"Areas", L"Area1", L"positionTo", L"-4", true},
    };
    for (const Case& c : cases) {
        SettingsStore store;
        store.GetCategory(L"Comments").GetSubCategory(c.group).GetSubCategory(c.name).SetString(c.key, c.value);
        // A sound neighbour always loads.
        store.GetCategory(L"Comments").GetSubCategory(L"Moments").GetSubCategory(L"Moment9").SetInt(L"position", 1);
        CommentList list(&rig.doc);
        const int dropped = list.Load(&store.GetCategory(L"Comments"));
        EXPECT_EQ(dropped, c.loads ? 0 : 1) << c.name << "=" << platform::WideToUtf8(c.value);
        EXPECT_EQ(list.Items().size(), c.loads ? 2u : 1u) << c.name;
    }
    // Keys that are missing take their defaults: a comment without "visible" shows its text.
    SettingsStore store;
    store.GetCategory(L"Comments").GetSubCategory(L"Moments").GetSubCategory(L"Moment1").SetString(L"text", L"x");
    CommentList list(&rig.doc);
    list.Load(&store.GetCategory(L"Comments"));
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_TRUE(list.Items()[0]->m_visible);
    EXPECT_FALSE(list.Items()[0]->m_locked);

    // Items outside the record or on channels it lacks go when the record's load ends.
    list.Add(std::make_unique<MomentItem>(1000, L"past the end"));
    list.Add(std::make_unique<LevelItem>(L"Nope", 1, 0.0));
    list.Add(std::make_unique<AreaItem>(L"U", -1));
    list.Add(std::make_unique<MomentItem>(999, L"last"));
    EXPECT_EQ(list.RemoveItemsOutside(), 3);
    EXPECT_EQ(list.Items().size(), 2u);
}

TEST(CommentList, MomentTextsForTheDifferencePanel) {
    CommentRig rig;
    rig.Add(std::make_unique<MomentItem>(5, L"a"));
    rig.Add(std::make_unique<MomentItem>(7, L"b"))->m_visible = false;
    rig.Add(std::make_unique<MomentItem>(5, L"c"));
    rig.Add(std::make_unique<LevelItem>(L"U", 9, 0.0));
    std::map<int64_t, CString> texts{{1, L"old"}};
    rig.list().GetMomentTexts(texts);
    EXPECT_EQ(texts, (std::map<int64_t, CString>{{5, L"c"}, {7, L""}}));
}

TEST(CommentList, HeaderCommentReadsItsBytesInTheChosenCodePage) {
    const CStringA oem("\x8f\xe0\xa8\xa2\xa5\xe2");  // "Привет" in 866
    EXPECT_EQ(HeaderCommentToText(oem, 0), CString(L"Привет"));
    EXPECT_EQ(HeaderCommentFromText(L"Привет", 0), oem);
    const CStringA ansi("\xcf\xf0\xe8\xe2\xe5\xf2");  // in 1251
    EXPECT_EQ(HeaderCommentToText(ansi, 1), CString(L"Привет"));
    EXPECT_EQ(HeaderCommentFromText(L"Привет", 1), ansi);
    // Switching the option reads the same bytes the other way.
    const CString asAnsi = HeaderCommentToText(oem, 1);
    EXPECT_EQ(HeaderCommentToText(HeaderCommentFromText(asAnsi, 1), 0), CString(L"Привет"));
}
