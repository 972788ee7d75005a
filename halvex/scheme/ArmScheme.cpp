#include "halvex/scheme/ArmScheme.h"

#include <algorithm>
#include <set>

#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/SchemeFunc.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"

using namespace Gdiplus;
using CompileIncludeSpace::GetStringByGuid;

namespace {

constexpr float kEmptyExtent = 1.192092896e-07f;

bool IsEmptyExtent(const RectF& r) { return r.Width <= kEmptyExtent || r.Height <= kEmptyExtent; }

// Removes from `links` at `port` the entries that `drop` picks; an emptied list goes too.
template <class Pred>
void DropOutLinks(std::map<int, std::vector<GuidAndPort>>& links, int port, Pred drop) {
    auto it = links.find(port);
    if (it == links.end()) return;
    std::vector<GuidAndPort>& list = it->second;
    list.erase(std::remove_if(list.begin(), list.end(), drop), list.end());
    if (list.empty()) links.erase(it);
}

}  // namespace

SCHEME_BUS* ARM_SCHEME::FindBus(const GUID& bus) const {
    auto it = m_mapBuses.find(GetStringByGuid(bus));
    return it == m_mapBuses.end() ? nullptr : it->second.get();
}

SCHEME_BASE_ELEMENT* ARM_SCHEME::FindElement(const GUID& elem) const {
    return m_mapElements.Find(GetStringByGuid(elem));
}

// --- copies -----------------------------------------------------------------------------------

void ARM_SCHEME::MakeClone(const ARM_SCHEME& src) {
    // Built apart first, so that a scheme may be cloned from itself.
    MAP_SCHEME_POINTER_ELEMENT elements;
    for (const auto& [key, element] : src.m_mapElements)
        if (element) elements[key] = SmartPointer<SCHEME_BASE_ELEMENT>(element->Clone());
    MAP_SCHEME_POINTER_BUS buses;
    for (const auto& [key, bus] : src.m_mapBuses) {
        if (!bus) continue;
        SmartPointer<SCHEME_BUS> copy(new SCHEME_BUS);
        *copy = *bus;
        copy->m_guid = bus->m_guid;
        buses[key] = copy;
    }
    m_sName = src.m_sName;
    m_bExtra = src.m_bExtra;
    m_mapElements = std::move(elements);
    m_mapBuses = std::move(buses);
}

void ARM_SCHEME::Clear() {
    m_mapElements.clear();
    m_mapBuses.clear();
}

// --- connecting -------------------------------------------------------------------------------

bool ARM_SCHEME::ConnectElements(const GUID& elemIn, int portIn, const GUID& elemOut, int portOut, const GUID& bus,
                                 ArmDataInterface* host) {
    SCHEME_BUS* b = FindBus(bus);
    // A bus that already carries a link is left to it: taking it over would leave the first
    // link's ends naming a bus that no longer runs to them.
    if (!b || !CompileIncludeSpace::IsGuidNil(b->m_guidElemIn) || !CompileIncludeSpace::IsGuidNil(b->m_guidElemOut))
        return false;
    // A refusal leaves the bus where the caller put it: it may be the only owner of a bus the
    // caller still points to, and whether a loose line stays on the scheme is the caller's
    // choice.
    SCHEME_BASE_ELEMENT* in = FindElement(elemIn);
    SCHEME_BASE_ELEMENT* out = FindElement(elemOut);
    if (!in || !out) return false;
    if (portIn < 0 || portOut < 0) return false;
    if (host) {
        // Only the host knows an element's drawing, and so how many pins it has.
        std::vector<Sch_PortIn> ins;
        std::vector<Sch_PortOut> outs;
        in->GetVectPortIn(host, ins);
        out->GetVectPortOut(host, outs);
        if (size_t(portIn) >= ins.size() || size_t(portOut) >= outs.size()) return false;
    }
    if (in->IsPortInBusy(portIn)) return false;
    GuidAndPort toIn;
    toIn.m_guidElem = elemIn;
    toIn.m_guidBus = bus;
    toIn.m_nPort = portIn;
    out->m_mapOutLinks[portOut].push_back(toIn);
    GuidAndPort toOut;
    toOut.m_guidElem = elemOut;
    toOut.m_guidBus = bus;
    toOut.m_nPort = portOut;
    in->m_mapInLinks[portIn] = toOut;
    b->m_guidElemIn = elemIn;
    b->m_guidElemOut = elemOut;
    b->m_nPortIn = portIn;
    b->m_nPortOut = portOut;
    return true;
}

bool ARM_SCHEME::ConnectMnemoElements(const GUID& elem, int port, const GUID& bus, bool asInput) {
    SCHEME_BUS* b = FindBus(bus);
    if (!b) return false;
    const bool farIsIn = !CompileIncludeSpace::IsGuidNil(b->m_guidElemIn);
    const GUID farGuid = farIsIn ? b->m_guidElemIn : b->m_guidElemOut;
    const int farPort = farIsIn ? b->m_nPortIn : b->m_nPortOut;
    SCHEME_BASE_ELEMENT* e = FindElement(elem);
    SCHEME_BASE_ELEMENT* far = FindElement(farGuid);
    if (!e || !far) return false;
    GuidAndPort toElem;
    toElem.m_guidElem = elem;
    toElem.m_guidBus = bus;
    toElem.m_nPort = port;
    if (farIsIn) far->m_mapInLinks[farPort] = toElem;
    else far->m_mapOutLinks[farPort].push_back(toElem);
    GuidAndPort toFar;
    toFar.m_guidElem = farGuid;
    toFar.m_guidBus = bus;
    toFar.m_nPort = farPort;
    if (asInput) e->m_mapInLinks[port] = toFar;
    else e->m_mapOutLinks[port].push_back(toFar);
    if (asInput) {
        b->m_guidElemIn = elem;
        b->m_nPortIn = port;
        b->m_guidElemOut = farGuid;
        b->m_nPortOut = farPort;
    } else {
        b->m_guidElemIn = farGuid;
        b->m_nPortIn = farPort;
        b->m_guidElemOut = elem;
        b->m_nPortOut = port;
    }
    return true;
}

// --- removing ---------------------------------------------------------------------------------

bool ARM_SCHEME::RemoveAllBusesOnElement(const GUID& elemRef, bool& removedAny) {
    const GUID elem = elemRef;
    removedAny = false;
    if (!FindElement(elem)) return false;
    return RemoveElementLinks(elem, removedAny);
}

// A link whose bus is already gone is passed over rather than ending the walk: stopping there
// would leave the remaining buses and the far ends' records naming an element about to go.
bool ARM_SCHEME::RemoveElementLinks(const GUID& elem, bool& removedAny) {
    SCHEME_BASE_ELEMENT* e = FindElement(elem);
    bool allFound = true;
    auto removeBus = [&](const GUID& bus) {
        auto it = m_mapBuses.find(GetStringByGuid(bus));
        if (it == m_mapBuses.end()) {
            allFound = false;
            return;
        }
        m_mapBuses.erase(it);
        removedAny = true;
    };

    // Taken apart first: a link to the element itself changes its tables on the way.
    const std::map<int, GuidAndPort> inLinks = e->m_mapInLinks;
    for (const auto& [p, link] : inLinks) {
        if (SCHEME_BASE_ELEMENT* src = FindElement(link.m_guidElem)) {
            const int port = p;
            DropOutLinks(src->m_mapOutLinks, link.m_nPort,
                         [&](const GuidAndPort& l) { return l.m_guidElem == elem && l.m_nPort == port; });
            auto back = src->m_mapInLinks.find(link.m_nPort);
            if (back != src->m_mapInLinks.end() && back->second.m_guidElem == elem && back->second.m_nPort == port)
                src->m_mapInLinks.erase(back);
        }
        removeBus(link.m_guidBus);
    }
    e->m_mapInLinks.clear();

    const std::map<int, std::vector<GuidAndPort>> outLinks = e->m_mapOutLinks;
    for (const auto& [q, list] : outLinks) {
        for (const GuidAndPort& link : list) {
            if (SCHEME_BASE_ELEMENT* dst = FindElement(link.m_guidElem)) {
                const int port = q;
                auto back = dst->m_mapInLinks.find(link.m_nPort);
                if (back != dst->m_mapInLinks.end() && back->second.m_guidElem == elem && back->second.m_nPort == port)
                    dst->m_mapInLinks.erase(back);
                DropOutLinks(dst->m_mapOutLinks, link.m_nPort,
                             [&](const GuidAndPort& l) { return l.m_guidElem == elem && l.m_nPort == port; });
            }
            removeBus(link.m_guidBus);
        }
    }
    e->m_mapOutLinks.clear();
    return allFound;
}

void ARM_SCHEME::ForgetReferences(const GUID* elem, const GUID* bus) {
    auto names = [&](const GuidAndPort& l) {
        return (elem && l.m_guidElem == *elem) || (bus && l.m_guidBus == *bus);
    };
    for (auto& [key, element] : m_mapElements) {
        if (!element) continue;
        for (auto it = element->m_mapInLinks.begin(); it != element->m_mapInLinks.end();)
            it = names(it->second) ? element->m_mapInLinks.erase(it) : std::next(it);
        for (auto it = element->m_mapOutLinks.begin(); it != element->m_mapOutLinks.end();) {
            std::vector<GuidAndPort>& list = it->second;
            const size_t before = list.size();
            list.erase(std::remove_if(list.begin(), list.end(), names), list.end());
            // An entry the removal emptied goes; one that was empty already is the host's.
            it = list.empty() && before != 0 ? element->m_mapOutLinks.erase(it) : std::next(it);
        }
    }
    if (!elem) return;
    for (auto& [key, b] : m_mapBuses) {
        if (!b) continue;
        if (b->m_guidElemIn == *elem) {
            b->m_guidElemIn = CompileIncludeSpace::CreateNilGuid();
            b->m_nPortIn = -1;
        }
        if (b->m_guidElemOut == *elem) {
            b->m_guidElemOut = CompileIncludeSpace::CreateNilGuid();
            b->m_nPortOut = -1;
        }
    }
}

// The element goes whenever it is there, so the answer says that it went; a link that named a
// bus already gone is cleaned all the same and leaves nothing to report.
bool ARM_SCHEME::RemoveElement(const GUID& elemRef) {
    const GUID elem = elemRef;
    if (m_mapElements.find(GetStringByGuid(elem)) == m_mapElements.end()) return false;
    RemoveElementAndLinks(elem, true);
    return true;
}

// `elem` is taken by value: the caller's GUID may live in the element that goes.
bool ARM_SCHEME::RemoveElementAndLinks(GUID elem, bool forget) {
    const CString key = GetStringByGuid(elem);
    auto it = m_mapElements.find(key);
    if (it == m_mapElements.end()) return false;
    bool removedAny = false;
    const bool ok = it->second ? RemoveElementLinks(elem, removedAny) : true;
    m_mapElements.erase(key);
    if (!ok) {
        // A bus the element's tables did not record may still run from it to itself.
        for (auto& [k, b] : m_mapBuses)
            if (b && b->m_guidElemIn == elem && b->m_guidElemOut == elem) b->m_vecSegments.clear();
    }
    if (forget) ForgetReferences(&elem, nullptr);
    return ok;
}

bool ARM_SCHEME::RemoveAllElements() {
    bool all = true;
    while (!m_mapElements.empty()) {
        const SmartPointer<SCHEME_BASE_ELEMENT> first = m_mapElements.begin()->second;
        if (!first) {
            m_mapElements.erase(m_mapElements.begin());
            continue;
        }
        // Each element's own records are cleaned as it goes; what an inconsistent graph still
        // names is settled once at the end, when no element is left to name.
        if (!RemoveElementAndLinks(first->m_guid, false)) all = false;
        // An entry whose key is not its element's GUID text would otherwise stay for ever.
        if (!m_mapElements.empty() && m_mapElements.begin()->second == first) {
            m_mapElements.erase(m_mapElements.begin());
            all = false;
        }
    }
    for (auto& [key, b] : m_mapBuses) {
        if (!b) continue;
        b->m_guidElemIn = b->m_guidElemOut = CompileIncludeSpace::CreateNilGuid();
        b->m_nPortIn = b->m_nPortOut = -1;
    }
    return all;
}

bool ARM_SCHEME::RemoveBus(const GUID& busRef) {
    const GUID bus = busRef;  // the caller's may live in the bus that goes
    auto it = m_mapBuses.find(GetStringByGuid(bus));
    if (it == m_mapBuses.end()) return false;
    const SmartPointer<SCHEME_BUS> b = it->second;
    if (b) {
        // Only the link this bus carries: the input may meanwhile carry another bus.
        if (SCHEME_BASE_ELEMENT* in = FindElement(b->m_guidElemIn)) {
            auto link = in->m_mapInLinks.find(b->m_nPortIn);
            if (link != in->m_mapInLinks.end() && link->second.m_guidBus == bus) in->m_mapInLinks.erase(link);
        }
        if (SCHEME_BASE_ELEMENT* out = FindElement(b->m_guidElemOut)) {
            auto list = out->m_mapOutLinks.find(b->m_nPortOut);
            if (list != out->m_mapOutLinks.end()) {
                auto entry = std::find_if(list->second.begin(), list->second.end(),
                                          [&](const GuidAndPort& l) { return l.m_guidBus == bus; });
                if (entry != list->second.end()) {
                    list->second.erase(entry);
                    if (list->second.empty()) out->m_mapOutLinks.erase(list);
                }
            }
        }
    }
    m_mapBuses.erase(it);
    ForgetReferences(nullptr, &bus);
    return true;
}

bool ARM_SCHEME::RemoveMnemoBus(const GUID& busRef) {
    const GUID bus = busRef;
    auto it = m_mapBuses.find(GetStringByGuid(bus));
    if (it == m_mapBuses.end()) return false;
    const SmartPointer<SCHEME_BUS> b = it->second;
    if (b) {
        const std::pair<GUID, int> ends[2] = {{b->m_guidElemIn, b->m_nPortIn}, {b->m_guidElemOut, b->m_nPortOut}};
        for (const auto& [guid, port] : ends) {
            SCHEME_BASE_ELEMENT* e = FindElement(guid);
            if (!e) continue;
            auto link = e->m_mapInLinks.find(port);
            if (link != e->m_mapInLinks.end() && link->second.m_guidBus == bus) {
                e->m_mapInLinks.erase(link);
                continue;
            }
            auto list = e->m_mapOutLinks.find(port);
            if (list == e->m_mapOutLinks.end()) continue;
            auto entry = std::find_if(list->second.begin(), list->second.end(),
                                      [&](const GuidAndPort& l) { return l.m_guidBus == bus; });
            if (entry != list->second.end()) {
                list->second.erase(entry);
                if (list->second.empty()) e->m_mapOutLinks.erase(list);
            }
        }
    }
    m_mapBuses.erase(it);
    ForgetReferences(nullptr, &bus);
    return true;
}

// --- identities -------------------------------------------------------------------------------

void ARM_SCHEME::ChangeGuids() {
    std::map<CString, GUID> elems, buses;  // old text -> new GUID
    for (const auto& [key, element] : m_mapElements) {
        GUID g;
        UuidCreate(&g);
        elems[key] = g;
    }
    for (const auto& [key, bus] : m_mapBuses) {
        GUID g;
        UuidCreate(&g);
        buses[key] = g;
    }
    auto remap = [](const std::map<CString, GUID>& table, GUID& guid) {
        auto it = table.find(GetStringByGuid(guid));
        if (it != table.end()) guid = it->second;
    };
    for (auto& [key, element] : m_mapElements) {
        if (!element) continue;
        for (auto& [port, link] : element->m_mapInLinks) {
            remap(elems, link.m_guidElem);
            remap(buses, link.m_guidBus);
        }
        for (auto& [port, list] : element->m_mapOutLinks)
            for (GuidAndPort& link : list) {
                remap(elems, link.m_guidElem);
                remap(buses, link.m_guidBus);
            }
        remap(elems, element->m_guid);
    }
    for (auto& [key, bus] : m_mapBuses) {
        if (!bus) continue;
        remap(elems, bus->m_guidElemIn);
        remap(elems, bus->m_guidElemOut);
        remap(buses, bus->m_guid);
    }
    MAP_SCHEME_POINTER_ELEMENT newElements;
    for (auto& [key, element] : m_mapElements) newElements[GetStringByGuid(elems[key])] = element;
    MAP_SCHEME_POINTER_BUS newBuses;
    for (auto& [key, bus] : m_mapBuses) newBuses[GetStringByGuid(buses[key])] = bus;
    m_mapElements = std::move(newElements);
    m_mapBuses = std::move(newBuses);
}

void ARM_SCHEME::ClearCalcFormulas() {
    for (auto& [key, element] : m_mapElements)
        if (element) element->m_mapPortTexts.clear();
}

void ARM_SCHEME::ResetInOutConnections() {
    for (auto& [key, element] : m_mapElements) {
        if (!element) continue;
        const ESchemeElementType type = element->GetSchemeElementType();
        if (type != eSchElemInput && type != eSchElemOutput) continue;
        if (auto* inout = dynamic_cast<SCHEME_INOUT*>(element.get())) inout->ResetConnect();
    }
}

void ARM_SCHEME::ClearOutputComplileOrder() {
    for (auto& [key, element] : m_mapElements) {
        if (!element || element->GetSchemeElementType() != eSchElemOutput) continue;
        if (auto* output = dynamic_cast<SCHEME_OUTPUT*>(element.get())) output->m_nExtra1 = 0;
    }
}

// --- block export ------------------------------------------------------------------------------

bool ARM_SCHEME::CollectBlockElemProps(ArmDataInterface* host, std::map<CString, EArmObjectType>& props,
                                       std::vector<CString>& errors) const {
    props.clear();
    errors.clear();
    for (const auto& [key, element] : m_mapElements) {
        if (!element || element->GetSchemeElementType() != eSchElemFunc) continue;
        const auto* fe = dynamic_cast<const SCHEME_FUNC_ELEMENT*>(element.get());
        const SCHEME_FUNC* func = fe ? fe->GetSchemeFunc(host) : nullptr;
        if (!func) continue;
        for (const SmartPointer<FuncPropsBase>& p : func->m_vProps) {
            const auto* block = dynamic_cast<const FuncPropsArmObjBlock*>(p.get());
            if (!block) continue;
            const CString value = fe->GetFuncPropValue(host, block->m_sKey);
            if (value.IsEmpty()) continue;
            const FuncPropsArmObjCombo* combo = nullptr;
            for (const SmartPointer<FuncPropsBase>& q : func->m_vProps) {
                if (q && q->m_sKey == block->m_sHostText) {
                    combo = dynamic_cast<const FuncPropsArmObjCombo*>(q.get());
                    if (combo) break;
                }
            }
            if (!combo) continue;
            if (props.count(value) == 0) {
                props[value] = combo->GetArmObjType();
            } else {
                CString error;
                error.Format(HalvexLoadString(7350).GetString(), func->m_sCaption.GetString(),
                             block->m_sCaption.GetString(), value.GetString());
                errors.push_back(error);
            }
        }
    }
    return false;
}

bool ARM_SCHEME::SetAllFuncPropValuesExportToBlock(ArmDataInterface* host, CString& error) {
    std::set<CString> used;
    for (auto& [key, element] : m_mapElements) {
        if (!element || element->GetSchemeElementType() != eSchElemFunc) continue;
        auto* fe = dynamic_cast<SCHEME_FUNC_ELEMENT*>(element.get());
        if (fe && !fe->SetFuncPropValuesExportToBlock(host, used, error)) return false;
    }
    return true;
}

// --- geometry and drawing -----------------------------------------------------------------------

bool ARM_SCHEME::IsNearBus(PointF p, Point& nearPoint, ST_SEGM& part) const {
    for (const auto& [key, bus] : m_mapBuses) {
        if (!bus) continue;
        for (size_t i = 0; i < bus->m_vecSegments.size(); ++i) {
            if (bus->m_vecSegments[i]->IsNear(p, nearPoint)) {
                FillStSegm(bus.get(), int(i), p, part);
                return true;
            }
        }
    }
    return false;
}

void ARM_SCHEME::FillStSegm(const SCHEME_BUS* bus, int segment, PointF p, ST_SEGM& part) const {
    part.m_nSegment = segment;
    part.m_vecBusKeys.clear();
    if (segment < 0 || size_t(segment) >= bus->m_vecSegments.size()) return;
    const size_t i = size_t(segment);
    const BUS_SEGMENT& s = *bus->m_vecSegments[i];
    part.m_nFrom = s.m_nStart;
    part.m_nTo = s.m_nEnd;
    const CString ownKey = bus->GetGuidString();
    part.m_vecBusKeys.push_back(ownKey);
    const bool forwards = s.m_nEnd >= s.m_nStart;

    const SCHEME_BASE_ELEMENT* source = FindElement(bus->m_guidElemOut);
    if (!source) return;
    for (const auto& [port, list] : source->m_mapOutLinks) {
        for (const GuidAndPort& link : list) {
            const CString key = GetStringByGuid(link.m_guidBus);
            auto found = m_mapBuses.find(key);
            if (found == m_mapBuses.end() || !found->second || key == ownKey) continue;
            const SCHEME_BUS& other = *found->second;
            if (other.m_vecSegments.size() <= i) continue;
            bool samePath = true;
            for (size_t k = 0; k < i && samePath; ++k)
                samePath = other.m_vecSegments[k]->IsSameGeometry(*bus->m_vecSegments[k]);
            if (!samePath) continue;
            const BUS_SEGMENT& t = *other.m_vecSegments[i];
            Point near;
            if (t.IsNear(p, near)) {
                if (t.IsHorizontal() != s.IsHorizontal() || t.m_nStart != s.m_nStart || t.m_nPos != s.m_nPos) continue;
                Point common;
                int v = 0;
                if (!s.GetLastCommonPointIfPossible(t, common) || !s.ConvertToValue(common, v)) continue;
                if (v == s.m_nStart) continue;
                part.m_vecBusKeys.push_back(key);
                if (forwards ? v < part.m_nTo : v > part.m_nTo) part.m_nTo = v;
            } else {
                int v = 0;
                if (!s.ConvertToValue(t.GetEndPoint(), v)) continue;
                if (forwards ? v > part.m_nFrom : v < part.m_nFrom) part.m_nFrom = v;
            }
        }
    }
}

void ARM_SCHEME::GetForkPoints(std::vector<Point>& out) const {
    out.clear();
    for (const auto& [key, element] : m_mapElements) {
        if (!element) continue;
        for (const auto& [port, list] : element->m_mapOutLinks) {
            if (list.size() < 2) continue;
            for (size_t i = 0; i < list.size(); ++i) {
                const SCHEME_BUS* a = FindBus(list[i].m_guidBus);
                if (!a) continue;
                for (size_t j = i + 1; j < list.size(); ++j) {
                    const SCHEME_BUS* b = FindBus(list[j].m_guidBus);
                    Point p;
                    if (b && a->GetLastCommonPointIfPossible(*b, p)) out.push_back(p);
                }
            }
        }
    }
}

void ARM_SCHEME::DrawForkPoints(Graphics& g, EDrawType kind, const std::vector<Point>& points) const {
    const bool mimic = kind == eDrawRedPins || kind == eDrawBluePins;
    const float r = mimic ? 1.0f : 5.0f;
    const float scale = mimic ? 1.0f : g.GetPageScale();
    Color color = mimic ? Color(0xFFFFFFFF) : SCHEME_BUS::m_color;
    if (kind == eDrawSelect) color = SCHEME_BUS::m_colorSelect;
    else if (kind == eDrawDrag) color = SCHEME_BUS::m_colorDrag;
    SolidBrush brush(color);
    for (const Point& p : points) {
        const RectF box(float(p.X) - r / scale, float(p.Y) - r / scale, 2 * r / scale, 2 * r / scale);
        if (mimic) g.FillRectangle(&brush, box);
        else g.FillEllipse(&brush, box);
    }
}

void ARM_SCHEME::Draw(ArmDataInterface* host, Graphics& g, EDrawType kind, Size offset) const {
    m_mapElements.Draw(host, g, kind, offset);
    m_mapBuses.Draw(g, kind, offset);
}

RectF ARM_SCHEME::GetBoundedRectF(ArmDataInterface* host, float scale) const {
    const RectF e = m_mapElements.GetBoundedRectF(host, scale);
    const RectF b = m_mapBuses.GetBoundedRectF(scale);
    if (IsEmptyExtent(e)) return b;
    if (IsEmptyExtent(b)) return e;
    RectF u;
    RectF::Union(u, e, b);
    return u;
}
