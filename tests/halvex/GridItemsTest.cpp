// The rows of the function property grid: what each accepts and refuses, with which message,
// what it reports back as the element's value, and how a check that starts again while its
// message is open is answered.
#include <gtest/gtest.h>

#include <climits>

#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "platform/Encoding.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/GridTestSupport.h"

using testutil::FakeArmHost;
using testutil::TestGrid;

namespace {

struct IntCase {
    bool hasMin, hasMax;
    int min, max;
    const wchar_t* text;
    bool accepted;
    const wchar_t* message;  // null when none
};

TEST(GridIntItem, ChecksCharactersRangeAndLimits) {
    const IntCase cases[] = {
        {true, false, 0, 0, L"-5", false, L"Указано неверное значение -5!"},
        {true, false, -10, 0, L"-5", true, nullptr},
        {false, false, 0, 0, L"12a", false, L"Указано неверное значение 12a!"},
        {true, true, 1, 10, L"", false, L"Значение должно быть между 1 и 10."},
        {false, false, 0, 0, L"", true, nullptr},
        {true, true, 1, 10, L" 7 ", true, nullptr},
        {true, true, 1, 10, L"11", false, L"Значение должно быть между 1 и 10."},
        {false, true, 0, 5, L"6", false, L"Значение не должно превышать 5."},
        {true, false, 3, 0, L"2", false, L"Значение не должно быть меньше 3."},
        // Beyond int: refused as a wrong value, not wrapped into some other number.
        {false, false, 0, 0, L"99999999999", false, L"Указано неверное значение 99999999999!"},
        {false, false, 0, 0, L"2147483648", false, L"Указано неверное значение 2147483648!"},
        {false, false, 0, 0, L"-2147483649", false, L"Указано неверное значение -2147483649!"},
        {false, false, 0, 0, L"-2147483648", true, nullptr},
        {false, false, 0, 0, L"1.5", false, L"Указано неверное значение 1.5!"},
    };
    for (const IntCase& c : cases) {
        TestGrid grid;
        FuncPropsEditInt desc;
        desc.m_sKey = L"N";
        if (c.hasMin) desc.SetMinValue(c.min);
        if (c.hasMax) desc.SetMaxValue(c.max);
        desc.m_nDefault = 1;
        auto* row = grid.Add(desc, L"1");
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->OnUpdateValue(c.text), c.accepted) << c.text;
        if (c.message) {
            ASSERT_EQ(grid.sink.messages.size(), 1u) << c.text;
            EXPECT_EQ(grid.sink.messages[0], c.message);
            EXPECT_EQ(grid.sink.types[0], unsigned(MB_ICONERROR));
            EXPECT_EQ(row->GetCurrValue(), L"1") << c.text;
        } else {
            EXPECT_TRUE(grid.sink.messages.empty()) << c.text;
        }
    }
}

TEST(GridIntItem, AcceptedValueIsReportedAndTheGridTold) {
    TestGrid grid;
    FuncPropsEditInt desc;
    desc.m_sKey = L"N";
    auto* row = grid.Add(desc, L"4");
    EXPECT_TRUE(row->OnUpdateValue(L"4"));  // unchanged: nothing happens
    EXPECT_TRUE(grid.changedRows.empty());
    EXPECT_TRUE(row->OnUpdateValue(L"-17"));
    EXPECT_EQ(row->GetCurrValue(), L"-17");
    ASSERT_EQ(grid.changedRows.size(), 1u);
    EXPECT_EQ(grid.changedRows[0], row);
}

TEST(GridIntItem, CreationTakesTheDefaultOutsideTheLimitsAndSetsTheSpin) {
    FuncPropsEditInt desc;
    desc.SetMinValue(1);
    desc.SetMaxValue(10);
    desc.m_nDefault = 2;
    desc.m_bSpin = true;
    TestGrid grid;
    auto* row = dynamic_cast<CMFCFuncPropsEditInt*>(grid.Add(desc, L"11"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetCurrValue(), L"2");
    EXPECT_TRUE(row->HasSpinControl());
    EXPECT_EQ(row->GetSpinMin(), 1);
    EXPECT_EQ(row->GetSpinMax(), 10);
    auto* inRange = dynamic_cast<CMFCFuncPropsEditInt*>(grid.Add(desc, L"10"));
    EXPECT_EQ(inRange->GetCurrValue(), L"10");
}

TEST(GridIntItem, DisabledRowReportsTheDisabledValueOnlyWhenOneWasSet) {
    TestGrid grid;
    FuncPropsEditInt desc;
    desc.m_sKey = L"N";
    auto* row = grid.Add(desc, L"7");
    row->Enable(false);
    EXPECT_EQ(row->GetCurrValue(), L"7");
    desc.SetDisabledValue(L"3");
    EXPECT_EQ(row->GetCurrValue(), L"3");
    row->Enable(true);
    EXPECT_EQ(row->GetCurrValue(), L"7");
}

// A message box pumps events: the editor may end again while the first message is open. That
// second check must refuse, and show nothing more.
TEST(GridValidation, CheckEnteredAgainWhileItsMessageIsOpenRefusesSilently) {
    TestGrid grid;
    FuncPropsEditInt desc;
    desc.SetMinValue(0);
    desc.SetMaxValue(5);
    auto* row = grid.Add(desc, L"1");
    bool again = true;
    grid.sink.during = [&] { again = row->OnUpdateValue(L"9"); };
    EXPECT_FALSE(row->OnUpdateValue(L"9"));
    EXPECT_FALSE(again);
    EXPECT_EQ(grid.sink.messages.size(), 1u);
    EXPECT_EQ(row->GetCurrValue(), L"1");
    // Once the box is closed the check speaks again.
    EXPECT_FALSE(row->OnUpdateValue(L"9"));
    EXPECT_EQ(grid.sink.messages.size(), 2u);

    FuncPropsEditDouble ddesc;
    ddesc.SetMinValue(0);
    ddesc.SetMaxValue(1);
    auto* drow = grid.Add(ddesc, L"0.5");
    grid.sink.during = [&] { again = drow->OnUpdateValue(L"7"); };
    EXPECT_FALSE(drow->OnUpdateValue(L"7"));
    EXPECT_FALSE(again);
    EXPECT_EQ(grid.sink.messages.size(), 3u);

    FuncPropsEditText tdesc;
    tdesc.m_bNotEmpty = true;
    tdesc.m_sDefault = L"x";
    auto* trow = grid.Add(tdesc, L"a");
    grid.sink.during = [&] { again = trow->OnUpdateValue(L" "); };
    EXPECT_FALSE(trow->OnUpdateValue(L""));
    EXPECT_FALSE(again);
    EXPECT_EQ(grid.sink.messages.size(), 4u);
    EXPECT_EQ(trow->GetCurrValue(), L"a");
}

TEST(GridValidation, FloatingGridPutsTheOldValueBackAfterARefusal) {
    TestGrid grid;
    grid.floating = true;
    FuncPropsEditInt desc;
    desc.SetMaxValue(5);
    auto* row = grid.Add(desc, L"3");
    EXPECT_FALSE(row->OnUpdateValue(L"8"));
    EXPECT_EQ(row->FormatProperty(), L"3");
    EXPECT_EQ(row->GetValue().kind, GridValue::eInt);
}

TEST(GridValidation, PreClosedGridTakesAnyTextWithoutAMessage) {
    TestGrid grid;
    FuncPropsEditInt desc;
    desc.SetMaxValue(5);
    auto* row = grid.Add(desc, L"3");
    grid.m_bPreClosed = true;
    EXPECT_TRUE(row->OnUpdateValue(L"8"));
    EXPECT_TRUE(grid.sink.messages.empty());
    EXPECT_EQ(row->GetCurrValue(), L"8");
}

struct DoubleCase {
    bool hasMin, hasMax;
    double min, max;
    unsigned precision;
    const wchar_t* text;
    bool accepted;
    const wchar_t* message;
};

TEST(GridDoubleItem, RefusesWhatIsNotAWholeNumberAndChecksTheLimits) {
    const DoubleCase cases[] = {
        {true, true, 0, 1, 0, L"1.000005", true, nullptr},
        {true, true, 0, 1, 0, L"1.00002", false, L"Значение должно быть между 0 и 1."},
        {true, true, 0.25, 0.5, 2, L"0.6", false, L"Значение должно быть между 0.25 и 0.5."},
        {true, true, 0.25, 1.5, 0, L"0.2", false, L"Значение должно быть между 0.25 и 1.5."},
        {false, true, 0, 2.5, 0, L"3", false, L"Значение не должно превышать 2.5."},
        {true, false, -1.5, 0, 0, L"-2", false, L"Значение не должно быть меньше -1.5."},
        // Not a complete number: refused, not read as its first digits or as 0.
        {false, false, 0, 0, 0, L"abc", false, L"Указано неверное значение abc!"},
        {false, false, 0, 0, 0, L"1,5", false, L"Указано неверное значение 1,5!"},
        {false, false, 0, 0, 0, L"2x", false, L"Указано неверное значение 2x!"},
        {false, false, 0, 0, 0, L"1e", false, L"Указано неверное значение 1e!"},
        {false, false, 0, 0, 0, L"inf", false, L"Указано неверное значение inf!"},
        {false, false, 0, 0, 0, L"0x10", false, L"Указано неверное значение 0x10!"},
        {false, false, 0, 0, 0, L"1e400", false, L"Указано неверное значение 1e400!"},
        {false, false, 0, 0, 0, L" -2.5e-3 ", true, nullptr},
        {false, false, 0, 0, 0, L"+4", true, nullptr},
    };
    for (const DoubleCase& c : cases) {
        TestGrid grid;
        FuncPropsEditDouble desc;
        if (c.hasMin) desc.SetMinValue(c.min);
        if (c.hasMax) desc.SetMaxValue(c.max);
        desc.m_nPrecision = c.precision;
        desc.m_dDefault = c.hasMin ? c.min : 0.0;
        auto* row = grid.Add(desc, desc.GetDefaultValue());
        const CString before = row->GetCurrValue();
        EXPECT_EQ(row->OnUpdateValue(c.text), c.accepted) << c.text;
        if (c.message) {
            ASSERT_EQ(grid.sink.messages.size(), 1u) << c.text;
            EXPECT_EQ(grid.sink.messages[0], c.message) << platform::WideToUtf8(grid.sink.messages[0].view());
            EXPECT_EQ(row->GetCurrValue(), before) << c.text;
        } else {
            EXPECT_TRUE(grid.sink.messages.empty()) << c.text;
        }
    }
}

TEST(GridDoubleItem, ShowsTheFewestDecimalsAndTakesTheDefaultOutsideTheLimits) {
    TestGrid grid;
    FuncPropsEditDouble desc;
    desc.SetMinValue(0);
    desc.SetMaxValue(2);
    desc.m_dDefault = 0.75;
    EXPECT_EQ(grid.Add(desc, L"1.5")->GetCurrValue(), L"1.5");
    EXPECT_EQ(grid.Add(desc, L"2")->GetCurrValue(), L"2");
    EXPECT_EQ(grid.Add(desc, L"2.000009")->GetCurrValue(), L"2.000009");
    EXPECT_EQ(grid.Add(desc, L"2.1")->GetCurrValue(), L"0.75");
    auto* row = grid.Add(desc, L"1");
    EXPECT_TRUE(row->OnUpdateValue(L"0.125"));
    EXPECT_EQ(row->GetCurrValue(), L"0.125");
}

TEST(GridTextItem, NonEmptyRuleSilentRejectionAndTrimming) {
    TestGrid grid;
    FuncPropsEditText desc;
    desc.m_sKey = L"T";
    desc.m_bNotEmpty = true;
    desc.m_sDefault = L"default";
    auto* row = grid.Add(desc, L"");
    EXPECT_EQ(row->GetCurrValue(), L"default");
    EXPECT_FALSE(row->OnUpdateValue(L"   "));
    ASSERT_EQ(grid.sink.messages.size(), 1u);
    EXPECT_EQ(grid.sink.messages[0], L"Введите непустое значение!");
    EXPECT_TRUE(row->OnUpdateValue(L"  new text "));
    EXPECT_EQ(row->GetCurrValue(), L"new text");

    FuncPropsEditText silent;
    silent.m_bNotEmpty = true;
    silent.m_bSilentReject = true;
    auto* quiet = grid.Add(silent, L"keep");
    EXPECT_FALSE(quiet->OnUpdateValue(L""));
    EXPECT_EQ(grid.sink.messages.size(), 1u);
    EXPECT_EQ(quiet->GetCurrValue(), L"keep");

    FuncPropsEditText disabled;
    disabled.SetDisabledValue(L"off");
    auto* off = grid.Add(disabled, L"on");
    off->Enable(false);
    EXPECT_EQ(off->GetCurrValue(), L"off");
}

TEST(GridTextItem, PhaseTakesAtMostTwoCapitalsDigitsOrSigns) {
    TestGrid grid;
    FuncPropsEditText desc;
    desc.m_sKey = L"ChannelPhase";
    auto* row = grid.Add(desc, L"A");
    ASSERT_NE(dynamic_cast<CMFCFuncPropsEditTextPhase*>(row), nullptr);
    const struct {
        const wchar_t* text;
        bool ok;
        const wchar_t* message;
    } cases[] = {
        {L"ABC", false, L"Максимальное количество символов: 2"},
        {L"a", false, L"Допускается использование следующих символов \n\nA-Z\n0-9\n-\n+"},
        {L"B1", true, nullptr},
        {L"BC", true, nullptr},
        {L"+", true, nullptr},
        {L"", true, nullptr},
        {L"A", true, nullptr},
    };
    for (const auto& c : cases) {
        CString error;
        EXPECT_EQ(static_cast<CMFCFuncPropsEditText*>(row)->IsTextCorrect(c.text, error), c.ok) << c.text;
        if (c.message) {
            EXPECT_EQ(error, c.message) << c.text;
        }
    }
    FuncPropsEditText plain;
    plain.m_sKey = L"ChannelUnit";
    EXPECT_EQ(dynamic_cast<CMFCFuncPropsEditTextPhase*>(grid.Add(plain, L"x")), nullptr);
}

TEST(GridTextItem, InOutNameRefusesANameTheProjectUses) {
    FakeArmHost host;
    host.usedNames = {L"Taken"};
    TestGrid grid;
    grid.m_pArmDataInterface = &host;
    FuncPropsEditInOutName desc;
    desc.m_sKey = L"EditInOutName";
    auto* row = grid.Add(desc, L"Mine");
    EXPECT_TRUE(row->OnUpdateValue(L"Mine"));  // unchanged: never asked
    EXPECT_FALSE(row->OnUpdateValue(L"Taken"));
    ASSERT_EQ(grid.sink.messages.size(), 1u);
    EXPECT_EQ(grid.sink.messages[0], L"Имя \"Taken\" уже используется в проекте и не может использоваться повторно.");
    EXPECT_FALSE(row->OnUpdateValue(L""));
    EXPECT_EQ(grid.sink.messages.back(), L"Введите непустое значение!");
    EXPECT_TRUE(row->OnUpdateValue(L"Free"));
    EXPECT_EQ(row->GetCurrValue(), L"Free");
}

TEST(GridComboItem, ValueIndexAndOptionlessChoice) {
    TestGrid grid;
    FuncPropsCombo desc;
    desc.m_sKey = L"C";
    desc.m_vOptions = {L"a", L"b", L"a"};
    auto* row = grid.Add(desc, L"1");
    EXPECT_EQ(row->FormatProperty(), L"b");
    EXPECT_FALSE(row->IsAllowEdit());
    EXPECT_EQ(row->GetCurrValue(), L"1");
    EXPECT_TRUE(row->OnUpdateValue(L"a"));
    EXPECT_EQ(row->GetCurrValue(), L"2");  // the last option of that text
    EXPECT_FALSE(row->OnUpdateValue(L"z"));  // not among the options
    EXPECT_EQ(grid.Add(desc, L"7")->FormatProperty(), L"a");
    EXPECT_EQ(grid.Add(desc, L"-1")->FormatProperty(), L"a");
    auto* unmatched = grid.Add(desc, L"0");
    unmatched->SetValue(GridValue::Text(L"nothing"));
    EXPECT_EQ(unmatched->GetCurrValue(), L"0");

    // Without options there is nothing to show.
    FuncPropsCombo empty;
    auto* none = grid.Add(empty, L"0");
    EXPECT_EQ(none->FormatProperty(), L"");
    EXPECT_EQ(none->GetCurrValue(), L"0");

    // The disabled value counts only once the host set it.
    desc.SetDisabledValue(L"2");
    row->Enable(false);
    EXPECT_EQ(row->GetCurrValue(), L"2");
    desc.m_nDisabled = 1;
    EXPECT_EQ(row->GetCurrValue(), L"2");
    desc.m_bHasDisabledValue = true;
    EXPECT_EQ(row->GetCurrValue(), L"1");
}

TEST(GridComboItem, SpecialSelectFillsItsTopLevelCompanion) {
    TestGrid grid;
    FuncPropsEditText text;
    text.m_sKey = L"EditText";
    auto* companion = grid.Add(text, L"old");
    FuncPropsComboSpecSelect desc;
    desc.m_sKey = L"BindingCommand";
    desc.m_sTargetKey = L"EditText";
    desc.m_vOptions = {L"first", L"second"};
    auto* row = grid.Add(desc, L"0");
    ASSERT_NE(dynamic_cast<CMFCFuncPropsComboSpecSelect*>(row), nullptr);
    EXPECT_TRUE(row->OnUpdateValue(L"second"));
    EXPECT_EQ(companion->GetCurrValue(), L"second");
}

TEST(GridArmObjComboItem, OffersTheHostsObjectsAndSelectsByName) {
    struct Obj : ArmObject {
        EArmObjectType t;
        Obj(int type, const wchar_t* name) : t(EArmObjectType(type)) { m_sName = name; }
        EArmObjectType GetArmObjectType() const override { return t; }
    };
    FakeArmHost host;
    Obj a(5, L"Zeta"), b(5, L"Alpha"), c(5, L"Zeta");
    host.objects = {&a, &b, &c};
    TestGrid grid;
    grid.m_pArmDataInterface = &host;
    FuncPropsArmObjCombo desc;
    desc.m_sKey = L"Obj";
    desc.m_eArmObjType = EArmObjectType(5);
    auto* row = grid.Add(desc, L"Zeta");
    EXPECT_EQ(row->GetOptions(), (std::vector<CString>{L"Alpha", L"Zeta"}));
    EXPECT_EQ(row->GetCurrValue(), L"Zeta");
    EXPECT_FALSE(row->IsAllowEdit());
    EXPECT_EQ(grid.Add(desc, L"Missing")->GetCurrValue(), L"");

    for (Obj* o : {&a, &b, &c}) o->t = EArmObjectType(3);
    desc.m_eArmObjType = EArmObjectType(3);
    EXPECT_EQ(grid.Add(desc, L"Alpha")->GetOptions(), (std::vector<CString>{L"Zeta", L"Alpha", L"Zeta"}));
}

}  // namespace
