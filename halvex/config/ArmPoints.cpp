#include "halvex/config/ArmPoints.h"

#include "halvex/helpers/HalvexResources.h"

namespace {
CString S(unsigned id) { return HalvexLoadString(id); }
CString Label(unsigned id) { return S(id) + L": "; }
}  // namespace

CString GetContactsString(const std::vector<CString>& contacts, const CString& lastContact) {
    CString s;
    for (const CString& c : contacts)
        if (!c.IsEmpty()) s += c + L",";
    return s + lastContact;
}

// --- PUBLIC_DATA ----------------------------------------------------------------------------

int PUBLIC_DATA::GetObjectIconID(ETblLevel level) const {
    uint32_t bit = level == eTblLevelFirst ? 1u : 2u;
    return ((m_nFlags1 | m_nFlags2) & bit) ? 7001 : 7002;
}

bool PUBLIC_DATA::RequireSaveInUserProjectFile() const { return ((m_nFlags1 | m_nFlags2) & 2u) != 0; }
bool PUBLIC_DATA::ViewAndUseOnlyInPlenwick() const { return (m_nAccess & 1u) && !(m_nAccess & 2u); }

// --- ANALOGINPUT ----------------------------------------------------------------------------

CString ANALOGINPUT::GetAnalogInputTypeName(EAnalogInputType type) {
    switch (type) {
        case eAnalogCurrent: return S(7096);
        case eAnalogVoltage: return S(7097);
        case eAnalogFrequency: return S(7098);
        case eAnalogResistance: return S(7099);
        default: return S(7100);
    }
}

int ANALOGINPUT::GetObjectIconID(ETblLevel) const {
    switch (m_nType) {
        case eAnalogCurrent: return 7004;
        case eAnalogVoltage: return 7005;
        case eAnalogFrequency: return 7006;
        case eAnalogResistance: return 7007;
        default: return 7003;
    }
}

CString ANALOGINPUT::GetTypeMatch(ArmDataInterface* host) const {
    return m_nType == eAnalogFrequency ? CString(L"ID_ANALOG_INPUT_FREQ") : ArmObject::GetTypeMatch(host);
}

void ANALOGINPUT::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    if (m_nType == eAnalogCurrent || m_nType == eAnalogVoltage || m_nType == eAnalogResistance)
        text.m_sInfo = L"\n" + Label(7093) + GetAnalogInputName() + L"\n" + Label(7094) + m_sCoeff;
    else if (m_nType == eAnalogFrequency)
        text.m_sInfo = L"\n" + Label(7093) + GetTypeName(false) + L"\n";
    text.m_sInfo += L"\n" + Label(7095) + GetContactsString();
}

// --- DISCRETINPUT ---------------------------------------------------------------------------

CString DISCRETINPUT::GetDiscretInputTypeName(EDiscretInputType type) {
    return type == eDiscretInInput ? S(7107) : S(7100);
}

CString DISCRETINPUT::GetVisualTimeTvh() const {
    if (m_nTimeTvh < 0) return L"1/12";
    CString s;
    s.Format(L"%d", m_nTimeTvh);
    return s;
}

int DISCRETINPUT::GetObjectIconID(ETblLevel) const {
    if (m_nType == eDiscretInInput) return m_bIconMain ? 7010 : 7011;
    return m_bIconMain ? 7008 : 7009;
}

void DISCRETINPUT::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    text.m_sInfo = L"\n" + Label(7101) + GetDiscretInputName() + L"\n" + Label(7095) + GetContactsString() + L"\n" +
                   Label(7102) + (m_bDefault ? L"1" : L"0") + L"\n" + Label(7103) + S(m_bReassignable ? 7104 : 7105) +
                   L" " + S(7106) + L".";
}

// --- DISCRETOUTPUT --------------------------------------------------------------------------

CString DISCRETOUTPUT::GetDiscretOutputTypeName(EDiscretOutputType type) {
    switch (type) {
        case eDiscretOutJumper: return S(7109);
        case eDiscretOutNormallyClosed: return S(7110);
        case eDiscretOutNormallyOpen: return S(7111);
        case eDiscretOutChangeover: return S(7112);
        default: return S(7100);
    }
}

int DISCRETOUTPUT::GetObjectIconID(ETblLevel) const {
    int main = 7016;
    switch (m_nType) {
        case eDiscretOutJumper: main = 7014; break;
        case eDiscretOutNormallyClosed: main = 7012; break;
        case eDiscretOutNormallyOpen: main = 7018; break;
        case eDiscretOutChangeover: main = 7020; break;
        default: break;
    }
    return m_bIconMain ? main : main + 1;
}

void DISCRETOUTPUT::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    text.m_sInfo = L"\n" + Label(7101) + GetDiscretOutputName() + L"\n" + Label(7095) + GetContactsString() + L"\n" +
                   Label(7103) + S(m_bReassignable ? 7104 : 7105) + L" " + S(7108) + L".";
}
