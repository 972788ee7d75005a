// The differential diagram keeps to its plot and shows what it is asked for: the shipped
// block's zones stay on the grid (not left of Iторм = 0, not above the grid), the
// trajectories stay in the plot, and the scale follows the points and the characteristic's
// start rather than the far points that only close its zones, so that points of a few
// thousandths of the nominal current and a fault of thirty both stay readable. Rendered
// headless to an image and checked pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "CircleFixture.h"
#include "FakeUi.h"
#include "diagrams/DiffDiagramWnd.h"
#include "platform/Encoding.h"

using namespace circletest;

namespace {

const COLORREF kDiff = RGB(0, 140, 0), kBrake = RGB(120, 60, 0);
const COLORREF kCross1 = RGB(200, 0, 0), kCross2 = RGB(0, 0, 200);
const wchar_t kBlock[] = L"Дифференциальная защита ДЗТ-1";

class Owner : public DiagramOwner {
public:
    explicit Owner(CTenvorikDoc* d) : doc(d) {}
    CTenvorikDoc* GetActiveDocument() override { return doc; }
    CTenvorikDoc* doc;
};

struct Picture {
    CDC dc;
    CBitmap bmp;
    Picture(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
    }
};

bool Tinted(COLORREF c) { return GetRValue(c) + 15 < GetGValue(c) && GetRValue(c) + 15 < GetBValue(c); }
bool Trace(COLORREF c) { return c == kDiff || c == kCross1 || c == kCross2; }

class DiffClip : public ::testing::Test {
protected:
    // Restraint and differential current rise from 0 to `brake` and `diff` nominal currents
    // over samples 100..200 and stay; В1 at 150 (halfway), В2 at 350.
    void Open(double brake, double diff) {
        SetSamples(doc, 400);
        auto ramp = [](double top) {
            return [top](size_t i) { return i < 100 ? 0.0 : i > 200 ? top : top * double(i - 100) / 100.0; };
        };
        AddChannel(doc, "It", L"A", kBrake, ramp(brake));
        AddChannel(doc, "Id", L"A", kDiff, ramp(diff));
        doc.m_diffChartPairs = {{L"It", L"Id"}};
        SettingsNode& node = doc.m_settings.GetCategory(L"Diff Chart");
        node.SetString(L"SelectedBlock", kBlock);
        node.SetInt(L"ViewChannelType", 0);
        SetCursors(doc, 150, 350);
        wnd.SetLibraryFolder(CString(platform::Utf8ToWide(std::string(TV_SOURCE_DIR) + "/resources/blocks").c_str()));
        wnd.SetClientSize(CSize(kSize, kSize));
        wnd.ReloadBlocks();
        ASSERT_EQ(wnd.GetGridModel().BlockTypeValue(), CString(kBlock));
    }
    // The picture after the first paint placed the origin, and the same without the pair.
    void Render() {
        wnd.Draw(&with.dc, CRect(0, 0, kSize, kSize), 1, nullptr, &doc);
        wnd.Draw(&with.dc, CRect(0, 0, kSize, kSize), 1, nullptr, &doc);
        layout = wnd.LastLayout();
        if (const char* dump = std::getenv("DIFF_DUMP")) with.bmp.SavePng(dump);
        doc.m_diffChartPairs[0].visible = false;
        wnd.Draw(&without.dc, CRect(0, 0, kSize, kSize), 1, nullptr, &doc);
        doc.m_diffChartPairs[0].visible = true;
    }
    // Nothing of the zones outside the grid right of the origin, nothing of the trajectory
    // outside the plot; the legend under the plot and the split strip above are not looked at.
    void ExpectNothingOutside() {
        const CRect& F = layout.frame;
        const CRect& P = layout.plot;
        int outsideZone = 0, outsideTrace = 0;
        for (int y = PlaneDiagramWnd::kSplitRows; y < P.bottom; ++y)
            for (int x = 0; x < kSize; ++x) {
                const bool onGrid = x >= layout.ox && x <= F.right && y >= F.top && y <= F.bottom;
                if (!onGrid && Tinted(without.dc.GetPixel(x, y))) ++outsideZone;
                if (!P.PtInRect(CPoint(x, y)) && Trace(with.dc.GetPixel(x, y))) ++outsideTrace;
            }
        EXPECT_EQ(outsideZone, 0);
        EXPECT_EQ(outsideTrace, 0);
    }
    int Count(COLORREF colour) {
        int n = 0;
        for (int y = layout.plot.top; y < layout.plot.bottom; ++y)
            for (int x = layout.plot.left; x < layout.plot.right; ++x) n += with.dc.GetPixel(x, y) == colour;
        return n;
    }
    // Nominal currents from the origin to the grid's top edge.
    double TopValue() const { return (layout.oy - layout.frame.top) / layout.scales.ppuR; }

    static constexpr int kSize = 600;
    testutil::FakeUi ui;
    Doc doc;
    Owner owner{&doc};
    DiffDiagramWnd wnd{&owner};
    Picture with{kSize, kSize}, without{kSize, kSize};
    PlaneDiagramWnd::Layout layout;
};

}  // namespace

TEST_F(DiffClip, OperatingPointsOfAFewThousandthsStayOnAReadableScale) {
    Open(0.004, 0.004);
    Render();
    ASSERT_TRUE(layout.scales.ok);
    ExpectNothingOutside();
    // The grid reaches past the threshold of 0.3 and its knee at 0.6, not to the 100 that
    // only closes the cut-off zone.
    EXPECT_GT(TopValue(), 0.6);
    EXPECT_LT(TopValue(), 3.0);
    // The zone is on the grid, tinted above the threshold.
    const int yAbove = layout.oy - int(std::lround(0.5 * layout.scales.ppuR));
    EXPECT_TRUE(Tinted(without.dc.GetPixel(layout.ox + 3, yAbove)));
    // Both crosses show, at the origin's corner.
    EXPECT_GE(Count(kCross1), 5);
    EXPECT_GE(Count(kCross2), 5);
}

TEST_F(DiffClip, AFaultOfThirtyNominalCurrentsIsOnTheGridWholly) {
    Open(30, 30);
    Render();
    ExpectNothingOutside();
    EXPECT_GE(TopValue(), 30.0);
    EXPECT_LT(TopValue(), 100.0);
    EXPECT_GE(Count(kCross2), 5);
}

TEST_F(DiffClip, ZoomedInTheZonesStillKeepToTheGrid) {
    Open(0.004, 0.004);
    Render();
    // The cut-off zone lies a hundred times past the view, and zooming is not held back by it.
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(wnd.ZoomIn()) << i;
    Render();
    ExpectNothingOutside();
}

TEST(DiffScale, ExtentFollowsDataAndTheCharacteristicsStart) {
    Characteristic c;
    auto line = std::make_unique<PolypointF>();
    line->coordinates = {{0, 0.3}, {0.6, 0.3}, {10.6, 5.3}};
    auto box = std::make_unique<PolygonF>();
    box->vertices = {{0, 6}, {100, 6}, {100, 100}, {0, 100}};
    c.figures.push_back(std::move(line));
    c.figures.push_back(std::move(box));
    const std::vector<const Characteristic*> shown{&c};
    EXPECT_DOUBLE_EQ(DiffScaleExtent(0.004, shown, 100), 0.6);
    EXPECT_DOUBLE_EQ(DiffScaleExtent(30, shown, 100), 30);
    EXPECT_DOUBLE_EQ(DiffScaleExtent(NAN, shown, 100), 0.6);
    // Without a characteristic: the data; without either: the zones' extent.
    EXPECT_DOUBLE_EQ(DiffScaleExtent(2, {}, 100), 2);
    EXPECT_DOUBLE_EQ(DiffScaleExtent(0, {}, 7), 7);
}
