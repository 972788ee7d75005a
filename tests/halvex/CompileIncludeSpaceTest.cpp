#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "halvex/helpers/CompileIncludeSpace.h"

using namespace CompileIncludeSpace;

namespace {

std::vector<int> Ints(const std::vector<EArmObjectType>& v) { return std::vector<int>(v.begin(), v.end()); }

struct Sent {
    UINT message;
    unsigned code;
    CString text;
    bool posted;
};

class RecordingWindow : public MainWindowReceiver {
public:
    RecordingWindow() { SetMainWindowReceiver(this); }
    ~RecordingWindow() override { SetMainWindowReceiver(nullptr); }
    void SendMessage(UINT message, unsigned code, const CString* text) override {
        sent.push_back({message, code, text ? *text : CString(L"<null>"), false});
    }
    void PostMessage(UINT message, unsigned code) override { sent.push_back({message, code, CString(), true}); }
    std::vector<Sent> sent;
};

}  // namespace

TEST(CompileIncludeSpace, SchemeKindTables) {
    // Object kinds 18..31 map pairwise onto scheme kinds; the rest are no scheme port.
    const int editOfPair[] = {6, 0, 1, 2, 3, 4, 5};
    for (int t = -1; t <= 60; ++t) {
        auto type = EArmObjectType(t);
        bool scheme = t >= 18 && t <= 31;
        SCOPED_TRACE(t);
        EXPECT_EQ(IsSchemeType(type), scheme);
        EXPECT_EQ(IsSchemeInputType(type), scheme && t % 2 == 0);
        EXPECT_EQ(IsSchemeOutputType(type), scheme && t % 2 == 1);
        EXPECT_EQ(int(GetSchemeEditType(type)), scheme ? editOfPair[(t - 18) / 2] : -1);
        int pair = scheme && t != 31 ? (t % 2 == 0 ? t + 1 : t - 1) : 30;
        EXPECT_EQ(int(GetPairSchemeObjectType(type)), pair);
    }
    EXPECT_EQ(GetPairSchemeObjectType(eArmObjRaschVhodInput), eArmObjRaschVhodOutput);
    EXPECT_EQ(GetPairSchemeObjectType(eArmObjOrgIspUserOutput), eArmObjOrgIspUserInput);

    const int funcOf[] = {1, 2, 3, 4, 5, 8, 7, 9};
    for (int k = -1; k <= 8; ++k)
        EXPECT_EQ(int(GetFuncSchemeType(ESchemeEditType(k))), k >= 0 && k <= 7 ? funcOf[k] : 0) << k;

    const wchar_t* names[] = {L"Схема предварительной обработки", L"Схема расчетных значений",
                              L"Схема пусковых органов", L"Схема фоновой обработки", L"Схема разработчика",
                              L"Схема пользователя", L"Схема расчетных входов"};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(GetFuncSchemeTypeName(ESchemeEditType(k)), names[k]);
    EXPECT_EQ(GetFuncSchemeTypeName(eSchemeEditFurther), L"");
    EXPECT_EQ(GetFuncSchemeTypeName(ESchemeEditType(-1)), L"");
}

TEST(CompileIncludeSpace, FeedingAndDrivenKindLists) {
    std::vector<EArmObjectType> v = {eArmObjNone};  // emptied first
    FillVectSchemeInputArmObjectTypes(eSchemeEditFurther, v, true);
    EXPECT_EQ(Ints(v), (std::vector<int>{29, 31}));
    FillVectSchemeInputArmObjectTypes(eSchemeEditUser, v, false);
    EXPECT_EQ(Ints(v), (std::vector<int>{2, 51, 57, 11, 14, 15, 25, 29, 31, 27}));
    FillVectSchemeInputArmObjectTypes(eSchemeEditUser, v, true);
    EXPECT_EQ(Ints(v), (std::vector<int>{2, 51, 57, 11, 12, 14, 15, 25, 29, 31, 27}));
    FillVectSchemeInputArmObjectTypes(eSchemeEditDeveloper, v, false);
    EXPECT_EQ(Ints(v), (std::vector<int>{1, 2, 4, 5, 6, 7, 8, 32, 9, 51, 57, 11, 12, 14, 15, 33, 19, 21, 23, 25, 29, 27}));
    FillVectSchemeInputArmObjectTypes(eSchemeEditCalcInputs, v, false);
    EXPECT_EQ(Ints(v), (std::vector<int>{1, 2, 4, 5, 6, 7, 8, 32, 9, 51, 57, 11, 12, 14, 15, 19, 21, 23, 25, 29, 27}));
    FillVectSchemeOutputArmObjectTypes(eSchemeEditUser, v);
    EXPECT_EQ(Ints(v), (std::vector<int>{52, 58, 33, 30}));
    FillVectSchemeOutputArmObjectTypes(eSchemeEditPreProcessing, v);
    EXPECT_EQ(Ints(v), (std::vector<int>{52, 58, 10, 16, 34, 17, 18, 20, 22, 24, 28, 26}));
    FillVectCollectBlockProps(v);
    EXPECT_EQ(Ints(v), (std::vector<int>{4, 5, 6, 7, 8, 32}));
}

TEST(CompileIncludeSpace, LedsAttributesAndLevels) {
    struct Led { int color; COLORREF rgb; const wchar_t* name; };
    for (const Led& l : {Led{0, RGB(0, 255, 0), L"зеленый"}, Led{1, RGB(255, 255, 0), L"желтый"},
                         Led{2, RGB(255, 0, 0), L"красный"}, Led{3, RGB(0, 0, 255), L"синий"},
                         Led{4, RGB(255, 0, 255), L"пурпурный"}, Led{5, RGB(0, 255, 0), L""},
                         Led{-1, RGB(0, 255, 0), L""}}) {
        EXPECT_EQ(GetCOLORREF(ELedColor(l.color)), l.rgb) << l.color;
        EXPECT_EQ(GetLedColorName(ELedColor(l.color)), l.name) << l.color;
    }
    for (int t = 0; t < 8; ++t) EXPECT_EQ(Is2ColorType(EConnLedType(t)), t >= 3 && t <= 5);

    const std::set<int> for61850 = {0, 1, 3, 9, 10, 12, 23, 25};
    for (int t = -1; t <= 30; ++t) {
        auto type = DataAttributeType(t);
        EXPECT_EQ(IsCorrectDataAttrTypeFor61850(type), for61850.count(t) == 1) << t;
        EXPECT_EQ(IsRequireAssociation(type), t != 23) << t;
    }
    EXPECT_EQ(GetDataAttributeTypeName(DA_BOOLEAN), L"_BOOLEAN");
    EXPECT_EQ(GetDataAttributeTypeName(DA_INT128), L"INT128");
    EXPECT_EQ(GetDataAttributeTypeName(DA_VISIBLE_STRING_129), L"VISIBLE_STRING_129");
    EXPECT_EQ(GetDataAttributeTypeName(DA_PHYCOMADDR), L"PHYCOMADDR");
    EXPECT_EQ(GetDataAttributeTypeName(DataAttributeType(30)), L"");
    EXPECT_EQ(GetDataAttributeTypeName(DataAttributeType(-1)), L"");

    struct Bfpo { int type; const wchar_t* id; bool fits; };
    for (const Bfpo& b : {Bfpo{0, L"ID004", true}, Bfpo{0, L"IDID013", true}, Bfpo{0, L"ID013", false},
                          Bfpo{1, L"ID005", true}, Bfpo{1, L"ID000", false}, Bfpo{25, L"ID009", true},
                          Bfpo{10, L"ID101", true}, Bfpo{10, L"ID000", false}, Bfpo{11, L"ID001", false}})
        EXPECT_EQ(IsAllowBfpoTypeForDataAttrType(DataAttributeType(b.type), b.id), b.fits) << b.type;

    EXPECT_EQ(GetPlenwickLevelName(ePlenwickOperator, true), L"Оперативный персонал");
    EXPECT_EQ(GetPlenwickLevelName(ePlenwickAsu, false), L"служба АСУ");
    EXPECT_EQ(GetPlenwickLevelName(ePlenwickFullAccess, false), L"полный доступ");
    EXPECT_EQ(GetPlenwickLevelName(EPlenwickLevel(4), true), L"");
}

TEST(CompileIncludeSpace, GuidTexts) {
    GUID g{0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(GetStringByGuid(g), L"01234567-89ab-cdef-0123-456789abcdef");
    EXPECT_TRUE(IsGuidEqual(GetGuidByString(L"01234567-89AB-cdef-0123-456789ABCDEF"), g));
    EXPECT_EQ(GetStringByGuid(CreateNilGuid()), L"00000000-0000-0000-0000-000000000000");
    for (const wchar_t* bad : {L"", L"{01234567-89ab-cdef-0123-456789abcdef}", L"01234567-89ab-cdef-0123-456789abcde",
                               L"01234567-89ab-cdef-0123-456789abcdeg", L"0123456789ab-cdef-0123-456789abcdef-",
                               L"01234567+89ab-cdef-0123-456789abcdef"})
        EXPECT_TRUE(IsGuidNil(GetGuidByString(bad))) << CStringA(bad).GetString();

    GUID a, b;
    ASSERT_TRUE(UuidCreate(&a));
    ASSERT_TRUE(UuidCreate(&b));
    EXPECT_FALSE(IsGuidEqual(a, b));
    EXPECT_FALSE(IsGuidNil(a));
    CString text = GetStringByGuid(a);
    EXPECT_EQ(text[14], L'4');  // a random GUID says so in its version digit
    EXPECT_TRUE(IsGuidEqual(GetGuidByString(text), a));
}

TEST(CompileIncludeSpace, ProgressSendersReachTheMainWindow) {
    SetProgressBarPosition(100, 4, 1);  // no main window: nothing happens
    RecordingWindow w;
    SetProgressBarPosition(100, 3, 2);
    SetProgressBarPosition(100, 0, 5);
    AddToRibbonProgressBarPos(7);
    HideProgressBar();
    SetProgressBarInfoText(L"i");
    SetProgressBarAdditionText(L"a");
    SetProgressBarExtraText(L"e");
    SetProgressThreadPosition(1000, 7, 3);
    SetProgressThreadInfoText(L"ti");
    SetProgressThreadAdditionText(L"ta");
    CloseProgressThread();
    const std::vector<Sent> expected = {
        {1080, 0, L"66", false}, {1080, 0, L"0", false},  {1080, 0, L"+7", false}, {1080, 0, L"101", false},
        {1080, 1, L"", false},   {1080, 1, L"i", false},  {1080, 3, L"a", false},  {1080, 7, L"e", false},
        {1086, 0, L"428", false}, {1086, 1, L"ti", false}, {1086, 3, L"ta", false}, {1086, 4, L"", true},
    };
    ASSERT_EQ(w.sent.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(w.sent[i].message, expected[i].message);
        EXPECT_EQ(w.sent[i].code, expected[i].code);
        EXPECT_EQ(w.sent[i].text, expected[i].text);
        EXPECT_EQ(w.sent[i].posted, expected[i].posted);
    }
}
