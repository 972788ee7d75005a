// The phasor diagram as an engineer reads it: arrows at their angles against the reference,
// scale values and table texts, options kept in the record's settings, printing and copying.
#include <gtest/gtest.h>

#include <cmath>

#include "DiagramFixture.h"
#include "FakeUi.h"
#include "TestUtil.h"
#include "diagrams/VectorDiagramWnd.h"
#include "platform/draw/Surfaces.h"

using namespace diagtest;

namespace {

const COLORREF kA = RGB(200, 160, 0), kB = RGB(0, 120, 40), kC = RGB(230, 0, 0), kI = RGB(0, 0, 230);

// Balanced voltages of 100 V peak (70.71 V RMS) and a current of 10 A lagging Ua by 30°.
void Balanced(CTenvorikDoc& doc) {
    Fill(doc, {{"Ua", L"V", 100, 0, kA}, {"Ub", L"V", 100, -120, kB}, {"Uc", L"V", 100, 120, kC}, {"Ia", L"A", 10, -30, kI}});
    doc.m_cursors.m_cursors[0] = {true, 100, 0, -1};
}

struct Picture {
    CDC dc;
    CBitmap bmp;
    Picture(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
    }
};

// Whether a pixel of `colour` lies within `reach` pixels of the point `dist` from the centre
// in the drawing direction `deg` (0 up, positive clockwise).
bool ColourNear(const CBitmap& bmp, const VectorDiagramWnd::Layout& l, double deg, double dist, COLORREF colour,
                int reach = 1) {
    const double a = deg * kPi / 180;
    const int x = int(std::lround(l.cx + dist * std::sin(a))), y = int(std::lround(l.cy - dist * std::cos(a)));
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (bmp.GetPixel(x + dx, y + dy) == colour) return true;
    return false;
}

}  // namespace

TEST(VectorTexts, ScaleAndTableTexts) {
    struct {
        double m, scale;
    } scales[] = {{57.3, 60}, {0.123, 0.15}, {1180, 1500}, {2.5, 2.5}, {70.7107, 75}, {0, 0}, {NAN, 0}, {-3, 0}};
    for (auto& c : scales) EXPECT_NEAR(RoundScaleMaximum(c.m), c.scale, 1e-12) << c.m;
    // The scale values are written as the captions write values: prefix and the record's unit.
    EXPECT_EQ(FormatScaleText(60, L"V", L"В", true), L"60.0 В");
    EXPECT_EQ(FormatScaleText(25000, L"V", L"В", true), L"25.0 кВ");
    EXPECT_EQ(FormatScaleText(0.15, L"A", L"A", false), L"150.0 mA");
    EXPECT_EQ(FormatScaleText(0, L"A", L"А", true), L"0.0 А");
    EXPECT_EQ(FormatScaleText(1, L"V", L"V", false), L"1.0 V");
    EXPECT_EQ(FormatScaleText(2.5, L"ном", L"ном", true), L"2.5 ном");
    EXPECT_EQ(FormatMagnitudeText(70.7107, L"V", L"V", false), L"70.71 V");
    EXPECT_EQ(FormatMagnitudeText(1500, L"V", L"В", true), L"1.50 кВ");
    EXPECT_EQ(FormatMagnitudeText(0, L"A", L"A", false), L"0.00 A");
    // Below 1 the field widens with the decimals the value needs.
    EXPECT_EQ(FormatMagnitudeText(0.5, L"A", L"A", false), L"500.00 mA");
    EXPECT_EQ(FormatMagnitudeText(0.0123, L"A", L"A", false), L"12.300 mA");
    // The smallest values still make a text (no fixed buffer, no conversion of infinity).
    EXPECT_FALSE(FormatMagnitudeText(4.9e-324, L"A", L"A", false).IsEmpty());
    EXPECT_EQ(FormatAngleText(30 * kPi / 180, false), L"   -30.00\u00BA");
    EXPECT_EQ(FormatAngleText(-kPi / 2, true), L"     0.50\u03C0");
    // What rounds to zero reads as zero, without a sign.
    for (double phi : {0.0, -0.0, 1e-6, -1e-6, 0.004 * kPi / 180})
        EXPECT_EQ(FormatAngleText(phi, false), L"     0.00\u00BA") << phi;
    EXPECT_EQ(FormatAngleText(1e-6, true), L"     0.00\u03C0");
}

TEST(VectorDiagram, BalancedSystemAgainstReference) {
    testutil::FakeUi ui;
    Doc doc;
    Balanced(doc);
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    wnd.SetAngleChannelName(L"Ua");
    Picture pic(420, 520);
    wnd.Draw(&pic.dc, CRect(0, 0, 420, 520), 1, &wnd.GetFont(), &doc);
    const auto& l = wnd.LastLayout();
    ASSERT_GT(l.R0, 50);
    EXPECT_TRUE(l.table);
    EXPECT_DOUBLE_EQ(l.uScale, 75);
    EXPECT_DOUBLE_EQ(l.iScale, 7.5);
    const double len = l.R0 * 70.7107 / 75;
    // Reference straight up; Ub lags 120° (clockwise), Uc leads 120° (counter-clockwise).
    for (double f : {0.3, 0.6, 0.9}) {
        EXPECT_TRUE(ColourNear(pic.bmp, l, 0, len * f, kA)) << f;
        EXPECT_TRUE(ColourNear(pic.bmp, l, 120, len * f, kB)) << f;
        EXPECT_TRUE(ColourNear(pic.bmp, l, -120, len * f, kC)) << f;
        EXPECT_FALSE(ColourNear(pic.bmp, l, -120, len * f, kB, 2)) << f;
        EXPECT_FALSE(ColourNear(pic.bmp, l, 120, len * f, kC, 2)) << f;
    }
    // The head of the reference arrow sits at its full length.
    EXPECT_TRUE(ColourNear(pic.bmp, l, 0, len - 3, kA));
    EXPECT_FALSE(ColourNear(pic.bmp, l, 0, len + 4, kA));
    // The current (dotted shaft) lags 30°, on its own scale of 7.5 A.
    const double lenI = l.R0 * 7.07107 / 7.5;
    bool current = false;
    for (double f = 0.3; f < 0.8; f += 0.05) current |= ColourNear(pic.bmp, l, 30, lenI * f, kI);
    EXPECT_TRUE(current);
    EXPECT_TRUE(ColourNear(pic.bmp, l, 30, lenI - 3, kI));
    EXPECT_FALSE(ColourNear(pic.bmp, l, -30, lenI - 3, kI, 2));
    // Table texts of Ub as the drawing makes them.
    const CChannel& ub = doc.GetOscillogram().m_channels[1];
    const Complex p = GetChannelPhasorAt(ub, 100, doc);
    EXPECT_EQ(FormatMagnitudeText(std::abs(p), ub.GetUnitText(), L"V", false), L"70.71 V");
    const Complex ref = GetChannelPhasorAt(doc.GetOscillogram().m_channels[0], 100, doc);
    EXPECT_EQ(FormatAngleText(std::arg(ref) - std::arg(p), false), L"  -120.00\u00BA");
}

TEST(VectorDiagram, OptionsAndCursor) {
    testutil::FakeUi ui;
    Doc doc;
    Balanced(doc);
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    // Only direction: a weak current still reaches the outer ring.
    doc.GetOscillogram().m_channels[3].m_samples.assign(400, 0.0);
    for (size_t i = 0; i < 400; ++i)
        doc.GetOscillogram().m_channels[3].m_samples.Set(i, 0.01 * std::sin(2 * kPi * 50 * double(i) / 1000 - kPi / 6));
    doc.GetOscillogram().m_channels[3].Recalc();
    wnd.OnCommand(ID_VECTOR_ONLY_DIRECTION);
    Picture pic(420, 520);
    wnd.Draw(&pic.dc, CRect(0, 0, 420, 520), 1, &wnd.GetFont(), &doc);
    auto l = wnd.LastLayout();
    EXPECT_TRUE(ColourNear(pic.bmp, l, 0, l.R0 - 4, kA));
    EXPECT_TRUE(ColourNear(pic.bmp, l, 30, l.R0 - 4, kI));
    EXPECT_EQ(doc.m_settings.GetCategory(L"Vector Chart").GetInt(L"OnlyDirection", -1), 1);
    // Cursor off: rings but no arrows.
    doc.m_cursors.m_cursors[0].shown = false;
    Picture off(420, 520);
    wnd.Draw(&off.dc, CRect(0, 0, 420, 520), 1, &wnd.GetFont(), &doc);
    l = wnd.LastLayout();
    EXPECT_FALSE(ColourNear(off.bmp, l, 0, l.R0 / 2.0, kA, 2));
    EXPECT_GT(l.R0, 0);
    // No document: white everywhere.
    Picture none(100, 100);
    wnd.Draw(&none.dc, CRect(0, 0, 100, 100), 1, &wnd.GetFont(), nullptr);
    EXPECT_EQ(none.bmp.GetPixel(50, 50), RGB(255, 255, 255));
}

TEST(VectorDiagram, TinyWindowsNeverFail) {
    testutil::FakeUi ui;
    Doc doc;
    Balanced(doc);
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    for (CSize size : {CSize(1, 1), CSize(30, 400), CSize(400, 30), CSize(0, 0), CSize(120, 90)}) {
        Picture pic(std::max(1, int(size.cx)), std::max(1, int(size.cy)));
        wnd.Draw(&pic.dc, CRect(0, 0, size.cx, size.cy), 1, &wnd.GetFont(), &doc);
        EXPECT_GE(wnd.LastLayout().R0, 0);
    }
}

TEST(VectorDiagram, PrintScaleAndPdfPage) {
    struct {
        int printer, screen, scale, font;
    } cases[] = {{600, 96, 6, 62}, {96, 96, 1, 10}, {72, 96, 1, 10}, {300, 96, 3, 31}, {600, 0, 1, 10}, {0, 96, 1, 10}};
    for (auto& c : cases) {
        const DiagramPrintScale p = ComputePrintScale(c.printer, c.screen);
        EXPECT_EQ(p.scale, c.scale) << c.printer << "/" << c.screen;
        EXPECT_EQ(p.fontHeight, c.font) << c.printer << "/" << c.screen;
    }
    testutil::FakeUi ui;
    testutil::TempDir dir;
    Doc doc;
    Balanced(doc);
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    for (int dpi : {600, 72}) {
        PdfDocument pdf;
        const std::string path = dir.File("page" + std::to_string(dpi) + ".pdf");
        ASSERT_TRUE(pdf.Create(path, dpi * 8, dpi * 10, dpi));
        CDC* dc = pdf.StartPage();
        ASSERT_NE(dc, nullptr);
        wnd.Print(dc, CRect(dpi / 2, dpi / 2, dpi * 15 / 2, dpi * 19 / 2), &doc, false);
        const auto l = wnd.LastLayout();
        EXPECT_GT(l.R0, dpi * 2) << dpi;
        EXPECT_TRUE(pdf.EndPage());
        EXPECT_TRUE(pdf.Close());
        EXPECT_EQ(testutil::ReadFile(path).substr(0, 5), "%PDF-");
    }
    // The same picture at printer resolution: a 600-dpi raster shows the arrows six pixels wide.
    Picture page(1200, 1500);
    CDC printer;
    printer.Attach(page.dc.GetCairo(), 1200, 1500, 600, true);
    wnd.Print(&printer, CRect(0, 0, 1200, 1500), &doc, false);
    printer.Detach();
    const auto l = wnd.LastLayout();
    const double len = l.R0 * 70.7107 / 75;
    int wide = 0;
    for (int dx = -6; dx <= 6; ++dx)
        if (page.bmp.GetPixel(l.cx + dx, int(l.cy - len / 2)) == kA) ++wide;
    EXPECT_GE(wide, 5);
    EXPECT_LE(wide, 7);
    // Preview: through a page-sized picture placed at the page's corner.
    Picture preview(600, 700);
    CDC pv;
    pv.Attach(preview.dc.GetCairo(), 600, 700, 96, true);
    wnd.Print(&pv, CRect(50, 60, 550, 660), &doc, true);
    pv.Detach();
    const auto lp = wnd.LastLayout();
    EXPECT_TRUE(ColourNear(preview.bmp, {lp.cx + 50, lp.cy + 60, lp.R0}, 0, lp.R0 / 2.0, kA));
}

TEST(VectorDiagram, CopyGivesSvgAndPngOfTheClientSize) {
    testutil::FakeUi ui;
    Doc doc;
    Balanced(doc);
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    wnd.SetClientSize(CSize(300, 240));
    DiagramPicture picture;
    ASSERT_TRUE(wnd.CopyToClipboard(picture));
    EXPECT_EQ(picture.width, 300);
    EXPECT_EQ(picture.height, 240);
    EXPECT_NE(picture.svg.find("<svg"), std::string::npos);
    CBitmap png;
    ASSERT_TRUE(png.LoadPngData(picture.png.data(), picture.png.size()));
    EXPECT_EQ(png.GetSize(), CSize(300, 240));
    Owner empty(nullptr);
    VectorDiagramWnd idle(&empty);
    idle.SetClientSize(CSize(300, 240));
    DiagramPicture nothing;
    EXPECT_FALSE(idle.CopyToClipboard(nothing));
    EXPECT_TRUE(nothing.png.empty());
    // A window larger than any before paints into a grown picture.
    wnd.Paint(CSize(2000, 1200));
    EXPECT_GE(wnd.GetBitmap().GetSize().cx, 2000);
}

TEST(VectorDiagram, FollowsTheFirstCursor) {
    testutil::FakeUi ui;
    Doc doc;
    Balanced(doc);
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    int repaints = 0;
    wnd.SetInvalidate([&] { ++repaints; });
    // A quarter period later (5 samples at 1000 per second and 50 Hz) every phasor has turned
    // by 90° while the angles between them stay.
    Picture before(420, 520), after(420, 520);
    wnd.Draw(&before.dc, CRect(0, 0, 420, 520), 1, &wnd.GetFont(), &doc);
    const auto l = wnd.LastLayout();
    const double a0 = std::arg(GetChannelPhasorAt(doc.GetOscillogram().m_channels[0], 100, doc));
    doc.m_cursors.m_cursors[0].position = 105;
    wnd.LoadSettings();
    EXPECT_EQ(repaints, 1);
    wnd.Draw(&after.dc, CRect(0, 0, 420, 520), 1, &wnd.GetFont(), &doc);
    const double a1 = std::arg(GetChannelPhasorAt(doc.GetOscillogram().m_channels[0], 105, doc));
    EXPECT_NEAR(std::remainder(a1 - a0, 2 * kPi), kPi / 2, 1e-6);
    // Drawn clockwise by the negative of the phasor's angle (absolute angles).
    const double len = l.R0 * 70.7107 / 75;
    EXPECT_TRUE(ColourNear(before.bmp, l, -a0 * 180 / kPi, len / 2, kA));
    // The reload read the record's options: no value table now, so the rings moved.
    const auto l2 = wnd.LastLayout();
    const double len2 = l2.R0 * 70.7107 / 75;
    EXPECT_TRUE(ColourNear(after.bmp, l2, -a1 * 180 / kPi, len2 / 2, kA));
    EXPECT_FALSE(ColourNear(after.bmp, l2, -a0 * 180 / kPi, len2 / 2, kA, 2));
}

// A silent channel has no direction: whatever sign its zero phasor carries, it gets no arrow,
// not even with only the directions drawn, and its angle reads 0.
TEST(VectorDiagram, SilentChannelHasNoArrow) {
    testutil::FakeUi ui;
    Doc doc;
    Fill(doc, {{"Ua", L"V", 100, 0, kA}, {"Ia", L"A", 10, -30, kI}, {"Ib", L"A", 0, 0, kB}});
    doc.m_cursors.m_cursors[0] = {true, 100, 0, -1};
    CChannel& ib = doc.GetOscillogram().m_channels[2];
    std::vector<Complex> series(ib.GetPhasorCount());
    for (uint32_t i = 0; i < series.size(); ++i) series[i] = ib.GetStoredHarmonic(i);
    series[100] = Complex(-0.0, 0.0);  // atan2 of it is 180°
    ib.SetPhasorSeries(std::move(series));
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    wnd.SetAngleChannelName(L"Ua");
    for (bool direction : {false, true}) {
        if (direction) wnd.OnCommand(ID_VECTOR_ONLY_DIRECTION);
        Picture pic(420, 520);
        wnd.Draw(&pic.dc, CRect(0, 0, 420, 520), 1, &wnd.GetFont(), &doc);
        const auto& l = wnd.LastLayout();
        ASSERT_TRUE(l.table);
        for (double deg : {0.0, 90.0, 180.0, -90.0})
            for (double f : {0.2, 0.5, 0.9}) EXPECT_FALSE(ColourNear(pic.bmp, l, deg, l.R0 * f, kB, 2)) << deg << " " << f;
        // The live current is still drawn, 30° clockwise.
        EXPECT_TRUE(ColourNear(pic.bmp, l, 30, l.R0 * 0.5, kI, 2)) << direction;
    }
}

// The value table takes room from the rings only while they stay large; where it would not,
// the legend stays and the table's switch shows it off and cannot be pressed.
TEST(VectorDiagram, TableOnlyWhereTheRingsKeepTheirSize) {
    testutil::FakeUi ui;
    Doc doc;
    Fill(doc, {{"Ua", L"V", 100, 0, kA}, {"Ub", L"V", 100, -120, kB}, {"Uc", L"V", 100, 120, kC},
               {"Ia", L"A", 10, -30, kI}, {"Ib", L"A", 10, -150, kI}, {"Ic", L"A", 10, 90, kI}, {"3I0", L"A", 1, 0, kI}});
    doc.m_cursors.m_cursors[0] = {true, 100, 0, -1};
    Owner owner(&doc);
    VectorDiagramWnd wnd(&owner);
    ASSERT_TRUE(wnd.ShowAnglesValue());
    auto button = [&](unsigned id) {
        CCmdUI cmd(id);
        wnd.OnUpdateCommand(cmd);
        return std::pair{cmd.m_enabled, cmd.m_check};
    };
    // A pane of the default window's size: the rows would leave the rings a few tens of pixels.
    for (CSize size : {CSize(310, 260), CSize(310, 330), CSize(500, 300)}) {
        Picture pic(size.cx, size.cy);
        wnd.Draw(&pic.dc, CRect(0, 0, size.cx, size.cy), 1, &wnd.GetFont(), &doc);
        const auto l = wnd.LastLayout();
        EXPECT_FALSE(l.table) << size.cx << "x" << size.cy;
        EXPECT_GT(l.R0, 60) << size.cx << "x" << size.cy;
        EXPECT_EQ(button(ID_VECTOR_TB_SHOW_VALUES), std::pair(false, 0)) << size.cx << "x" << size.cy;
        EXPECT_EQ(button(ID_VECTOR_SHOW_VALUES), std::pair(false, 0));
    }
    // A tall pane: the table and rings of at least 180 pixels across.
    Picture tall(310, 560);
    wnd.Draw(&tall.dc, CRect(0, 0, 310, 560), 1, &wnd.GetFont(), &doc);
    EXPECT_TRUE(wnd.LastLayout().table);
    EXPECT_GE(wnd.LastLayout().R0, 90);
    EXPECT_EQ(button(ID_VECTOR_TB_SHOW_VALUES), std::pair(true, 1));
    // Turned off where it fits: the switch is free and shows it off.
    wnd.OnCommand(ID_VECTOR_SHOW_VALUES);
    wnd.Draw(&tall.dc, CRect(0, 0, 310, 560), 1, &wnd.GetFont(), &doc);
    EXPECT_FALSE(wnd.LastLayout().table);
    EXPECT_EQ(button(ID_VECTOR_TB_SHOW_VALUES), std::pair(true, 0));
}
