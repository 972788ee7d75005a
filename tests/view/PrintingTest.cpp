#include <gtest/gtest.h>

#include <cmath>

#include "TestUtil.h"
#include "ViewFixture.h"
#include "model/Resources.h"
#include "platform/draw/Surfaces.h"
#include "view/PrintLayout.h"
#include "view/PrintSession.h"

using namespace viewtest;
using namespace oscview;

TEST(PrintLayout, PageListFollowsTheOptions) {
    struct Case {
        int options[kPrintOptionCount];
        int oscPages;
        std::vector<int> pages;
    };
    const Case cases[] = {
        {{1, 0, 0, 0, 0}, 1, {1}},                     // the oscillogram fits one page
        {{1, 1, 1, 1, 1}, 2, {1, 1, 2, 4, 8, 16}},     // all five over two oscillogram pages
        {{0, 0, 1, 1, 0}, 3, {4, 8}},                  // only the chosen diagrams
        {{0, 0, 0, 0, 1}, 0, {16}},
        {{0, 0, 0, 0, 0}, 2, {}},                      // nothing chosen, nothing offered
    };
    for (const Case& c : cases) EXPECT_EQ(BuildPageList(c.options, c.oscPages), c.pages);
}

TEST(PrintLayout, RowsStartOnTheNextPageRatherThanReachIntoTheAxisBand) {
    struct Case {
        int64_t slice;
        int band;
        std::vector<int> heights;
        std::vector<int64_t> tops;
        int pages;
    };
    const Case cases[] = {
        {250, 30, {100, 100}, {0, 100}, 1},               // 200 + 30 fits
        {250, 30, {93, 93, 93}, {0, 93, 250}, 2},         // the third would end at 279, past 250 - 30
        {250, 75, {93, 93}, {0, 250}, 2},                 // 186 is past 250 - 75, the difference panel's band
        {250, 30, {110, 110}, {0, 110}, 1},               // ends exactly at the band
        {250, 30, {111, 110}, {0, 250}, 2},               // one pixel into the band is too far
        {250, 30, {50, 300, 50}, {0, 250, 550}, 3},       // a row taller than a page starts one and runs over
        {0, 30, {93, 93, 93}, {0, 93, 186}, 1},           // on the screen rows only follow each other
    };
    for (const Case& c : cases) {
        const PagedRows r = PaginateRows(c.heights, RowPager(c.slice, c.band));
        EXPECT_EQ(r.tops, c.tops) << c.slice << "/" << c.band;
        EXPECT_EQ(r.pages, c.pages) << c.slice << "/" << c.band;
    }
}

TEST(PrintLayout, GeometryFromMarginsAndRefusals) {
    // A4 at 96 dots per inch with 20 mm margins all round.
    PrinterPage a4{96, 96, 794, 1123, 210, 297};
    EXPECT_EQ(MarginPixels(2000, 794, 210), 75);
    EXPECT_EQ(MarginPixels(2000, 794, 0), 0);
    PrintGeometry g;
    unsigned why = 0;
    ASSERT_TRUE(ComputePrintGeometry(a4, PrintMargins{}, 96, 644, g, &why));
    EXPECT_EQ(g.printable, CRect(75, 75, 794 - 75, 1123 - 75));
    EXPECT_EQ(g.picture.left, 75);
    EXPECT_EQ(g.picture.Width(), 644);
    EXPECT_GT(g.picture.top, g.printable.top);
    EXPECT_LT(g.picture.bottom, g.printable.bottom);
    EXPECT_EQ(g.slice, g.pageHeight);  // a view as wide as the page: one pixel for one
    // Twice the printer's resolution halves nothing of the view: its page is as big.
    PrinterPage fine{192, 192, 1588, 2246, 210, 297};
    PrintGeometry g2;
    ASSERT_TRUE(ComputePrintGeometry(fine, PrintMargins{}, 96, 1288, g2, &why));
    EXPECT_NEAR(g2.pageWidth, g.pageWidth, 1);
    EXPECT_NEAR(double(g2.slice), 2.0 * g.slice, 4);
    // Nothing to print: a view without width, margins that leave no page.
    EXPECT_FALSE(ComputePrintGeometry(a4, PrintMargins{}, 96, 0, g, &why));
    EXPECT_EQ(why, unsigned(IDS_PRINT_NO_WIDTH));
    EXPECT_FALSE(ComputePrintGeometry(a4, PrintMargins{11000, 2000, 11000, 2000}, 96, 644, g, &why));
    EXPECT_EQ(why, unsigned(IDS_PRINT_NO_ROOM));
    EXPECT_FALSE(ComputePrintGeometry(a4, PrintMargins{2000, 15000, 2000, 15000}, 96, 644, g, &why));
    EXPECT_EQ(why, unsigned(IDS_PRINT_NO_ROOM));
}

namespace {

const COLORREF kColors[] = {RGB(220, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(200, 0, 200), RGB(0, 150, 150), RGB(230, 120, 0)};

// Fills the diagram pages with a colour of their own.
class DiagramPages : public PrintHost {
public:
    void PrintDiagram(int bit, CDC* dc, const CRect& rect, bool) override {
        printed.push_back(bit);
        dc->FillSolidRect(&rect, RGB(0, 0, 0) + COLORREF(bit * 10));
    }
    std::vector<int> printed;
};

int CountColor(CBitmap& b, int x0, int x1, int y0, int y1, COLORREF c) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const COLORREF p = b.GetPixel(x, y);
            n += std::abs(GetRValue(p) - GetRValue(c)) < 40 && std::abs(GetGValue(p) - GetGValue(c)) < 40 &&
                 std::abs(GetBValue(p) - GetBValue(c)) < 40;
        }
    return n;
}

}  // namespace

// The printout read back from its PDF: every row's curve and caption on the page and at the
// place the pagination gives it, each page with its time axis, header and footer.
TEST(Printing, PagesPutRowsWhereThePaginationSays) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 400);
    std::vector<CChannel> chans;
    const char* names[] = {"UA", "UB", "UC", "IA", "IB", "IC"};
    for (int k = 0; k < 6; ++k) {
        std::vector<double> s(400);
        for (size_t i = 0; i < s.size(); ++i) s[i] = std::sin(double(i) * 0.05 + k);
        chans.push_back(Analog(rig.doc, names[k], s));
    }
    AddChannels(rig.doc, std::move(chans));
    auto& chs = rig.doc.GetOscillogram().m_channels;
    for (int k = 0; k < 6; ++k) chs[size_t(k)].m_customColorSet = true, chs[size_t(k)].m_customColor = kColors[k];
    chs[3].m_flags &= ~CHF_VISIBLE;  // a hidden channel takes no row
    rig.Open(644, 300);
    auto& v = *rig.view;
    v.SetAnalogSize(260);
    v.m_yOffset = -120;  // scrolled on the screen; the printout starts at the top
    v.m_printOptions[kPrintVector] = 1;

    testutil::TempDir dir;
    const std::string pdfPath = dir.File("print.pdf");
    PdfDocument pdf;
    ASSERT_TRUE(pdf.Create(pdfPath, 794, 1123, 96));
    PrintJob job;
    CDC* dc = pdf.StartPage();
    CString refusal;
    ASSERT_TRUE(v.OnBeginPrinting(dc, job, &refusal));
    const PrintGeometry g = job.geometry;
    const PagedRows rows = PaginateRows(v.PrintRowHeights(), RowPager(g.slice, v.GetBottomBand()));
    ASSERT_EQ(rows.tops.size(), 5u);
    ASSERT_EQ(rows.pages, 2);
    const std::vector<int> printed = v.PrintRowHeights();  // the rows' heights on paper
    EXPECT_EQ(v.m_pages, (std::vector<int>{1, 1, 4}));
    DiagramPages host;
    for (int page = 1; page <= v.GetPrintPageCount(); ++page) {
        if (page > 1) dc = pdf.StartPage();
        v.OnPrint(dc, page, job, &host);
        pdf.EndPage();
    }
    v.OnPrint(pdf.StartPage(), 4, job, &host);  // beyond the list: a blank page
    pdf.EndPage();
    v.OnEndPrinting();
    ASSERT_TRUE(pdf.Close());
    EXPECT_EQ(host.printed, (std::vector<int>{4}));

    const auto ppm = testutil::Run({"/usr/bin/pdftoppm", "-r", "96", "-png", pdfPath, dir.File("page")});
    ASSERT_EQ(ppm.exitCode, 0) << ppm.err;
    std::vector<CBitmap> pages(4);
    for (int p = 0; p < 4; ++p) ASSERT_TRUE(pages[size_t(p)].LoadPngFile(dir.File("page-" + std::to_string(p + 1) + ".png")));
    ASSERT_EQ(pages[0].GetSize(), CSize(794, 1123));

    // The rows: visible channels in order, each on its page, at its place, with its caption.
    const int W = v.m_leftWidth;
    int row = 0;
    for (int k = 0; k < 6; ++k) {
        if (k == 3) continue;
        SCOPED_TRACE(names[k]);
        const int64_t top = rows.tops[size_t(row)];
        const int h = printed[size_t(row)];
        const int page = int(top / g.slice);
        const int y0 = g.picture.top + int(top - page * g.slice), y1 = y0 + h;
        CBitmap& img = pages[size_t(page)];
        EXPECT_GT(CountColor(img, g.picture.left + W + 5, g.picture.right - 5, y0, y1, kColors[k]), 100);
        EXPECT_GT(CountColor(img, g.picture.left, g.picture.left + W, y0, y1, kColors[k]), 20);
        // nowhere else: not above or below its row, not on the other page
        EXPECT_EQ(CountColor(img, g.picture.left, g.picture.right, g.picture.top, y0 - 2, kColors[k]), 0);
        EXPECT_EQ(CountColor(img, g.picture.left, g.picture.right, y1 + 2, g.picture.bottom, kColors[k]), 0);
        CBitmap& other = pages[size_t(1 - page)];
        EXPECT_EQ(CountColor(other, g.picture.left, g.picture.right, g.picture.top, g.picture.bottom, kColors[k]), 0);
        ++row;
    }
    EXPECT_EQ(CountColor(pages[0], 0, 794, 0, 1123, kColors[3]) + CountColor(pages[1], 0, 794, 0, 1123, kColors[3]), 0);

    // Each oscillogram page ends with its time axis: ticks all along it from the caption
    // column, at least one in every 100 pixels, in the band at the picture's bottom.
    for (int p = 0; p < 2; ++p) {
        const int axisTop = g.picture.top + int(g.slice) - 30;
        int stretches = 0, ticked = 0;
        for (int x = g.picture.left + W + 1; x + 100 < g.picture.right - 2; x += 100, ++stretches)
            ticked += CountColor(pages[size_t(p)], x, x + 100, axisTop + 2, axisTop + 5, RGB(0, 0, 0)) > 0;
        EXPECT_GT(stretches, 2);
        EXPECT_EQ(ticked, stretches) << "page " << p + 1;
    }
    // The diagram page holds the diagram in the picture's place; the page past the list is blank.
    EXPECT_GT(CountColor(pages[2], g.picture.left + 2, g.picture.right - 2, g.picture.top + 2, g.picture.bottom - 2, RGB(40, 0, 0)),
              g.picture.Width() * g.picture.Height() * 9 / 10);
    EXPECT_EQ(CountColor(pages[3], 0, 794, 0, 1123, RGB(255, 255, 255)), 794 * 1123);

    // Header and footer on every printed page, with the page number.
    for (int p = 1; p <= 3; ++p) {
        const auto text = testutil::Run({"/usr/bin/pdftotext", "-f", std::to_string(p), "-l", std::to_string(p), pdfPath, "-"});
        ASSERT_EQ(text.exitCode, 0);
        EXPECT_NE(text.out.find(platform::WideToUtf8(LoadResString(IDS_PRINT_RECORD_NAME).Trim().view())), std::string::npos);
        EXPECT_NE(text.out.find(platform::WideToUtf8(LoadResString(IDS_PRINT_FOOTER).view())), std::string::npos);
        EXPECT_NE(text.out.find("\n" + std::to_string(p) + "\n"), std::string::npos) << text.out;
    }
}

// A preview draws one page at a time, ending the printout after each, and draws a page again
// when the user turns back or zooms: every drawing of a page holds its curves, the same as
// the first.
TEST(Printing, APreviewDrawsEveryPageAsOftenAsItIsAsked) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 400);
    std::vector<CChannel> chans;
    const char* names[] = {"UA", "UB", "UC", "IA", "IB", "IC"};
    for (int k = 0; k < 6; ++k) {
        std::vector<double> s(400);
        for (size_t i = 0; i < s.size(); ++i) s[i] = std::sin(double(i) * 0.05 + k);
        chans.push_back(Analog(rig.doc, names[k], s));
    }
    AddChannels(rig.doc, std::move(chans));
    auto& chs = rig.doc.GetOscillogram().m_channels;
    for (int k = 0; k < 6; ++k) chs[size_t(k)].m_customColorSet = true, chs[size_t(k)].m_customColor = kColors[k];
    rig.Open(644, 300);
    auto& v = *rig.view;
    v.SetAnalogSize(260);

    testutil::TempDir dir;
    const std::string pdfPath = dir.File("preview.pdf");
    PdfDocument pdf;
    ASSERT_TRUE(pdf.Create(pdfPath, 794, 1123, 96));
    PrintSession session(v, true);
    CDC* dc = pdf.StartPage();
    ASSERT_TRUE(session.Prepare(dc, PrintMargins{}, 96));
    ASSERT_EQ(session.PageCount(), 2);
    const PrintGeometry g = session.Job().geometry;
    const int order[] = {1, 2, 1, 1, 2};  // first look, next page, back, zoom, forward again
    for (size_t k = 0; k < std::size(order); ++k) {
        if (k > 0) dc = pdf.StartPage();
        EXPECT_TRUE(session.PrintPage(dc, order[k], nullptr));
        pdf.EndPage();
        session.End();
        EXPECT_EQ(v.m_printWidth, 0);  // the window keeps its own layout between the pages
    }
    ASSERT_TRUE(pdf.Close());

    const auto ppm = testutil::Run({"/usr/bin/pdftoppm", "-r", "96", "-png", pdfPath, dir.File("page")});
    ASSERT_EQ(ppm.exitCode, 0) << ppm.err;
    std::vector<CBitmap> images(std::size(order));
    for (size_t k = 0; k < images.size(); ++k)
        ASSERT_TRUE(images[k].LoadPngFile(dir.File("page-" + std::to_string(k + 1) + ".png")));
    auto curves = [&](CBitmap& b) {
        int n = 0;
        for (const COLORREF c : kColors)
            n += CountColor(b, g.picture.left + v.m_leftWidth + 5, g.picture.right - 5, g.picture.top, g.picture.bottom, c);
        return n;
    };
    for (size_t k = 0; k < images.size(); ++k)
        EXPECT_GT(curves(images[k]), 300) << "drawing " << k + 1 << " of page " << order[k];
    // A page drawn again is the page drawn first, pixel for pixel.
    auto differing = [](CBitmap& a, CBitmap& b) {
        int n = 0;
        for (int y = 0; y < 1123; ++y)
            for (int x = 0; x < 794; ++x) n += a.GetPixel(x, y) != b.GetPixel(x, y);
        return n;
    };
    EXPECT_EQ(differing(images[0], images[2]), 0);
    EXPECT_EQ(differing(images[0], images[3]), 0);
    EXPECT_EQ(differing(images[1], images[4]), 0);
    EXPECT_GT(differing(images[0], images[1]), 0);
}

TEST(Printing, NothingToPrintIsRefusedWithItsReason) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 10);
    AddChannels(rig.doc, {Analog(rig.doc, "A", std::vector<double>(10, 1.0))});
    rig.Open(0, 300);
    PdfDocument pdf;
    testutil::TempDir dir;
    ASSERT_TRUE(pdf.Create(dir.File("x.pdf"), 794, 1123, 96));
    PrintJob job;
    CString refusal;
    EXPECT_FALSE(rig.view->OnBeginPrinting(pdf.StartPage(), job, &refusal));
    EXPECT_EQ(refusal, LoadResString(IDS_PRINT_NO_WIDTH));
    EXPECT_EQ(rig.view->GetPrintPageCount(), 0);
}

// The clipboard's picture is what the window shows, scroll position included.
TEST(Printing, PictureIsWhatTheViewShows) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 200);
    std::vector<CChannel> chans;
    for (int k = 0; k < 4; ++k) chans.push_back(Analog(rig.doc, k % 2 ? "B" : "A", std::vector<double>(200, double(k))));
    AddChannels(rig.doc, std::move(chans));
    rig.Open(500, 200);
    rig.view->OnVScroll(kThumbTrack, 150);
    CBitmap& shown = rig.Render();
    const std::vector<uint8_t> png = rig.view->RenderPicturePng(500, 200);
    CBitmap picture;
    ASSERT_TRUE(picture.LoadPngData(png.data(), png.size()));
    ASSERT_EQ(picture.GetSize(), CSize(500, 200));
    int differ = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 500; ++x) differ += picture.GetPixel(x, y) != shown.GetPixel(x, y);
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(rig.view->RenderPicturePng(0, 200).empty());
}

// Comments print with the curves: each where its rows are printed, a level on a channel that
// the pagination moves to the second page on that page with its text, an area and a moment
// on the first.
TEST(Printing, CommentsPrintWhereTheirRowsArePrinted) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 400);
    std::vector<CChannel> chans;
    const char* names[] = {"UA", "UB", "UC", "IA", "IB", "IC"};
    for (int k = 0; k < 6; ++k) {
        std::vector<double> s(400);
        for (size_t i = 0; i < s.size(); ++i) s[i] = std::sin(double(i) * 0.05 + k);
        chans.push_back(Analog(rig.doc, names[k], s));
    }
    AddChannels(rig.doc, std::move(chans));
    auto& chs = rig.doc.GetOscillogram().m_channels;
    for (auto& ch : chs) {
        ch.m_customColorSet = true;
        ch.m_customColor = RGB(0, 0, 220);
        ch.m_flags &= ~(CHF_SHOW_RMS | CHF_SHOW_HARMONIC);
    }
    rig.doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 0.05);  // 1.25 pixels a sample
    rig.Open(644, 300);
    auto& v = *rig.view;
    v.SetAnalogSize(260);
    v.m_yOffset = -120;

    CommentList& comments = rig.doc.m_comments;
    auto* area = static_cast<AreaItem*>(comments.Add(std::make_unique<AreaItem>(CString(L"UA"), 10)));
    area->m_positionTo = 40;
    area->m_text = L"Пуск";
    auto* level = static_cast<LevelItem*>(comments.Add(std::make_unique<LevelItem>(CString(L"IC"), 60, 0.25)));
    level->m_positionTo = 300;
    level->m_text = L"Уставка";
    ASSERT_GT(level->GetLevelFraction(rig.doc), 0.0);
    comments.Add(std::make_unique<MomentItem>(350, CString(L"Отключение")));

    testutil::TempDir dir;
    const std::string pdfPath = dir.File("comments.pdf");
    PdfDocument pdf;
    ASSERT_TRUE(pdf.Create(pdfPath, 794, 1123, 96));
    PrintJob job;
    CDC* dc = pdf.StartPage();
    CString refusal;
    ASSERT_TRUE(v.OnBeginPrinting(dc, job, &refusal));
    const PrintGeometry g = job.geometry;
    ASSERT_EQ(g.picture.Width(), v.m_clientWidth);  // one page pixel for one view pixel
    const std::vector<int> printed = v.PrintRowHeights();  // the rows' heights on paper
    const PagedRows rows = PaginateRows(printed, RowPager(g.slice, v.GetBottomBand()));
    ASSERT_EQ(rows.tops.size(), 6u);
    const int64_t icTop = rows.tops[5];
    ASSERT_EQ(icTop / g.slice, 1) << "IC must be printed on the second page";
    // Unpaginated, IC's row would lie higher: the page break moved it down.
    int64_t unpaged = 0;
    for (int k = 0; k < 5; ++k) unpaged += printed[size_t(k)];
    ASSERT_GT(icTop - unpaged, 20);
    for (int page = 1; page <= v.GetPrintPageCount(); ++page) {
        if (page > 1) dc = pdf.StartPage();
        v.OnPrint(dc, page, job, nullptr);
        pdf.EndPage();
    }
    v.OnEndPrinting();
    ASSERT_TRUE(pdf.Close());
    ASSERT_EQ(v.GetPrintPageCount(), 2);
    const auto ppm = testutil::Run({"/usr/bin/pdftoppm", "-r", "96", "-png", pdfPath, dir.File("page")});
    ASSERT_EQ(ppm.exitCode, 0) << ppm.err;
    CBitmap pages[2];
    for (int p = 0; p < 2; ++p) ASSERT_TRUE(pages[p].LoadPngFile(dir.File("page-" + std::to_string(p + 1) + ".png")));

    const int W = v.m_leftWidth, L = g.picture.left, T = g.picture.top;
    auto X = [&](int64_t s) { return L + CommentSampleX(s, W, v.m_firstSample, v.m_xScale); };
    const COLORREF marker = RGB(255, 100, 100);
    // The level line on page 2, across IC's printed row, with its text under it; nothing of
    // it where IC's row would be without the page break, nor on page 1.
    const int icH = printed[5];
    const int line = LevelLineY(ChannelRow{0, icH}, level->GetLevelFraction(rig.doc));
    const int yl = T + int(icTop - g.slice) + line, wrong = T + int(unpaged - g.slice) + line;
    EXPECT_GT(CountColor(pages[1], X(60) + 10, X(300) - 10, yl - 2, yl + 3, marker), (X(300) - X(60) - 20) * 2);
    EXPECT_GT(CountColor(pages[1], X(60) + 5, X(300) - 5, yl + 5, yl + 21, RGB(128, 0, 0)), 10);
    EXPECT_EQ(CountColor(pages[1], X(60) + 10, X(300) - 10, wrong - 3, wrong + 4, marker), 0);
    EXPECT_EQ(CountColor(pages[0], X(60) + 10, X(300) - 10, T, g.picture.bottom, marker), 0);
    // The area on UA's row of page 1, filled with the blended red and framed.
    const int uaH = printed[0];
    EXPECT_GT(CountColor(pages[0], X(10) + 4, X(40) - 4, T + 4, T + uaH - 4, RGB(255, 191, 191)), (X(40) - X(10)) * 10);
    EXPECT_GT(CountColor(pages[0], X(10) - 2, X(10) + 3, T + 4, T + uaH - 4, marker), uaH);
    // The moment's line and icon at its x on page 1.
    EXPECT_GT(CountColor(pages[0], X(350) - 1, X(350) + 2, T + 25, T + 200, marker), 150);
    // It stops above the time axis at the foot of each page.
    const int foot = T + int(g.slice), band = v.GetBottomBand();
    EXPECT_GT(CountColor(pages[0], X(350) - 1, X(350) + 2, foot - band - 10, foot - band, marker), 5);
    EXPECT_EQ(CountColor(pages[0], X(350) - 1, X(350) + 2, foot - band + 2, foot - 2, marker), 0);
    EXPECT_GT(CountColor(pages[1], X(350) - 1, X(350) + 2, T + 2, T + 200, marker), 150);
    EXPECT_EQ(CountColor(pages[1], X(350) - 1, X(350) + 2, foot - band + 2, foot - 2, marker), 0);
    EXPECT_GT(CountColor(pages[0], X(350) - 10, X(350) + 15, T, T + 20, RGB(255, 255, 225)), 20);
    // The level's text is on page 2 only.
    for (int p = 1; p <= 2; ++p) {
        const auto text = testutil::Run({"/usr/bin/pdftotext", "-f", std::to_string(p), "-l", std::to_string(p), pdfPath, "-"});
        ASSERT_EQ(text.exitCode, 0);
        EXPECT_EQ(text.out.find("Уставка") != std::string::npos, p == 2) << text.out;
    }
}

// A wide window printed on a portrait A4 page: the rows fill the page down to the time axis,
// and the captions print as large as they are read on the screen, at the screen's resolution
// and at a printer's.
TEST(Printing, RowsFillThePageAndCaptionsPrintAsLargeAsOnTheScreen) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 2000);
    std::vector<CChannel> chans;
    const char* names[] = {"UA", "UB", "UC", "IA"};
    for (int k = 0; k < 4; ++k) {
        std::vector<double> s(2000);
        for (size_t i = 0; i < s.size(); ++i) s[i] = std::sin(double(i) * 0.05 + k);
        chans.push_back(Analog(rig.doc, names[k], s));
    }
    AddChannels(rig.doc, std::move(chans));
    auto& chs = rig.doc.GetOscillogram().m_channels;
    for (int k = 0; k < 4; ++k) chs[size_t(k)].m_customColorSet = true, chs[size_t(k)].m_customColor = kColors[k];
    rig.Open(1800, 500);
    auto& v = *rig.view;
    // The height of the first channel's name in its colour, in the caption column of a picture
    // whose first row starts at `top`.
    auto nameHeight = [&](CBitmap& b, int left, int top) {
        int first = -1, last = -1;
        for (int y = top; y < top + 40; ++y)
            if (CountColor(b, left + 2, left + v.m_leftWidth - 2, y, y + 1, kColors[0]) > 0) {
                if (first < 0) first = y;
                last = y;
            }
        return first < 0 ? 0 : last - first + 1;
    };
    const int onScreen = nameHeight(rig.Render(), 0, 0);
    ASSERT_GE(onScreen, 7);
    const double screenFirst = double(v.m_firstSample), screenLast = double(v.m_firstSample + v.m_visibleSpan);
    for (int dpi : {96, 300}) {
        SCOPED_TRACE(dpi);
        testutil::TempDir dir;
        const std::string pdfPath = dir.File("wide.pdf");
        PdfDocument pdf;
        ASSERT_TRUE(pdf.Create(pdfPath, 794 * dpi / 96, 1123 * dpi / 96, dpi));
        PrintJob job;
        CDC* dc = pdf.StartPage();
        CString refusal;
        ASSERT_TRUE(v.OnBeginPrinting(dc, job, &refusal));
        const PrintGeometry g = job.geometry;
        ASSERT_EQ(v.GetPrintPageCount(), 1);
        // The page shows at least the time the window shows.
        EXPECT_LE(double(v.m_printWidth - v.m_leftWidth) / (25 * v.m_printXScale), 1.0 + (screenLast - screenFirst) * 1.2);
        EXPECT_GE(double(v.m_printWidth - v.m_leftWidth) / (25 * v.m_printXScale), 0.9 * (screenLast - screenFirst));
        v.OnPrint(dc, 1, job, nullptr);
        pdf.EndPage();
        const int band = v.GetBottomBand();
        v.OnEndPrinting();
        ASSERT_TRUE(pdf.Close());
        const auto ppm = testutil::Run({"/usr/bin/pdftoppm", "-r", "96", "-png", pdfPath, dir.File("page")});
        ASSERT_EQ(ppm.exitCode, 0) << ppm.err;
        CBitmap page;
        ASSERT_TRUE(page.LoadPngFile(dir.File("page-1.png")));
        // Page pixels to the image's (96 per inch), where one view pixel is one image pixel.
        const double k = 96.0 / dpi;
        const int L = int(g.picture.left * k), T = int(g.picture.top * k), R = int(g.picture.right * k);
        const int axisTop = int(g.picture.bottom * k) - band;
        // The last row's bottom line lies just above the axis band: no blank gap between.
        int lineAt = -1;
        for (int y = axisTop - 12; y <= axisTop + 1; ++y)
            if (CountColor(page, L + 2, R - 2, y, y + 1, RGB(200, 200, 200)) > (R - L) / 3) lineAt = y;
        EXPECT_GE(lineAt, axisTop - 8);
        // Every channel's curve on the page, the last one down near the axis.
        for (int c = 0; c < 4; ++c) EXPECT_GT(CountColor(page, L + v.m_leftWidth + 5, R - 2, T, axisTop, kColors[c]), 100) << c;
        EXPECT_GT(CountColor(page, L + v.m_leftWidth + 5, R - 2, axisTop - 40, axisTop, kColors[3]), 10);
        // The name prints as tall as on the screen.
        EXPECT_GE(nameHeight(page, L, T), onScreen - 1);
    }
}
