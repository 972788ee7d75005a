// What the painted controls draw, checked on an off-screen picture.
#include <gtest/gtest.h>

#include "halvex/controls/model/Ai_ListCtrlEx.h"
#include "halvex/controls/model/GradientPainter.h"
#include "halvex/controls/model/ReportListPainter.h"
#include "tests/draw/Canvas.h"

using namespace halvex;
using drawtest::Canvas;

namespace {
struct Gradient : GradientPainter {};
}  // namespace

TEST(GradientPainter, DefaultsRiseFromTealTowardsWhite) {
    Canvas c(200, 10);
    Gradient g;
    g.PaintGradient(&c.dc, CRect(0, 0, 200, 10));
    // column k: 0 + 1.65 k (clamped), 145 + 1.65 k until 255
    for (int x : {0, 1, 10, 66, 67, 150, 199}) {
        const double r = std::min(255.0, 1.65 * x);
        double gb = 145;
        for (int k = 0; k < x; ++k)
            if (gb < 255) gb = std::min(255.0, gb + 1.65);
        EXPECT_EQ(c.At(x, 5), RGB(int(r), int(gb), int(gb))) << x;
    }
    EXPECT_EQ(c.At(199, 0), RGB(255, 255, 255));
}

TEST(GradientPainter, StopsDirectionBandsAndFrame) {
    Canvas c(40, 40);
    Gradient g;
    g.SetStartRGB(200, 100, 50);
    g.StopIfEqual(190, -1, 0);  // green has no stop: it stays
    g.ForwardOrBack(eBack);
    g.SetGradient(4);
    g.SetStep(5);
    g.HorizontalOrVertical(eVertical);
    g.PaintGradient(&c.dc, CRect(0, 0, 40, 40));
    EXPECT_EQ(c.At(20, 0), RGB(200, 100, 50));
    EXPECT_EQ(c.At(20, 4), RGB(200, 100, 50));  // one band of 5 rows
    EXPECT_EQ(c.At(20, 5), RGB(196, 100, 46));
    EXPECT_EQ(c.At(20, 10), RGB(192, 100, 42));
    EXPECT_EQ(c.At(20, 15), RGB(188, 100, 38));  // 192 > 190 falls once more, then stops
    EXPECT_EQ(c.At(20, 39), RGB(188, 100, 22));
    EXPECT_EQ(c.Row(3, 0, 40, RGB(0, 0, 255)), std::string(40, '.'));  // no frame by default
    g.SetFrame(2, RGB(0, 0, 255));
    g.PaintGradient(&c.dc, CRect(0, 0, 40, 40));
    EXPECT_EQ(c.Row(1, 0, 40, RGB(0, 0, 255)), std::string(40, '#'));
    EXPECT_EQ(c.Row(20, 0, 40, RGB(0, 0, 255)), "##" + std::string(36, '.') + "##");
    EXPECT_EQ(c.Row(38, 0, 40, RGB(0, 0, 255)), std::string(40, '#'));
}

TEST(GradientPainter, CentredTextLines) {
    Canvas c(300, 100);
    Gradient g;
    g.StopIfEqual(-1, -1, -1);
    g.SetStartRGB(255, 255, 255);
    g.SetText(L"Первая\r\n~\nW", RGB(0, 0, 0));
    g.SetTextAlign(asCenter);
    g.PaintGradient(&c.dc, CRect(0, 0, 300, 100));
    const CRect ink = c.Ink();
    ASSERT_FALSE(ink.IsRectEmpty());
    // three lines centred: the ink sits around the middle both ways
    EXPECT_NEAR((ink.left + ink.right) / 2, 150, 12);
    EXPECT_LT(ink.top, 45);
    EXPECT_GT(ink.bottom, 55);
    EXPECT_EQ(g.GetText(), L"Первая\r\n~\nW");
}

TEST(StatusPane, ModeChoosesPicture) {
    CBitmap first, second;
    {
        Canvas a(8, 8, RGB(255, 0, 0)), b(8, 8, RGB(0, 255, 0));
        first = a.bitmap;
        second = b.bitmap;
    }
    for (auto [mode, colour] : {std::pair(0, RGB(255, 255, 255)), std::pair(1, RGB(255, 0, 0)), std::pair(2, RGB(0, 255, 0))}) {
        Canvas c(20, 20);
        DrawStatusPane(&c.dc, CRect(5, 5, 15, 15), mode, &first, &second);
        EXPECT_EQ(c.At(6, 6), colour) << mode;
        EXPECT_EQ(c.At(12, 12), colour) << mode;
        EXPECT_EQ(c.At(2, 2), RGB(255, 255, 255));
    }
}

TEST(ReportListPainter, TreeTableRowsInTheirColours) {
    ReportListModel list;
    list.SetClientSize(300, 200);
    CAi_ListCtrlEx table;
    table.SetList(&list, nullptr);
    table.CreateList(false, 0);
    table.SetColumnEx(L"Name", 0);
    table.SetColumnEx(L"Value", 0);
    table.SetColumnWidthStyle(0, 8, 150);
    table.SetColumnWidthStyle(1, 8, 100);
    std::vector<CString> node{L"Group", L""}, child{L"", L""};
    table.SetNode(&node, nullptr, false);
    table.SetNodeStyle(0, 0x20, 0, 0);
    table.SetChild(0, &child, 0, nullptr, false);
    table.SetChild(0, &child, 0, nullptr, false);
    std::vector<CString> t{L"a", L"1"};
    table.InsertTextToChildCells(1, &t, nullptr, 0x10);
    table.SetCellBgColor(2, 1, RGB(255, 0, 0));
    table.UnwrapTree();
    Canvas c(300, 200);
    PaintReportList(&c.dc, list, [&](NMLVCUSTOMDRAW& cd) {
        intptr_t r = 0;
        table.OnCustomDrawEx(&cd.hdr, &r);
        return r;
    });
    const int h = list.ItemHeight(), top = list.HeaderHeight();
    auto rowColour = [&](int item, int x) { return c.At(x, top + item * h + h - 3); };
    EXPECT_EQ(rowColour(0, 140), COLORREF(0x99FFFF));  // the node row
    EXPECT_EQ(rowColour(1, 140), COLORREF(0xFEFEFE));  // a child row
    EXPECT_EQ(rowColour(2, 200), RGB(255, 0, 0));      // its own background
    EXPECT_EQ(rowColour(2, 140), COLORREF(0xFEFEFE));
    EXPECT_EQ(c.At(290, top + 2), RGB(255, 255, 255));  // right of the columns
    // the grid lines and the header band
    EXPECT_EQ(c.At(149, top + h + 4), RGB(220, 220, 220));
    EXPECT_EQ(c.At(100, 2), RGB(240, 240, 240));
    // the marker and caption are drawn as ink in the node's first cell
    bool ink = false;
    for (int x = 4; x < 60; ++x)
        for (int y = top; y < top + h; ++y) ink |= drawtest::Near(c.At(x, y), RGB(0, 0, 0), 90);
    EXPECT_TRUE(ink);
    // disabled table: every cell on 0xE6E6E6
    table.SetTableEnable(false);
    PaintReportList(&c.dc, list, [&](NMLVCUSTOMDRAW& cd) {
        intptr_t r = 0;
        table.OnCustomDrawEx(&cd.hdr, &r);
        return r;
    });
    EXPECT_EQ(rowColour(0, 140), COLORREF(0xE6E6E6));
    EXPECT_EQ(rowColour(2, 200), COLORREF(0xE6E6E6));
}
