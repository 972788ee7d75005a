#pragma once
// The remaining objects of a terminal project (front-panel LEDs and buttons, remote values,
// user signals, counters, millisecond meters, GOOSE inputs and outputs) and the small records
// the host keeps with them: signal name keys, the signal sets of LEDs and output relays, and
// journal descriptions.
#include <cstdint>
#include <set>
#include <vector>

#include "halvex/config/ArmObject.h"

class BLOCK_LED : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjBlockLed; }
    int GetObjectIconID(ETblLevel) const override { return m_bIconAlt ? 7070 : 7034; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;

    CString m_sFactoryName;
    CString m_sShortName;
    int32_t m_nAux1 = 0;
    bool m_bIconAlt = false;
    int32_t m_nAux2 = 0;
    CString m_sAux3;
    bool m_bAux4 = false;
};

class BLOCK_BUTTON : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjBlockButton; }
    int GetObjectIconID(ETblLevel) const override { return 7035; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;

    CString m_sFactoryName;
};

// A value passed to or from another device; unless it has its own type, its data type is that
// of the scheme input it feeds.
class DIST_ZNACH : public ArmLockObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjDistZnach; }
    int GetObjectIconID(ETblLevel) const override { return 7038; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    CString GetTypeMatch(ArmDataInterface* host) const override;

    CString m_sCount = L"1";
    bool m_bOwnType = false;
    CString m_sOwnType;
};

class ACCUMULATOR : public ArmLockObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjAccumulator; }
    int GetObjectIconID(ETblLevel) const override { return 7039; }
    int32_t m_nAux1 = 0;
};

class MILLISEC_METR : public ArmLockObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjMillisecMetr; }
    int GetObjectIconID(ETblLevel) const override { return 7040; }
    int32_t m_nAux1 = 0;
};

class SIGNAL_USER : public ArmLockObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjSignalUser; }
    int GetObjectIconID(ETblLevel) const override { return 7049; }
    CString m_sAux1;
};

class REAL_ACCUM : public ArmLockObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjRealAccum; }
    int GetObjectIconID(ETblLevel) const override { return 7050; }
    int32_t m_nAux1 = 0;
};

class GOOSE_INPUT : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjGooseIn; }
    int GetObjectIconID(ETblLevel) const override { return 7071; }
};

class GOOSE_OUTPUT : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjGooseOut; }
    int GetObjectIconID(ETblLevel) const override { return 7072; }
};

class GOOSE_INPUT_PB : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjGooseInPB; }
    int GetObjectIconID(ETblLevel) const override { return 7374; }
};

class GOOSE_OUTPUT_PB : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjGooseOutPB; }
    int GetObjectIconID(ETblLevel) const override { return 7373; }
};

// A signal name key: ordered by name, then the entry without the flag first.
struct CSIG_NAME {
    CSIG_NAME() = default;
    explicit CSIG_NAME(const CString& name) : m_sName(name) {}
    CSIG_NAME(const CString& name, bool flag) : m_sName(name), m_bFlag(flag) {}

    bool IsEmpty() const { return m_sName.IsEmpty(); }
    friend bool operator<(const CSIG_NAME& a, const CSIG_NAME& b) {
        if (a.m_sName != b.m_sName) return a.m_sName < b.m_sName;
        return !a.m_bFlag && b.m_bFlag;
    }
    friend bool operator==(const CSIG_NAME& a, const CSIG_NAME& b) {
        return a.m_sName == b.m_sName && a.m_bFlag == b.m_bFlag;
    }

    CString m_sName;
    bool m_bFlag = false;
};

// The signals an LED shows.
struct LED_SIGNAL {
    CString m_sName;
    std::set<CSIG_NAME> m_setSignals;
};

// The signals an output relay follows.
struct OUTRELAY_SIGNAL {
    CString m_sName;
    std::set<CSIG_NAME> m_setSignals;
};

struct JOURNAL {
    CString m_sName;
    bool m_bAux1 = false;
    CString m_sAux2;
    CString m_sAux3;
    std::vector<CString> m_arrItems;
};
