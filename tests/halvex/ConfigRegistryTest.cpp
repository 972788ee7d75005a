#include <gtest/gtest.h>

#include <vector>

#include "halvex/config/ArmPoints.h"
#include "halvex/config/DocEnumInterpreter.h"
#include "halvex/config/ObjIconsHelper.h"
#include "platform/draw/GdiObjects.h"
#include "tests/halvex/support/FakeArmHost.h"

namespace {

struct KindRow {
    int value;
    const wchar_t* enumName;
    const wchar_t* display;  // registry
    const wchar_t* group;    // type names
    const wchar_t* single;
    const wchar_t* shortName;
    const wchar_t* compiler;
    std::vector<int> icons;
};

// Registry order; rows 46 and 47 hold 47 and 46.
const std::vector<KindRow> kKinds = {
    {0, L"eArmObjPublicData", L"Cвойства проекта", L"Параметры свойств проекта", L"Параметр свойств проекта", L"PBL", L"PUBLICDATA", {7001, 7002}},
    {1, L"eArmObjAnalogInput", L"Аналоговые входы", L"Аналоговые входы", L"Аналоговый вход", L"ANI", L"ANALOGIN", {7003, 7004, 7005, 7006, 7007}},
    {2, L"eArmObjDiscretInput", L"Дискретные входы", L"Дискретные входы", L"Дискретный вход", L"DSI", L"DIGIN", {7008, 7009, 7010, 7011}},
    {3, L"eArmObjDiscretOutput", L"Дискретные выходы", L"Дискретные выходы", L"Дискретный выход", L"DSO", L"DIGOUT", {7016, 7017, 7014, 7015, 7012, 7013, 7018, 7019, 7020, 7021}},
    {4, L"eArmObjUstavFirst", L"Коэффициенты трансформации", L"Коэффициенты трансформации", L"Коэффициент трансформации", L"CTR", L"CFTT", {7022}},
    {5, L"eArmObjUstavAnalog", L"Уставки защит и автоматики", L"Уставки защит и автоматики", L"Уставка защит и автоматики", L"STA", L"ASET", {7023, 7024}},
    {6, L"eArmObjUstavDiscret", L"Целочисленные уставки защит и автоматики", L"Целочисленные уставки защит и автоматики", L"Целочисленная уставка защит и автоматики", L"STD", L"SETTINT", {7025, 7026}},
    {7, L"eArmObjUstavTime", L"Уставки по времени", L"Уставки по времени", L"Уставка по времени", L"STT", L"USTAV", {7027, 7028}},
    {8, L"eArmObjUstavProgrKey", L"Программные ключи", L"Программные ключи", L"Программный ключ", L"SPK", L"PRGSW", {7029, 7030}},
    {9, L"eArmObjVarSysIn", L"Системные входы", L"Системные входы", L"Системный вход", L"SYS", L"SYSIN", {7031}},
    {10, L"eArmObjVarSysOut", L"Системные выходы", L"Системные выходы", L"Системный выход", L"SYS", L"SYSOUT", {7031}},
    {11, L"eArmObjVarASU", L"Телеуправление", L"Сигналы АСУ", L"Сигнал АСУ", L"ASU", L"SYS_ASU", {7032}},
    {12, L"eArmObjVarButton", L"Сигналы монитор/меню", L"Сигналы монитор/меню", L"Сигнал монитор/меню", L"FBT", L"SYS_MON_MENU", {7033}},
    {13, L"eArmObjBlockLed", L"Светодиоды", L"Светодиоды", L"Светодиод", L"LED", L"LED", {7034, 7070}},
    {14, L"eArmObjBlockButton", L"Функциональные кнопки", L"Кнопки пульта", L"Кнопка пульта", L"BTN", L"BUTTON", {7035}},
    {15, L"eArmObjDistZnach", L"Дистанционные значения", L"Дистанционные значения", L"Дистанционное значение", L"DZN", L"DISTZNACH", {7038}},
    {16, L"eArmObjAccumulator", L"Накопительная информация", L"Накопители информации", L"Накопитель информации", L"ACM", L"SYSNAK", {7039}},
    {17, L"eArmObjMillisecMetr", L"Миллисекундомеры", L"Миллисекундомеры", L"Миллисекундомер", L"MSM", L"STOPPER", {7040}},
    {18, L"eArmObjRaschVhodInput", L"Расчетные входы, вход схемы", L"Расчетные входы", L"Расчетный вход", L"", L"RASCHVHODIN", {7036}},
    {19, L"eArmObjRaschVhodOutput", L"Расчетные входы, выход схемы", L"Расчетные входы", L"Расчетный вход", L"", L"RASCHVHODOUT", {7037}},
    {20, L"eArmObjPredvObrInput", L"Предварительная обработка", L"Предварительная обработка", L"Предварительная обработка", L"", L"PRIORIN", {7036}},
    {21, L"eArmObjPredvObrOutput", L"Параметры сети", L"Предварительная обработка", L"Предварительная обработка", L"", L"PRIOROUT", {7037}},
    {22, L"eArmObjIzmerOrgInput", L"Измерительные органы", L"Расчетные значения", L"Расчетное значение", L"", L"CALCIN", {7036}},
    {23, L"eArmObjIzmerOrgOutput", L"Расчетные параметры сети", L"Расчетные значения", L"Расчетное значение", L"", L"CALCOUT", {7037}},
    {24, L"eArmObjPuskOrgInput", L"Пусковые органы", L"Пусковые органы", L"Пусковой орган", L"", L"CMPIN", {7036}},
    {25, L"eArmObjPuskOrgOutput", L"Компараторы", L"Пусковые органы", L"Пусковой орган", L"", L"CMPOUT", {7037}},
    {26, L"eArmObjPhonObrInput", L"Фоновая обработка, вход схемы", L"Фоновая обработка", L"Фоновая обработка", L"", L"PHONIN", {7036}},
    {27, L"eArmObjPhonObrOutput", L"Фоновая обработка, выход схемы", L"Фоновая обработка", L"Фоновая обработка", L"", L"PHONOUT", {7037}},
    {28, L"eArmObjOrgIspRazrInput", L"Органы исполнения (режим разработчика)", L"Схемы разработчика", L"Схема разработчика", L"", L"ISPRAZRIN", {7036}},
    {29, L"eArmObjOrgIspRazrOutput", L"Выходные сигналы БФПО, ПМК", L"Схемы разработчика", L"Схема разработчика", L"", L"ISPRAZROUT", {7037}},
    {30, L"eArmObjOrgIspUserInput", L"Органы исполнения (режим пользователя)", L"Схемы пользователя", L"Схема пользователя", L"", L"ISPUSERIN", {7036}},
    {31, L"eArmObjOrgIspUserOutput", L"Логические выходы пользователя", L"Схемы пользователя", L"Схема пользователя", L"", L"ISPUSEROUT", {7037}},
    {32, L"eArmObjUstavAlarm", L"Уставки хронографы", L"Уставки хронофоры", L"Уставка хронофор", L"ALR", L"ALARM", {7041, 7042}},
    {33, L"eArmObjSignalUser", L"Пользовательские сигналы", L"Сигналы пользователя", L"Сигнал пользователя", L"SIU", L"SIGUSER", {7049}},
    {34, L"eArmObjRealAccum", L"Вещественная накопительная информация", L"Вещественная накопительная информация", L"Вещественный накопитель информации", L"RAC", L"SYSREALNAK", {7050}},
    {35, L"eArmObjSelfdiagnostik", L"Самодиагностика блока", L"", L"", L"", L"", {}},
    {36, L"eArmObjSysEvent", L"Системные события", L"", L"", L"", L"", {}},
    {37, L"eArmObjSysVizov", L"Вызовы", L"", L"", L"", L"", {}},
    {38, L"eArmObjOscillogramList", L"Осциллограммы", L"", L"", L"", L"", {}},
    {39, L"eArmObjEmergJournal", L"Журнал аварий", L"", L"", L"", L"", {}},
    {40, L"eArmObjEventJournal", L"Журнал сообщений", L"", L"", L"", L"", {}},
    {41, L"eArmObjJournals", L"Журналы", L"", L"", L"", L"", {}},
    {42, L"eArmObjBlockInfo", L"Информация", L"", L"", L"", L"", {}},
    {43, L"eArmObjBlockInfoInArm", L"Информация о блоке", L"", L"", L"", L"", {}},
    {44, L"eArmObjBlockTime", L"Время блока", L"", L"", L"", L"", {}},
    {45, L"eArmObjProgramCount", L"Количество программ уставок в блоке", L"", L"", L"", L"", {}},
    {47, L"eArmObjSwitchStatus", L"Положение переключателя", L"", L"", L"", L"", {}},
    {46, L"eArmObjSynchTime", L"Синхронизация времени", L"", L"", L"", L"", {}},
    {48, L"eArmObjDigitalEvent", L"Событие измениия дискретного входа", L"", L"", L"", L"", {}},
    {49, L"eArmObjUstRec", L"eArmObjUstRec", L"", L"", L"", L"", {}},
    {50, L"eArmObjOSCFreq", L"Коэффициент передачи значения частоты сети для записи в осциллограмму", L"", L"", L"", L"", {}},
    {51, L"eArmObjGooseIn", L"Виртуальные входы", L"Виртуальные входы", L"Виртуальный вход", L"VIV", L"GOOSEIN", {7071}},
    {52, L"eArmObjGooseOut", L"Виртуальные выходы", L"Виртуальные выходы", L"Виртуальный выход", L"VIV", L"GOOSEOUT", {7072}},
    {53, L"eArmObjParamDiag", L"Сигналы самодиагностики", L"Сигналы самодиагностики", L"Сигнал самодиагностики", L"", L"", {7356}},
    {54, L"eArmObjSystemParams", L"Системные параметры", L"", L"", L"", L"", {}},
    {55, L"eArmObjIdentAndConf", L"Идентификация и конфигурация", L"", L"", L"", L"", {}},
    {56, L"eArmObjNone", L"???", L"", L"", L"", L"", {}},
    {57, L"eArmObjGooseInPB", L"Виртуальные входы ШП", L"Виртуальные входы ШП", L"Виртуальный вход ШП", L"VPB", L"GOOSEIN_PB", {7374}},
    {58, L"eArmObjGooseOutPB", L"Виртуальные выходы ШП", L"Виртуальные выходы ШП", L"Виртуальный выход ШП", L"VPB", L"GOOSEOUT_PB", {7373}},
};

std::string U(const CString& s) { return CStringA(s).GetString(); }

}  // namespace

TEST(ConfigRegistry, EveryKind) {
    std::vector<ArmObjDescriptor> rows(3);  // emptied first
    CDocEnumInterpreter::FillVectArmObjDescr(rows);
    ASSERT_EQ(rows.size(), 59u);
    ASSERT_EQ(kKinds.size(), 59u);
    for (size_t i = 0; i < kKinds.size(); ++i) {
        const KindRow& k = kKinds[i];
        auto t = EArmObjectType(k.value);
        SCOPED_TRACE(U(k.enumName));
        EXPECT_EQ(int(rows[i].m_eType), k.value);
        EXPECT_EQ(rows[i].m_sEnumName, k.enumName);
        EXPECT_EQ(rows[i].m_sName, k.display);
        EXPECT_EQ(rows[i].m_sNameForASU, L"");
        EXPECT_EQ(int(CDocEnumInterpreter::GetIdx(k.enumName)), k.value);
        EXPECT_EQ(CDocEnumInterpreter::GetByText(t), k.enumName);
        EXPECT_EQ(CDocEnumInterpreter::GetName(t), k.display);
        EXPECT_EQ(CDocEnumInterpreter::GetNameForASU(t), k.display);
        EXPECT_EQ(ObjIconsHelper::GetTypeName(t, true), k.group);
        EXPECT_EQ(ObjIconsHelper::GetTypeName(t, false), k.single);
        EXPECT_EQ(ObjIconsHelper::GetSchemeEditShortName(t), k.shortName);
        EXPECT_EQ(ObjIconsHelper::GetCompilerName(t), k.compiler);
        bool output = k.value >= 19 && k.value <= 31 && k.value % 2 == 1;
        EXPECT_EQ(ObjIconsHelper::GetCompilerNameCft(t), output ? CString(k.compiler) + L"CFT" : CString());
        std::vector<int> ids = {1};
        ObjIconsHelper::GetIconsIDsForImageList(t, ids, true);
        EXPECT_EQ(ids, k.icons);
    }
    // The registry's own "not found" row answers unknown names, case counting.
    for (const wchar_t* name : {L"", L"EARMOBJNONE", L"eArmObjnone", L"eArmObjSynchTime "})
        EXPECT_EQ(CDocEnumInterpreter::GetIdx(name), eArmObjNone);
    EXPECT_EQ(CDocEnumInterpreter::GetIdx(L"eArmObjSynchTime"), eArmObjSynchTime);
    EXPECT_EQ(int(eArmObjSynchTime), 46);
    // Values outside the registry have no texts.
    for (int v : {-1, 59, 1000}) {
        auto t = EArmObjectType(v);
        EXPECT_EQ(CDocEnumInterpreter::GetName(t), L"");
        EXPECT_EQ(CDocEnumInterpreter::GetNameForASU(t), L"");
        EXPECT_EQ(CDocEnumInterpreter::GetByText(t), L"");
        EXPECT_EQ(ObjIconsHelper::GetTypeName(t, true), L"");
        EXPECT_EQ(ObjIconsHelper::GetCompilerName(t), L"");
    }
    EXPECT_EQ(ObjIconsHelper::GetCompilerNameCft(eArmObjOrgIspUserOutput), L"ISPUSEROUTCFT");
}

TEST(ConfigRegistry, IconPositions) {
    DISCRETOUTPUT out;
    out.m_nType = eDiscretOutNormallyClosed;  // icon 7012, fifth of its kind
    EXPECT_EQ(out.GetObjectIconID(eTblLevelFirst), 7012);
    EXPECT_EQ(ObjIconsHelper::GetNumIconInImageList(&out, 10, eTblLevelFirst), 14);
    DISCRETINPUT in;
    in.m_bIconMain = false;  // 7009
    std::vector<EArmObjectType> types = {eArmObjPublicData, eArmObjAnalogInput, eArmObjDiscretInput};
    EXPECT_EQ(ObjIconsHelper::GetNumIconInMixedImageList(types, &in, 0), 2 + 5 + 1);
    EXPECT_EQ(ObjIconsHelper::GetNumIconInMixedImageList(types, &in, 100), 108);
    EXPECT_EQ(ObjIconsHelper::GetNumIconInMixedImageList(types, &out, 0), -1);
    EXPECT_EQ(ObjIconsHelper::GetNumIconInImageList(nullptr, 0, eTblLevelFirst), -1);

    std::vector<int> ids = {5, 6};
    ObjIconsHelper::GetIconsIDsForImageList(EArmObjectType(40), ids, false);
    EXPECT_EQ(ids, (std::vector<int>{5, 6}));
    ObjIconsHelper::GetIconsIDsForImageList(eArmObjUstavAlarm, ids, false);
    EXPECT_EQ(ids, (std::vector<int>{5, 6, 7041, 7042}));

    std::vector<HICON> icons(2);
    ObjIconsHelper::GetIconsForImageList(types, icons);
    ASSERT_EQ(icons.size(), 2u + 5u + 4u);
    for (const HICON& i : icons) {
        ASSERT_TRUE(i);
        EXPECT_EQ(i->GetSize(), CSize(16, 16));
    }
    // Every icon of a list can be told from its neighbours.
    for (size_t k = 1; k < icons.size(); ++k) {
        bool differs = false;
        for (int y = 0; y < 16 && !differs; ++y)
            for (int x = 0; x < 16 && !differs; ++x) differs = icons[k]->GetPixel(x, y) != icons[k - 1]->GetPixel(x, y);
        EXPECT_TRUE(differs) << k;
    }
    ObjIconsHelper::GetIconsForImageList(eArmObjDiscretOutput, icons, true);
    EXPECT_EQ(icons.size(), 10u);

    const int schemeIcons[] = {7044, 7048, 7045, 7047, 7046, 7046, 7043, -1};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(ObjIconsHelper::GetIconIDForSchemEditType(ESchemeEditType(k)), schemeIcons[k]);
    EXPECT_FALSE(ObjIconsHelper::GetIconForSchemEditType(eSchemeEditFurther));
    EXPECT_TRUE(ObjIconsHelper::GetIconForSchemEditType(eSchemeEditUser));
    EXPECT_TRUE(ObjIconsHelper::GetIconLock());
}

namespace {
class Plain : public ArmObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjSignalUser; }
};
}  // namespace

TEST(ConfigObject, DefaultInformationTypeMatchAndIcon) {
    testutil::FakeArmHost host;
    host.objTypeMatches[eArmObjSignalUser] = L"ID000";
    Plain p;
    p.m_sName = L"S1";
    p.m_sComment = L"comment";
    OUT_INFO_TEXT t;
    t.m_arrLines = {L"old"};
    t.m_sTitle = L"old";
    t.m_sInfo = L"old";
    p.GetOutInfoText(t, &host);
    EXPECT_TRUE(t.m_arrLines.empty());
    EXPECT_EQ(t.m_sTitle, L"");
    EXPECT_EQ(t.m_sType, L"Сигнал пользователя");
    EXPECT_EQ(t.m_sName, L"S1");
    EXPECT_EQ(t.m_sComment, L"comment");
    EXPECT_EQ(t.m_sInfo, L"");
    EXPECT_EQ(p.GetTypeName(true), L"Сигналы пользователя");
    EXPECT_EQ(p.GetSchemeEditShortName(), L"SIU");
    EXPECT_EQ(p.GetCompilerName(), L"SIGUSER");
    EXPECT_EQ(p.GetCompilerNameCft(), L"");
    EXPECT_EQ(p.GetTypeMatch(&host), L"ID000");
    EXPECT_EQ(host.typeMatchQueries, 1);
    EXPECT_EQ(p.GetTypeMatch(nullptr), L"");
    EXPECT_EQ(p.GetObjectIconID(eTblLevelFirst), -1);
    EXPECT_FALSE(p.GetObjectIcon());
    EXPECT_FALSE(p.IsArmObjLocked());

    ANALOGINPUT a;
    a.m_bLocked = true;
    EXPECT_TRUE(a.IsArmObjLocked());
    HICON icon = a.GetObjectIcon();
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->GetSize(), CSize(16, 16));
    t.Clear();
    EXPECT_EQ(t.m_sType, L"");
}
