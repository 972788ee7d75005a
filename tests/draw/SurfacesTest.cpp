#include <cairo.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>

#include "Canvas.h"
#include "TestUtil.h"
#include "platform/draw/GdiPlus.h"
#include "platform/draw/ImageList.h"
#include "platform/draw/Surfaces.h"

using namespace drawtest;

namespace {

// Text, a filled rectangle and a line: what a printed page holds.
void DrawPage(CDC* dc, int page) {
    CBrush red(kRed);
    CPen black(PS_SOLID, 0, kBlack);
    dc->SelectObject(&red);
    dc->SelectObject(&black);
    dc->Rectangle(100, 100, 300, 200);
    CFont font;
    font.Create(L"Arial", -40);
    dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(100, 300, CString(page == 1 ? L"Страница 1" : L"Page 2"));
}

// Full path of a program found on PATH (the test runner starts programs by path).
std::string Which(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (std::filesystem::exists(candidate)) return candidate;
        start = end + 1;
    }
    return name;
}

}  // namespace

TEST(Surfaces, PdfPagesAtPrinterResolutionOpenInAnotherReader) {
    testutil::TempDir dir;
    const std::string pdf = dir.File("out.pdf");
    PdfDocument doc;
    ASSERT_TRUE(doc.Create(pdf, 1200, 900, 300));  // 4 x 3 inches at 300 dpi
    for (int page = 1; page <= 2; ++page) {
        CDC* dc = doc.StartPage();
        ASSERT_NE(dc, nullptr);
        EXPECT_TRUE(dc->IsPrinting());
        EXPECT_EQ(dc->GetDeviceCaps(LOGPIXELSY), 300);
        EXPECT_EQ(dc->GetDeviceCaps(HORZRES), 1200);
        EXPECT_EQ(dc->GetDeviceCaps(HORZSIZE), 102);  // millimetres
        DrawPage(dc, page);
        ASSERT_TRUE(doc.EndPage());
    }
    ASSERT_TRUE(doc.Close());
    EXPECT_EQ(doc.PageCount(), 2);

    const auto r = testutil::Run({Which("pdftoppm"), "-r", "300", "-png", pdf, dir.File("p")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* name : {"p-1.png", "p-2.png"}) {
        CBitmap page;
        ASSERT_TRUE(page.LoadPngFile(dir.File(name))) << name;
        EXPECT_EQ(page.GetSize(), CSize(1200, 900));
        EXPECT_EQ(page.GetPixel(200, 150), kRed);
        EXPECT_TRUE(Near(page.GetPixel(100, 150), kBlack, 60));
        EXPECT_EQ(page.GetPixel(50, 50), kWhite);
        // Some dark text pixels below the rectangle.
        int dark = 0;
        for (int y = 300; y < 360; ++y)
            for (int x = 100; x < 400; ++x) dark += GetRValue(page.GetPixel(x, y)) < 100;
        EXPECT_GT(dark, 100) << name;
    }
}

TEST(Surfaces, SvgPictureIsWellFormedXml) {
    testutil::TempDir dir;
    const std::string path = dir.File("pic.svg");
    {
        SvgPicture svg;
        ASSERT_TRUE(svg.Create(path, 400, 300));
        DrawPage(svg.GetDC(), 1);
        // A raster copied in, as a picture of an off-screen bitmap.
        Canvas c(50, 50, kBlue);
        svg.GetDC()->BitBlt(300, 10, 50, 50, &c.dc, 0, 0, SRCCOPY);
        ASSERT_TRUE(svg.Close());
    }
    pugi::xml_document doc;
    const auto res = doc.load_file(path.c_str());
    ASSERT_TRUE(res) << res.description();
    const auto root = doc.child("svg");
    ASSERT_TRUE(root);
    EXPECT_STREQ(root.attribute("width").value(), "400px");
    EXPECT_STREQ(root.attribute("height").value(), "300px");
    EXPECT_TRUE(doc.select_node("//*[local-name()='image']"));
    EXPECT_TRUE(doc.select_node("//*[local-name()='path']"));

    SvgPicture mem;
    ASSERT_TRUE(mem.Create("", 100, 100));
    mem.GetDC()->FillSolidRect(0, 0, 10, 10, kRed);
    ASSERT_TRUE(mem.Close());
    pugi::xml_document doc2;
    ASSERT_TRUE(doc2.load_string(mem.Data().c_str()));
    EXPECT_TRUE(doc2.child("svg"));
}

TEST(Surfaces, TextMeasuresTheSameOnImagePdfAndSvg) {
    testutil::TempDir dir;
    Canvas image(10, 10);
    PdfDocument pdf;
    ASSERT_TRUE(pdf.Create(dir.File("m.pdf"), 600, 600, 600));
    CDC* page = pdf.StartPage();
    SvgPicture svg;
    ASSERT_TRUE(svg.Create("", 100, 100));
    CDC* dcs[] = {&image.dc, page, svg.GetDC()};
    struct FontCase {
        const wchar_t* face;
        int height;
        int weight;
    } fonts[] = {{L"Tahoma", 15, FW_BOLD}, {L"Tahoma", 13, FW_NORMAL}, {L"Arial", -62, FW_NORMAL},
                 {L"MS Sans Serif", -11, FW_HEAVY}};
    const wchar_t* texts[] = {L"Ay", L"-0.0000000", L": -0.0000000E-000 ", L"Отчет сформирован программой", L"U max"};
    for (const auto& f : fonts) {
        CFont font;
        font.Create(f.face, f.height, f.weight);
        CSize first;
        for (size_t i = 0; i < 3; ++i) {
            dcs[i]->SelectObject(&font);
            for (const wchar_t* t : texts) {
                const CSize s = dcs[i]->GetTextExtent(CString(t));
                EXPECT_GT(s.cx, 0);
                if (t == texts[0] && i == 0) first = s;
                if (i > 0) {
                    dcs[0]->SelectObject(&font);
                    EXPECT_EQ(s, dcs[0]->GetTextExtent(CString(t))) << f.face << " " << i;
                }
            }
        }
        // A positive height is the cell: "Ay" is that high.
        if (f.height > 0) {
            EXPECT_EQ(first.cy, f.height) << f.face;
        }
    }
    // The same for the graphics object's measuring.
    Gdiplus::Font gf(L"Arial", 2.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitWorld);
    Gdiplus::RectF a, b;
    Gdiplus::Graphics ga(&image.dc), gb(page);
    ga.SetPageScale(8);
    gb.SetPageScale(8);
    ga.MeasureString(L"Функция", -1, &gf, Gdiplus::PointF(0, 0), &a);
    gb.MeasureString(L"Функция", -1, &gf, Gdiplus::PointF(0, 0), &b);
    EXPECT_FLOAT_EQ(a.Width, b.Width);
    EXPECT_FLOAT_EQ(a.Height, b.Height);
    pdf.EndPage();
    EXPECT_TRUE(pdf.Close());
}

TEST(Surfaces, DrawingOnAWindowsCairoContextLeavesItsStateAlone) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 50, 50);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_translate(cr, 10, 10);  // the window side's own offset
    cairo_rectangle(cr, 0, 0, 20, 20);
    cairo_clip(cr);
    cairo_matrix_t before;
    cairo_get_matrix(cr, &before);
    {
        CDC dc;
        ASSERT_TRUE(dc.Attach(cr, 20, 20));
        CRgn clip;
        clip.CreateRectRgn(0, 0, 10, 20);
        dc.SelectClipRgn(&clip);
        dc.FillSolidRect(0, 0, 40, 40, kRed);
        EXPECT_EQ(dc.GetPixel(1, 1), CLR_INVALID);  // not an off-screen picture
        dc.Detach();
    }
    cairo_matrix_t after;
    cairo_get_matrix(cr, &after);
    EXPECT_EQ(after.x0, before.x0);
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    EXPECT_EQ(x2 - x1, 20);  // the window's clip is back, ours is gone
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    CBitmap b;
    b.Adopt(surface);
    EXPECT_EQ(b.GetPixel(15, 15), kRed);
    EXPECT_EQ(b.GetPixel(25, 15), kWhite);  // outside our clip
    EXPECT_EQ(b.GetPixel(5, 5), kWhite);    // outside the window's
}

TEST(Surfaces, ImageListDrawsItsIconsWithTheMaskColourLeftOut) {
    // A strip of two 4 x 4 icons: the first red, the second blue with a magenta corner.
    Canvas strip(8, 4, kRed);
    strip.dc.FillSolidRect(4, 0, 4, 4, kBlue);
    strip.dc.SetPixel(4, 0, RGB(255, 0, 255));
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, 0, 2, 0));
    EXPECT_EQ(list.Add(&strip.bitmap, RGB(255, 0, 255)), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_EQ(list.GetIconSize(), CSize(4, 4));
    Canvas c(20, 20, kWhite);
    ASSERT_TRUE(list.Draw(&c.dc, 1, CPoint(10, 10), ILD_NORMAL));
    EXPECT_EQ(c.At(10, 10), kWhite);  // the mask colour shows the background
    EXPECT_EQ(c.At(11, 10), kBlue);
    EXPECT_EQ(c.At(13, 13), kBlue);
    EXPECT_EQ(c.At(14, 14), kWhite);
    EXPECT_FALSE(list.Draw(&c.dc, 2, CPoint(0, 0)));
    ASSERT_TRUE(list.Draw(&c.dc, 0, CPoint(0, 0)));
    EXPECT_EQ(c.At(0, 0), kRed);
}
