#include "halvex/mimic/MimicText.h"

#include <algorithm>
#include <memory>

using namespace Gdiplus;

namespace {

thread_local MimicTextWatch* g_watch = nullptr;

Graphics& MeasureGraphics() {
    static Bitmap picture(1, 1);
    static Graphics g(&picture);
    return g;
}

// The device box of a world box under the graphics' transform and page scale.
RectF DeviceBox(const Graphics& g, const RectF& box) {
    Matrix m;
    g.GetTransform(&m);
    PointF corners[4] = {PointF(box.X, box.Y), PointF(box.GetRight(), box.Y), PointF(box.X, box.GetBottom()),
                         PointF(box.GetRight(), box.GetBottom())};
    m.TransformPoints(corners, 4);
    const float s = g.GetPageScale();
    float l = corners[0].X, t = corners[0].Y, r = l, b = t;
    for (const PointF& p : corners) {
        l = std::min(l, p.X);
        t = std::min(t, p.Y);
        r = std::max(r, p.X);
        b = std::max(b, p.Y);
    }
    return RectF(l * s, t * s, (r - l) * s, (b - t) * s);
}

void Record(const Graphics& g, const CString& text, Color color, const RectF& box) {
    if (!g_watch) return;
    g_watch->texts.push_back(MIMIC_DRAWN_TEXT{text, color.GetValue(), DeviceBox(g, box)});
}

}  // namespace

MimicTextWatch::MimicTextWatch() : m_previous(g_watch) { g_watch = this; }
MimicTextWatch::~MimicTextWatch() { g_watch = m_previous; }

Arm_Font MimicDefaultFont(bool bold) {
    Arm_Font f;
    f.m_sFaceName = L"Arial";
    f.m_fSize = 14.0f;
    f.m_bBold = bold;
    return f;
}

SizeF MimicMeasureText(const Arm_Font& font, const CString& text) {
    const FontFamily family(font.m_sFaceName);
    Font f(family.IsAvailable() ? &family : FontFamily::GenericSansSerif(), font.m_fSize, font.GetStyle(), UnitWorld);
    RectF r;
    MeasureGraphics().MeasureString(text, -1, &f, PointF(0, 0), &r);
    return SizeF(r.Width, r.Height);
}

void MimicDrawText(Graphics& g, const CString& text, const Arm_Font& font, const RectF& box, int hAlign, int vAlign,
                   Color color) {
    Sch_Text t;
    static_cast<Arm_Font&>(t) = font;
    t.m_sText = text;
    t.m_color = color;
    t.m_fX = box.X;
    t.m_fY = box.Y;
    // A layout box of no width would make the primitive write at a point instead.
    t.m_fLayoutWidth = std::max(box.Width, 0.002f);
    t.m_fLayoutHeight = std::max(box.Height, 0.002f);
    t.m_nHAlign = hAlign;
    t.m_nVAlign = vAlign;
    Record(g, text, color, box);
    t.Draw(g, eDrawNormal, nullptr, nullptr);
}

void MimicDrawText(Graphics& g, Sch_Text& text, EDrawType kind) {
    Record(g, text.m_sText, text.GetCurrColor(kind), text.GetRectBoundText());
    text.Draw(g, kind, nullptr, nullptr);
}
