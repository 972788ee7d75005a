// Characteristic blocks: libraries read from ".tvb" files, zone figures recalculated from the
// block parameters and turned into device regions, the block grid and the stored selection.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "DiagramFixture.h"
#include "FakeUi.h"
#include "TestUtil.h"
#include "diagrams/BlockGrid.h"
#include "diagrams/ProtectionBlock.h"
#include "model/XmlDocument.h"
#include "platform/Encoding.h"

using namespace diagtest;

namespace {

// A library file as the program reads it: UTF-16LE behind its byte-order mark.
void WriteLibrary(const std::string& path, const std::wstring& body) {
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<library>" + body + L"</library>\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += char(c & 0xFF);
        bytes += char((c >> 8) & 0xFF);
    }
    testutil::WriteFile(path, bytes);
}

struct Raster {
    CDC dc;
    CBitmap bmp;
    Raster(int w = 200, int h = 200) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
    }
};

CRect Box(const CRgn& r) {
    RECT b{};
    r.GetRgnBox(&b);
    return CRect(b);
}

// A window owning blocks, as the impedance-plane and differential diagrams do.
class BlockWindow : public DiagramWnd {
public:
    explicit BlockWindow(DiagramOwner* o) : DiagramWnd(o) {}
    void LoadSettings() override {}
    void Draw(CDC*, CRect, int, const CFont*, CTenvorikDoc*) override {}
    std::vector<ProtectionBlock>& GetBlocks() override { return blocks; }
    int GetCurrentBlockIndex() override { return current; }
    void SetCurrentBlockIndex(int i) override { current = i; }
    void UpdateCurrentBlock() override {
        if (size_t(current) < blocks.size()) blocks[size_t(current)].ApplyParameters();
        ++updates;
    }
    void SaveSelectedBlock() override {
        if (size_t(current) < blocks.size()) blocks[size_t(current)].SaveSelection(GetActiveDocument(), true);
        ++saves;
    }
    std::vector<ProtectionBlock> blocks;
    int current = 0, updates = 0, saves = 0;
};

const std::wstring kBlocks =
    L"<block name=\"Zone\">"
    L" <characteristic name=\"Box\" dimension=\"Ohm\">"
    L"  <parameter name=\"X\" default=\"5\"/><parameter name=\"R\" default=\"x*3/5\"/>"
    L"  <var name=\"Xm\" expression=\"-X\"/>"
    L"  <polygon mode=\"on\" type=\"or\"><line k=\"0\" b=\"x\" type=\"1\"/><a k=\"0\" b=\"r\" type=\"2\"/>"
    L"   <line k=\"0\" b=\"xm\" type=\"1\"/><line k=\"0\" b=\"-R\" type=\"2\"/></polygon>"
    L"  <circle mode=\"off\" xcenter=\"0\" ycenter=\"0\" radius=\"0\"/>"
    L" </characteristic>"
    L" <characteristic name=\"Diff\" dimension=\"DIF\"><parameter name=\"I\" default=\"1\"/></characteristic>"
    L" <characteristic name=\"Ell\" dimension=\"\">"
    L"  <ellipse mode=\"on\" type=\"xor\" xcenter=\"2\" ycenter=\"1\" width=\"4\" height=\"2\" angle=\"90\"/>"
    L"  <polypoint mode=\"on\" type=\"bogus\" closed=\"off\"><p x=\"1\" y=\"0\"/><p x=\"0\" y=\"2\"/><p x=\"3\" y=\"2\"/><p x=\"2\" y=\"0\"/></polypoint>"
    L" </characteristic>"
    L"</block>"
    L"<block name=\"OnlyDiff\"><characteristic name=\"D\" dimension=\"DIF\"/></block>"
    L"<block name=\"Zone\"><characteristic name=\"Second\" dimension=\"dif\"/></block>";

}  // namespace

TEST(ZoneFigures, PolygonVerticesFollowTheLines) {
    testutil::FakeUi ui;
    std::vector<ProtectionBlock> blocks;
    XmlDocument xml;
    ASSERT_TRUE(xml.LoadString(CString((L"<library>" + kBlocks + L"</library>").c_str())));
    AddProtectionBlocks(blocks, xml.GetRoot(), false);
    ASSERT_EQ(blocks.size(), 2u);
    ProtectionBlock& zone = blocks[0];
    ASSERT_EQ(zone.characteristics.size(), 2u);
    EXPECT_EQ(zone.characteristics[1].colorIndex, 1u);  // "Diff" was not retained
    ASSERT_TRUE(zone.ApplyParameters());
    EXPECT_TRUE(ui.exceptions.empty());
    const auto& poly = dynamic_cast<const PolygonF&>(*zone.characteristics[0].figures[0]);
    const PlanePoint expect[4] = {{-3, 5}, {3, 5}, {3, -5}, {-3, -5}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(poly.vertices[size_t(i)].x, expect[i].x) << i;
        EXPECT_DOUBLE_EQ(poly.vertices[size_t(i)].y, expect[i].y) << i;
    }
    Raster r;
    const POINT origin{100, 100};
    EXPECT_EQ(Box(poly.Draw(&r.dc, 10, &origin, nullptr)), CRect(70, 50, 130, 150));
    // Mode and type as the file says; a bad type joins the zone.
    EXPECT_EQ(poly.mode, 1u);
    const auto& figs = zone.characteristics[1].figures;
    EXPECT_EQ(figs[0]->type, uint32_t(RGN_XOR));
    EXPECT_EQ(figs[1]->type, uint32_t(RGN_OR));
    EXPECT_EQ(zone.characteristics[0].figures[1]->mode, 0u);
    EXPECT_FALSE(dynamic_cast<const PolypointF&>(*figs[1]).closed);
    // The differential diagram reads the same text into its own list.
    std::vector<ProtectionBlock> diff;
    AddProtectionBlocks(diff, xml.GetRoot(), true);
    ASSERT_EQ(diff.size(), 2u);
    EXPECT_EQ(diff[0].characteristics[0].name, L"Diff");
    EXPECT_EQ(diff[1].name, L"OnlyDiff");
    // A copy owns figures of its own.
    ProtectionBlock copy = zone;
    EXPECT_NE(copy.characteristics[0].figures[0].get(), zone.characteristics[0].figures[0].get());
}

TEST(ZoneFigures, RegionsOnRasters) {
    testutil::FakeUi ui;
    Raster r;
    const POINT origin{100, 100};
    // An ellipse turned by 90° is the one with its sizes swapped.
    EllipseF turned, plain;
    turned.cx = plain.cx = 2;
    turned.cy = plain.cy = 1;
    turned.w = 6, turned.h = 3, turned.theta = 90 * (-3.141592653589793 / 180);
    plain.w = 3, plain.h = 6;
    const CRect a = Box(turned.Draw(&r.dc, 10, &origin, nullptr)), b = Box(plain.Draw(&r.dc, 10, &origin, nullptr));
    EXPECT_NEAR(a.left, b.left, 1);
    EXPECT_NEAR(a.top, b.top, 1);
    EXPECT_NEAR(a.right, b.right, 1);
    EXPECT_NEAR(a.bottom, b.bottom, 1);
    EXPECT_EQ(b.CenterPoint(), CPoint(120, 90));
    // Figures that enclose nothing give one pixel: a circle of radius 0 at its centre, a
    // single point, a figure without points.
    Circle dot;
    dot.cx = 2.05, dot.cy = -1;
    EXPECT_EQ(Box(dot.Draw(&r.dc, 10, &origin, nullptr)), CRect(121, 110, 122, 111));
    PolypointF one;
    one.coordinates = {{1, 1}};
    one.closed = false;
    const RECT view{0, 0, 200, 200};
    EXPECT_EQ(Box(one.Draw(&r.dc, 10, &origin, &view)), CRect(110, 90, 111, 91));
    PolygonF none;
    EXPECT_EQ(Box(none.Draw(&r.dc, 10, &origin, nullptr)), CRect(0, 0, 1, 1));
    // Parallel neighbours and lines of unknown kind give (0, 0), never infinity.
    const PlanePoint p = IntersectFigureLines(1, 2, 1, 1, 3, 1);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    const PlanePoint q = IntersectFigureLines(0, 2, 7, 1, 3, 1);
    EXPECT_EQ(q.x, 0);
    // Combinations fold regions exactly.
    Circle big;
    big.r = 5;
    PolygonF square;
    square.vertices = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const CRgn zone = big.Draw(&r.dc, 10, &origin, nullptr), sq = square.Draw(&r.dc, 10, &origin, nullptr);
    CRgn cut;
    cut.CombineRgn(&zone, &sq, RGN_DIFF);
    EXPECT_FALSE(cut.PtInRegion(120, 80));  // inside the square's quarter
    EXPECT_TRUE(cut.PtInRegion(80, 120));
    EXPECT_TRUE(zone.PtInRegion(120, 80));
}

TEST(ZoneFigures, OpenPolylinesClose) {
    const POINT origin{100, 100};
    // Ends that meet when extended: closed by their crossing alone.
    const std::vector<PlanePoint> v{{1, 0}, {0, 2}, {3, 2}, {2, 0}};
    const auto meet = ClosingPoints(v, 10, origin, 200, 200);
    ASSERT_EQ(meet.size(), 1u);
    EXPECT_DOUBLE_EQ(meet[0].x, 1.5);
    EXPECT_DOUBLE_EQ(meet[0].y, -1);
    // Both ends leave through the top of the frame (plane y = 25 for a 10 x 10 view with the
    // origin at (5, 5)): the start's exit past the finish's, so the walk goes round all four
    // corners.
    const POINT corner{5, 5};
    const std::vector<PlanePoint> up{{5, 1}, {5, 0}, {-5, 0}, {-5, 1}};
    const auto round = ClosingPoints(up, 1, corner, 10, 10);
    ASSERT_EQ(round.size(), 6u);
    EXPECT_DOUBLE_EQ(round[0].x, -5);
    EXPECT_DOUBLE_EQ(round[0].y, 25);
    EXPECT_DOUBLE_EQ(round[1].x, -25);  // the top side's own corner first, then downwards
    EXPECT_DOUBLE_EQ(round[2].y, -25);
    EXPECT_DOUBLE_EQ(round[5].x, 5);
    // The same exits the other way round need no corner.
    const std::vector<PlanePoint> cup{{-5, 1}, {-5, 0}, {5, 0}, {5, 1}};
    EXPECT_EQ(ClosingPoints(cup, 1, corner, 10, 10).size(), 2u);
    // Drawn without a view it is the polygon through its points.
    testutil::FakeUi ui;
    Raster r;
    PolypointF open;
    open.closed = false;
    open.coordinates = cup;
    const RECT view{0, 0, 200, 200};
    EXPECT_EQ(Box(open.Draw(&r.dc, 10, &origin, nullptr)), CRect(50, 90, 150, 100));
    EXPECT_GT(Box(open.Draw(&r.dc, 10, &origin, &view)).Height(), 100);
}

TEST(BlockLibrary, FilesOfTheFolderAndTheirFaults) {
    testutil::FakeUi ui;
    testutil::TempDir dir;
    WriteLibrary(dir.File("a.tvb"), kBlocks);
    WriteLibrary(dir.File("b.tvb"),
                 L"<block name=\"Bad\"><characteristic name=\"C\"><parameter name=\"Z\" default=\"2 +* 3\"/>"
                 L"<circle mode=\"on\" type=\"or\" xcenter=\"0\" ycenter=\"0\" radius=\"z\"/></characteristic></block>");
    testutil::WriteFile(dir.File("c.tvb"), "\xFF\xFE<");  // not a document
    testutil::WriteFile(dir.File("d.txt"), "ignored");
    std::vector<ProtectionBlock> blocks;
    LoadProtectionBlocks(blocks, false, CString(platform::Utf8ToWide(dir.path()).c_str()));
    // "dif" is not "DIF": the second "Zone" block stays, listed once among the choices.
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].name, L"Нет");
    EXPECT_TRUE(blocks[0].characteristics.empty());
    EXPECT_EQ(blocks[3].name, L"Bad");
    EXPECT_EQ(BlockTypeOptions(blocks), (std::vector<CString>{L"Нет", L"Zone", L"Bad"}));
    // The file that is no document was reported by the reader, once.
    EXPECT_EQ(ui.messages.size() + ui.exceptions.size(), 1u);
    ui.exceptions.clear();
    // A bad formula stops the application once, with the formula in the message.
    EXPECT_FALSE(blocks[3].ApplyParameters());
    ASSERT_EQ(ui.exceptions.size(), 1u);
    EXPECT_EQ(ui.exceptions[0], L"2 +* 3: Синтаксическая ошибка в формуле");
    // An empty folder, or one that does not exist, gives "Нет" alone.
    LoadProtectionBlocks(blocks, true, CString(platform::Utf8ToWide(dir.File("none")).c_str()));
    EXPECT_EQ(blocks.size(), 1u);
}

TEST(BlockLibrary, ShippedLibrariesLoadAndDraw) {
    testutil::FakeUi ui;
    const CString folder(platform::Utf8ToWide(std::string(TV_SOURCE_DIR) + "/resources/blocks").c_str());
    for (bool diff : {false, true}) {
        std::vector<ProtectionBlock> blocks;
        LoadProtectionBlocks(blocks, diff, folder);
        ASSERT_GE(blocks.size(), 2u) << diff;
        Raster r(400, 400);
        const POINT origin{200, 200};
        const RECT view{0, 0, 400, 400};
        for (ProtectionBlock& b : blocks) {
            EXPECT_TRUE(b.ApplyParameters()) << b.name.GetString();
            for (Characteristic& c : b.characteristics)
                for (auto& f : c.figures) EXPECT_GT(Box(f->Draw(&r.dc, 8, &origin, &view)).Width(), 1) << c.name.GetString();
        }
    }
    EXPECT_TRUE(ui.exceptions.empty());
}

// Every zone of the shipped libraries, drawn with its default parameters, spans what its
// formulas give by hand (the formula language's angles are degrees).
TEST(BlockLibrary, ShippedZonesSpanWhatTheirFormulasGive) {
    testutil::FakeUi ui;
    const CString folder(platform::Utf8ToWide(std::string(TV_SOURCE_DIR) + "/resources/blocks").c_str());
    const double cot65 = 1 / std::tan(65 * std::numbers::pi / 180), c70 = std::cos(70 * std::numbers::pi / 180), s70 = std::sin(70 * std::numbers::pi / 180);
    struct Span {
        const wchar_t* characteristic;
        int mode;
        double left, right, bottom, top;  // plane units
    };
    const Span expected[] = {
        // Reach X 10 up to the line at 65 degrees through R 6; the offsets a quarter back.
        {L"Ступень 1", 1, -0.2 * 10 - 1.5, 10 * cot65 + 6, -2.5, 10},
        {L"Ступень 1", 0, -0.2 * 11 - 1.65, 11 * cot65 + 6.6, -2.75, 11},
        // The circle through the origin with its diameter Z 20 at 70 degrees; the ellipse
        // taken away lies below it.
        {L"Ступень 2", 1, 10 * c70 - 10, 10 * c70 + 10, 10 * s70 - 10, 10 * s70 + 10},
        // The load line drawn as its points, and the small triangle beside it.
        {L"Нагрузка", 1, -20, 35, -10, 30},
        {L"Торможение", 1, 0, 100, 0.3, 100},
    };
    size_t checked = 0;
    for (bool diff : {false, true}) {
        std::vector<ProtectionBlock> blocks;
        LoadProtectionBlocks(blocks, diff, folder);
        const double scale = diff ? 4 : 10;
        const POINT origin{500, 500};
        Raster r(1000, 1000);
        for (ProtectionBlock& b : blocks) {
            ASSERT_TRUE(b.ApplyParameters()) << b.name.GetString();
            for (const Characteristic& c : b.characteristics) {
                for (int mode : {0, 1}) {
                    // The zone as the diagrams build it: the first figure of the mode, the
                    // others folded in by their combination.
                    CRgn zone;
                    bool any = false;
                    for (const auto& f : c.figures) {
                        if (int(f->mode) != mode) continue;
                        CRgn part = f->Draw(&r.dc, scale, &origin, nullptr);
                        if (!any) zone.CopyRgn(&part);
                        else zone.CombineRgn(&zone, &part, int(f->type));
                        any = true;
                    }
                    const Span* want = nullptr;
                    for (const Span& e : expected)
                        if (c.name == e.characteristic && e.mode == mode) want = &e;
                    ASSERT_EQ(any, want != nullptr) << c.name.GetString() << " mode " << mode;
                    if (!want) continue;
                    const CRect box = Box(zone);
                    const std::string what = platform::WideToUtf8(c.name.GetString()) + " mode " + std::to_string(mode);
                    EXPECT_NEAR(box.left, origin.x + want->left * scale, 1.5) << what;
                    EXPECT_NEAR(box.right, origin.x + want->right * scale, 1.5) << what;
                    EXPECT_NEAR(box.top, origin.y - want->top * scale, 1.5) << what;
                    EXPECT_NEAR(box.bottom, origin.y - want->bottom * scale, 1.5) << what;
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, std::size(expected));

    // On the screen the open load line is closed along the view's frame around the high
    // resistances, where a load sits, not around the origin.
    std::vector<ProtectionBlock> blocks;
    LoadProtectionBlocks(blocks, false, folder);
    ASSERT_GE(blocks.size(), 2u);
    ASSERT_TRUE(blocks[1].ApplyParameters());
    const Characteristic& load = blocks[1].characteristics.back();
    ASSERT_EQ(load.name, L"Нагрузка");
    Raster r(400, 400);
    const POINT origin{200, 200};
    const RECT view{0, 0, 400, 400};
    const CRgn line = load.figures[0]->Draw(&r.dc, 4, &origin, &view);
    EXPECT_TRUE(line.PtInRegion(200 + 4 * 40, 200));   // 40 ohm
    EXPECT_FALSE(line.PtInRegion(200, 200));           // the origin
    EXPECT_FALSE(line.PtInRegion(200 - 4 * 40, 200));  // -40 ohm
    EXPECT_TRUE(ui.exceptions.empty());
}

TEST(BlockGrid, ChoiceParametersAndStoredSelection) {
    testutil::FakeUi ui;
    Doc doc;
    Owner owner(&doc);
    BlockWindow wnd(&owner);
    XmlDocument xml;
    ASSERT_TRUE(xml.LoadString(CString((L"<library>" + kBlocks + L"</library>").c_str())));
    wnd.blocks.resize(1);
    wnd.blocks[0].name = L"Нет";
    AddProtectionBlocks(wnd.blocks, xml.GetRoot(), false);
    BlockGridModel grid(&wnd, true);
    grid.Reset(BlockTypeOptions(wnd.blocks));
    grid.Fill(L"Нет");
    EXPECT_EQ(grid.Rows().size(), 1u);
    grid.OnCloseCombo(L"Zone");
    EXPECT_EQ(wnd.current, 1);
    // Rows: type, group Box, X, R, group Ell.
    ASSERT_EQ(grid.Rows().size(), 5u);
    EXPECT_EQ(grid.RowValue(3), L"x*3/5");
    SettingsNode& circle = doc.m_settings.GetCategory(L"Circle Chart");
    EXPECT_EQ(circle.GetString(L"SelectedBlock", L""), L"Zone");
    // A changed value recalculates the zone (the parameter after it follows) and is stored.
    grid.OnValueChanged(2, L"10");
    const auto& poly = dynamic_cast<const PolygonF&>(*wnd.blocks[1].characteristics[0].figures[0]);
    EXPECT_DOUBLE_EQ(poly.vertices[1].x, 6);
    EXPECT_DOUBLE_EQ(poly.vertices[1].y, 10);
    SettingsNode& stored = circle.GetSubCategory(L"Selected Block").GetSubCategory(L"Box");
    EXPECT_EQ(stored.GetSubCategory(L"X").GetString(L"value", L""), L"10");
    // The value area of a group row hides the characteristic and marks the record.
    const int before = doc.modified;
    grid.OnClickValue(1);
    EXPECT_FALSE(wnd.blocks[1].characteristics[0].visible);
    EXPECT_GT(doc.modified, before);
    EXPECT_EQ(stored.GetInt(L"visible", -1), 0);
    // A re-fill shows defaults; the stored selection brings the record's values back.
    grid.Fill(L"Zone");
    EXPECT_EQ(grid.RowValue(2), L"5");
    wnd.blocks[1].LoadSelection(&doc, true);
    EXPECT_EQ(grid.RowValue(2), L"10");
    EXPECT_FALSE(wnd.blocks[1].characteristics[0].visible);
    // A name no block has shows "Нет".
    grid.Fill(L"Gone");
    EXPECT_EQ(wnd.current, 0);
    EXPECT_EQ(grid.BlockTypeValue(), L"Нет");
    // Without a document nothing is stored.
    owner.doc = nullptr;
    wnd.blocks[1].SaveSelection(nullptr, true);
}
