#include "halvex/scheme/SchemeInOut.h"

#include <new>
#include <utility>

#include "halvex/config/ObjIconsHelper.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchemeFunc.h"

using namespace Gdiplus;
using CompileIncludeSpace::IsSchemeType;

namespace {

const std::vector<EArmObjectType> kInputTypes = {eArmObjRaschVhodInput, eArmObjPredvObrInput, eArmObjIzmerOrgInput,
                                                 eArmObjPuskOrgInput,   eArmObjPhonObrInput,  eArmObjOrgIspRazrInput,
                                                 eArmObjOrgIspUserInput};
const std::vector<EArmObjectType> kOutputTypes = {eArmObjRaschVhodOutput, eArmObjPredvObrOutput,
                                                  eArmObjIzmerOrgOutput,  eArmObjPuskOrgOutput,
                                                  eArmObjPhonObrOutput,   eArmObjOrgIspRazrOutput,
                                                  eArmObjOrgIspUserOutput};

bool IsInputLinkType(EArmObjectType t) { return IsSchemeType(t) && t % 2 == 0; }
bool IsOutputLinkType(EArmObjectType t) { return IsSchemeType(t) && t % 2 == 1; }

const std::vector<EArmObjectType>& LinkGroup(EArmObjectType t) { return t % 2 == 0 ? kInputTypes : kOutputTypes; }

// The objects of `types` that bear `name`, in the host's order.
std::vector<ArmObject*> CollectNamed(ArmDataInterface* host, const std::vector<EArmObjectType>& types,
                                     const CString& name) {
    std::vector<ArmObject*> all, named;
    if (!host) return named;
    host->CollectArmObjects(all, types, 1023);
    for (ArmObject* o : all)
        if (o && o->m_sName == name) named.push_back(o);
    return named;
}

// Where the host says an element lives, and that scheme's elements; null when no scheme of the
// host's lists holds it.
MAP_SCHEME_POINTER_ELEMENT* ElementScheme(ArmDataInterface* host, const SCHEME_BASE_ELEMENT* element,
                                          std::pair<int, int>* where = nullptr) {
    if (!host) return nullptr;
    std::pair<int, int> place(-1, -1);
    host->FindElementScheme(element, place);
    if (where) *where = place;
    return SchFindSchemeElements(host, place.first, place.second);
}

CString NumberText(int32_t n) {
    if (n == -1) return HalvexLoadString(7181);
    CString s;
    s.Format(L"%d", n);
    return s;
}

}  // namespace

// --- construction ------------------------------------------------------------------------------

SCHEME_INOUT::SCHEME_INOUT(ESchemeEditType kind) : m_eLinkType(eArmObjNone), m_eSchemeEditType(kind) {}

EArmObjectType SCHEME_INOUT::GetInputTypeForKind(ESchemeEditType kind) {
    switch (kind) {
    case eSchemeEditPreProcessing: return eArmObjPredvObrInput;
    case eSchemeEditCalcValues: return eArmObjIzmerOrgInput;
    case eSchemeEditStartOrgans: return eArmObjPuskOrgInput;
    case eSchemeEditBackground: return eArmObjPhonObrInput;
    case eSchemeEditDeveloper: return eArmObjOrgIspRazrInput;
    case eSchemeEditCalcInputs: return eArmObjRaschVhodInput;
    default: return eArmObjOrgIspUserInput;
    }
}

EArmObjectType SCHEME_INOUT::GetOutputTypeForKind(ESchemeEditType kind) {
    return EArmObjectType(GetInputTypeForKind(kind) + 1);
}

SCHEME_INPUT::SCHEME_INPUT(ESchemeEditType kind) : SCHEME_INOUT(kind) { m_eLinkType = GetArmObjectType(); }

SCHEME_OUTPUT::SCHEME_OUTPUT(ESchemeEditType kind) : SCHEME_INOUT(kind) { m_eLinkType = GetArmObjectType(); }

SCHEME_OUTPUT::SCHEME_OUTPUT(ESchemeEditType kind, bool useInSignalsMatrix, bool useInOrgIspUsers, bool useInAsu,
                             EUseDistSend useDistSend, bool useInKtrUstavka, const CString& channelCoeff,
                             const CString& channelPhase, const CString& channelUnit)
    : SCHEME_INOUT(kind),
      m_bUseInSignalsMatrix(useInSignalsMatrix),
      m_bUseInOrgIspUsers(useInOrgIspUsers),
      m_bUseInAsu(useInAsu),
      m_bUseInKtrUstavka(useInKtrUstavka),
      m_eUseDistSend(useDistSend),
      m_sChannelCoeff(channelCoeff),
      m_sChannelPhase(channelPhase),
      m_sChannelUnit(channelUnit) {
    m_eLinkType = GetArmObjectType();
}

SCHEME_BASE_ELEMENT* SCHEME_INPUT::Clone() const { return new (std::nothrow) SCHEME_INPUT(*this); }
SCHEME_BASE_ELEMENT* SCHEME_OUTPUT::Clone() const { return new (std::nothrow) SCHEME_OUTPUT(*this); }

Scheme_Draw* SCHEME_INPUT::GetSchemeDraw(ArmDataInterface* host) const {
    return host ? host->GetInputSchemeDraw() : nullptr;
}
Scheme_Draw* SCHEME_OUTPUT::GetSchemeDraw(ArmDataInterface* host) const {
    return host ? host->GetOutputSchemeDraw() : nullptr;
}

// --- links -------------------------------------------------------------------------------------

void SCHEME_INOUT::SetConnected(const ArmObject* object) {
    if (!object) return;
    m_eLinkType = object->GetArmObjectType();
    m_sName = object->m_sName;
}

void SCHEME_INOUT::GetConnectedArmObjects(ArmDataInterface* host, std::vector<ArmObject*>& out) const {
    out.clear();
    if (!IsConnected()) return;
    if (IsSchemeType(m_eLinkType)) out = CollectNamed(host, LinkGroup(m_eLinkType), m_sName);
    else out = CollectNamed(host, {m_eLinkType}, m_sName);
}

void SCHEME_INOUT::GetConnectedArmObjectsInSchemeEditType(ArmDataInterface* host, ESchemeEditType kind,
                                                          std::vector<ArmObject*>& out) const {
    out.clear();
    if (!IsConnected()) return;
    const EArmObjectType partner = IsInputElement() ? GetOutputTypeForKind(kind) : GetInputTypeForKind(kind);
    out = CollectNamed(host, {partner}, m_sName);
}

bool SCHEME_INOUT::IsConnectedInSchemeEditType(ArmDataInterface* host, ESchemeEditType kind) const {
    std::vector<ArmObject*> partners;
    GetConnectedArmObjectsInSchemeEditType(host, kind, partners);
    return !partners.empty();
}

bool SCHEME_INOUT::DisconnectInSchemeEditTypeAndCorrectNames(ArmDataInterface* host, ESchemeEditType kind) {
    std::vector<ArmObject*> partners;
    GetConnectedArmObjectsInSchemeEditType(host, kind, partners);
    if (partners.empty()) return false;

    static const std::vector<EArmObjectType> kNamedTypes = [] {
        std::vector<EArmObjectType> t = {
            eArmObjAnalogInput, eArmObjDiscretInput, eArmObjDiscretOutput, eArmObjUstavFirst, eArmObjUstavAnalog,
            eArmObjUstavDiscret, eArmObjUstavTime, eArmObjUstavProgrKey, eArmObjUstavAlarm, eArmObjVarSysIn,
            eArmObjVarSysOut, eArmObjGooseIn, eArmObjGooseInPB, eArmObjGooseOut, eArmObjGooseOutPB, eArmObjVarASU,
            eArmObjVarButton, eArmObjBlockLed, eArmObjBlockButton, eArmObjDistZnach, eArmObjSignalUser,
            eArmObjAccumulator, eArmObjRealAccum, eArmObjMillisecMetr};
        for (int s = eArmObjRaschVhodInput; s <= eArmObjOrgIspUserOutput; ++s) t.push_back(EArmObjectType(s));
        return t;
    }();
    std::vector<ArmObject*> all;
    host->CollectArmObjects(all, kNamedTypes, 1023);
    std::set<CString> names;
    for (const ArmObject* o : all)
        if (o) names.insert(o->m_sName);

    const CString base = m_sName + L"_copy";
    int counter = 1;
    for (ArmObject* partner : partners) {
        CString name;
        for (;; ++counter) {
            name.Format(L"%s%d", base.GetString(), counter);
            if (!names.count(name)) break;
        }
        ++counter;
        if (auto* inout = dynamic_cast<SCHEME_INOUT*>(partner)) {
            inout->m_sName = name;
            inout->ResetConnect();
        }
    }

    std::vector<ArmObject*> still;
    GetConnectedArmObjects(host, still);
    m_eLinkType = still.empty() ? GetArmObjectType() : still.front()->GetArmObjectType();
    return true;
}

bool SCHEME_INOUT::CanRename() const {
    if (!IsConnected()) return true;
    return IsSchemeType(m_eLinkType) && (m_eSchemeEditType != eSchemeEditUser || m_eLinkType == eArmObjOrgIspUserInput ||
                                         m_eLinkType == eArmObjOrgIspUserOutput);
}

int SCHEME_INOUT::GetSchemeInOutConnect(ArmDataInterface* host) const {
    int bits = 0;
    const auto* output = dynamic_cast<const SCHEME_OUTPUT*>(this);
    if (output) {
        if (output->GetUseInSignalsMatrix()) bits |= 0x400;
        if (output->GetUseInOrgIspUsers()) bits |= 0x800;
        if (output->GetUseInAsu(host)) bits |= 0x1000;
    }
    if (!IsConnected()) return bits | 0x1;
    if (!IsSchemeType(m_eLinkType)) return bits | 0x200;

    std::vector<ArmObject*> linked;
    GetConnectedArmObjects(host, linked);
    const EArmObjectType partner = CompileIncludeSpace::GetPairSchemeObjectType(GetArmObjectType());
    for (const ArmObject* o : linked) {
        if (o->GetArmObjectType() != partner) {
            bits |= 0x100;
            break;
        }
        if (output) {
            bits |= output->GetUseInSignalsMatrix() ? 0x2 : 0x4;
            bits |= output->GetUseInOrgIspUsers() ? 0x8 : 0x10;
            bits |= output->GetUseInAsu(host) ? 0x20 : 0x40;
        } else {
            bits |= 0x80;
        }
    }
    return bits == 0 ? 0x1 : bits;
}

bool SCHEME_INOUT::IsCommentEditable(ArmObject*& out, ArmDataInterface* host) const {
    out = nullptr;
    std::vector<ArmObject*> linked;
    GetConnectedArmObjects(host, linked);
    for (ArmObject* o : linked)
        if (!IsSchemeType(o->GetArmObjectType())) {
            out = o;
            return true;
        }
    return false;
}

CString SCHEME_INOUT::GetComment(ArmDataInterface* host) {
    ArmObject* source = nullptr;
    if (IsCommentEditable(source, host)) m_sComment = source->m_sComment;
    return m_sComment;
}

void SCHEME_INPUT::ClearConnectedOutputs(ArmDataInterface* host) {
    if (!IsOutputLinkType(m_eLinkType) || !host) return;
    int takers = 0;
    for (ArmObject* o : CollectNamed(host, kInputTypes, m_sName)) {
        auto* in = dynamic_cast<SCHEME_INPUT*>(o);
        if (in && IsOutputLinkType(in->m_eLinkType)) ++takers;
    }
    if (takers != 1) return;
    for (ArmObject* o : CollectNamed(host, kOutputTypes, m_sName)) {
        auto* out = dynamic_cast<SCHEME_OUTPUT*>(o);
        if (out && IsInputLinkType(out->m_eLinkType)) out->ResetConnect();
    }
}

void SCHEME_OUTPUT::ClearConnectedInputs(ArmDataInterface* host) {
    if (!IsInputLinkType(m_eLinkType) || !host) return;
    for (ArmObject* o : CollectNamed(host, kInputTypes, m_sName)) {
        auto* in = dynamic_cast<SCHEME_INPUT*>(o);
        if (in && IsOutputLinkType(in->m_eLinkType)) in->ResetConnect();
    }
}

// --- data types --------------------------------------------------------------------------------

CString SCHEME_INOUT::GetTypeMatch(ArmDataInterface* host) const {
    MAP_SCHEME_POINTER_ELEMENT* elements = ElementScheme(host, this);
    if (!elements) return CString();
    return IsInputElement() ? GetPortOutTypeMatch(host, elements, 0) : GetPortInTypeMatch(host, elements, 0);
}

CString SCHEME_INOUT::GetPortInsideTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements) const {
    return GetPortInsideTypeMatchWithBlackList(host, elements, {});
}

CString SCHEME_INOUT::GetPortOutsideTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements) const {
    return GetPortOutsideTypeMatchWithBlackList(host, elements, {});
}

CString SCHEME_INOUT::GetOwnPortTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                          std::set<CString> blackList) const {
    if (port != 0) return CString();
    CString inside = GetPortInsideTypeMatchWithBlackList(host, elements, blackList);
    if (!inside.IsEmpty()) return inside;
    return GetPortOutsideTypeMatchWithBlackList(host, elements, std::move(blackList));
}

CString SCHEME_INOUT::InsideTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                      std::set<CString> blackList) const {
    if (!elements) return CString();
    GuidAndPort link;
    if (IsInputElement()) {
        auto it = m_mapOutLinks.find(0);
        if (it == m_mapOutLinks.end() || it->second.empty()) return CString();
        link = it->second.front();
    } else {
        auto it = m_mapInLinks.find(0);
        if (it == m_mapInLinks.end()) return CString();
        link = it->second;
    }
    if (CompileIncludeSpace::IsGuidNil(link.m_guidElem)) return CString();
    const CString farKey = CompileIncludeSpace::GetStringByGuid(link.m_guidElem);
    const SCHEME_BASE_ELEMENT* far = elements->Find(farKey);
    if (!far) return CString();
    blackList.insert(GetGuidString());

    switch (far->GetSchemeElementType()) {
    case eSchElemFunc:
    case eSchElemBlock:
        return IsInputElement() ? far->GetPortInTypeMatchWithBlackList(host, elements, link.m_nPort, blackList)
                                : far->GetPortOutTypeMatchWithBlackList(host, elements, link.m_nPort, blackList);
    case eSchElemInput:
    case eSchElemOutput: {
        // Straight from an input to an output of the same scheme.
        const bool straight = far->GetSchemeElementType() == (IsInputElement() ? eSchElemOutput : eSchElemInput);
        const auto* inout = dynamic_cast<const SCHEME_INOUT*>(far);
        if (!straight || !inout || blackList.count(farKey)) return CString();
        blackList.insert(farKey);
        return inout->GetPortOutsideTypeMatchWithBlackList(host, elements, blackList);
    }
    default:
        return CString();
    }
}

CString SCHEME_INOUT::GetPortOutsideTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT*,
                                                           std::set<CString> blackList) const {
    if (!IsConnected()) return CString();
    std::vector<ArmObject*> linked;
    GetConnectedArmObjects(host, linked);
    if (linked.empty()) return CString();
    if (!IsSchemeType(m_eLinkType)) return linked.front()->GetTypeMatch(host);

    blackList.insert(GetGuidString());
    for (ArmObject* o : linked) {
        const auto* inout = dynamic_cast<const SCHEME_INOUT*>(o);
        if (!inout) continue;
        MAP_SCHEME_POINTER_ELEMENT* itsScheme = ElementScheme(host, inout);
        if (!itsScheme) continue;
        const CString key = inout->GetGuidString();
        if (!blackList.count(key)) {
            blackList.insert(key);
            CString t = inout->GetPortInsideTypeMatchWithBlackList(host, itsScheme, blackList);
            if (!t.IsEmpty()) return t;
        }
        if (dynamic_cast<const SCHEME_OUTPUT*>(inout)) {
            // The other inputs that this output feeds may know the type from their side.
            std::vector<ArmObject*> fed;
            inout->GetConnectedArmObjects(host, fed);
            for (ArmObject* f : fed) {
                const auto* in = dynamic_cast<const SCHEME_INPUT*>(f);
                if (!in) continue;
                const CString inKey = in->GetGuidString();
                if (blackList.count(inKey)) continue;
                MAP_SCHEME_POINTER_ELEMENT* inScheme = ElementScheme(host, in);
                if (!inScheme) continue;
                blackList.insert(inKey);
                CString t = in->GetPortInsideTypeMatchWithBlackList(host, inScheme, blackList);
                if (!t.IsEmpty()) return t;
            }
        }
    }
    return CString();
}

CString SCHEME_INPUT::GetPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                          int port) const {
    return GetPortOutTypeMatchWithBlackList(host, elements, port, {});
}

CString SCHEME_INPUT::GetPortOutTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                       int port, std::set<CString> blackList) const {
    return GetOwnPortTypeMatch(host, elements, port, std::move(blackList));
}

CString SCHEME_INPUT::GetPortInsideTypeMatchWithBlackList(ArmDataInterface* host,
                                                          MAP_SCHEME_POINTER_ELEMENT* elements,
                                                          std::set<CString> blackList) const {
    return InsideTypeMatch(host, elements, std::move(blackList));
}

CString SCHEME_OUTPUT::GetPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                          int port) const {
    return GetPortInTypeMatchWithBlackList(host, elements, port, {});
}

CString SCHEME_OUTPUT::GetPortInTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                       int port, std::set<CString> blackList) const {
    return GetOwnPortTypeMatch(host, elements, port, std::move(blackList));
}

CString SCHEME_OUTPUT::GetPortInsideTypeMatchWithBlackList(ArmDataInterface* host,
                                                           MAP_SCHEME_POINTER_ELEMENT* elements,
                                                           std::set<CString> blackList) const {
    return InsideTypeMatch(host, elements, std::move(blackList));
}

// --- drawing -----------------------------------------------------------------------------------

CString SCHEME_INOUT::GetSchemeEditShortName() const { return ObjIconsHelper::GetSchemeEditShortName(m_eLinkType); }

void SCHEME_INOUT::Draw(ArmDataInterface* host, Graphics& g, EDrawType type, Size offset) const {
    CString linkText;
    if (m_vNumbers.empty()) linkText = GetSchemeEditShortName();
    else if (m_vNumbers.size() == 1) linkText = NumberText(m_vNumbers.front());
    DrawMe(host, g, type, offset, m_sName, linkText);
}

void SCHEME_INOUT::DrawMe(ArmDataInterface* host, Graphics& g, EDrawType type, Size offset, const CString& name,
                          const CString& linkText) const {
    const GraphicsState state = g.Save();
    g.TranslateTransform(REAL(m_nX + offset.Width), REAL(m_nY + offset.Height));
    if (Scheme_Draw* drawing = GetSchemeDraw(host)) {
        CString numbers;
        for (size_t i = 0; i < m_vNumbers.size(); ++i) {
            if (i) numbers += L", ";
            numbers += NumberText(m_vNumbers[i]);
        }
        for (Sch_Object& o : drawing->m_vObjects) {
            const CString attr = o.GetAttrib();
            if (attr.CompareNoCase(L"Name") == 0) {
                o.Draw(g, type, const_cast<wchar_t*>(name.GetString()), nullptr);
            } else if (attr.CompareNoCase(L"TypeName") == 0) {
                if (IsConnected()) o.Draw(g, type, const_cast<wchar_t*>(linkText.GetString()), nullptr);
            } else if (attr.CompareNoCase(L"NumericText") == 0) {
                if (m_vNumbers.size() >= 2) o.Draw(g, type, const_cast<wchar_t*>(numbers.GetString()), nullptr);
            } else {
                o.Draw(g, type, nullptr, nullptr);
            }
        }
        for (Sch_PortIn& p : drawing->m_vPortIn) p.Draw(g, type, nullptr, nullptr);
        for (Sch_PortOut& p : drawing->m_vPortOut) p.Draw(g, type, nullptr, nullptr);
    }
    DrawCrossesOnFreePorts(host, g, type);
    g.Restore(state);
}

RectF SCHEME_INOUT::GetBoundedRectF(ArmDataInterface* host, float scale) const {
    Scheme_Draw* drawing = GetSchemeDraw(host);
    if (!drawing) return RectF(0, 0, 0, 0);
    return SchPlaceElementRect(drawing->GetBoundedRectF(scale), m_nX, m_nY);
}

void SCHEME_INOUT::GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const {
    out.clear();
    if (Scheme_Draw* drawing = GetSchemeDraw(host)) out = drawing->m_vPortIn;
}

void SCHEME_INOUT::GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const {
    out.clear();
    if (Scheme_Draw* drawing = GetSchemeDraw(host)) out = drawing->m_vPortOut;
}

// --- info text ---------------------------------------------------------------------------------

void SCHEME_INOUT::FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const {
    info.Clear();
    info.m_sType = HalvexLoadString(IsInputElement() ? 7182 : 7183);
    info.m_sName = m_sName;

    CString& s = info.m_sInfo;
    s = L"\n" + HalvexLoadString(7184) + L":\n";
    if (!IsConnected()) {
        s += HalvexLoadString(7100) + L"\n";
    } else if (IsSchemeType(m_eLinkType)) {
        for (ArmObject* o : CollectNamed(host, LinkGroup(m_eLinkType), m_sName)) {
            const auto* inout = dynamic_cast<const SCHEME_INOUT*>(o);
            if (!inout) continue;
            std::pair<int, int> place;
            if (!ElementScheme(host, inout, &place)) continue;
            const ARM_SCHEME* scheme = host->GetSchemeRecords(ESchemeEditType(place.first))[size_t(place.second)];
            s.AppendFormat(L"%s %s\n", CompileIncludeSpace::GetFuncSchemeTypeName(ESchemeEditType(place.first)).GetString(),
                           scheme->m_sName.GetString());
        }
    } else {
        s.AppendFormat(L"%s\n", ObjIconsHelper::GetTypeName(m_eLinkType, false).GetString());
    }

    s += L"\n" + HalvexLoadString(7151) + L": ";
    const CString t = GetTypeMatch(host);
    if (t.IsEmpty()) {
        s += HalvexLoadString(7141) + L"\n";
    } else {
        s.AppendFormat(L"%s\n", t.GetString());
        s += HalvexLoadString(7152) + L": ";
        std::map<CString, TYPE_MATCHER>* types = host ? host->GetTypeMatchers() : nullptr;
        auto it = types ? types->find(t) : std::map<CString, TYPE_MATCHER>::iterator();
        if (!types || it == types->end()) {
            s += HalvexLoadString(7141);
        } else {
            s += it->second.m_sDescription + L"\n";
            s.AppendFormat(L"%s: %s\n", HalvexLoadString(7153).GetString(), it->second.m_sSize.GetString());
            s.AppendFormat(L"%s: %s", HalvexLoadString(7154).GetString(), it->second.m_sCompiler.GetString());
        }
    }
}

void SCHEME_OUTPUT::FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const {
    SCHEME_INOUT::FillOutInfoText(info, host);
    auto it = m_mapPortTexts.find(0);
    if (it != m_mapPortTexts.end() && !it->second.IsEmpty())
        info.m_sInfo.AppendFormat(L"\n%s: %s", HalvexLoadString(7185).GetString(), it->second.GetString());
}

// --- output options ----------------------------------------------------------------------------

namespace {
bool KindIn(ESchemeEditType kind, std::initializer_list<int> kinds) {
    for (int k : kinds)
        if (kind == k) return true;
    return false;
}
}  // namespace

bool SCHEME_OUTPUT::IsAllowOptionUseInOrgIspUsers(ESchemeEditType kind) { return !KindIn(kind, {0, 1, 5, 6}); }
bool SCHEME_OUTPUT::CanBeUsedInOrgIspUsers(ESchemeEditType kind) { return !KindIn(kind, {0, 1, 6}); }

bool SCHEME_OUTPUT::GetUseInOrgIspUsers() const {
    if (KindIn(m_eSchemeEditType, {0, 1, 6})) return false;
    return m_bUseInOrgIspUsers || KindIn(m_eSchemeEditType, {5, 7});
}

bool SCHEME_OUTPUT::IsAllowOptionUseInAsu(ESchemeEditType kind, ArmDataInterface* host) {
    if (!KindIn(kind, {1, 4, 5})) return false;
    return !(host && host->IsAsuUseForbidden());
}

bool SCHEME_OUTPUT::GetUseInAsu(ArmDataInterface* host) const {
    return IsAllowOptionUseInAsu(m_eSchemeEditType, host) && m_bUseInAsu;
}

bool SCHEME_OUTPUT::IsAllowOptionUseDistSend(ESchemeEditType kind, ArmDataInterface* host) {
    if (!KindIn(kind, {1, 4})) return false;
    if (host && !host->IsAsuUseForbidden()) return host->IsDistSendSupported();
    return true;
}

EUseDistSend SCHEME_OUTPUT::GetUseDistSend(ArmDataInterface* host) const {
    const bool forbidden = host && host->IsAsuUseForbidden();
    EUseDistSend v = eUseDistSendNone;
    if (KindIn(m_eSchemeEditType, {1, 4}) && (!host || forbidden || host->IsDistSendSupported())) v = m_eUseDistSend;
    if (v == eUseDistSendChannel2 && !forbidden) v = eUseDistSendNone;
    return v;
}

bool SCHEME_OUTPUT::IsAllowChannel2DistSend(ArmDataInterface* host) { return host && host->IsAsuUseForbidden(); }
bool SCHEME_OUTPUT::IsAllowOptionUseInKtrUstavka(ESchemeEditType kind) { return kind == eSchemeEditCalcValues; }
bool SCHEME_OUTPUT::GetUseInKtrUstavka() const { return m_eSchemeEditType == eSchemeEditCalcValues && m_bUseInKtrUstavka; }
bool SCHEME_OUTPUT::IsAllowOptionsOscillParams(ESchemeEditType kind) { return KindIn(kind, {0, 1, 6}); }
bool SCHEME_OUTPUT::IsAllowOnlyForFloatScalarDastrel100S(ESchemeEditType kind) { return KindIn(kind, {0, 1}); }

CString SCHEME_OUTPUT::GetChannelCoeff() const {
    return IsAllowOptionsOscillParams(m_eSchemeEditType) ? m_sChannelCoeff : CString(L"1.0");
}
CString SCHEME_OUTPUT::GetChannelPhase() const {
    return IsAllowOptionsOscillParams(m_eSchemeEditType) ? m_sChannelPhase : CString();
}
CString SCHEME_OUTPUT::GetChannelUnit() const {
    return IsAllowOptionsOscillParams(m_eSchemeEditType) ? m_sChannelUnit : CString();
}
