#include "halvex/scheme/SchemeDraw.h"

#include <algorithm>

using namespace Gdiplus;

Sch_BaseObj* Sch_Object::GetBaseObj() {
    switch (m_nType) {
    case 1: return &m_rect;
    case 2: return &m_polygon;
    case 3: return &m_text;
    case 4: return &m_funcNameText;
    case 5: return &m_propNameText;
    case 6: return &m_line;
    case 7: return &m_ellipseArc;
    case 8: return &m_numericText;
    case 9: return &m_bitmap;
    default: return nullptr;
    }
}

CString Sch_Object::GetAttrib() const {
    const Sch_BaseObj* o = GetBaseObj();
    return o ? o->m_sAttribute : CString();
}

void Sch_Object::Draw(Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) {
    if (Sch_BaseObj* o = GetBaseObj()) o->Draw(g, kind, extra, values);
}

RectF Sch_Object::GetBoundedRectF(float scale) {
    Sch_BaseObj* o = GetBaseObj();
    return o ? o->GetBoundedRectF(scale) : RectF(0, 0, 0, 0);
}

void SchUniteBounds(RectF& result, bool& first, const RectF& r) {
    if (r.Width <= 1.1920929e-7f || r.Height <= 1.1920929e-7f) return;
    if (first) {
        result = r;
        first = false;
        return;
    }
    const float l = std::min(result.X, r.X), t = std::min(result.Y, r.Y);
    const float rt = std::max(result.GetRight(), r.GetRight()), b = std::max(result.GetBottom(), r.GetBottom());
    result = RectF(l, t, rt - l, b - t);
}

void Scheme_Draw::Draw(Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) {
    for (Sch_Object& o : m_vObjects) o.Draw(g, kind, extra, values);
    if (kind == eDrawRedPins || kind == eDrawBluePins || kind == eDrawBright3) return;
    for (Sch_PortIn& p : m_vPortIn) p.Draw(g, kind, extra, values);
    for (Sch_PortOut& p : m_vPortOut) p.Draw(g, kind, extra, values);
}

RectF Scheme_Draw::GetBoundedRectF(float scale) {
    RectF result(0, 0, 0, 0);
    bool first = true;
    for (Sch_Object& o : m_vObjects) SchUniteBounds(result, first, o.GetBoundedRectF(scale));
    for (Sch_PortIn& p : m_vPortIn) SchUniteBounds(result, first, p.GetBoundedRectF(scale));
    for (Sch_PortOut& p : m_vPortOut) SchUniteBounds(result, first, p.GetBoundedRectF(scale));
    return result;
}

void Scheme_Draw::Clear() {
    m_sName.Empty();
    m_vObjects.clear();
    m_vPortIn.clear();
    m_vPortOut.clear();
}
