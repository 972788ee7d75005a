#include "halvex/scheme/BlockBox.h"

#include <algorithm>
#include <cmath>

using namespace Gdiplus;

namespace {

// A text's font as drawn: a face that is not installed falls back to the generic sans face.
class TextFont {
public:
    explicit TextFont(const Arm_Font& f)
        : m_family(f.m_sFaceName.GetString()),
          m_font(m_family.IsAvailable() ? &m_family : FontFamily::GenericSansSerif(), f.m_fSize, f.GetStyle(),
                 UnitWorld) {}
    const Font* operator->() const { return &m_font; }
    const Font* get() const { return &m_font; }

private:
    FontFamily m_family;
    Font m_font;
};

RectF Measure(Graphics& g, const CString& text, const Font* font) {
    StringFormat format;
    format.SetAlignment(StringAlignmentNear);
    RectF box(0, 0, 0, 0);
    g.MeasureString(text, -1, font, PointF(0, 0), &format, &box);
    return box;
}

float WidestName(Graphics& g, const std::vector<CString>& names, const Font* font) {
    float w = 0;
    for (const CString& n : names) w = std::max(w, Measure(g, n, font).Width);
    return w;
}

}  // namespace

int SchBlockRowStep(float fontHeight) {
    if (!(fontHeight > 0)) return 2;  // no font, or no height measured
    int step = int(std::ceil(std::min(fontHeight, 1e6f)));
    if (step < 2) step = 2;
    if (step % 2 != 0) ++step;
    return step;
}

void SchLayoutBlockBox(Graphics& g, const Scheme_Draw& tmpl, const CString& header, const std::vector<CString>& inputs,
                       const std::vector<CString>& outputs, Scheme_Draw& out) {
    const GraphicsState state = g.Save();
    out = tmpl;

    Sch_Text proto;
    int border = -1, headerText = -1, headerRect = -1;
    for (size_t i = 0; i < out.m_vObjects.size();) {
        const CString attrib = out.m_vObjects[i].GetAttrib();
        if (attrib == L"InOutText") {
            proto = out.m_vObjects[i].m_text;
            out.m_vObjects.erase(out.m_vObjects.begin() + std::ptrdiff_t(i));
            continue;
        }
        if (attrib == L"BorderRect") border = int(i);
        else if (attrib == L"HeaderText") headerText = int(i);
        else if (attrib == L"HeaderRect") headerRect = int(i);
        ++i;
    }

    const TextFont font(proto);
    const float wIn = WidestName(g, inputs, font.get()), wOut = WidestName(g, outputs, font.get());
    float w = wIn + wOut + 4;
    float hw = 0, hh = 0, hH = 0;
    if (headerText >= 0) {
        const TextFont headerFont(out.m_vObjects[size_t(headerText)].m_text);
        const RectF box = Measure(g, header, headerFont.get());
        hw = box.Width;
        hh = box.Height;
        w = std::max(w, hw);
        hH = headerFont->GetHeight(&g);
    }
    w = std::ceil(w);

    const float fontHeight = font->GetHeight(&g);
    const int step = SchBlockRowStep(fontHeight);
    const float h = float(std::max(inputs.size(), outputs.size()) * size_t(step));

    if (headerText >= 0) {
        Sch_Text& t = out.m_vObjects[size_t(headerText)].m_text;
        t.m_fLayoutWidth = w;
        t.m_fY = -hH - 0.2f;
        t.m_sText = header;
    }
    if (headerRect >= 0) out.m_vObjects[size_t(headerRect)].m_rect.m_rect = RectF((w - hw) * 0.5f, -hH - 0.2f, hw, hh);
    if (border >= 0) out.m_vObjects[size_t(border)].m_rect.m_rect = RectF(0, 0, w, h);

    auto addName = [&](size_t row, const CString& name, int align) {
        Sch_Object o;
        o.m_nType = 3;
        o.m_text = proto;
        o.m_text.m_fX = 0;
        o.m_text.m_fY = float(2 * row) + (float(step) - fontHeight) * 0.5f;
        o.m_text.m_fLayoutWidth = w;
        o.m_text.m_nHAlign = align;
        o.m_text.m_sText = name;
        out.m_vObjects.push_back(o);
    };
    for (size_t i = 0; i < inputs.size(); ++i) addName(i, inputs[i], 0);
    for (size_t i = 0; i < outputs.size(); ++i) addName(i, outputs[i], 2);
    for (size_t i = 0; i < inputs.size(); ++i) {
        Sch_PortIn pin;
        pin.m_fX = 0;
        pin.m_fY = float(2 * i + 1);
        out.m_vPortIn.push_back(pin);
    }
    for (size_t i = 0; i < outputs.size(); ++i) {
        Sch_PortOut pin;
        pin.m_fX = w;
        pin.m_fY = float(2 * i + 1);
        out.m_vPortOut.push_back(pin);
    }
    g.Restore(state);
}
