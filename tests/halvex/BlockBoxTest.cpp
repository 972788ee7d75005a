// The box of a user block laid out from a template: sizes from the measured names and header,
// rows and pins, and the pixels of the drawn box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "halvex/scheme/BlockBox.h"

using namespace Gdiplus;

namespace {

const wchar_t* const kFace = L"DejaVu Sans";

struct Picture {
    Bitmap bitmap;
    Graphics g;
    Picture(int w, int h, float scale) : bitmap(w, h), g(&bitmap) {
        g.Clear(Color(0xFFFFFFFF));
        g.SetPageUnit(UnitPixel);
        g.SetPageScale(scale);
    }
    ARGB At(int x, int y) const {
        Color c;
        bitmap.GetPixel(x, y, &c);
        return c.GetValue();
    }
    int DarkIn(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (At(x, y) != 0xFFFFFFFFu) ++n;
        return n;
    }
};

Sch_Object RectObject(const wchar_t* attrib, int penWidth) {
    Sch_Object o;
    o.m_nType = 1;
    o.m_rect.m_sAttribute = attrib;
    o.m_rect.m_nPenWidth = penWidth;
    return o;
}

Sch_Object TextObject(const wchar_t* attrib, float size, bool bold) {
    Sch_Object o;
    o.m_nType = 3;
    o.m_text.m_sAttribute = attrib;
    o.m_text.m_sFaceName = kFace;
    o.m_text.m_fSize = size;
    o.m_text.m_bBold = bold;
    o.m_text.m_fX = 0.5f;
    return o;
}

// A template like the host's: border, header frame and text, the names' look, and a mark of
// its own that stays as it is.
Scheme_Draw Template() {
    Scheme_Draw t;
    t.m_sName = L"block";
    t.m_vObjects.push_back(RectObject(L"BorderRect", 2));
    t.m_vObjects.push_back(TextObject(L"HeaderText", 2.5f, true));
    t.m_vObjects.push_back(RectObject(L"HeaderRect", 1));
    t.m_vObjects.push_back(TextObject(L"InOutText", 1.5f, false));
    Sch_Object mark;
    mark.m_nType = 6;
    mark.m_line.m_sAttribute = L"Mark";
    t.m_vObjects.push_back(mark);
    return t;
}

RectF Measure(Graphics& g, const CString& text, float size, int style) {
    const FontFamily family(kFace);
    const Font font(&family, size, style, UnitWorld);
    StringFormat format;
    RectF r;
    g.MeasureString(text, -1, &font, PointF(0, 0), &format, &r);
    return r;
}

float Height(Graphics& g, float size, int style) {
    const FontFamily family(kFace);
    const Font font(&family, size, style, UnitWorld);
    return font.GetHeight(&g);
}

void ExpectRect(const RectF& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.X, x, 1e-4);
    EXPECT_NEAR(r.Y, y, 1e-4);
    EXPECT_NEAR(r.Width, w, 1e-4);
    EXPECT_NEAR(r.Height, h, 1e-4);
}

}  // namespace

TEST(BlockBox, RowStepIsEvenAndAtLeastTwo) {
    const struct {
        float height;
        int step;
    } cases[] = {{2.4f, 4}, {1.2f, 2}, {3.0f, 4}, {2.0f, 2}, {4.0f, 4}, {4.01f, 6}, {0.0f, 2}, {-3.0f, 2}};
    for (const auto& c : cases) EXPECT_EQ(SchBlockRowStep(c.height), c.step) << c.height;
    EXPECT_EQ(SchBlockRowStep(std::nanf("")), 2);
    EXPECT_GT(SchBlockRowStep(1e30f), 2);
}

TEST(BlockBox, LayoutFollowsTheMeasuredNamesAndHeader) {
    Picture pic(10, 10, 1);
    const std::vector<CString> inputs{L"A", L"Long input"}, outputs{L"Q", L"R", L"S"};
    Scheme_Draw box;
    SchLayoutBlockBox(pic.g, Template(), L"Timer", inputs, outputs, box);

    const float wIn = Measure(pic.g, L"Long input", 1.5f, 0).Width;
    const float wOut = std::max({Measure(pic.g, L"Q", 1.5f, 0).Width, Measure(pic.g, L"R", 1.5f, 0).Width,
                                 Measure(pic.g, L"S", 1.5f, 0).Width});
    const RectF header = Measure(pic.g, L"Timer", 2.5f, FontStyleBold);
    const float w = std::ceil(std::max(wIn + wOut + 4, header.Width));
    const float fh = Height(pic.g, 1.5f, 0), hH = Height(pic.g, 2.5f, FontStyleBold);
    const int s = SchBlockRowStep(fh);
    ASSERT_GT(wIn, 0);

    EXPECT_EQ(box.m_sName, L"block");
    // Border, header text, header frame and the mark stay; the names' look leaves; five names.
    ASSERT_EQ(box.m_vObjects.size(), 4u + 5u);
    ExpectRect(box.m_vObjects[0].m_rect.m_rect, 0, 0, w, float(3 * s));
    const Sch_Text& head = box.m_vObjects[1].m_text;
    EXPECT_EQ(head.m_sText, L"Timer");
    EXPECT_NEAR(head.m_fLayoutWidth, w, 1e-4);
    EXPECT_NEAR(head.m_fY, -hH - 0.2f, 1e-4);
    EXPECT_NEAR(head.m_fX, 0.5f, 1e-6);  // as in the template
    ExpectRect(box.m_vObjects[2].m_rect.m_rect, (w - header.Width) * 0.5f, -hH - 0.2f, header.Width, header.Height);
    EXPECT_EQ(box.m_vObjects[3].GetAttrib(), L"Mark");

    const struct {
        const wchar_t* text;
        int row, align;
    } names[] = {{L"A", 0, 0}, {L"Long input", 1, 0}, {L"Q", 0, 2}, {L"R", 1, 2}, {L"S", 2, 2}};
    for (size_t i = 0; i < 5; ++i) {
        const Sch_Object& o = box.m_vObjects[4 + i];
        EXPECT_EQ(o.m_nType, 3);
        EXPECT_EQ(o.m_text.m_sText, names[i].text);
        EXPECT_EQ(o.m_text.m_nHAlign, names[i].align);
        EXPECT_EQ(o.m_text.m_fX, 0.0f);
        // Rows are two units apart, whatever the row height of the box.
        EXPECT_NEAR(o.m_text.m_fY, float(2 * names[i].row) + (float(s) - fh) * 0.5f, 1e-4);
        EXPECT_NEAR(o.m_text.m_fLayoutWidth, w, 1e-4);
        EXPECT_EQ(o.m_text.m_sFaceName, kFace);
        EXPECT_NEAR(o.m_text.m_fSize, 1.5f, 1e-6);
    }
    ASSERT_EQ(box.m_vPortIn.size(), 2u);
    ASSERT_EQ(box.m_vPortOut.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(box.m_vPortIn[i].m_fX, 0.0f);
        EXPECT_EQ(box.m_vPortIn[i].m_fY, float(2 * i + 1));
    }
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(box.m_vPortOut[i].m_fX, w);
        EXPECT_EQ(box.m_vPortOut[i].m_fY, float(2 * i + 1));
    }
}

TEST(BlockBox, WithoutNamesOrTemplateParts) {
    Picture pic(10, 10, 1);
    Scheme_Draw box;
    SchLayoutBlockBox(pic.g, Template(), L"", {}, {}, box);
    ExpectRect(box.m_vObjects[0].m_rect.m_rect, 0, 0, 4, 0);
    EXPECT_EQ(box.m_vObjects.size(), 4u);
    EXPECT_TRUE(box.m_vPortIn.empty());
    EXPECT_TRUE(box.m_vPortOut.empty());

    // A long header widens the box.
    const CString name = L"A rather long block name";
    SchLayoutBlockBox(pic.g, Template(), name, {}, {}, box);
    EXPECT_NEAR(box.m_vObjects[0].m_rect.m_rect.Width, std::ceil(Measure(pic.g, name, 2.5f, FontStyleBold).Width),
                1e-4);

    // A template with none of the named parts: the names take the default text look.
    Scheme_Draw bare;
    SchLayoutBlockBox(pic.g, bare, L"X", {L"in"}, {L"out"}, box);
    ASSERT_EQ(box.m_vObjects.size(), 2u);
    EXPECT_EQ(box.m_vObjects[0].m_text.m_sFaceName, L"Arial");
    EXPECT_EQ(box.m_vPortOut.size(), 1u);
}

TEST(BlockBox, RenderedBoxWithPins) {
    Picture measure(10, 10, 1);
    Scheme_Draw box;
    const std::vector<CString> inputs{L"In1", L"In2"}, outputs{L"Out1", L"Out2", L"Out3"};
    SchLayoutBlockBox(measure.g, Template(), L"Blk", inputs, outputs, box);
    const float w = box.m_vObjects[0].m_rect.m_rect.Width, h = box.m_vObjects[0].m_rect.m_rect.Height;

    // Ten device pixels per unit, the box two units in from the corner.
    const int pw = int((w + 4) * 10), ph = int((h + 8) * 10);
    Picture pic(pw, ph, 10);
    pic.g.TranslateTransform(2, 6);
    box.Draw(pic.g, eDrawNormal, nullptr, nullptr);
    auto dx = [](float x) { return int(std::lround((x + 2) * 10)); };
    auto dy = [](float y) { return int(std::lround((y + 6) * 10)); };

    // Input pins run one unit left of the border at y = 1 and 3; output pins right at 1, 3, 5.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(pic.At(dx(-0.5f), dy(float(2 * i + 1))), 0xFF000000u) << i;
        EXPECT_EQ(pic.At(dx(-0.5f), dy(float(2 * i + 2))), 0xFFFFFFFFu) << i;
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pic.At(dx(w + 0.5f), dy(float(2 * i + 1))), 0xFF000000u) << i;
    EXPECT_EQ(pic.At(dx(-0.5f), dy(5)), 0xFFFFFFFFu);  // no third input pin
    // The border: two device pixels on the left edge, below the pins.
    EXPECT_EQ(pic.At(dx(0) - 1, dy(h - 0.5f)), 0xFF000000u);
    EXPECT_EQ(pic.At(dx(0), dy(h - 0.5f)), 0xFF000000u);
    EXPECT_EQ(pic.At(dx(0) - 3, dy(h - 0.5f)), 0xFFFFFFFFu);
    EXPECT_EQ(pic.At(dx(w) - 1, dy(h - 0.5f)), 0xFF000000u);
    // Names: input names start at the left edge, output names end at the right edge.
    EXPECT_GT(pic.DarkIn(dx(0) + 2, dy(0), dx(w / 3), dy(2)), 10);
    EXPECT_GT(pic.DarkIn(dx(w * 2 / 3), dy(4), dx(w) - 2, dy(6)), 10);
    EXPECT_EQ(pic.DarkIn(dx(0) + 3, dy(4), dx(w / 3), dy(5.8f)), 0);  // no third input name
    // The header sits above the box.
    EXPECT_GT(pic.DarkIn(dx(0), dy(-4), dx(w), dy(-0.5f)), 10);
}
