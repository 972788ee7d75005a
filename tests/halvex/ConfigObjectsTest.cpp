#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "halvex/config/ArmPoints.h"
#include "halvex/config/ArmUstav.h"
#include "tests/halvex/support/FakeArmHost.h"

using testutil::FakeArmHost;

TEST(ConfigPoints, PublicData) {
    PUBLIC_DATA p;
    EXPECT_EQ(p.GetArmObjectType(), eArmObjPublicData);
    p.m_nFlags2 = 2;
    EXPECT_EQ(p.GetObjectIconID(eTblLevelFirst), 7002);
    EXPECT_EQ(p.GetObjectIconID(eTblLevelDeeper), 7001);
    EXPECT_TRUE(p.RequireSaveInUserProjectFile());
    p.m_nFlags2 = 0;
    p.m_nFlags1 = 1;
    EXPECT_EQ(p.GetObjectIconID(eTblLevelFirst), 7001);
    EXPECT_EQ(p.GetObjectIconID(ETblLevel(5)), 7002);
    EXPECT_FALSE(p.RequireSaveInUserProjectFile());
    for (uint32_t access : {0u, 1u, 2u, 3u}) {
        p.m_nAccess = access;
        EXPECT_EQ(p.ViewAndUseOnlyInPlenwick(), access == 1) << access;
    }
}

TEST(ConfigPoints, AnalogInput) {
    FakeArmHost host;
    host.objTypeMatches[eArmObjAnalogInput] = L"ID_ANALOG";
    ANALOGINPUT a;
    a.m_sCoeff = L"1000/1";
    a.m_arrContacts = {L"1", L"", L"2"};
    a.m_sLastContact = L"3";
    EXPECT_EQ(a.GetContactsString(), L"1,2,3");
    a.m_sLastContact = L"";
    EXPECT_EQ(a.GetContactsString(), L"1,2,");
    a.m_sLastContact = L"3";
    struct Case { int type; const wchar_t* name; int icon; const wchar_t* info; };
    const Case cases[] = {
        {1, L"Ток", 7004, L"\nТип: Ток\nКоэффициент: 1000/1\nНомера контактов на схеме подключения: 1,2,3"},
        {2, L"Напряжение", 7005, L"\nТип: Напряжение\nКоэффициент: 1000/1\nНомера контактов на схеме подключения: 1,2,3"},
        {3, L"Частота", 7006, L"\nТип: Аналоговый вход\n\nНомера контактов на схеме подключения: 1,2,3"},
        {4, L"Сопротивление", 7007, L"\nТип: Сопротивление\nКоэффициент: 1000/1\nНомера контактов на схеме подключения: 1,2,3"},
        {0, L"Не подключён", 7003, L"\nНомера контактов на схеме подключения: 1,2,3"},
        {9, L"Не подключён", 7003, L"\nНомера контактов на схеме подключения: 1,2,3"},
    };
    for (const Case& c : cases) {
        a.m_nType = EAnalogInputType(c.type);
        OUT_INFO_TEXT t;
        a.GetOutInfoText(t, &host);
        EXPECT_EQ(a.GetAnalogInputName(), c.name) << c.type;
        EXPECT_EQ(a.GetObjectIconID(eTblLevelDeeper), c.icon) << c.type;
        EXPECT_EQ(t.m_sInfo, c.info) << c.type;
        EXPECT_EQ(t.m_sType, L"Аналоговый вход");
    }
    a.m_nType = eAnalogFrequency;
    EXPECT_EQ(a.GetTypeMatch(&host), L"ID_ANALOG_INPUT_FREQ");
    EXPECT_EQ(host.typeMatchQueries, 0);  // a frequency input needs no host
    a.m_nType = eAnalogCurrent;
    EXPECT_EQ(a.GetTypeMatch(&host), L"ID_ANALOG");
    EXPECT_EQ(host.typeMatchQueries, 1);
    a.m_sPhase = L"A";
    a.m_sCalibrate = L"c";
    EXPECT_EQ(a.GetChannelPhase(), L"A");
    EXPECT_EQ(a.GetChannelCalibrate(), L"c");
}

TEST(ConfigPoints, DiscreteInputAndOutput) {
    DISCRETINPUT in;
    EXPECT_EQ(in.GetTimeTvh(), 12);
    EXPECT_EQ(in.GetTimeSr(), 4);
    EXPECT_EQ(in.GetVisualTimeTvh(), L"12");
    in.m_nTimeTvh = -1;
    in.m_nTimeSr = 45;
    EXPECT_EQ(in.GetTimeTvh(), 0);
    EXPECT_EQ(in.GetVisualTimeTvh(), L"1/12");
    EXPECT_EQ(in.GetTimeSr(), 30);
    struct InIcon { int type; bool main; int icon; };
    for (const InIcon& c : {InIcon{1, true, 7010}, InIcon{1, false, 7011}, InIcon{0, true, 7008}, InIcon{7, false, 7009}}) {
        in.m_nType = EDiscretInputType(c.type);
        in.m_bIconMain = c.main;
        EXPECT_EQ(in.GetObjectIconID(eTblLevelFirst), c.icon);
    }
    in.m_nType = eDiscretInInput;
    in.m_arrContacts = {L"5"};
    in.m_sLastContact = L"6";
    in.m_bDefault = true;
    OUT_INFO_TEXT t;
    in.GetOutInfoText(t, nullptr);
    EXPECT_EQ(t.m_sInfo, L"\nТип реле: Дискретный вход\nНомера контактов на схеме подключения: 5,6\n"
                         L"Значение по умолчанию: 1\nСвойство: Переназначаемый вход.");
    in.m_nType = eDiscretInNone;
    in.m_bDefault = false;
    in.m_bReassignable = false;
    in.GetOutInfoText(t, nullptr);
    EXPECT_EQ(t.m_sInfo, L"\nТип реле: Не подключён\nНомера контактов на схеме подключения: 5,6\n"
                         L"Значение по умолчанию: 0\nСвойство: Фиксированный вход.");

    DISCRETOUTPUT out;
    out.m_bIconMain = false;
    EXPECT_EQ(out.GetObjectIconID(eTblLevelFirst), 7017);
    EXPECT_EQ(out.GetDiscretOutputName(), L"Не подключён");
    struct OutCase { int type; const wchar_t* name; int main; };
    for (const OutCase& c : {OutCase{1, L"Перемычка", 7014}, OutCase{2, L"Нормально замкнутый", 7012},
                             OutCase{3, L"Нормально разомкнутый", 7018}, OutCase{4, L"Перекидной", 7020},
                             OutCase{5, L"Не подключён", 7016}}) {
        out.m_nType = EDiscretOutputType(c.type);
        out.m_bIconMain = true;
        EXPECT_EQ(out.GetObjectIconID(eTblLevelFirst), c.main);
        out.m_bIconMain = false;
        EXPECT_EQ(out.GetObjectIconID(eTblLevelFirst), c.main + 1);
        EXPECT_EQ(out.GetDiscretOutputName(), c.name);
    }
    out.m_nType = eDiscretOutChangeover;
    out.m_sLastContact = L"9";
    out.GetOutInfoText(t, nullptr);
    EXPECT_EQ(t.m_sInfo, L"\nТип реле: Перекидной\nНомера контактов на схеме подключения: 9\n"
                         L"Свойство: Переназначаемый выход.");
    EXPECT_EQ(t.m_sType, L"Дискретный выход");
}

TEST(ConfigSettings, ProgramValues) {
    USTAV_TIME time;
    time.m_bOneValue = true;
    time.m_arrValues = {150};
    EXPECT_EQ(time.GetStrValue(0), L"1.50");
    EXPECT_EQ(time.GetStrValue(7), L"1.50");
    EXPECT_EQ(time.GetStrValue(-1), L"0.00");
    std::vector<CString> list = {L"x"};
    time.GetValue_(list);
    EXPECT_EQ(list, (std::vector<CString>{L"x", L"150"}));

    USTAV_DISCRET d;
    EXPECT_EQ(d.GetValue(0), 0);
    EXPECT_EQ(d.GetStrValue(0), L"");
    d.m_bOneValue = true;
    EXPECT_EQ(d.GetStrValue(0), L"0");
    d.m_bOneValue = false;
    d.m_arrValues = {5, -7};
    EXPECT_EQ(d.GetStrValue(1), L"-7");
    EXPECT_EQ(d.GetStrValue(2), L"");
    d.GetValue_(list);
    EXPECT_EQ(list.back(), L"-7");

    USTAV_PROGR_KEY key;
    key.m_bOneValue = true;
    key.m_arrBits = {true, false};
    for (int p : {0, 1, 5}) EXPECT_EQ(key.GetStrValue(p), L"1") << p;
    EXPECT_EQ(key.GetStrValue(-1), L"0");
    key.m_bOneValue = false;
    EXPECT_EQ(key.GetStrValue(1), L"0");
    EXPECT_EQ(key.GetStrValue(2), L"0");

    USTAV_ANALOG a;
    a.m_arrValues = {L"1.5", L"2,5", L"x"};
    EXPECT_EQ(a.GetStrValue(1), L"2,5");
    EXPECT_DOUBLE_EQ(a.GetValue(0), 1.5);
    EXPECT_DOUBLE_EQ(a.GetValue(2), 0.0);
    EXPECT_EQ(a.GetStrValue(3), L"");
    a.GetValue_(list);
    EXPECT_EQ(list, a.m_arrValues);  // replaced

    USTAV_FIRST f;
    f.m_sValue = L"100.5 A";
    f.m_sStep = L"";
    EXPECT_DOUBLE_EQ(f.GetValue(), 100.5);
    EXPECT_DOUBLE_EQ(f.GetStep(), 0.0);
    EXPECT_EQ(f.GetStrValue(3), L"100.5 A");
    EXPECT_EQ(f.GetObjectIconID(eTblLevelFirst), 7022);

    VAR_SYS v;
    EXPECT_EQ(v.GetArmObjectType(), eArmObjVarSysOut);
    v.m_bInput = true;
    EXPECT_EQ(v.GetArmObjectType(), eArmObjVarSysIn);
    VARIABLE var;
    EXPECT_EQ(var.GetArmObjectType(), eArmObjVarButton);
    EXPECT_EQ(var.GetObjectIconID(eTblLevelFirst), 7033);
    var.m_bAsu = true;
    EXPECT_EQ(var.GetArmObjectType(), eArmObjVarASU);
    EXPECT_EQ(var.GetObjectIconID(eTblLevelFirst), 7032);
}

TEST(ConfigSettings, InformationTexts) {
    FakeArmHost host;
    host.programCount = 2;
    USTAV_ANALOG a;
    a.m_arrValues = {L"1", L"2"};
    a.m_sDown = L"0";
    a.m_sUp = L"10";
    a.m_sStep = L"0.5";
    OUT_INFO_TEXT t;
    a.GetOutInfoText(t, &host);
    EXPECT_EQ(t.m_sInfo, L"\nИспользовать одно значение для всех программ: нет\nЗначение по программе 1: 1\n"
                         L"Значение по программе 2: 2\nНижняя граница: 0\nВерхняя граница: 10\nШаг изменения: 0.5");
    a.m_bOneValue = true;
    a.GetOutInfoText(t, &host);
    EXPECT_EQ(t.m_sInfo, L"\nИспользовать одно значение для всех программ: да\nЗначение: 1\n"
                         L"Нижняя граница: 0\nВерхняя граница: 10\nШаг изменения: 0.5");

    USTAV_TIME time;
    time.m_arrValues = {150};
    time.m_nDown = 0;
    time.m_nUp = 60000;
    time.m_nStep = 1;
    time.GetOutInfoText(t, &host);
    EXPECT_EQ(t.m_sInfo, L"\nИспользовать одно значение для всех программ: нет\nЗначение по программе 1: 1.50\n"
                         L"Значение по программе 2: 0.00\nНижняя граница: 0.00\nВерхняя граница: 600.00\n"
                         L"Шаг изменения: 0.01");

    USTAV_DISCRET d;
    d.m_bOneValue = true;
    d.m_nDown = -5;
    d.m_nUp = 5;
    d.GetOutInfoText(t, &host);
    EXPECT_EQ(t.m_sInfo, L"\nИспользовать одно значение для всех программ: да\nЗначение: 0\n"
                         L"Нижняя граница: -5\nВерхняя граница: 5");

    USTAV_PROGR_KEY key;
    key.m_arrBits = {true};
    key.GetOutInfoText(t, &host);
    EXPECT_EQ(t.m_sInfo, L"\nИспользовать одно значение для всех программ: нет\nЗначение по программе 1: 1\n"
                         L"Значение по программе 2: 0");

    USTAV_FIRST f;
    f.m_arrInputs = {L"Ia", L"Ib"};
    f.GetOutInfoText(t, &host);
    EXPECT_EQ(t.m_sInfo, L"Аналоговый вход: Ia; Ib");
    EXPECT_EQ(t.m_sType, L"Коэффициент трансформации");
}

TEST(ConfigSettings, AlarmTimes) {
    USTAV_ALARM alarm;
    ALARM_STRUCT& r = alarm.GetAlarmStruct(0);
    r.m_nDay = 5;
    r.m_nMonth = 3;
    r.m_nHours = 7;
    r.m_nMinutes = 30;
    r.m_nWeekDays = 0x03;  // Sunday and Monday
    r.m_bDay = r.m_bMonth = r.m_bHours = r.m_bMinutes = r.m_bWeekDays = true;
    EXPECT_EQ(alarm.GetStrValue(0), L"5 Март  07:30 ПН, ВС");

    struct Case { bool day, month, hours, minutes, days; const wchar_t* line; };
    const Case cases[] = {
        {false, false, false, false, true, L"ПН, ВС"},
        {false, true, false, false, false, L"XX Март  "},
        {true, false, false, false, false, L"5 XXXX  "},
        {false, false, true, false, false, L"07:XX "},
        {false, false, false, true, false, L"XX:30 "},
        {false, false, false, false, false, L""},
    };
    for (const Case& c : cases) {
        r.m_bDay = c.day, r.m_bMonth = c.month, r.m_bHours = c.hours, r.m_bMinutes = c.minutes, r.m_bWeekDays = c.days;
        EXPECT_EQ(alarm.GetStrValue(0), c.line);
    }
    r.m_bWeekDays = true;
    r.m_nWeekDays = 0x7F;
    EXPECT_EQ(r.GetWeekDaysString(), L"ПН, ВТ, СР, ЧТ, ПТ, СБ, ВС");
    r.m_bMonth = true;
    r.m_nMonth = 13;
    EXPECT_EQ(r.GetMonthString(), L"");
    r.m_nMonth = 12;
    EXPECT_EQ(r.GetMonthString(), L"Декабрь");

    USTAV_ALARM grown;
    grown.GetAlarmStruct(3);
    ASSERT_EQ(grown.m_arrAlarms.size(), 4u);
    const ALARM_STRUCT& def = grown.m_arrAlarms[3];
    EXPECT_EQ(def.m_nMinutes, 0);
    EXPECT_EQ(def.m_nHours, 0);
    EXPECT_EQ(def.m_nDay, 1);
    EXPECT_EQ(def.m_nMonth, 1);
    EXPECT_FALSE(def.m_bMinutes || def.m_bHours || def.m_bDay || def.m_bMonth || def.m_bWeekDays);
    EXPECT_EQ(grown.GetStrValue(9), L"");
    EXPECT_EQ(grown.m_arrAlarms.size(), 10u);
    // A negative program is program 0, never a record before the first.
    USTAV_ALARM negative;
    negative.GetAlarmStruct(-3).m_bDay = true;
    ASSERT_EQ(negative.m_arrAlarms.size(), 1u);
    EXPECT_TRUE(negative.m_arrAlarms[0].m_bDay);
    EXPECT_EQ(negative.GetStrValue(-1), L"1 XXXX  ");

    USTAV_ALARM one;
    one.m_bOneValue = true;
    one.m_arrAlarms.resize(3);
    one.m_arrAlarms[0].m_bHours = true;
    one.m_arrAlarms[0].m_nHours = 23;
    std::vector<CString> lines;
    one.GetValue_(lines);
    EXPECT_EQ(lines, (std::vector<CString>{L"23:XX ", L"23:XX ", L"23:XX "}));
    EXPECT_EQ(one.GetAlarmStruct(2).m_nHours, 23);

    FakeArmHost host;
    host.programCount = 2;
    OUT_INFO_TEXT t;
    one.GetOutInfoText(t, &host);
    EXPECT_EQ(t.m_sInfo, L"\nИспользовать одно значение для всех программ: да\n\nМинуты: отсутствуют\nЧасы: 23\n"
                         L"Число месяца: отсутствует\nМесяц: отсутствует\nДни недели: отсутствует\n");
    USTAV_ALARM empty;
    empty.GetOutInfoText(t, &host);  // shows default records and changes nothing
    EXPECT_TRUE(empty.m_arrAlarms.empty());
    const wchar_t* record = L"Минуты: отсутствуют\nЧасы: отсутствуют\nЧисло месяца: отсутствует\n"
                            L"Месяц: отсутствует\nДни недели: отсутствует\n";
    EXPECT_EQ(t.m_sInfo, CString(L"\nИспользовать одно значение для всех программ: нет\n\nЗначение по программе 1: \n\n") +
                             record + L"\nЗначение по программе 2: \n\n" + record);
}

TEST(ConfigObjects, CopiesAreDeep) {
    USTAV_ANALOG a;
    a.m_sName = L"U1";
    a.m_arrValues = {L"1"};
    a.m_nUstavWord = 7;
    std::unique_ptr<ArmObject> copy = std::make_unique<USTAV_ANALOG>(a);
    a.m_arrValues[0] = L"2";
    auto* c = static_cast<USTAV_ANALOG*>(copy.get());
    EXPECT_EQ(c->m_arrValues, (std::vector<CString>{L"1"}));
    EXPECT_EQ(c->m_nUstavWord, 7);
    EXPECT_EQ(copy->m_sName, L"U1");
    USTAV_ALARM x, y;
    x.GetAlarmStruct(1).m_nHours = 4;
    y = x;
    x.m_arrAlarms[1].m_nHours = 5;
    EXPECT_EQ(y.m_arrAlarms[1].m_nHours, 4);
}
