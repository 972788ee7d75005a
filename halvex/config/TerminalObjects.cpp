#include "halvex/config/TerminalObjects.h"

#include <map>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchemeFunc.h"
#include "halvex/scheme/SchemeInOut.h"

void BLOCK_LED::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    text.m_sInfo = L"\n" + HalvexLoadString(7148) + L": " + m_sFactoryName + L"\n" + HalvexLoadString(7149) + L": " +
                   m_sShortName;
}

void BLOCK_BUTTON::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    text.m_sInfo = L"\n" + HalvexLoadString(7148) + L": " + m_sFactoryName;
}

void DIST_ZNACH::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    const CString t = GetTypeMatch(host);
    CString& s = text.m_sInfo;
    s = HalvexLoadString(7151) + L": ";
    if (t.IsEmpty()) {
        s += HalvexLoadString(7141) + L"\n";
    } else {
        s += t + L"\n" + HalvexLoadString(7152) + L": ";
        std::map<CString, TYPE_MATCHER>* types = host ? host->GetTypeMatchers() : nullptr;
        auto it = types ? types->find(t) : std::map<CString, TYPE_MATCHER>::iterator();
        if (!types || it == types->end()) {
            s += HalvexLoadString(7141);
        } else {
            s += it->second.m_sDescription + L"\n" + HalvexLoadString(7153) + L": " + it->second.m_sSize + L"\n" +
                 HalvexLoadString(7154) + L": " + it->second.m_sCompiler;
        }
    }
    text.m_sComment = m_sComment;
}

CString DIST_ZNACH::GetTypeMatch(ArmDataInterface* host) const {
    if (m_bOwnType) return m_sOwnType;
    if (!host) return CString();
    static const EArmObjectType kInputKinds[] = {eArmObjRaschVhodInput, eArmObjPredvObrInput, eArmObjIzmerOrgInput,
                                                 eArmObjPuskOrgInput,   eArmObjPhonObrInput,  eArmObjOrgIspRazrInput,
                                                 eArmObjOrgIspUserInput};
    for (EArmObjectType inputKind : kInputKinds) {
        const ESchemeEditType kind = CompileIncludeSpace::GetSchemeEditType(inputKind);
        if (kind < 0) continue;
        for (ARM_SCHEME* scheme : host->GetSchemeRecords(kind)) {
            if (!scheme) continue;
            for (const auto& [key, element] : scheme->m_mapElements) {
                if (!element || element->GetSchemeElementType() != eSchElemInput) continue;
                const auto* input = dynamic_cast<const SCHEME_INPUT*>(element.get());
                if (!input || input->m_eLinkType != GetArmObjectType() || input->m_sName != m_sName) continue;
                const CString t = input->GetPortInsideTypeMatch(host, &scheme->m_mapElements);
                if (!t.IsEmpty()) return t;
            }
        }
    }
    return CString();
}
