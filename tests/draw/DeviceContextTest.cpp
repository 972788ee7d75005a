#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "platform/draw/DeviceContext.h"

using namespace drawtest;

TEST(DeviceContext, ThinLinesLightEveryPixelButTheEndPoint) {
    Canvas c(30, 30);
    CPen pen(PS_SOLID, 1, kRed);
    c.dc.SelectObject(&pen);
    c.dc.MoveTo(2, 5);
    c.dc.LineTo(12, 5);    // horizontal, on row 5 only
    c.dc.MoveTo(20, 20);
    c.dc.LineTo(20, 10);   // upward, on column 20 only
    c.dc.MoveTo(0, 25);
    c.dc.LineTo(6, 19);    // diagonal
    EXPECT_EQ(c.Row(5, 0, 14, kRed), "..##########..");
    EXPECT_EQ(c.Row(4, 0, 14, kRed), "..............");
    EXPECT_EQ(c.Row(6, 0, 14, kRed), "..............");
    EXPECT_EQ(c.Column(20, 9, 22, kRed), "..##########.");  // rows 11..20: the end point 10 stays dark
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.At(i, 25 - i), kRed) << i;
    EXPECT_EQ(c.At(6, 19), kWhite);
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(6, 19));
}

TEST(DeviceContext, PolylineLightsItsInnerVerticesAndJoinsSegments) {
    Canvas c(20, 20);
    CPen pen(PS_SOLID, 0, kBlue);  // width 0 is one pixel
    c.dc.SelectObject(&pen);
    const POINT zig[] = {{5, 2}, {5, 12}, {5, 6}, {9, 6}};
    c.dc.Polyline(zig, 4);
    EXPECT_EQ(c.Column(5, 0, 15, kBlue), "..###########..");  // 2..12: the turning point 12 is lit
    EXPECT_EQ(c.Row(6, 4, 11, kBlue), ".####..");           // 5..8; 9 is the polyline's end
}

TEST(DeviceContext, WidePenCoversItsWidthAroundThePixelCentres) {
    Canvas c(20, 20);
    CPen pen(PS_SOLID, 3, kBlack);
    c.dc.SelectObject(&pen);
    c.dc.MoveTo(4, 10);
    c.dc.LineTo(15, 10);
    EXPECT_EQ(c.Column(9, 6, 14, kBlack), "...###..");
}

TEST(DeviceContext, DashPatternsOfThinPens) {
    struct Case {
        int style;
        std::string pattern;  // one period of lit (#) and dark (.) pixels
    } cases[] = {
        {PS_DASH, std::string(18, '#') + std::string(6, '.')},
        {PS_DOT, "###..."},
        {PS_DASHDOT, std::string(9, '#') + "......###......"},
        {PS_DASHDOTDOT, std::string(9, '#') + "...###...###..."},
    };
    for (const auto& k : cases) {
        Canvas c(100, 4);
        CPen pen(k.style, 1, kBlack);
        c.dc.SelectObject(&pen);
        c.dc.SetBkMode(TRANSPARENT);
        c.dc.MoveTo(0, 1);
        c.dc.LineTo(60, 1);
        std::string expected;
        while (expected.size() < 60) expected += k.pattern;
        expected.resize(60);
        EXPECT_EQ(c.Row(1, 0, 60, kBlack), expected) << k.style;
    }
    // With an opaque background the gaps take the background colour; the pattern goes on
    // across the vertices of a polyline.
    Canvas c(40, 4, kWhite);
    CPen dot(PS_DOT, 1, kBlack);
    c.dc.SelectObject(&dot);
    c.dc.SetBkColor(kRed);
    const POINT pts[] = {{0, 1}, {4, 1}, {20, 1}};
    c.dc.Polyline(pts, 3);
    EXPECT_EQ(c.Row(1, 0, 20, kBlack), "###...###...###...##");
    EXPECT_EQ(c.Row(1, 0, 20, kRed), "...###...###...###..");
}

TEST(DeviceContext, RectangleExcludesItsRightAndBottomEdge) {
    Canvas c(20, 20);
    CPen pen(PS_SOLID, 1, kBlack);
    CBrush brush(kRed);
    c.dc.SelectObject(&pen);
    c.dc.SelectObject(&brush);
    c.dc.Rectangle(2, 3, 12, 9);
    EXPECT_EQ(c.Row(3, 0, 14, kBlack), "..##########..");  // top edge: x 2..11
    EXPECT_EQ(c.Row(8, 0, 14, kBlack), "..##########..");  // bottom edge is row 8
    EXPECT_EQ(c.Row(5, 0, 14, kBlack), "..#........#..");
    EXPECT_EQ(c.Row(5, 0, 14, kRed), "...########...");
    EXPECT_EQ(c.Row(9, 0, 14, kWhite), "##############");
    // A 12-pixel bar from yc - 6 to yc + 6 includes its top row and not its bottom one.
    c.dc.Rectangle(14, 4, 18, 16);
    EXPECT_EQ(c.Column(15, 3, 17, kBlack), ".#..........#.");
    // Null pen, null brush.
    Canvas d(10, 10);
    d.dc.SelectStockObject(NULL_PEN);
    d.dc.SelectObject(&brush);
    d.dc.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(d.Count(kRed), 16);
    d.dc.SelectStockObject(BLACK_PEN);
    d.dc.SelectStockObject(NULL_BRUSH);
    d.dc.Rectangle(5, 5, 9, 9);
    EXPECT_EQ(d.At(6, 6), kWhite);
    EXPECT_EQ(d.At(5, 5), kBlack);
}

TEST(DeviceContext, EllipsePolygonAndRoundRect) {
    Canvas c(40, 40);
    CPen pen(PS_SOLID, 1, kBlack);
    CBrush brush(kRed);
    CPen* oldPen = c.dc.SelectObject(&pen);
    c.dc.SelectObject(&brush);
    c.dc.Ellipse(0, 0, 20, 20);
    EXPECT_EQ(c.At(10, 10), kRed);
    EXPECT_EQ(c.At(10, 0), kBlack);   // top of the outline, inside the box
    EXPECT_EQ(c.At(19, 10), kBlack);  // right end, on the last column inside
    EXPECT_EQ(c.At(20, 10), kWhite);
    EXPECT_EQ(c.At(1, 1), kWhite);    // the box's corner is outside
    // A square polygon without an outline covers the pixels whose centres lie inside.
    c.dc.SelectStockObject(NULL_PEN);
    const POINT sq[] = {{22, 2}, {32, 2}, {32, 12}, {22, 12}};
    c.dc.Polygon(sq, 4);
    EXPECT_EQ(c.Row(7, 20, 34, kRed), "..##########..");
    EXPECT_EQ(c.Column(27, 0, 14, kRed), "..##########..");
    c.dc.SelectObject(oldPen);
    c.dc.RoundRect(2, 22, 30, 38, 10, 10);
    EXPECT_EQ(c.At(15, 30), kRed);
    EXPECT_EQ(c.At(15, 22), kBlack);
    EXPECT_EQ(c.At(2, 22), kWhite);  // the rounded corner leaves the box's corner alone
}

TEST(DeviceContext, SelectObjectReturnsThePreviousObject) {
    Canvas c(4, 4);
    CPen a(PS_SOLID, 1, kRed), b(PS_SOLID, 1, kBlue);
    CPen* stock = c.dc.SelectObject(&a);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(c.dc.SelectObject(&b), &a);
    EXPECT_EQ(c.dc.SelectObject(stock), &b);
    CBrush brush(kRed);
    CGdiObject* oldBrush = c.dc.SelectStockObject(NULL_BRUSH);
    EXPECT_NE(oldBrush, nullptr);
    CGdiObject* nullBrush = c.dc.SelectObject(oldBrush);
    EXPECT_EQ(c.dc.SelectStockObject(NULL_BRUSH), oldBrush);
    EXPECT_EQ(c.dc.GetCurrentBrush(), nullBrush);
    // A pen destroyed while selected leaves the context drawing with what it described.
    {
        CPen gone(PS_SOLID, 1, kBlue);
        c.dc.SelectObject(&gone);
    }
    c.dc.MoveTo(0, 1);
    c.dc.LineTo(4, 1);
    EXPECT_EQ(c.At(2, 1), kBlue);
}

TEST(DeviceContext, FillsPixelsGradientAndAlphaBlend) {
    Canvas c(40, 40);
    c.dc.FillSolidRect(1, 1, 3, 2, kBlue);
    EXPECT_EQ(c.Count(kBlue), 6);
    c.dc.SetPixel(10, 10, kRed);
    EXPECT_EQ(c.dc.GetPixel(10, 10), kRed);
    EXPECT_EQ(c.dc.GetPixel(-1, 0), CLR_INVALID);
    CBrush brush(kRed);
    const CRect r(20, 0, 22, 2);
    c.dc.FillRect(&r, &brush);
    EXPECT_EQ(c.At(21, 1), kRed);

    // Vertical gradient from (254,225,140) at the top to (253,252,173) at the bottom.
    TRIVERTEX v[2];
    v[0].x = 0; v[0].y = 20; v[0].Red = 254 << 8; v[0].Green = 225 << 8; v[0].Blue = 140 << 8;
    v[1].x = 10; v[1].y = 40; v[1].Red = 253 << 8; v[1].Green = 252 << 8; v[1].Blue = 173 << 8;
    GRADIENT_RECT gr{0, 1};
    ASSERT_TRUE(c.dc.GradientFill(v, 2, &gr, 1, GRADIENT_FILL_RECT_V));
    EXPECT_TRUE(Near(c.At(5, 20), RGB(254, 225, 140), 2));
    EXPECT_TRUE(Near(c.At(5, 39), RGB(253, 252, 173), 2));
    EXPECT_TRUE(Near(c.At(5, 30), RGB(253, 238, 156), 2));
    for (int y = 21; y < 40; ++y) EXPECT_GE(GetGValue(c.At(5, y)), GetGValue(c.At(5, y - 1)));
    EXPECT_EQ(c.At(10, 30), kWhite);
    GRADIENT_RECT bad{0, 7};
    EXPECT_FALSE(c.dc.GradientFill(v, 2, &bad, 1, GRADIENT_FILL_RECT_V));

    // A red area blended at constant alpha 64 over white and over blue.
    Canvas src(10, 10, kRed);
    c.dc.FillSolidRect(30, 30, 10, 5, kBlue);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 64, 0};
    ASSERT_TRUE(c.dc.AlphaBlend(30, 25, 10, 10, &src.dc, 0, 0, 10, 10, bf));
    EXPECT_TRUE(Near(c.At(35, 27), RGB(255, 191, 191), 1));
    EXPECT_TRUE(Near(c.At(35, 32), RGB(64, 0, 191), 1));
    EXPECT_EQ(c.At(35, 36), kWhite);
}

TEST(DeviceContext, BitBltAndStretchBltCopyPixels) {
    Canvas src(8, 8);
    src.dc.FillSolidRect(2, 2, 2, 2, kRed);
    Canvas dst(20, 20, kBlue);
    ASSERT_TRUE(dst.dc.BitBlt(10, 10, 4, 4, &src.dc, 1, 1, SRCCOPY));
    EXPECT_EQ(dst.At(11, 11), kRed);
    EXPECT_EQ(dst.At(10, 10), kWhite);
    EXPECT_EQ(dst.At(13, 13), kWhite);
    EXPECT_EQ(dst.At(14, 14), kBlue);
    EXPECT_EQ(dst.At(9, 9), kBlue);
    ASSERT_TRUE(dst.dc.StretchBlt(0, 0, 8, 8, &src.dc, 2, 2, 4, 4, SRCCOPY));  // doubled
    EXPECT_EQ(dst.Row(1, 0, 9, kRed), "####.....");
    EXPECT_EQ(dst.At(8, 0), kBlue);
    // Within one picture.
    ASSERT_TRUE(dst.dc.BitBlt(0, 16, 4, 4, &dst.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.At(1, 17), kRed);
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, WHITENESS));
    EXPECT_EQ(dst.At(0, 0), kWhite);
}

TEST(DeviceContext, MappingModesScaleCoordinatesPensAndClipBoxes) {
    Canvas c(100, 100);
    c.dc.SetMapMode(MM_ISOTROPIC);
    c.dc.SetWindowExt(100, 100);
    c.dc.SetViewportExt(200, 300);  // isotropic: the smaller scale, 2, holds for both axes
    EXPECT_EQ(c.dc.GetViewportExt(), CSize(200, 200));
    CRect r(5, 5, 10, 10);
    c.dc.LPtoDP(&r);
    EXPECT_EQ(r, CRect(10, 10, 20, 20));
    CBrush brush(kRed);
    c.dc.SelectObject(&brush);
    c.dc.SelectStockObject(NULL_PEN);
    c.dc.Rectangle(5, 5, 10, 10);
    EXPECT_EQ(c.Ink(), CRect(10, 10, 20, 20));
    CPen pen(PS_SOLID, 1, kBlack);  // one logical unit: two pixels
    c.dc.SelectObject(&pen);
    c.dc.MoveTo(20, 30);
    c.dc.LineTo(40, 30);
    EXPECT_EQ(c.Column(50, 58, 63, kBlack), ".##..");
    EXPECT_EQ(c.dc.GetMapMode(), MM_ISOTROPIC);
    c.dc.SetMapMode(MM_TEXT);
    c.dc.SetViewportOrg(10, 20);
    CPoint p(1, 1);
    c.dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(11, 21));
}

TEST(DeviceContext, SaveAndRestoreBringBackObjectsColoursAndClip) {
    Canvas c(20, 20);
    CPen red(PS_SOLID, 1, kRed);
    c.dc.SelectObject(&red);
    c.dc.SetTextColor(kBlue);
    const int saved = c.dc.SaveDC();
    c.dc.IntersectClipRect(0, 0, 5, 5);
    c.dc.SelectStockObject(BLACK_PEN);
    c.dc.SetTextColor(kRed);
    c.dc.FillSolidRect(0, 0, 20, 20, kBlue);
    EXPECT_EQ(c.Ink(), CRect(0, 0, 5, 5));
    ASSERT_TRUE(c.dc.RestoreDC(saved));
    EXPECT_EQ(c.dc.GetCurrentPen(), &red);
    EXPECT_EQ(c.dc.GetTextColor(), kBlue);
    c.dc.FillSolidRect(10, 10, 2, 2, kBlue);
    EXPECT_EQ(c.At(11, 11), kBlue);
    EXPECT_FALSE(c.dc.RestoreDC(5));
    c.dc.SaveDC();
    c.dc.SaveDC();
    EXPECT_TRUE(c.dc.RestoreDC(-1));
    EXPECT_TRUE(c.dc.RestoreDC(-1));
    EXPECT_FALSE(c.dc.RestoreDC(-1));
}

TEST(DeviceContext, TextOutAlignsAndRotates) {
    Canvas c(200, 200);
    CFont font;
    font.Create(L"Tahoma", -20);
    c.dc.SelectObject(&font);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SetTextColor(kBlack);
    const CSize ext = c.dc.GetTextExtent(CString(L"Hello"));
    TEXTMETRIC tm;
    ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
    EXPECT_EQ(ext.cy, tm.tmHeight);
    EXPECT_GT(ext.cx, 30);
    EXPECT_GE(tm.tmHeight, 20);
    EXPECT_EQ(c.dc.GetTextExtent(CString(L"")).cx, 0);
    EXPECT_LT(c.dc.GetTextExtent(CString(L"Hell")).cx, ext.cx);

    // Left-top alignment: the ink lies inside the cell to the right of and below the point.
    c.dc.TextOut(20, 10, CString(L"Hello"));
    CRect ink = c.Ink();
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + ext.cx + 1);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 10 + ext.cy);

    // Right-bottom alignment: the ink lies to the left of and above the point.
    Canvas d(200, 200);
    d.dc.SelectObject(&font);
    d.dc.SetBkMode(TRANSPARENT);
    d.dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    d.dc.TextOut(150, 100, CString(L"Hello"));
    ink = d.Ink();
    EXPECT_LE(ink.right, 150);
    EXPECT_GE(ink.left, 150 - ext.cx - 1);
    EXPECT_LE(ink.bottom, 100);

    // Escapement 900: the text runs upward from the point, its cell to the right of the base.
    Canvas e(200, 200);
    CFont up;
    up.Create(L"Tahoma", -20, FW_NORMAL, false, false, 900);
    e.dc.SelectObject(&up);
    e.dc.SetBkMode(TRANSPARENT);
    e.dc.TextOut(50, 150, CString(L"Hello"));
    ink = e.Ink();
    EXPECT_GT(ink.Height(), ink.Width());
    EXPECT_LE(ink.bottom, 151);
    EXPECT_GE(ink.top, 150 - ext.cx - 1);
    EXPECT_GE(ink.left, 50);
    EXPECT_LE(ink.right, 50 + ext.cy + 1);

    // An opaque background fills the text's cell.
    Canvas f(200, 60);
    f.dc.SelectObject(&font);
    f.dc.SetBkColor(kBlue);
    f.dc.TextOut(10, 10, CString(L"Hello"));
    EXPECT_EQ(f.At(10, 10), kBlue);
    EXPECT_EQ(f.At(10 + ext.cx - 1, 10 + ext.cy - 1), kBlue);
    EXPECT_EQ(f.At(10 + ext.cx + 1, 10), kWhite);
}

TEST(DeviceContext, DrawTextAlignsClipsAndMeasures) {
    CFont font;
    font.Create(L"Arial", -16);
    Canvas c(300, 100);
    c.dc.SelectObject(&font);
    c.dc.SetBkMode(TRANSPARENT);
    const CSize ext = c.dc.GetTextExtent(CString(L"Wide text"));

    CRect calc(10, 10, 10, 10);
    const int h = c.dc.DrawText(CString(L"Wide text"), &calc, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    EXPECT_EQ(h, ext.cy);
    EXPECT_EQ(calc, CRect(10, 10, 10 + ext.cx, 10 + ext.cy));
    CRect two(0, 0, 0, 0);
    EXPECT_EQ(c.dc.DrawText(CString(L"one\ntwo"), &two, DT_CALCRECT), 2 * ext.cy);
    // Mnemonic marks are not drawn and take no room.
    CRect amp(0, 0, 0, 0), plain(0, 0, 0, 0);
    c.dc.DrawText(CString(L"&File"), &amp, DT_CALCRECT | DT_SINGLELINE);
    c.dc.DrawText(CString(L"File"), &plain, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(amp.Width(), plain.Width());

    // A label at a point, bottom-right aligned in an empty rectangle, without clipping.
    CRect at(200, 80, 200, 80);
    c.dc.DrawText(CString(L"Wide text"), &at, DT_SINGLELINE | DT_NOCLIP | DT_BOTTOM | DT_RIGHT);
    CRect ink = c.Ink();
    EXPECT_FALSE(ink.IsRectEmpty());
    EXPECT_LE(ink.right, 200);
    EXPECT_GE(ink.left, 200 - ext.cx - 1);
    EXPECT_LE(ink.bottom, 80);
    EXPECT_GE(ink.top, 80 - ext.cy);

    // Centred in a box; clipped to it unless DT_NOCLIP.
    Canvas d(300, 100);
    d.dc.SelectObject(&font);
    d.dc.SetBkMode(TRANSPARENT);
    CRect box(0, 0, 300, 100);
    d.dc.DrawText(CString(L"Wide text"), &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ink = d.Ink();
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 150, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 50, 4);
    Canvas e(300, 100);
    e.dc.SelectObject(&font);
    e.dc.SetBkMode(TRANSPARENT);
    CRect narrow(10, 10, 30, 20);
    e.dc.DrawText(CString(L"Wide text"), &narrow, DT_SINGLELINE);
    ink = e.Ink();
    EXPECT_FALSE(ink.IsRectEmpty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30);
    EXPECT_LE(ink.bottom, 20);
    Canvas f(300, 100);
    f.dc.SelectObject(&font);
    f.dc.SetBkMode(TRANSPARENT);
    f.dc.DrawText(CString(L"Wide text"), &narrow, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(f.Ink().right, 30);

    // Word breaking puts the words of a long text on lines of the box's width.
    Canvas g(300, 200);
    g.dc.SelectObject(&font);
    CRect wrap(0, 0, ext.cx + 4, 0);
    const int lines = g.dc.DrawText(CString(L"Wide text Wide text Wide text"), &wrap, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(lines, 3 * ext.cy);
    EXPECT_LE(wrap.Width(), ext.cx + 4);
}

TEST(DeviceContext, FarAwayCoordinatesCostOnlyTheirVisiblePart) {
    // Points at the ends of the integer range (an infinite scale rounded) draw at once.
    Canvas c(100, 100);
    CPen pen(PS_SOLID, 1, kBlack);
    c.dc.SelectObject(&pen);
    c.dc.MoveTo(0, 0);
    c.dc.LineTo(2000000000, 2000000000);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(c.At(i, i), kBlack) << i;
    EXPECT_EQ(c.At(1, 0), kWhite);
    const POINT far[] = {{50, 50}, {-2147483647, 50}, {50, 2147483647}};
    c.dc.Polyline(far, 3);
    EXPECT_EQ(c.At(10, 50), kBlack);
    CPen wide(PS_SOLID, 5, kRed);
    c.dc.SelectObject(&wide);
    c.dc.MoveTo(-2000000000, 80);
    c.dc.LineTo(2000000000, 80);
    EXPECT_EQ(c.At(50, 80), kRed);
    EXPECT_EQ(c.At(50, 82), kRed);
    // A dotted line keeps its phase from its real start, far to the left.
    Canvas d(60, 3);
    CPen dot(PS_DOT, 1, kBlack);
    d.dc.SelectObject(&dot);
    d.dc.SetBkMode(TRANSPARENT);
    d.dc.MoveTo(-1000000, 1);
    d.dc.LineTo(60, 1);
    std::string expected;
    for (int x = 0; x < 60; ++x) expected += ((x + 1000000) % 6) < 3 ? '#' : '.';
    EXPECT_EQ(d.Row(1, 0, 60, kBlack), expected);
    // A region of a huge triangle is made without walking billions of rows.
    const POINT tri[] = {{-2000000000, -2000000000}, {2000000000, 0}, {-2000000000, 2000000000}};
    CRgn r;
    r.CreatePolygonRgn(tri, 3, ALTERNATE);
    EXPECT_TRUE(r.PtInRegion(0, 0));
    CRgn e;
    e.CreateEllipticRgn(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_TRUE(e.PtInRegion(0, 0));
}
