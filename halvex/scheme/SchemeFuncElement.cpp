#include "halvex/scheme/SchemeFuncElement.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <new>
#include <utility>

#include "halvex/config/ArmObject.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchemeFunc.h"
#include "halvex/scheme/SchemeInOut.h"

using namespace Gdiplus;

namespace {

constexpr int kKindSwitchable = 9;  // functions whose drawings follow "Rotation" and "Arrow"
constexpr int kDrawAggregated = 7;  // the look that marks free outputs of aggregated buses

const FuncPropsBase* PropAt(const SCHEME_FUNC& func, int index) {
    if (index < 0 || size_t(index) >= func.m_vProps.size()) return nullptr;
    return func.m_vProps[size_t(index)].get();
}

int IndexOfKey(const SCHEME_FUNC& func, const CString& key) {
    for (size_t i = 0; i < func.m_vProps.size(); ++i)
        if (func.m_vProps[i] && func.m_vProps[i]->m_sKey == key) return int(i);
    return -1;
}

CString ArgumentType(const std::vector<FUNC_ARGUMENT>& args, int port) {
    if (port < 0 || size_t(port) >= args.size()) return CString();
    return args[size_t(port)].m_sTypeName;
}

bool IsAutoArgument(const std::vector<FUNC_ARGUMENT>& args, int port) {
    return port >= 0 && size_t(port) < args.size() && args[size_t(port)].m_bAutoType;
}

// Whether a drawing of a switchable function is the one its "Rotation" and "Arrow" values
// choose; an empty value chooses nothing out.
bool DrawingChosen(const CString& drawName, const CString& rotation, const CString& arrow) {
    const CString last = drawName.Right(1);
    if (!rotation.IsEmpty() && rotation != last) return false;
    if (!arrow.IsEmpty() && arrow != last) return false;
    return true;
}

}  // namespace

SCHEME_FUNC_ELEMENT::SCHEME_FUNC_ELEMENT(const SCHEME_FUNC* func) {
    if (!func) return;
    m_eFuncSchemeType = func->m_eType;
    m_sName = func->m_sName;
}

SCHEME_BASE_ELEMENT* SCHEME_FUNC_ELEMENT::Clone() const { return new (std::nothrow) SCHEME_FUNC_ELEMENT(*this); }

SCHEME_FUNC* SCHEME_FUNC_ELEMENT::GetSchemeFunc(ArmDataInterface* host) const {
    return host ? host->GetSchemeFunc(m_eFuncSchemeType, m_sName) : nullptr;
}

bool SCHEME_FUNC_ELEMENT::IsLargePinHitTarget(ArmDataInterface*) const {
    return m_eFuncSchemeType == kKindSwitchable;
}

// --- drawing, bounds, pins ---------------------------------------------------------------------

void SCHEME_FUNC_ELEMENT::Draw(ArmDataInterface* host, Graphics& g, EDrawType type, Size offset) const {
    const GraphicsState state = g.Save();
    g.TranslateTransform(REAL(offset.Width + m_nX), REAL(offset.Height + m_nY));
    EDrawType d = type;
    if (m_eFuncSchemeType == kKindSwitchable) {
        d = type == eDrawSelect ? eDrawBluePins : type == eDrawDrag ? eDrawBright3 : eDrawRedPins;
        DrawSquaresOnBusyPorts(host, g, d);
    }
    if (SCHEME_FUNC* func = GetSchemeFunc(host)) {
        std::set<CString> governed;
        func->CollectPropsDependsDisabled(governed);
        SCH_VALUES values;
        for (size_t i = 0; i < func->m_vProps.size(); ++i) {
            const FuncPropsBase* p = func->m_vProps[i].get();
            if (p && !IsPropertyDisabled(host, int(i), &governed)) values[p->m_sKey] = GetFuncPropValue(host, p->m_sKey);
        }
        func->Draw(host, g, d, &values);
    } else if (host) {
        if (Scheme_Draw* fallback = host->GetDefaultFuncSchemeDraw())
            fallback->Draw(g, d, const_cast<wchar_t*>(m_sName.GetString()), nullptr);
    }
    if (type == kDrawAggregated) {
        if (m_sName == L"AggregatedBuses") DrawSquaresOnFreePorts(host, g, d);
    } else {
        DrawCrossesOnFreePorts(host, g, d);
    }
    DrawInversionsOnPorts(host, g, d);
    g.Restore(state);
}

RectF SCHEME_FUNC_ELEMENT::GetBoundedRectF(ArmDataInterface* host, float scale) const {
    RectF r(0, 0, 0, 0);
    if (SCHEME_FUNC* func = GetSchemeFunc(host)) r = func->GetBoundedRectF(host, scale);
    else if (host && host->GetDefaultFuncSchemeDraw()) r = host->GetDefaultFuncSchemeDraw()->GetBoundedRectF(scale);
    return SchPlaceElementRect(r, m_nX, m_nY);
}

namespace {
template <class Pin>
void CollectPins(const SCHEME_FUNC_ELEMENT& e, ArmDataInterface* host, std::vector<Pin>& out,
                 std::vector<Pin> Scheme_Draw::*pins) {
    out.clear();
    SCHEME_FUNC* func = e.GetSchemeFunc(host);
    if (!func) return;
    std::map<CString, Scheme_Draw>* drawings = host->GetFuncDrawData();
    if (drawings) {
        const bool switchable = e.m_eFuncSchemeType == kKindSwitchable;
        const CString rotation = switchable ? e.GetFuncPropValue(host, L"Rotation") : CString();
        const CString arrow = switchable ? e.GetFuncPropValue(host, L"Arrow") : CString();
        for (const CString& name : func->m_vDrawNames) {
            auto it = drawings->find(name);
            if (it == drawings->end()) continue;
            if (switchable && !DrawingChosen(name, rotation, arrow)) continue;
            const std::vector<Pin>& add = it->second.*pins;
            out.insert(out.end(), add.begin(), add.end());
        }
    }
    const std::vector<Pin>& own = func->m_draw.*pins;
    out.insert(out.end(), own.begin(), own.end());
}
}  // namespace

void SCHEME_FUNC_ELEMENT::GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const {
    CollectPins(*this, host, out, &Scheme_Draw::m_vPortIn);
}

void SCHEME_FUNC_ELEMENT::GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const {
    CollectPins(*this, host, out, &Scheme_Draw::m_vPortOut);
}

// --- port data types ---------------------------------------------------------------------------

CString SCHEME_FUNC_ELEMENT::GetPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                int port) const {
    return GetPortInTypeMatchWithBlackList(host, elements, port, {});
}

CString SCHEME_FUNC_ELEMENT::GetPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                 int port) const {
    return GetPortOutTypeMatchWithBlackList(host, elements, port, {});
}

bool SCHEME_FUNC_ELEMENT::IsAutoDetectPortInTypeMatch(ArmDataInterface* host, int port) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    return func && IsAutoArgument(func->m_vInputs, port);
}

bool SCHEME_FUNC_ELEMENT::IsAutoDetectPortOutTypeMatch(ArmDataInterface* host, int port) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    return func && IsAutoArgument(func->m_vOutputs, port);
}

CString SCHEME_FUNC_ELEMENT::GetPortInTypeMatchWithBlackList(ArmDataInterface* host,
                                                             MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                                             std::set<CString> blackList) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return CString();
    if (!IsAutoDetectPortInTypeMatch(host, port)) return ArgumentType(func->m_vInputs, port);
    return AutoDetectedType(host, elements, std::move(blackList));
}

CString SCHEME_FUNC_ELEMENT::GetPortOutTypeMatchWithBlackList(ArmDataInterface* host,
                                                              MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                                              std::set<CString> blackList) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return CString();
    if (!IsAutoDetectPortOutTypeMatch(host, port)) return ArgumentType(func->m_vOutputs, port);
    return AutoDetectedType(host, elements, std::move(blackList));
}

CString SCHEME_FUNC_ELEMENT::AutoDetectedType(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                              std::set<CString> blackList) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return CString();
    blackList.insert(GetGuidString());
    for (size_t i = 0; i < func->m_vInputs.size(); ++i) {
        CString t = GetAutoDetectPortInTypeMatch(host, elements, int(i), blackList);
        if (!t.IsEmpty()) return t;
    }
    for (size_t i = 0; i < func->m_vOutputs.size(); ++i) {
        CString t = GetAutoDetectPortOutTypeMatch(host, elements, int(i), blackList);
        if (!t.IsEmpty()) return t;
    }
    return CString();
}

CString SCHEME_FUNC_ELEMENT::GetAutoDetectPortInTypeMatch(ArmDataInterface* host,
                                                          MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                                          std::set<CString> blackList) const {
    if (!elements) return CString();
    auto link = m_mapInLinks.find(port);
    if (link == m_mapInLinks.end()) return CString();
    const CString farKey = CompileIncludeSpace::GetStringByGuid(link->second.m_guidElem);
    const SCHEME_BASE_ELEMENT* far = elements->Find(farKey);
    if (!far) return CString();
    blackList.insert(GetGuidString());
    if (blackList.count(farKey)) return CString();
    const int farPort = link->second.m_nPort;
    switch (far->GetSchemeElementType()) {
    case eSchElemFunc:
        // A far port that detects its own type is not followed: it would ask back here.
        if (far->IsAutoDetectPortOutTypeMatch(host, farPort)) return CString();
        return far->GetPortOutTypeMatchWithBlackList(host, elements, farPort, blackList);
    case eSchElemInput:
        if (const auto* input = dynamic_cast<const SCHEME_INOUT*>(far))
            return input->GetPortOutsideTypeMatchWithBlackList(host, elements, blackList);
        return CString();
    case eSchElemBlock:
        return far->GetPortOutTypeMatchWithBlackList(host, elements, farPort, blackList);
    default:
        return CString();
    }
}

CString SCHEME_FUNC_ELEMENT::GetAutoDetectPortOutTypeMatch(ArmDataInterface* host,
                                                           MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                                           std::set<CString> blackList) const {
    if (!elements) return CString();
    auto links = m_mapOutLinks.find(port);
    if (links == m_mapOutLinks.end()) return CString();
    for (const GuidAndPort& link : links->second) {
        const CString farKey = CompileIncludeSpace::GetStringByGuid(link.m_guidElem);
        const SCHEME_BASE_ELEMENT* far = elements->Find(farKey);
        if (!far) return CString();
        blackList.insert(GetGuidString());
        if (blackList.count(farKey)) continue;
        CString t;
        switch (far->GetSchemeElementType()) {
        case eSchElemFunc:
            if (!far->IsAutoDetectPortInTypeMatch(host, link.m_nPort))
                t = far->GetPortInTypeMatchWithBlackList(host, elements, link.m_nPort, blackList);
            break;
        case eSchElemOutput:
            if (const auto* output = dynamic_cast<const SCHEME_INOUT*>(far))
                t = output->GetPortOutsideTypeMatchWithBlackList(host, elements, blackList);
            break;
        case eSchElemBlock:
            t = far->GetPortInTypeMatchWithBlackList(host, elements, link.m_nPort, blackList);
            break;
        default:
            break;
        }
        if (!t.IsEmpty()) return t;
    }
    return CString();
}

bool SCHEME_FUNC_ELEMENT::IsAllowInvertPort(ArmDataInterface* host, int port, bool isInput) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (func && func->IsFeedback()) return false;
    if (isInput ? IsAutoDetectPortInTypeMatch(host, port) : IsAutoDetectPortOutTypeMatch(host, port)) return false;
    if (!func || func->m_bNoInversion) return false;
    const CString type = ArgumentType(isInput ? func->m_vInputs : func->m_vOutputs, port);
    if (type.IsEmpty()) return false;
    std::map<CString, TYPE_MATCHER>* types = host->GetTypeMatchers();
    if (!types) return false;
    auto it = types->find(type);
    return it != types->end() && it->second.m_bInvertible;
}

// --- property values ---------------------------------------------------------------------------

CString SCHEME_FUNC_ELEMENT::GetFuncPropValue(ArmDataInterface* host, const CString& key) const {
    auto stored = m_mapPropValues.find(key);
    if (stored != m_mapPropValues.end()) return stored->second;
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return CString();
    const FuncPropsBase* p = PropAt(*func, IndexOfKey(*func, key));
    return p ? p->GetDefaultValue() : CString();
}

CString SCHEME_FUNC_ELEMENT::GetFuncPropValue(const CString& key, const CString& fallback) const {
    auto stored = m_mapPropValues.find(key);
    return stored != m_mapPropValues.end() ? stored->second : fallback;
}

CString SCHEME_FUNC_ELEMENT::GetCompilerFuncPropValue(ArmDataInterface* host, const CString& key) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return CString();
    const FuncPropsBase* p = PropAt(*func, IndexOfKey(*func, key));
    if (!p) return CString();
    auto stored = m_mapPropValues.find(key);
    return p->GetCompilerString(stored != m_mapPropValues.end() ? stored->second : p->GetDefaultValue());
}

bool SCHEME_FUNC_ELEMENT::IsPropertyDisabled(ArmDataInterface* host, int index, std::set<CString>* governed) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return true;
    std::set<CString> visiting;
    return IsPropertyDisabledGuarded(host, *func, index, governed, visiting);
}

bool SCHEME_FUNC_ELEMENT::IsPropertyDisabled(ArmDataInterface* host, const CString& key) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return true;
    const int index = IndexOfKey(*func, key);
    if (index < 0) return true;
    std::set<CString> visiting;
    return IsPropertyDisabledGuarded(host, *func, index, nullptr, visiting);
}

bool SCHEME_FUNC_ELEMENT::IsPropertyDisabledGuarded(ArmDataInterface* host, const SCHEME_FUNC& func, int index,
                                                    std::set<CString>* governed,
                                                    std::set<CString>& visiting) const {
    const FuncPropsBase* target = PropAt(func, index);
    const CString key = target ? target->m_sKey : CString();
    if (key.IsEmpty()) return false;
    if (governed && !governed->count(key)) return false;
    // A property already on the chain of governing properties being followed is taken as
    // enabled, so that properties governing each other in a circle do not recurse forever.
    if (!visiting.insert(key).second) return false;

    // Whether the governing property `j` is itself switched off.
    auto governorDisabled = [&](const FuncPropsBase& j) {
        const int ji = IndexOfKey(func, j.m_sKey);
        return ji < 0 || IsPropertyDisabledGuarded(host, func, ji, nullptr, visiting);
    };
    bool enabled = true;
    std::vector<CString> names;
    for (const SmartPointer<FuncPropsBase>& jp : func.m_vProps) {
        if (!jp) continue;
        const FuncPropsBase& j = *jp;
        const CString v = GetFuncPropValue(host, j.m_sKey);
        j.GetVecDependPropNames(names);
        for (const CString& n : names)
            if (n == key) enabled = j.GetValueEnableDependProps(v) && !governorDisabled(j);
        j.GetVecDependMinusPropNames(names);
        for (const CString& n : names)
            if (n == key) enabled = !j.GetValueEnableDependProps(v) && !governorDisabled(j);
    }
    visiting.erase(key);
    return !enabled;
}

// --- export to a block -------------------------------------------------------------------------

bool SCHEME_FUNC_ELEMENT::GetFuncPropValueExportToBlock(ArmDataInterface* host, const CString& key, CString& value,
                                                        CString& error, FuncPropsBase* property) const {
    value.Empty();
    if (!property || !property->IsSaveInExportToBlock()) return true;
    auto stored = m_mapPropValues.find(key);
    if (stored != m_mapPropValues.end()) value = stored->second;

    if (const auto* block = dynamic_cast<const FuncPropsArmObjBlock*>(property)) {
        if (const SCHEME_FUNC* func = GetSchemeFunc(host)) {
            std::set<CString> governed;
            func->CollectPropsDependsDisabled(governed);
            const int named = IndexOfKey(*func, block->m_sHostText);
            if (named >= 0) {
                if (IsPropertyDisabled(host, named, &governed)) {
                    value.Empty();
                    return true;
                }
                auto other = m_mapPropValues.find(block->m_sHostText);
                if (value.IsEmpty() && other != m_mapPropValues.end()) value = other->second;
            }
        }
        if (value.IsEmpty()) {
            error.Format(HalvexLoadString(7156).GetString(), property->m_sCaption.GetString());
            return false;
        }
    }
    if (value.IsEmpty()) value = property->GetDefaultValue();
    return true;
}

bool SCHEME_FUNC_ELEMENT::SetFuncPropValuesExportToBlock(ArmDataInterface* host, std::set<CString>& used,
                                                         CString& error) {
    error.Empty();
    std::map<CString, CString> exported;
    // The names taken here join `used` only when the whole element succeeds, so a failed
    // element leaves no names behind that would later read as duplicates.
    std::set<CString> taken;
    if (const SCHEME_FUNC* func = GetSchemeFunc(host)) {
        for (const SmartPointer<FuncPropsBase>& p : func->m_vProps) {
            if (!p) continue;
            CString value;
            if (!GetFuncPropValueExportToBlock(host, p->m_sKey, value, error, p.get())) return false;
            exported[p->m_sKey] = value;
            if (dynamic_cast<const FuncPropsArmObjBlock*>(p.get()) && !value.IsEmpty()) {
                if (used.count(value) || taken.count(value)) {
                    error.Format(HalvexLoadString(7157).GetString(), func->m_sCaption.GetString(),
                                 p->m_sCaption.GetString(), value.GetString());
                    return false;
                }
                taken.insert(value);
            }
        }
    }
    m_mapPropValues = std::move(exported);
    used.insert(taken.begin(), taken.end());
    return true;
}

// --- feedback functions ------------------------------------------------------------------------

bool SCHEME_FUNC_ELEMENT::IsFeedbackFunction(ArmDataInterface* host) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    return func && func->IsFeedback();
}

TYPE_MATCHER* SCHEME_FUNC_ELEMENT::GetFeedbackTypeMatcher(ArmDataInterface* host,
                                                          MAP_SCHEME_POINTER_ELEMENT* elements) const {
    if (!IsFeedbackFunction(host)) return nullptr;
    std::map<CString, TYPE_MATCHER>* types = host->GetTypeMatchers();
    if (!types) return nullptr;
    auto it = types->find(GetPortInTypeMatch(host, elements, 0));
    return it == types->end() ? nullptr : &it->second;
}

int SCHEME_FUNC_ELEMENT::GetFuncInitSize(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements) const {
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) return 0;
    if (!func->IsFeedback()) return func->GetInitSize(host);
    const TYPE_MATCHER* type = GetFeedbackTypeMatcher(host, elements);
    if (!type) return 0;
    CString define;
    host->GetDefineValue(define, L"SIZEOF_INT_BYTES");
    long word = std::wcstol(define.GetString(), nullptr, 10);
    if (word <= 0 || word > INT_MAX) word = 4;  // no usable word size: the usual one
    const int64_t size = type->GetSize(host);
    const int64_t words = (size + word - 1) / word + 1;
    return int(std::clamp<int64_t>(words, INT_MIN, INT_MAX));
}

// --- info text ---------------------------------------------------------------------------------

void SCHEME_FUNC_ELEMENT::FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const {
    info.Clear();
    const SCHEME_FUNC* func = GetSchemeFunc(host);
    if (!func) {
        CString line;
        line.Format(HalvexLoadString(7180).GetString(), m_sName.GetString());
        info.m_arrLines.push_back(line);
        return;
    }
    const unsigned captionId = GetFuncSchemeTypeCaptionId(m_eFuncSchemeType);
    info.m_sType = captionId ? HalvexLoadString(captionId) : CString();
    info.m_sName = func->m_sTitle;

    // Port types come from the scheme that holds the element; an element the host cannot
    // place shows none.
    std::pair<int, int> place(-1, -1);
    host->FindElementScheme(this, place);
    MAP_SCHEME_POINTER_ELEMENT* elements = SchFindSchemeElements(host, place.first, place.second);
    auto inType = [&](int port) { return elements ? GetPortInTypeMatch(host, elements, port) : CString(); };
    auto outType = [&](int port) { return elements ? GetPortOutTypeMatch(host, elements, port) : CString(); };

    CString& s = info.m_sInfo;
    s.Format(L"\nInit: %s\n", func->m_bInit ? L"true" : L"false");
    if (func->m_bInit) s.AppendFormat(L"InitSize: %s\n", func->m_sInitSize.GetString());

    s.AppendFormat(L"\n%s: %d\n", HalvexLoadString(7166).GetString(), int(func->m_vInputs.size()));
    for (size_t n = 1; n <= func->m_vInputs.size(); ++n) {
        s.AppendFormat(L"\n%s %d:\n", HalvexLoadString(7167).GetString(), int(n));
        s += func->m_vInputs[n - 1].GetInfoString(host) + L"\n";
        s += HalvexLoadString(7168) + L": " + inType(int(n - 1)) + L"\n";
    }
    s.AppendFormat(L"\n\n%s: %d\n", HalvexLoadString(7169).GetString(), int(func->m_vOutputs.size()));
    for (size_t n = 1; n <= func->m_vOutputs.size(); ++n) {
        s.AppendFormat(L"\n%s %d:\n", HalvexLoadString(7170).GetString(), int(n));
        s += func->m_vOutputs[n - 1].GetInfoString(host) + L"\n";
        s += HalvexLoadString(7171) + L": " + outType(int(n - 1)) + L"\n";
    }
    s.AppendFormat(L"\n\n%s: %d\n", HalvexLoadString(7172).GetString(), int(func->m_vHiddenInputs.size()));
    for (size_t n = 1; n <= func->m_vHiddenInputs.size(); ++n) {
        s.AppendFormat(L"\n%s %d:\n", HalvexLoadString(7173).GetString(), int(n));
        s += func->m_vHiddenInputs[n - 1].GetInfoString(host) + L"\n";
    }
    s.AppendFormat(L"\n\n%s: %d\n", HalvexLoadString(7174).GetString(), int(func->m_vHiddenInitInputs.size()));
    for (size_t n = 1; n <= func->m_vHiddenInitInputs.size(); ++n) {
        s.AppendFormat(L"\n%s %d:\n", HalvexLoadString(7175).GetString(), int(n));
        s += func->m_vHiddenInitInputs[n - 1].GetInfoString(host) + L"\n";
    }
    if (!func->m_vProps.empty()) {
        s += L"\n\n" + HalvexLoadString(7176) + L":\n";
        for (const SmartPointer<FuncPropsBase>& p : func->m_vProps) {
            if (!p) continue;
            s.AppendFormat(L"%s: %s    ", HalvexLoadString(7103).GetString(), p->m_sCaption.GetString());
            s.AppendFormat(L"%s: %s\n", HalvexLoadString(7117).GetString(),
                           p->GetInfoWindowValue(GetCompilerFuncPropValue(host, p->m_sKey)).GetString());
        }
    }
    if (!func->m_vHiddenPropNames.empty()) {
        s += L"\n\n" + HalvexLoadString(7177) + L":\n";
        const std::map<CString, HIDDEN_PROP_DATA>& hidden = host->GetHiddenPropData();
        for (const CString& name : func->m_vHiddenPropNames) {
            auto it = hidden.find(name);
            if (it == hidden.end()) continue;
            s.AppendFormat(L"  %s: %s\n", HalvexLoadString(7103).GetString(), it->second.strCaption.GetString());
            for (const auto& [n, v] : it->second.vValues) {
                s.AppendFormat(L"    %s: %s    ", HalvexLoadString(7178).GetString(), n.GetString());
                s.AppendFormat(L"%s: %s\n", HalvexLoadString(7117).GetString(), v.GetString());
            }
        }
    }
    if (!func->m_setHiddenSigns.empty()) {
        s += L"\n\n" + HalvexLoadString(7179) + L":\n";
        for (const CString& sign : func->m_setHiddenSigns) s.AppendFormat(L"    %s\n", sign.GetString());
    }
}
