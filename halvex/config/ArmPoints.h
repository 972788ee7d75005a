#pragma once
// The points of a terminal: project-property parameters, analog inputs, discrete inputs and
// relay outputs.
#include <vector>

#include "halvex/config/ArmObject.h"

// An element of a choice list: two texts.
struct ComboStringArray {
    ComboStringArray() = default;
    ComboStringArray(CString a, CString b) : first(std::move(a)), second(std::move(b)) {}
    CString first;
    CString second;
};

enum EAnalogInputType : int32_t { eAnalogNone = 0, eAnalogCurrent = 1, eAnalogVoltage = 2, eAnalogFrequency = 3,
                                  eAnalogResistance = 4 };
enum EDiscretInputType : int32_t { eDiscretInNone = 0, eDiscretInInput = 1 };
enum EDiscretOutputType : int32_t { eDiscretOutNone = 0, eDiscretOutJumper = 1, eDiscretOutNormallyClosed = 2,
                                    eDiscretOutNormallyOpen = 3, eDiscretOutChangeover = 4 };

class PUBLIC_DATA : public ArmLockObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjPublicData; }
    // Bit 0 (first level) or bit 1 (deeper levels) of either flag word chooses 7001 over 7002.
    int GetObjectIconID(ETblLevel level) const override;
    bool RequireSaveInUserProjectFile() const;
    bool ViewAndUseOnlyInPlenwick() const;

    CString m_sText1, m_sText2;  // kept for the host
    uint32_t m_nFlags1 = 0, m_nFlags2 = 0;
    uint32_t m_nAccess = 0;
    std::vector<ComboStringArray> m_arrChoices;
    int32_t m_nAux = 0;
    bool m_bAux = false;
};

// Contact numbers on the connection diagram: the non-empty entries each followed by a comma,
// then the last contact.
CString GetContactsString(const std::vector<CString>& contacts, const CString& lastContact);

class ANALOGINPUT : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjAnalogInput; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel level) const override;
    // A frequency input is "ID_ANALOG_INPUT_FREQ" without asking the host.
    CString GetTypeMatch(ArmDataInterface* host) const override;

    static CString GetAnalogInputTypeName(EAnalogInputType type);
    CString GetAnalogInputName() const { return GetAnalogInputTypeName(m_nType); }
    CString GetContactsString() const { return ::GetContactsString(m_arrContacts, m_sLastContact); }
    CString GetChannelPhase() const { return m_sPhase; }
    CString GetChannelCalibrate() const { return m_sCalibrate; }

    CString m_sAux1;
    EAnalogInputType m_nType = eAnalogNone;
    CString m_sCoeff;
    int32_t m_nAux2 = 0, m_nAux3 = -1;
    std::vector<CString> m_arrContacts;
    CString m_sLastContact;
    CString m_sAux4;
    std::vector<ComboStringArray> m_arrAux5;
    CString m_sAux6;
    int32_t m_nAux7 = 0;
    bool m_bAux8 = false;
    CString m_sPhase;
    CString m_sCalibrate;
};

class DISCRETINPUT : public ArmConfDbObject {
public:
    static constexpr int32_t m_nTimeSrDef = 4, m_nTimeSrMax = 30, m_nTvhMax = 30;

    EArmObjectType GetArmObjectType() const override { return eArmObjDiscretInput; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel level) const override;

    static CString GetDiscretInputTypeName(EDiscretInputType type);
    CString GetDiscretInputName() const { return GetDiscretInputTypeName(m_nType); }
    CString GetContactsString() const { return ::GetContactsString(m_arrContacts, m_sLastContact); }
    int32_t GetTimeTvh() const { return m_nTimeTvh < 0 ? 0 : m_nTimeTvh; }
    CString GetVisualTimeTvh() const;  // "1/12" for the negative time
    int32_t GetTimeSr() const { return m_nTimeSr > m_nTimeSrMax ? m_nTimeSrMax : m_nTimeSr; }

    EDiscretInputType m_nType = eDiscretInNone;
    int32_t m_nAux1 = 0, m_nAux2 = -1;
    std::vector<CString> m_arrContacts;
    CString m_sLastContact;
    int32_t m_nAux3 = 0;
    bool m_bIconMain = true;
    bool m_bDefault = false;
    bool m_bReassignable = true;
    bool m_bAux4 = false;
    int32_t m_nTimeTvh = 12;  // a negative value stands for one twelfth
    int32_t m_nTimeSr = m_nTimeSrDef;
};

class DISCRETOUTPUT : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjDiscretOutput; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel level) const override;

    static CString GetDiscretOutputTypeName(EDiscretOutputType type);
    CString GetDiscretOutputName() const { return GetDiscretOutputTypeName(m_nType); }
    CString GetContactsString() const { return ::GetContactsString(m_arrContacts, m_sLastContact); }

    CString m_sAux1;
    EDiscretOutputType m_nType = eDiscretOutNone;
    int32_t m_nAux2 = 0, m_nAux3 = -1;
    std::vector<CString> m_arrContacts;
    CString m_sLastContact;
    int32_t m_nAux4 = 0;
    bool m_bIconMain = true;
    bool m_bReassignable = true;
    bool m_bAux5 = true;
};
