#pragma once
// Protection and automation settings, with one value for all setting programs or one per
// program, and the system and user signals.
//
// A program's value (program p, 0-based): with m_bOneValue the first value for any p >= 0,
// otherwise value p; a value the list does not hold is the type's empty value.
#include <cstdint>
#include <vector>

#include "halvex/config/ArmObject.h"

class USTAV_FIRST : public USTAV_ABSTRACT {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjUstavFirst; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel) const override { return 7022; }
    CString GetStrValue(int) override { return m_sValue; }
    // The leading numbers of the texts (0 without one).
    double GetValue() const;
    double GetUp() const;
    double GetDown() const;
    double GetStep() const;
    void GetValue_(std::vector<CString>& values) const { values.push_back(m_sValue); }  // appends

    CString m_sAux1;  // kept for the host
    std::vector<CString> m_arrInputs;  // the analog inputs the coefficient applies to
    CString m_sValue, m_sUp, m_sDown, m_sStep;
};

class USTAV_ANALOG : public USTAV_ABSTRACT {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjUstavAnalog; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel) const override { return m_bOneValue ? 7023 : 7024; }
    CString GetStrValue(int program) override;
    double GetValue(int program);
    double GetUp() const;
    double GetDown() const;
    double GetStep() const;
    void GetValue_(std::vector<CString>& values) const { values = m_arrValues; }  // replaces

    bool m_bOneValue = false;
    std::vector<CString> m_arrValues;
    CString m_sUp, m_sDown, m_sStep;
};

class USTAV_DISCRET : public USTAV_ABSTRACT {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjUstavDiscret; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel) const override { return m_bOneValue ? 7025 : 7026; }
    // "%d"; a missing value is "0" with m_bOneValue and an empty text without.
    CString GetStrValue(int program) override;
    int32_t GetValue(int program) const;
    void GetValue_(std::vector<CString>& values) const;  // appends every value

    bool m_bOneValue = false;
    std::vector<int32_t> m_arrValues;
    int32_t m_nUp = 0, m_nDown = 0;
};

// A time setting in hundredths of a second.
class USTAV_TIME : public USTAV_ABSTRACT {
public:
    static constexpr uint16_t m_nCoeffFromSecs = 100, m_nMinStep = 1, m_nMaxValue = 60000, m_nMinValue = 0;

    EArmObjectType GetArmObjectType() const override { return eArmObjUstavTime; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel) const override { return m_bOneValue ? 7027 : 7028; }
    CString GetStrValue(int program) override;  // seconds, "%.2f"
    uint16_t GetValue(int program) const;
    void GetValue_(std::vector<CString>& values) const;  // appends the raw hundredths

    bool m_bOneValue = false;
    uint16_t m_nUp = 0, m_nDown = 0, m_nStep = 0;
    std::vector<uint16_t> m_arrValues;
};

// A program key: one bit per setting program.
class USTAV_PROGR_KEY : public USTAV_ABSTRACT {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjUstavProgrKey; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel) const override { return m_bOneValue ? 7029 : 7030; }
    CString GetStrValue(int program) override { return GetValue(program) ? L"1" : L"0"; }
    bool GetValue(int program) const;
    void GetValue_(std::vector<CString>& values) const;

    bool m_bOneValue = false;
    std::vector<bool> m_arrBits;
};

// When an alarm-time setting fires: each part counts only when given.
struct ALARM_STRUCT {
    int16_t m_nMinutes = 0;
    int16_t m_nHours = 0;
    int16_t m_nDay = 1;    // day of month
    int16_t m_nMonth = 1;  // 1 January .. 12 December
    uint8_t m_nWeekDays = 0;  // bit 0 Sunday, bit 1 Monday, ... bit 6 Saturday
    bool m_bMinutes = false, m_bHours = false, m_bDay = false, m_bMonth = false, m_bWeekDays = false;

    // The set days, Monday first and Sunday last, joined by ", ".
    CString GetWeekDaysString() const;
    CString GetMonthString() const;
    // Appends the five "label: value" lines of the record to text.m_sInfo.
    void AddToOutInfoText(OUT_INFO_TEXT& text) const;
};

class USTAV_ALARM : public USTAV_ABSTRACT {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjUstavAlarm; }
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override;
    int GetObjectIconID(ETblLevel) const override { return m_bOneValue ? 7041 : 7042; }
    // The record of a program, the list grown with default records to hold it; a negative
    // program is taken as program 0.
    ALARM_STRUCT& GetAlarmStruct(int program);
    // The record as one line, such as "5 Март  07:30 ПН, ВС".
    CString GetStrValue(int program) override;
    void GetValue_(std::vector<CString>& values);

    bool m_bOneValue = false;
    std::vector<ALARM_STRUCT> m_arrAlarms;
};

class VAR_SYS : public ArmConfDbObject {
public:
    EArmObjectType GetArmObjectType() const override { return m_bInput ? eArmObjVarSysIn : eArmObjVarSysOut; }
    int GetObjectIconID(ETblLevel) const override { return 7031; }
    bool m_bInput = false;
};

class VARIABLE : public ArmLockObject {
public:
    EArmObjectType GetArmObjectType() const override { return m_bAsu ? eArmObjVarASU : eArmObjVarButton; }
    int GetObjectIconID(ETblLevel) const override { return m_bAsu ? 7032 : 7033; }
    CString m_sAux1;  // kept for the host
    bool m_bAsu = false;
};
