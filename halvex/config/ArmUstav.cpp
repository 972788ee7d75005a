#include "halvex/config/ArmUstav.h"

#include "halvex/config/ArmDataInterface.h"
#include "halvex/helpers/Ai_Str.h"
#include "halvex/helpers/HalvexResources.h"

namespace {

CString S(unsigned id) { return HalvexLoadString(id); }
CString Label(unsigned id) { return S(id) + L": "; }

CString Int(long long v) {
    CString s;
    s.Format(L"%lld", v);
    return s;
}

CString Seconds(unsigned hundredths) {
    CString s;
    s.Format(L"%.2f", double(hundredths) / 100.0);
    return s;
}

CString TwoDigits(int16_t v) {
    CString s;
    s.Format(L"%02hd", v);
    return s;
}

// The index of a program's value, or -1 when the list holds none for it.
int Pick(bool oneValue, int program, size_t count) {
    if (program < 0) return -1;
    if (oneValue) return count > 0 ? 0 : -1;
    return size_t(program) < count ? program : -1;
}

// "Использовать одно значение ...: да\nЗначение: v" or the value of every program.
void ProgramValues(OUT_INFO_TEXT& text, bool oneValue, const CString& first, USTAV_ABSTRACT& setting,
                   ArmDataInterface* host) {
    text.m_sInfo = L"\n" + Label(7114);
    if (oneValue) {
        text.m_sInfo += S(7115) + L"\n" + Label(7117) + first;
        return;
    }
    text.m_sInfo += S(7116);
    int n = host ? host->GetUstavProgramCount() : 0;
    for (int i = 0; i < n; ++i) {
        CString line;
        line.Format(L" %d: %s", i + 1, setting.GetStrValue(i).GetString());
        text.m_sInfo += L"\n" + S(7118) + line;
    }
}

}  // namespace

// --- USTAV_FIRST ------------------------------------------------------------------------------

double USTAV_FIRST::GetValue() const { return CAi_Str::ToFloat(m_sValue); }
double USTAV_FIRST::GetUp() const { return CAi_Str::ToFloat(m_sUp); }
double USTAV_FIRST::GetDown() const { return CAi_Str::ToFloat(m_sDown); }
double USTAV_FIRST::GetStep() const { return CAi_Str::ToFloat(m_sStep); }

void USTAV_FIRST::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    CString inputs;
    for (size_t i = 0; i < m_arrInputs.size(); ++i) inputs += (i ? L"; " : L"") + m_arrInputs[i];
    text.m_sInfo = Label(7113) + inputs;
}

// --- USTAV_ANALOG -----------------------------------------------------------------------------

CString USTAV_ANALOG::GetStrValue(int program) {
    int i = Pick(m_bOneValue, program, m_arrValues.size());
    return i < 0 ? CString() : m_arrValues[size_t(i)];
}

double USTAV_ANALOG::GetValue(int program) { return CAi_Str::ToFloat(GetStrValue(program)); }
double USTAV_ANALOG::GetUp() const { return CAi_Str::ToFloat(m_sUp); }
double USTAV_ANALOG::GetDown() const { return CAi_Str::ToFloat(m_sDown); }
double USTAV_ANALOG::GetStep() const { return CAi_Str::ToFloat(m_sStep); }

void USTAV_ANALOG::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    ProgramValues(text, m_bOneValue, GetStrValue(0), *this, host);
    text.m_sInfo += L"\n" + Label(7119) + m_sDown + L"\n" + Label(7120) + m_sUp + L"\n" + Label(7121) + m_sStep;
}

// --- USTAV_DISCRET ----------------------------------------------------------------------------

int32_t USTAV_DISCRET::GetValue(int program) const {
    int i = Pick(m_bOneValue, program, m_arrValues.size());
    return i < 0 ? 0 : m_arrValues[size_t(i)];
}

CString USTAV_DISCRET::GetStrValue(int program) {
    int i = Pick(m_bOneValue, program, m_arrValues.size());
    if (i < 0) return m_bOneValue ? CString(L"0") : CString();
    return Int(m_arrValues[size_t(i)]);
}

void USTAV_DISCRET::GetValue_(std::vector<CString>& values) const {
    for (int32_t v : m_arrValues) values.push_back(Int(v));
}

void USTAV_DISCRET::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    ProgramValues(text, m_bOneValue, Int(m_arrValues.empty() ? 0 : m_arrValues[0]), *this, host);
    text.m_sInfo += L"\n" + Label(7119) + Int(m_nDown) + L"\n" + Label(7120) + Int(m_nUp);
}

// --- USTAV_TIME -------------------------------------------------------------------------------

uint16_t USTAV_TIME::GetValue(int program) const {
    int i = Pick(m_bOneValue, program, m_arrValues.size());
    return i < 0 ? 0 : m_arrValues[size_t(i)];
}

CString USTAV_TIME::GetStrValue(int program) { return Seconds(GetValue(program)); }

void USTAV_TIME::GetValue_(std::vector<CString>& values) const {
    for (uint16_t v : m_arrValues) values.push_back(Int(v));
}

void USTAV_TIME::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    ProgramValues(text, m_bOneValue, GetStrValue(0), *this, host);
    text.m_sInfo += L"\n" + Label(7119) + Seconds(m_nDown) + L"\n" + Label(7120) + Seconds(m_nUp) + L"\n" +
                    Label(7121) + Seconds(m_nStep);
}

// --- USTAV_PROGR_KEY --------------------------------------------------------------------------

bool USTAV_PROGR_KEY::GetValue(int program) const {
    int i = Pick(m_bOneValue, program, m_arrBits.size());
    return i >= 0 && m_arrBits[size_t(i)];
}

void USTAV_PROGR_KEY::GetValue_(std::vector<CString>& values) const {
    for (bool b : m_arrBits) values.push_back(b ? L"1" : L"0");
}

void USTAV_PROGR_KEY::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    ProgramValues(text, m_bOneValue, GetStrValue(0), *this, host);
}

// --- ALARM_STRUCT -----------------------------------------------------------------------------

CString ALARM_STRUCT::GetWeekDaysString() const {
    if (!m_bWeekDays) return CString();
    CString s;
    for (int day = 1; day <= 7; ++day) {  // Monday (bit 1) .. Saturday (bit 6), then Sunday (bit 0)
        int bit = day % 7;
        if (!(m_nWeekDays & (1u << bit))) continue;
        if (!s.IsEmpty()) s += L", ";
        s += S(7122 + unsigned(day - 1));
    }
    return s;
}

CString ALARM_STRUCT::GetMonthString() const {
    if (!m_bMonth || m_nMonth < 1 || m_nMonth > 12) return CString();
    return S(7129 + unsigned(m_nMonth - 1));
}

void ALARM_STRUCT::AddToOutInfoText(OUT_INFO_TEXT& text) const {
    CString& s = text.m_sInfo;
    s += Label(7143) + (m_bMinutes ? TwoDigits(m_nMinutes) : S(7142)) + L"\n";
    s += Label(7144) + (m_bHours ? TwoDigits(m_nHours) : S(7142)) + L"\n";
    CString day;
    day.Format(L"%hd", m_nDay);
    s += Label(7145) + (m_bDay ? day : S(7141)) + L"\n";
    s += Label(7146) + (m_bMonth ? GetMonthString() : S(7141)) + L"\n";
    s += Label(7147) + (m_bWeekDays ? GetWeekDaysString() : S(7141)) + L"\n";
}

// --- USTAV_ALARM ------------------------------------------------------------------------------

ALARM_STRUCT& USTAV_ALARM::GetAlarmStruct(int program) {
    size_t index = m_bOneValue || program < 0 ? 0 : size_t(program);
    if (m_arrAlarms.size() < index + 1) m_arrAlarms.resize(index + 1);
    return m_arrAlarms[index];
}

CString USTAV_ALARM::GetStrValue(int program) {
    const ALARM_STRUCT& a = GetAlarmStruct(program);
    CString s;
    if (a.m_bDay || a.m_bMonth) {
        if (a.m_bDay) {
            CString d;
            d.Format(L"%hd", a.m_nDay);
            s += d;
        } else {
            s += L"XX";
        }
        s += L" ";
        s += a.m_bMonth ? a.GetMonthString() : CString(L"XXXX");
        s += L"  ";
    }
    if (a.m_bHours || a.m_bMinutes) {
        s += (a.m_bHours ? TwoDigits(a.m_nHours) : CString(L"XX")) + L":" +
             (a.m_bMinutes ? TwoDigits(a.m_nMinutes) : CString(L"XX")) + L" ";
    }
    if (a.m_bWeekDays) s += a.GetWeekDaysString();
    return s;
}

void USTAV_ALARM::GetValue_(std::vector<CString>& values) {
    for (size_t i = 0, n = m_arrAlarms.size(); i < n; ++i) values.push_back(GetStrValue(int(i)));
}

void USTAV_ALARM::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) {
    ArmObject::GetOutInfoText(text, host);
    // Showing the text changes nothing: a record the list does not hold shows as a default one.
    auto record = [this](int program) {
        size_t index = m_bOneValue ? 0 : size_t(program);
        return index < m_arrAlarms.size() ? m_arrAlarms[index] : ALARM_STRUCT();
    };
    text.m_sInfo = L"\n" + Label(7114);
    if (m_bOneValue) {
        text.m_sInfo += S(7115) + L"\n\n";
        record(0).AddToOutInfoText(text);
        return;
    }
    text.m_sInfo += S(7116) + L"\n";
    int n = host ? host->GetUstavProgramCount() : 0;
    for (int i = 0; i < n; ++i) {
        CString line;
        line.Format(L" %d: \n\n", i + 1);
        text.m_sInfo += L"\n" + S(7118) + line;
        record(i).AddToOutInfoText(text);
    }
}
