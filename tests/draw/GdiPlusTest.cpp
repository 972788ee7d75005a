#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <memory>

#include "Canvas.h"
#include "platform/draw/GdiPlus.h"

using namespace drawtest;
using namespace Gdiplus;

TEST(Graphics, PageScaleAndWorldTransformPlaceShapesInDevicePixels) {
    Canvas c(60, 60);
    Graphics g(&c.dc);
    g.SetPageUnit(UnitPixel);
    g.SetPageScale(4);
    g.TranslateTransform(2, 3);
    SolidBrush red(Color(255, 255, 0, 0));
    g.FillRectangle(&red, 1.0f, 1.0f, 2.0f, 1.0f);  // device (12, 16) .. (20, 20)
    EXPECT_EQ(c.Ink(), CRect(12, 16, 20, 20));
    EXPECT_FLOAT_EQ(g.GetPageScale(), 4);

    // A pen of width 1/s keeps one device pixel whatever the page scale.
    Canvas d(60, 60);
    Graphics h(&d.dc);
    h.SetPageScale(4);
    Pen pen(Color(255, 0, 0, 0), 1.0f / 4);
    h.DrawLine(&pen, 1, 5, 10, 5);
    EXPECT_EQ(d.Column(20, 16, 24, kBlack), "....#...");  // row 20: y 5 at scale 4
    // Width 0 is the thinnest line, one pixel.
    Canvas e(20, 20);
    Graphics k(&e.dc);
    Pen thin(Color(255, 0, 0, 255), 0);
    k.DrawLine(&thin, 2, 10, 18, 10);
    EXPECT_EQ(e.Column(10, 8, 13, kBlue), "..#..");
}

TEST(Graphics, RotationSaveAndRestore) {
    Canvas c(40, 40);
    Graphics g(&c.dc);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    const GraphicsState s = g.Save();
    g.TranslateTransform(20, 20);
    g.RotateTransform(90);  // x now points down
    SolidBrush red(Color(255, 255, 0, 0));
    g.FillRectangle(&red, 0.0f, 0.0f, 10.0f, 2.0f);
    EXPECT_EQ(c.Ink(), CRect(18, 20, 20, 30));
    ASSERT_EQ(g.Restore(s), Ok);
    Matrix m;
    g.GetTransform(&m);
    EXPECT_TRUE(m.IsIdentity());
    EXPECT_EQ(g.Restore(s), InvalidParameter);
    PointF p(1, 0);
    Matrix r;
    r.Rotate(90);
    r.Translate(5, 0, MatrixOrderAppend);
    r.TransformPoints(&p);
    EXPECT_NEAR(p.X, 5, 1e-6);
    EXPECT_NEAR(p.Y, 1, 1e-6);
}

TEST(Graphics, DashStylesAndCaps) {
    struct Case {
        DashStyle style;
        const char* period;  // with a 2-pixel pen: dash 3 x 2 on, 1 x 2 off ...
    } cases[] = {
        {DashStyleDash, "######.."},
        {DashStyleDot, "##.."},
        {DashStyleDashDot, "######..##.."},
    };
    for (const auto& k : cases) {
        Canvas c(80, 10);
        Graphics g(&c.dc);
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        Pen pen(Color(255, 0, 0, 0), 2);
        pen.SetDashStyle(k.style);
        g.DrawLine(&pen, 0, 5, 48, 5);
        std::string expected;
        while (expected.size() < 48) expected += k.period;
        expected.resize(48);
        EXPECT_EQ(c.Row(5, 0, 48, kBlack), expected) << k.style;
    }
    // A round cap reaches half the width past the end point; a flat one stops there.
    Canvas c(40, 20);
    Graphics g(&c.dc);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    Pen flat(Color(255, 0, 0, 0), 6);
    g.DrawLine(&flat, 10, 5, 20, 5);
    Pen round(Color(255, 0, 0, 0), 6);
    round.SetLineCap(LineCapRound, LineCapRound, DashCapFlat);
    g.DrawLine(&round, 10, 15, 20, 15);
    EXPECT_EQ(c.At(21, 5), kWhite);
    EXPECT_EQ(c.At(21, 15), kBlack);
}

TEST(Graphics, AntiAliasingBlendsEdges) {
    Canvas plain(20, 20), smooth(20, 20);
    for (Canvas* c : {&plain, &smooth}) {
        Graphics g(&c->dc);
        if (c == &smooth) g.SetSmoothingMode(SmoothingModeAntiAlias);
        SolidBrush b(Color(255, 0, 0, 0));
        g.FillEllipse(&b, 2.0f, 2.0f, 15.0f, 15.0f);
    }
    int greysPlain = 0, greysSmooth = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const COLORREF a = plain.At(x, y), b = smooth.At(x, y);
            greysPlain += a != kWhite && a != kBlack;
            greysSmooth += b != kWhite && b != kBlack;
        }
    EXPECT_EQ(greysPlain, 0);
    EXPECT_GT(greysSmooth, 10);
}

TEST(Graphics, PieArcPolygonAndPath) {
    Canvas c(60, 60);
    Graphics g(&c.dc);
    SolidBrush red(Color(255, 255, 0, 0));
    // A quarter pie from 0° clockwise to 90°: the lower right quarter (y grows downward).
    g.FillPie(&red, RectF(0, 0, 40, 40), 0, 90);
    EXPECT_EQ(c.At(28, 28), kRed);
    EXPECT_EQ(c.At(12, 28), kWhite);
    EXPECT_EQ(c.At(28, 12), kWhite);
    const PointF tri[] = {{45, 45}, {58, 45}, {45, 58}};
    SolidBrush blue(Color(255, 0, 0, 255));
    g.FillPolygon(&blue, tri, 3);
    EXPECT_EQ(c.At(48, 48), kBlue);
    EXPECT_EQ(c.At(56, 56), kWhite);
    // Two points are no polygon.
    EXPECT_EQ(g.FillPolygon(&blue, tri, 2), InvalidParameter);

    GraphicsPath path;
    path.AddEllipse(RectF(0, 0, 10, 10));
    path.AddRectangle(RectF(20, 0, 10, 10));
    EXPECT_TRUE(path.IsVisible(5, 5));
    EXPECT_FALSE(path.IsVisible(1, 1));
    EXPECT_TRUE(path.IsVisible(25, 5));
    RectF bounds;
    path.GetBounds(&bounds);
    EXPECT_NEAR(bounds.X, 0, 1e-4);
    EXPECT_NEAR(bounds.GetRight(), 30, 1e-4);

    Region region(RectF(0, 0, 10, 10));
    region.Union(RectF(20, 0, 10, 10));
    region.Exclude(RectF(0, 0, 5, 5));
    EXPECT_TRUE(region.IsVisible(7, 7));
    EXPECT_FALSE(region.IsVisible(2, 2));
    EXPECT_TRUE(region.IsVisible(25, 5));
    EXPECT_FALSE(region.IsVisible(15, 5));
    region.Translate(100, 0);
    EXPECT_TRUE(region.IsVisible(125, 5));
    EXPECT_FALSE(region.IsVisible(25, 5));
    Region all;
    EXPECT_TRUE(all.IsVisible(-1e6f, 1e6f));
}

TEST(Graphics, StringsMeasureWithPaddingAndAlignInTheirBox) {
    Canvas c(300, 120);
    Graphics g(&c.dc);
    g.SetPageScale(10);
    FontFamily arial(L"Arial");
    EXPECT_TRUE(arial.IsAvailable());
    FontFamily missing(L"No Such Face 123");
    EXPECT_EQ(missing.GetLastStatus(), FontFamilyNotFound);
    Font font(&arial, 2.0f, FontStyleRegular, UnitWorld);

    RectF plain, typo;
    g.MeasureString(L"Text", -1, &font, PointF(1, 2), &plain);
    g.MeasureString(L"Text", -1, &font, PointF(1, 2), StringFormat::GenericTypographic(), &typo);
    EXPECT_FLOAT_EQ(plain.X, 1);
    EXPECT_FLOAT_EQ(plain.Y, 2);
    EXPECT_NEAR(plain.Width - typo.Width, 2.0 / 3, 1e-4);  // a sixth of an em on each side
    EXPECT_NEAR(plain.Height, font.GetHeight(&g), 1e-4);
    EXPECT_GT(plain.Height, 2.0f);

    // Measured with the font made from a missing family, the text still measures (in the
    // fallback face) and draws.
    Font fallback(&missing, 2.0f, FontStyleRegular, UnitWorld);
    RectF fb;
    g.MeasureString(L"Text", -1, &fallback, PointF(0, 0), &fb);
    EXPECT_GT(fb.Width, 0);

    // Centred in a box, both ways.
    StringFormat centre;
    centre.SetAlignment(StringAlignmentCenter);
    centre.SetLineAlignment(StringAlignmentCenter);
    SolidBrush black(Color(255, 0, 0, 0));
    g.SetTextRenderingHint(TextRenderingHintSingleBitPerPixelGridFit);
    ASSERT_EQ(g.DrawString(L"Text", -1, &font, RectF(0, 0, 30, 12), &centre, &black), Ok);
    const CRect ink = c.Ink();
    EXPECT_FALSE(ink.IsRectEmpty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 150, 4);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 60, 8);
    EXPECT_LE(ink.Width(), typo.Width * 10 + 2);

    // A box of width 0 does not limit the text: centred on the point.
    Canvas d(300, 100);
    Graphics h(&d.dc);
    h.SetPageScale(10);
    h.DrawString(L"Text", -1, &font, RectF(15, 1, 0, 0), &centre, &black);
    const CRect ink2 = d.Ink();
    EXPECT_NEAR((ink2.left + ink2.right) / 2.0, 150, 4);
    EXPECT_NEAR((ink2.top + ink2.bottom) / 2.0, 10, 8);
    // A null text draws nothing and is no error.
    EXPECT_EQ(h.DrawString(L"", -1, &font, PointF(0, 0), &black), Ok);
}

TEST(Graphics, RotatedStringTurnsItsBox) {
    Canvas c(200, 200);
    Graphics g(&c.dc);
    Font font(L"Arial", 20.0f, FontStyleBold, UnitPixel);
    SolidBrush black(Color(255, 0, 0, 0));
    RectF box;
    g.MeasureString(L"Rotate", -1, &font, PointF(0, 0), &box);
    g.TranslateTransform(100, 100);
    g.RotateTransform(90);
    g.DrawString(L"Rotate", -1, &font, PointF(0, 0), &black);
    const CRect ink = c.Ink();
    EXPECT_GT(ink.Height(), ink.Width());
    EXPECT_GE(ink.top, 100);
    EXPECT_LE(ink.bottom, 100 + box.Width + 1);
    EXPECT_LE(ink.right, 101);
    EXPECT_GE(ink.left, 100 - box.Height - 1);
}

TEST(Graphics, ImagesFromPngDataStretchedAndBrightened) {
    // A 2 x 2 picture: one pixel (60, 30, 10), the rest half-transparent blue.
    Bitmap pic(2, 2);
    pic.SetPixel(0, 0, Color(255, 60, 30, 10));
    pic.SetPixel(1, 0, Color(128, 0, 0, 255));
    pic.SetPixel(0, 1, Color(128, 0, 0, 255));
    pic.SetPixel(1, 1, Color(128, 0, 0, 255));
    CBitmap holder;
    holder.Adopt(cairo_surface_reference(pic.Surface()));
    const std::vector<uint8_t> png = holder.EncodePng();
    ASSERT_FALSE(png.empty());
    std::unique_ptr<Bitmap> img(Bitmap::FromPngData(png.data(), png.size()));
    ASSERT_TRUE(img);
    EXPECT_EQ(img->GetWidth(), 2u);
    Color px;
    img->GetPixel(0, 0, &px);
    EXPECT_EQ(px.GetValue(), Color(255, 60, 30, 10).GetValue());
    EXPECT_EQ(Bitmap::FromPngData("not a png", 9), nullptr);
    std::unique_ptr<Image> none(Image::FromFile(L"/no/such/picture.png"));
    EXPECT_EQ(none->GetLastStatus(), FileNotFound);

    Canvas c(40, 20);
    Graphics g(&c.dc);
    g.SetInterpolationMode(InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    g.DrawImage(img.get(), RectF(0, 0, 10, 10));  // stretched 5 times
    EXPECT_EQ(c.At(2, 2), RGB(60, 30, 10));
    EXPECT_EQ(c.At(4, 4), RGB(60, 30, 10));
    EXPECT_TRUE(Near(c.At(7, 7), RGB(127, 127, 255), 2));  // half blue over white
    EXPECT_EQ(c.At(12, 2), kWhite);

    // Colours multiplied by 2, alpha kept, drawn at the picture's own size.
    ImageAttributes attr;
    ColorMatrix cm = {{{2, 0, 0, 0, 0}, {0, 2, 0, 0, 0}, {0, 0, 2, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}}};
    attr.SetColorMatrix(&cm);
    g.DrawImage(img.get(), RectF(20, 0, 2, 2), 0, 0, 2, 2, UnitPixel, &attr);
    EXPECT_TRUE(Near(c.At(20, 0), RGB(120, 60, 20), 1));
    EXPECT_EQ(c.At(22, 0), kWhite);
}

TEST(Graphics, ABrokenTransformDrawsNothingAndLeavesTheContextWorking) {
    Canvas c(20, 20);
    {
        Graphics g(&c.dc);
        SolidBrush red(Color(255, 255, 0, 0));
        g.ScaleTransform(0, 1);
        EXPECT_EQ(g.FillRectangle(&red, 0.0f, 0.0f, 5.0f, 5.0f), Ok);
        g.ResetTransform();
        g.TranslateTransform(std::nanf(""), 0);
        g.FillRectangle(&red, 0.0f, 0.0f, 5.0f, 5.0f);
        Font nan(L"Arial", std::nanf(""), FontStyleRegular, UnitPixel);
        g.ResetTransform();
        RectF box;
        g.MeasureString(L"x", -1, &nan, PointF(1, 1), &box);
        EXPECT_EQ(box.Width, 0);
        g.DrawString(L"x", -1, &nan, PointF(1, 1), &red);
        g.DrawImage(nullptr, RectF(0, 0, 0, 0));
    }
    EXPECT_EQ(c.Ink(), CRect());
    c.dc.FillSolidRect(1, 1, 2, 2, kBlue);
    EXPECT_EQ(c.At(1, 1), kBlue);
}
