#include "halvex/scheme/SchemeDecor.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "halvex/helpers/VersionInterface.h"

using namespace Gdiplus;

namespace {

constexpr float kEmptyExtent = 1.192092896e-07f;

bool IsEmptyExtent(const RectF& r) { return r.Width <= kEmptyExtent || r.Height <= kEmptyExtent; }

RectF Moved(const RectF& r, int x, int y) {
    if (IsEmptyExtent(r)) return r;
    return RectF(r.X + float(x), r.Y + float(y), r.Width, r.Height);
}

// Selection marks: the scheme's selection colour, only when selected or dragged.
bool Marked(EDrawType type) { return type == eDrawSelect || type == eDrawDrag; }

void FillCircle(Graphics& g, float x, float y, float radius) {
    SolidBrush brush(SCHEME_BUS::m_colorSelect);
    g.FillEllipse(&brush, x - radius, y - radius, 2 * radius, 2 * radius);
}

// The context a screen would give for measuring texts.
Graphics& ScreenGraphics() {
    static Bitmap picture(1, 1);
    static Graphics g(&picture);
    return g;
}

}  // namespace

// --- common ------------------------------------------------------------------------------------

void SCHEME_DECOR_ELEMENT::GetVectPortIn(ArmDataInterface*, std::vector<Sch_PortIn>& out) const { out.clear(); }

void SCHEME_DECOR_ELEMENT::GetVectPortOut(ArmDataInterface*, std::vector<Sch_PortOut>& out) const { out.clear(); }

// --- text --------------------------------------------------------------------------------------

SCHEME_TEXT_ELEMENT::SCHEME_TEXT_ELEMENT(bool codeStyle) : m_bCodeStyle(codeStyle), m_color(0xFF000000) {
    if (codeStyle) {
        m_font.m_sFaceName = L"Courier New";
        m_font.m_fSize = 20.0f;
        m_font.m_bBold = true;
        m_color = Color::MakeARGB(255, 100, 0, 100);
    }
}

void SCHEME_TEXT_ELEMENT::SetSchText(Sch_Text& text) const {
    text.m_color = Color(m_color);
    static_cast<Arm_Font&>(text) = m_font;
    text.m_sText = m_sText;
    text.m_nRotation = m_nOrientation;
    if (m_bCodeStyle) text.m_nTextRenderingHint = TextRenderingHintSingleBitPerPixelGridFit;
}

void SCHEME_TEXT_ELEMENT::Draw(ArmDataInterface*, Graphics& g, EDrawType type, Size offset) const {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(m_nX + offset.Width), float(m_nY + offset.Height));
    Sch_Text text;
    SetSchText(text);
    if (Marked(type)) {
        Pen pen(SCHEME_BUS::m_colorSelect, 2 / g.GetPageScale());
        g.DrawRectangle(&pen, text.GetRectBoundText());
    }
    text.Draw(g, type, nullptr, nullptr);
    g.Restore(state);
}

RectF SCHEME_TEXT_ELEMENT::GetBoundedRectF(ArmDataInterface*, float) const {
    Sch_Text text;
    SetSchText(text);
    return Moved(text.GetRectBoundText(), m_nX, m_nY);
}

SCHEME_BASE_ELEMENT* SCHEME_TEXT_ELEMENT::Clone() const { return new SCHEME_TEXT_ELEMENT(*this); }

void SCHEME_TEXT_ELEMENT::SetLogFontFromArmFont(const Arm_Font& font, LOGFONTW& lf) {
    lf = LOGFONTW();
    lf.lfHeight = -int(std::floor(double(font.m_fSize) * 8 + 0.5));
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    lf.lfWeight = font.m_bBold ? 700 : 400;
    lf.lfItalic = font.m_bItalic ? 1 : 0;
    lf.lfUnderline = font.m_bUnderline ? 1 : 0;
    lf.lfStrikeOut = font.m_bStrikeout ? 1 : 0;
    lf.lfCharSet = 1;
    const CString& face = font.m_sFaceName;
    const size_t n = std::min(size_t(face.GetLength()), size_t(LF_FACESIZE - 1));
    std::wmemcpy(lf.lfFaceName, face.GetString(), n);
    lf.lfFaceName[n] = 0;
}

void SCHEME_TEXT_ELEMENT::SetArmFontFromLogFont(const LOGFONTW& lf, Arm_Font& font) {
    const size_t n = std::find(lf.lfFaceName, lf.lfFaceName + LF_FACESIZE, L'\0') - lf.lfFaceName;
    font.m_sFaceName = CString(std::wstring(lf.lfFaceName, n).c_str());
    font.m_fSize = float(std::abs(double(lf.lfHeight)) * 0.125);
    font.m_bBold = lf.lfWeight >= 700;
    font.m_bItalic = lf.lfItalic != 0;
    font.m_bUnderline = lf.lfUnderline != 0;
    font.m_bStrikeout = lf.lfStrikeOut != 0;
}

// --- line --------------------------------------------------------------------------------------

void SCHEME_LINE_ELEMENT::Draw(ArmDataInterface*, Graphics& g, EDrawType type, Size offset) const {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(m_nX + offset.Width), float(m_nY + offset.Height));
    const float scale = g.GetPageScale();
    Pen pen(Color(m_color), VersionInterface::IsWine() ? 0.0f : float(m_nWidth) / scale);
    if (m_nDashStyle == 1) pen.SetDashStyle(DashStyleDash);
    else if (m_nDashStyle == 2) pen.SetDashStyle(DashStyleDot);
    g.DrawLine(&pen, float(m_nStartX), float(m_nStartY), float(m_nEndX), float(m_nEndY));
    if (Marked(type)) {
        FillCircle(g, float(m_nStartX), float(m_nStartY), 5 / scale);
        FillCircle(g, float(m_nEndX), float(m_nEndY), 5 / scale);
    }
    g.Restore(state);
}

RectF SCHEME_LINE_ELEMENT::GetBoundedRectF(ArmDataInterface*, float scale) const {
    const float m = float(m_nWidth + 1) / scale;
    return RectF(float(m_nX + std::min(m_nStartX, m_nEndX)) - m, float(m_nY + std::min(m_nStartY, m_nEndY)) - m,
                 float(std::abs(m_nStartX - m_nEndX)) + 2 * m, float(std::abs(m_nStartY - m_nEndY)) + 2 * m);
}

Region* SCHEME_LINE_ELEMENT::CreateBoundedRegion(ArmDataInterface*, float scale) const {
    const float h = std::max(float(m_nWidth) / scale, 0.3f) + std::max(1 / scale, 0.3f);
    const PointF a(float(m_nX + m_nStartX), float(m_nY + m_nStartY));
    const PointF b(float(m_nX + m_nEndX), float(m_nY + m_nEndY));
    const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    // A line of no length has no direction to widen along: the point gets a square as wide
    // as the band would be.
    if (length == 0) return new Region(RectF(a.X - h, a.Y - h, 2 * h, 2 * h));
    const float ux = float(dx / length) * h, uy = float(dy / length) * h;  // along, scaled by h
    const float nx = -uy, ny = ux;                                        // across, scaled by h
    const PointF corners[4] = {PointF(a.X - ux + nx, a.Y - uy + ny), PointF(b.X + ux + nx, b.Y + uy + ny),
                               PointF(b.X + ux - nx, b.Y + uy - ny), PointF(a.X - ux - nx, a.Y - uy - ny)};
    GraphicsPath path;
    path.AddPolygon(corners, 4);
    return new Region(&path);
}

SCHEME_BASE_ELEMENT* SCHEME_LINE_ELEMENT::Clone() const { return new SCHEME_LINE_ELEMENT(*this); }

bool SCHEME_LINE_ELEMENT::GetStartEndPointsHitTest(const PointF& point, float scale, bool& start) const {
    const float t = 1 / scale + std::max(5 / scale, float(m_nWidth + 1) / scale);
    auto near = [&](int x, int y) {
        return std::fabs(point.X - float(m_nX + x)) < t && std::fabs(point.Y - float(m_nY + y)) < t;
    };
    if (near(m_nStartX, m_nStartY)) {
        start = true;
        return true;
    }
    if (near(m_nEndX, m_nEndY)) {
        start = false;
        return true;
    }
    return false;
}

// --- rectangle ---------------------------------------------------------------------------------

void SCHEME_RECT_ELEMENT::SetSchRect(Sch_Rect& rect) const {
    rect.m_rect = RectF(0, 0, float(m_nWidth), float(m_nHeight));
    rect.m_color = Color(m_color);
    rect.m_nPenWidth = m_nLineWidth;
    rect.m_nDashStyle = m_nDashStyle;
}

void SCHEME_RECT_ELEMENT::Draw(ArmDataInterface*, Graphics& g, EDrawType type, Size offset) const {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(m_nX + offset.Width), float(m_nY + offset.Height));
    Sch_Rect rect;
    SetSchRect(rect);
    rect.Draw(g, type, nullptr, nullptr);
    if (Marked(type)) {
        const float r = 5 / g.GetPageScale(), w = float(m_nWidth), h = float(m_nHeight);
        FillCircle(g, 0, 0, r);
        FillCircle(g, w, 0, r);
        FillCircle(g, 0, h, r);
        FillCircle(g, w, h, r);
    }
    g.Restore(state);
}

RectF SCHEME_RECT_ELEMENT::GetBoundedRectF(ArmDataInterface*, float scale) const {
    return Moved(RectF(-1 / scale, -1 / scale, float(m_nWidth) + 2 / scale, float(m_nHeight) + 2 / scale), m_nX, m_nY);
}

float SCHEME_RECT_ELEMENT::HitTolerance(float scale) const {
    return 1 / scale + std::max(5 / scale, float(m_nLineWidth + 2) / scale);
}

Region* SCHEME_RECT_ELEMENT::CreateBoundedRegion(ArmDataInterface*, float scale) const {
    const float t = HitTolerance(scale), w = float(m_nWidth), h = float(m_nHeight);
    Region* region = new Region(RectF(-t, -t, w + 2 * t, 2 * t));
    region->Union(RectF(-t, h - t, w + 2 * t, 2 * t));
    region->Union(RectF(-t, -t, 2 * t, h + 2 * t));
    region->Union(RectF(w - t, -t, 2 * t, h + 2 * t));
    region->Translate(float(m_nX), float(m_nY));
    return region;
}

SCHEME_BASE_ELEMENT* SCHEME_RECT_ELEMENT::Clone() const { return new SCHEME_RECT_ELEMENT(*this); }

bool SCHEME_RECT_ELEMENT::GetCornerHitTest(const PointF& point, float scale, ERectElemCornerHitTest& corner) const {
    const float t = HitTolerance(scale);
    const struct {
        int x, y;
        ERectElemCornerHitTest corner;
    } corners[4] = {{m_nX, m_nY, eRectCornerTopLeft},
                    {m_nX + m_nWidth, m_nY, eRectCornerTopRight},
                    {m_nX, m_nY + m_nHeight, eRectCornerBottomLeft},
                    {m_nX + m_nWidth, m_nY + m_nHeight, eRectCornerBottomRight}};
    for (const auto& c : corners) {
        if (std::fabs(point.X - float(c.x)) < t && std::fabs(point.Y - float(c.y)) < t) {
            corner = c.corner;
            return true;
        }
    }
    return false;
}

// --- dynamic text ------------------------------------------------------------------------------

SCHEME_DYNAMIC_ELEMENT::SCHEME_DYNAMIC_ELEMENT() : SCHEME_TEXT_ELEMENT(false) {
    m_font.m_sFaceName = L"Courier New";
    m_font.m_fSize = 20.0f;
    m_font.m_bBold = true;
    m_color = 0xFF000000;
}

void SCHEME_DYNAMIC_ELEMENT::SetSchText(Sch_Text& text) const {
    text.m_color = Color(m_colorDisplay);
    static_cast<Arm_Font&>(text) = m_font;
    text.m_sText = m_sLastValue;
    text.m_nRotation = 0;
    text.m_nTextRenderingHint = TextRenderingHintSingleBitPerPixelGridFit;
}

void SCHEME_DYNAMIC_ELEMENT::Draw(ArmDataInterface*, Graphics& g, EDrawType type, Size offset) const {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(m_nX + offset.Width), float(m_nY + offset.Height));
    if (int(type) != 7) {
        Sch_Text text;
        SetSchText(text);
        text.Draw(g, type, nullptr, nullptr);
        if (Marked(type)) {
            Pen pen(SCHEME_BUS::m_colorSelect, 2 / g.GetPageScale());
            g.DrawRectangle(&pen, text.m_fX, text.m_fY, float(m_nBoxWidth), float(m_nBoxHeight));
        }
    }
    DrawAlias(g, type);
    g.Restore(state);
}

void SCHEME_DYNAMIC_ELEMENT::DrawAlias(Graphics& g, EDrawType type) const {
    Sch_Text text;
    SetAliasSchText(text, g.GetPageScale());
    text.Draw(g, type, nullptr, nullptr);
}

void SCHEME_DYNAMIC_ELEMENT::SetAliasSchText(Sch_Text& text, float scale) const {
    const RectF r = GetAliasBoundedRectF(scale);
    text.m_color = Color(m_colorDisplay);
    static_cast<Arm_Font&>(text) = m_font;
    text.m_sText = m_sAlias;
    text.m_fX = r.X;
    text.m_fY = r.Y;
    text.m_fLayoutWidth = r.Width;
    text.m_fLayoutHeight = r.Height;
    text.m_nHAlign = 0;
    text.m_nVAlign = 1;
    text.m_nRotation = 0;
    text.m_nTextRenderingHint = TextRenderingHintSingleBitPerPixelGridFit;
}

RectF SCHEME_DYNAMIC_ELEMENT::GetAliasBoundedRectF(float) const {
    const FontFamily family(m_font.m_sFaceName.GetString());
    const Font font(family.IsAvailable() ? &family : FontFamily::GenericSansSerif(), m_font.m_fSize, m_font.GetStyle(),
                    UnitWorld);
    RectF measured;
    ScreenGraphics().MeasureString(m_sAlias, -1, &font, PointF(0, 0), &measured);
    const float tw = measured.Width, th = measured.Height;
    const RectF box = GetBoundedRectForCountAliasPos();
    const float bw = box.Width, bh = box.Height;
    switch (m_nAliasPlace) {
    case 0: return RectF(-tw, 0, tw, bh);
    case 1: return RectF(bw, 0, tw, bh);
    case 2: return RectF((bw - tw) / 2, -th, tw, th);
    case 3: return RectF((bw - tw) / 2, bh, tw, th);
    default: return RectF(0, 0, 0, 0);
    }
}

RectF SCHEME_DYNAMIC_ELEMENT::GetBoundedRectForCountAliasPos() const {
    return RectF(0, 0, float(m_nBoxWidth), float(m_nBoxHeight));
}

RectF SCHEME_DYNAMIC_ELEMENT::GetBoundedRectF(ArmDataInterface*, float scale) const {
    Sch_Text text;
    SetSchText(text);
    const RectF origin = text.GetRectBoundText();
    RectF box(origin.X, origin.Y, float(m_nBoxWidth), float(m_nBoxHeight));
    box = Moved(box, m_nX, m_nY);
    RectF alias = GetAliasBoundedRectF(scale);
    alias.Offset(float(m_nX), float(m_nY));
    RectF u;
    RectF::Union(u, box, alias);
    return u;
}

SCHEME_BASE_ELEMENT* SCHEME_DYNAMIC_ELEMENT::Clone() const { return new SCHEME_DYNAMIC_ELEMENT(*this); }

bool SCHEME_DYNAMIC_ELEMENT::RefreshByTimer(ArmDataInterface*) {
    const CString shown = L"??????";
    if (shown == m_sLastValue) return false;
    m_sLastValue = shown;
    return true;
}

// --- the copy buffer ---------------------------------------------------------------------------

void SELECTED_SCHEME_BUFFER::Clear() {
    m_nSchemeKind = -1;
    m_sText1.Empty();
    m_scheme.m_mapElements.clear();
    m_scheme.m_mapBuses.clear();
}

bool SELECTED_SCHEME_BUFFER::IsItEmpty() const {
    return !(m_nSchemeKind != -1 && !m_sText1.IsEmpty() && !m_scheme.m_mapElements.empty());
}
