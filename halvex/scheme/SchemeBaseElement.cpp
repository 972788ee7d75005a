#include "halvex/scheme/SchemeBaseElement.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "halvex/config/ArmObject.h"

using namespace Gdiplus;

namespace {

constexpr float kEmptyExtent = 1.192092896e-07f;

bool IsEmptyExtent(const RectF& r) { return r.Width <= kEmptyExtent || r.Height <= kEmptyExtent; }

// Half-open: a point on the left or top edge is inside, one on the right or bottom edge is not.
bool InSquareAround(const PointF& centre, float side, const PointF& p) {
    const float h = side / 2;
    return centre.X - h <= p.X && p.X < centre.X - h + side && centre.Y - h <= p.Y && p.Y < centre.Y - h + side;
}

bool OnPinLine(const Sch_Port& pin, const PointF& p) {
    const PointF e = pin.GetEndPointF();
    const float left = std::min(pin.m_fX, e.X) - 0.5f;
    const float width = std::fabs(e.X - pin.m_fX) + 1;
    const float top = pin.m_fY - 0.5f;
    return left <= p.X && p.X < left + width && top <= p.Y && p.Y < top + 1;
}

}  // namespace

RectF SchPlaceElementRect(const RectF& r, int x, int y) {
    if (IsEmptyExtent(r)) return r;
    RectF moved = r;
    moved.Offset(REAL(x), REAL(y));
    return moved;
}

// --- the element map ---------------------------------------------------------------------------

void MAP_SCHEME_POINTER_ELEMENT::Draw(ArmDataInterface* host, Graphics& g, EDrawType type, Size offset) const {
    for (const auto& [key, element] : *this)
        if (element) element->Draw(host, g, type, offset);
}

RectF MAP_SCHEME_POINTER_ELEMENT::GetBoundedRectF(ArmDataInterface* host, float scale) const {
    RectF result(0, 0, 0, 0);
    bool first = true;
    for (const auto& [key, element] : *this) {
        if (!element) continue;  // a hole in the map covers nothing
        const RectF r = element->GetBoundedRectF(host, scale);
        if (first) {
            result = r;
            first = false;
        } else {
            RectF::Union(result, result, r);
        }
    }
    return result;
}

CString MAP_SCHEME_POINTER_ELEMENT::GetHitElement(ArmDataInterface* host, PointF& point, float scale) const {
    for (const auto& [key, element] : *this) {
        if (!element) continue;
        bool hit = false;
        if (!element->IsUseGerionInsteadRectForHitTest()) {
            const RectF r = element->GetBoundedRectF(host, scale);
            hit = !IsEmptyExtent(r) && r.Contains(point);
        } else {
            std::unique_ptr<Region> region(element->CreateBoundedRegion(host, scale));
            hit = region && region->IsVisible(point);
        }
        if (hit) return key;
    }
    return CString();
}

SCHEME_BASE_ELEMENT* MAP_SCHEME_POINTER_ELEMENT::Find(const CString& key) const {
    auto it = find(key);
    return it == end() ? nullptr : it->second.get();
}

// --- the element base --------------------------------------------------------------------------

Region* SCHEME_BASE_ELEMENT::CreateBoundedRegion(ArmDataInterface* host, float scale) const {
    return new Region(GetBoundedRectF(host, scale));
}

CString SCHEME_BASE_ELEMENT::GetPortInTypeMatch(ArmDataInterface*, MAP_SCHEME_POINTER_ELEMENT*, int) const {
    return CString();
}

CString SCHEME_BASE_ELEMENT::GetPortOutTypeMatch(ArmDataInterface*, MAP_SCHEME_POINTER_ELEMENT*, int) const {
    return CString();
}

CString SCHEME_BASE_ELEMENT::GetPortInTypeMatchWithBlackList(ArmDataInterface* host,
                                                             MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                                             std::set<CString>) const {
    return GetPortInTypeMatch(host, elements, port);
}

CString SCHEME_BASE_ELEMENT::GetPortOutTypeMatchWithBlackList(ArmDataInterface* host,
                                                              MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                                              std::set<CString>) const {
    return GetPortOutTypeMatch(host, elements, port);
}

bool SCHEME_BASE_ELEMENT::IsAutoDetectPortInTypeMatch(ArmDataInterface*, int) const { return false; }
bool SCHEME_BASE_ELEMENT::IsAutoDetectPortOutTypeMatch(ArmDataInterface*, int) const { return false; }
void SCHEME_BASE_ELEMENT::FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface*) const { info.Clear(); }
bool SCHEME_BASE_ELEMENT::IsAllowInvertPort(ArmDataInterface*, int, bool) const { return false; }

GUID SCHEME_BASE_ELEMENT::GetPortInGuid(int port) const {
    auto it = m_mapInLinks.find(port);
    return it == m_mapInLinks.end() ? CompileIncludeSpace::CreateNilGuid() : it->second.m_guidElem;
}

bool SCHEME_BASE_ELEMENT::IsPortInBusy(int port) const {
    return !CompileIncludeSpace::IsGuidNil(GetPortInGuid(port));
}

bool SCHEME_BASE_ELEMENT::IsPortInInverted(ArmDataInterface* host, int port) const {
    return IsAllowInvertPort(host, port, true) && m_setInvertedIn.count(port) != 0;
}

bool SCHEME_BASE_ELEMENT::IsPortOutInverted(ArmDataInterface* host, int port) const {
    return IsAllowInvertPort(host, port, false) && m_setInvertedOut.count(port) != 0;
}

bool SCHEME_BASE_ELEMENT::GetPinHitTest(ArmDataInterface* host, PointF& point, int& inPort, int& outPort) const {
    inPort = -1;
    outPort = -1;
    const PointF p(point.X - REAL(m_nX), point.Y - REAL(m_nY));
    const float side = IsLargePinHitTarget(host) ? 6.0f : 1.0f;
    std::vector<Sch_PortIn> ins;
    GetVectPortIn(host, ins);
    for (size_t i = 0; i < ins.size(); ++i)
        if (InSquareAround(ins[i].GetEndPointF(), side, p)) {
            inPort = int(i);
            return true;
        }
    std::vector<Sch_PortOut> outs;
    GetVectPortOut(host, outs);
    for (size_t i = 0; i < outs.size(); ++i)
        if (InSquareAround(outs[i].GetEndPointF(), side, p)) {
            outPort = int(i);
            return true;
        }
    return false;
}

bool SCHEME_BASE_ELEMENT::GetInversionHitTest(ArmDataInterface* host, PointF& point, int& inPort,
                                              int& outPort) const {
    inPort = -1;
    outPort = -1;
    const PointF p(point.X - REAL(m_nX), point.Y - REAL(m_nY));
    std::vector<Sch_PortIn> ins;
    GetVectPortIn(host, ins);
    for (size_t i = 0; i < ins.size(); ++i)
        if (OnPinLine(ins[i], p)) {
            inPort = int(i);
            return true;
        }
    std::vector<Sch_PortOut> outs;
    GetVectPortOut(host, outs);
    for (size_t i = 0; i < outs.size(); ++i)
        if (OnPinLine(outs[i], p)) {
            outPort = int(i);
            return true;
        }
    return false;
}

void SCHEME_BASE_ELEMENT::DrawCrossesOnFreePorts(ArmDataInterface* host, Graphics& g, EDrawType type) const {
    const bool all = type == eDrawBluePins;
    std::vector<Sch_PortIn> ins;
    GetVectPortIn(host, ins);
    for (size_t i = 0; i < ins.size(); ++i)
        if (all || CanStartBusFromPortIn(int(i))) ins[i].DrawCross(g, type);
    std::vector<Sch_PortOut> outs;
    GetVectPortOut(host, outs);
    for (size_t i = 0; i < outs.size(); ++i)
        if (all || !IsPortOutBusy(int(i))) outs[i].DrawCross(g, type);
}

void SCHEME_BASE_ELEMENT::DrawSquaresOnFreePorts(ArmDataInterface* host, Graphics& g, EDrawType type) const {
    if (type == eDrawBluePins) return;
    std::vector<Sch_PortOut> outs;
    GetVectPortOut(host, outs);
    for (size_t i = 0; i < outs.size(); ++i)
        if (!IsPortOutBusy(int(i))) outs[i].DrawSquare(g, type);
}

void SCHEME_BASE_ELEMENT::DrawSquaresOnBusyPorts(ArmDataInterface* host, Graphics& g, EDrawType type) const {
    if (type == eDrawBluePins) return;
    std::vector<Sch_PortIn> ins;
    GetVectPortIn(host, ins);
    for (size_t i = 0; i < ins.size(); ++i)
        if (IsPortInBusy(int(i))) ins[i].DrawSquare(g, type);
    std::vector<Sch_PortOut> outs;
    GetVectPortOut(host, outs);
    SolidBrush busy(Color(0xFF640064));
    for (size_t i = 0; i < outs.size(); ++i)
        if (IsPortOutBusy(int(i))) g.FillRectangle(&busy, outs[i].m_fX - 2, outs[i].m_fY - 2, 4.0f, 4.0f);
}

void SCHEME_BASE_ELEMENT::DrawInversionsOnPorts(ArmDataInterface* host, Graphics& g, EDrawType type) const {
    std::vector<Sch_PortIn> ins;
    GetVectPortIn(host, ins);
    for (size_t i = 0; i < ins.size(); ++i)
        if (m_setInvertedIn.count(int(i)) && IsAllowInvertPort(host, int(i), true)) ins[i].DrawInversionCircle(g, type);
    std::vector<Sch_PortOut> outs;
    GetVectPortOut(host, outs);
    for (size_t i = 0; i < outs.size(); ++i)
        if (m_setInvertedOut.count(int(i)) && IsAllowInvertPort(host, int(i), false))
            outs[i].DrawInversionCircle(g, type);
}
