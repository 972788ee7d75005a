// The pages of the property grid for scheme elements: the rows of a function element from its
// definition, of scheme inputs and outputs with their rules, and what an edit writes back into
// the element when the grid applies edits at once.
#include <gtest/gtest.h>

#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"
#include "platform/Encoding.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/GridTestSupport.h"

using testutil::FakeArmHost;
using testutil::TestGrid;

namespace {

std::string U8(const CString& s) { return platform::WideToUtf8(s.view()); }

// What a page shows, row by row: key, caption, description, value and enabled state.
struct Row {
    const wchar_t* key;
    const wchar_t* caption;
    const wchar_t* description;
    const wchar_t* value;
    bool enabled;
};

void ExpectPage(const TestGrid& grid, const std::vector<Row>& rows, const char* what) {
    ASSERT_EQ(grid.GetPropertyCount(), int(rows.size())) << what;
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* row = dynamic_cast<CMFCFuncPropsBase*>(grid.GetProperty(int(i)));
        ASSERT_NE(row, nullptr) << what << " row " << i;
        EXPECT_EQ(row->GetUniqueName(), rows[i].key) << what << " row " << i;
        EXPECT_EQ(row->GetName(), rows[i].caption) << what << " row " << i << ": " << U8(row->GetName());
        EXPECT_EQ(row->GetDescription(), rows[i].description) << what << " row " << i;
        EXPECT_EQ(row->GetCurrValue(), rows[i].value) << what << " row " << i << ": " << U8(row->GetCurrValue());
        EXPECT_EQ(row->IsEnabled(), rows[i].enabled) << what << " row " << i;
    }
}

// --- function elements -------------------------------------------------------------------------

struct FuncFixture {
    FakeArmHost host;
    SCHEME_FUNC func;
    SCHEME_FUNC_ELEMENT element;
    TestGrid grid;

    FuncFixture() {
        func.m_sName = L"AND";
        auto* count = new FuncPropsEditInt;
        count->m_sKey = L"Count";
        count->m_sCaption = L"Количество";
        count->m_sGroup = L"Входы";
        count->SetMinValue(2);
        count->SetMaxValue(8);
        count->m_nDefault = 2;
        auto* use = new FuncPropsBool;
        use->m_sKey = L"UseDelay";
        use->m_sCaption = L"Задержка";
        use->m_vDependProps = {L"Delay"};
        auto* delay = new FuncPropsEditDouble;
        delay->m_sKey = L"Delay";
        delay->m_sCaption = L"Время";
        delay->m_dDefault = 0.1;
        func.m_vProps = {SmartPointer<FuncPropsBase>(count), SmartPointer<FuncPropsBase>(use),
                         SmartPointer<FuncPropsBase>(delay)};
        host.functions[int(EFuncSchemeType(3))][L"AND"] = &func;
        element.m_eFuncSchemeType = EFuncSchemeType(3);
        element.m_sName = L"AND";
        element.m_mapPropValues = {{L"Count", L"4"}};
        grid.m_pArmDataInterface = &host;
    }
};

TEST(GridFuncPage, ShowsTheDefinitionsRowsWithStoredValuesOrDefaults) {
    FuncFixture f;
    f.grid.SetBaseElemAndFill(&f.element);
    EXPECT_EQ(f.grid.m_eSchemeElemType, eSchElemFunc);
    ASSERT_EQ(f.grid.GetPropertyCount(), 3);
    EXPECT_TRUE(f.grid.GetProperty(0)->IsGroup());
    EXPECT_EQ(f.grid.Row(L"Count")->GetCurrValue(), L"4");
    EXPECT_EQ(f.grid.Row(L"UseDelay")->GetCurrValue(), L"0");
    EXPECT_EQ(f.grid.Row(L"Delay")->GetCurrValue(), L"0.1");
    // The rules ran at the end of the fill: the delay is off with its switch.
    EXPECT_FALSE(f.grid.Row(L"Delay")->IsEnabled());
    // The definition keeps its descriptors; the page keeps none of its own.
    EXPECT_TRUE(f.grid.m_vProps.empty());
}

TEST(GridFuncPage, EmptyWithoutElementHostWindowOrDefinition) {
    {
        FuncFixture f;
        f.grid.SetBaseElemAndFill(nullptr);
        EXPECT_EQ(f.grid.GetPropertyCount(), 0);
        EXPECT_EQ(int(f.grid.m_eSchemeElemType), 0);
    }
    {
        FuncFixture f;
        f.grid.m_pArmDataInterface = nullptr;
        f.grid.SetBaseElemAndFill(&f.element);
        EXPECT_EQ(f.grid.GetPropertyCount(), 0);
    }
    {
        FuncFixture f;
        f.element.m_sName = L"Unknown";
        f.grid.SetBaseElemAndFill(&f.element);
        EXPECT_EQ(f.grid.GetPropertyCount(), 0);
    }
    {
        FuncFixture f;
        f.grid.DestroyWindow();
        f.grid.SetBaseElemAndFill(&f.element);
        EXPECT_EQ(f.grid.GetPropertyCount(), 0);
        EXPECT_EQ(f.grid.m_pSchemeElem, &f.element);
        // The page asked for before the window is shown when the window comes, with what the
        // host set meanwhile.
        f.element.m_mapPropValues[L"Count"] = L"5";
        f.grid.Create();
        ASSERT_EQ(f.grid.GetPropertyCount(), 3);
        EXPECT_EQ(f.grid.Row(L"Count")->GetCurrValue(), L"5");
        // Once only: a window made again does not build the page again.
        f.grid.Row(L"Count")->OnUpdateValue(L"6");
        f.grid.DestroyWindow();
        f.grid.Create();
        EXPECT_EQ(f.grid.Row(L"Count")->GetCurrValue(), L"6");
    }
    {
        FuncFixture f;
        f.grid.SetOnlySchemeElementTypeAndFill(eSchElemFunc);
        EXPECT_EQ(f.grid.GetPropertyCount(), 0);
        EXPECT_EQ(f.grid.m_pSchemeElem, nullptr);
    }
}

TEST(GridFuncPage, FloatingEditIsWrittenIntoTheElementAndTheHostTold) {
    FuncFixture f;
    f.grid.floating = true;
    f.grid.SetBaseElemAndFill(&f.element);
    EXPECT_TRUE(f.grid.Row(L"Count")->OnUpdateValue(L"6"));
    EXPECT_EQ(f.element.m_mapPropValues[L"Count"], L"6");
    EXPECT_TRUE(f.grid.Row(L"UseDelay")->OnUpdateValue(CMFCPropertyGridProperty::m_strTrue));
    EXPECT_EQ(f.element.m_mapPropValues[L"UseDelay"], L"1");
    EXPECT_TRUE(f.grid.Row(L"Delay")->IsEnabled());
    EXPECT_EQ(f.host.prepared, (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}}));
    EXPECT_EQ(f.host.changed, (std::vector<int>{3, 3}));
    // A refused value writes nothing.
    EXPECT_FALSE(f.grid.Row(L"Count")->OnUpdateValue(L"9"));
    EXPECT_EQ(f.element.m_mapPropValues[L"Count"], L"6");
    EXPECT_EQ(f.host.changed.size(), 2u);
}

TEST(GridFuncPage, EditsWaitForTheHostWhenTheGridDoesNotApplyAtOnce) {
    FuncFixture f;
    f.grid.SetBaseElemAndFill(&f.element);
    EXPECT_TRUE(f.grid.Row(L"Count")->OnUpdateValue(L"6"));
    EXPECT_EQ(f.element.m_mapPropValues[L"Count"], L"4");
    EXPECT_TRUE(f.host.changed.empty());
    EXPECT_EQ(f.grid.Row(L"Count")->GetCurrValue(), L"6");
    // Nor does a grid being closed.
    f.grid.floating = true;
    f.grid.m_bPreClosed = true;
    EXPECT_TRUE(f.grid.Row(L"Count")->OnUpdateValue(L"7"));
    EXPECT_EQ(f.element.m_mapPropValues[L"Count"], L"4");
}

// --- inputs and outputs ----------------------------------------------------------------------

struct PlainObject : ArmObject {
    EArmObjectType t;
    PlainObject(EArmObjectType type, const wchar_t* name) : t(type) { m_sName = name; }
    EArmObjectType GetArmObjectType() const override { return t; }
};

TEST(GridInOutPage, InputShowsItsNameOnly) {
    FakeArmHost host;
    TestGrid grid;
    grid.m_pArmDataInterface = &host;
    SCHEME_INPUT input(eSchemeEditStartOrgans);
    input.m_sName = L"In1";
    grid.SetBaseElemAndFill(&input);
    ExpectPage(grid, {{L"EditInOutName", L"Имя входа", L"Имя входа схемы", L"In1", true}}, "input");

    PlainObject linked(EArmObjectType(1), L"AI1");
    input.SetConnected(&linked);
    grid.SetBaseElemAndFill(&input);
    ExpectPage(grid, {{L"EditInOutName", L"Имя входа", L"Имя входа схемы", L"AI1", false}}, "linked input");
}

struct OutputCase {
    const char* what;
    ESchemeEditType kind;
    bool linkedToObject;
    bool asuForbidden, distSendSupported, channelProps;
    std::vector<Row> rows;
};

TEST(GridInOutPage, OutputRowsFollowKindHostAndLink) {
    const Row name{L"EditInOutName", L"Имя выхода", L"Имя выхода схемы", L"Out", true};
    const Row comment{L"EditComment", L"Комментарий", L"Комментарий", L"note", true};
    const Row matrix{L"AllowSignalsMatrix", L"Таблица назначений", L"Разрешить использовать в таблице назначений", L"1",
                     true};
    const Row users{L"AllowUsersSchemes", L"Схемы пользователя", L"Разрешить использовать в схемах пользователя", L"1",
                    true};
    const Row asu{L"AllowUseInAsu", L"Передача в АСУ", L"Разрешить для передачи в АСУ", L"1", true};
    const Row ktr{L"AllowKtrUstavka", L"Ктр уставки", L"Использовать в качестве Ктр уставки", L"1", true};
    const Row coeff{L"ChannelCoeff", L"Коэффициент канала", L"Коэффициент канала осциллограммы", L"2.5", true};
    const Row unit{L"ChannelUnit", L"Единица измерения канала", L"Единица измерения канала осциллограммы", L"kV", true};
    const Row phase{L"ChannelPhase", L"Идентификатор фазы канала", L"Идентификатор фазы канала осциллограммы", L"A",
                    true};
    const Row distCombo{L"AllowUseDistSend", L"Дистанционная передача", L"Выбор дистанционной передачи", L"2", true};
    const Row distBox{L"AllowUseNoChannel2DistSendSend", L"Дистанционная передача", L"Выбор дистанционной передачи",
                      L"1", true};
    auto off = [](Row r, const wchar_t* value) {
        r.enabled = false;
        r.value = value;
        return r;
    };
    const OutputCase cases[] = {
        {"kind 1", eSchemeEditCalcValues, false, false, true, false, {name, comment, asu, ktr, distBox}},
        {"kind 1 linked to an object", eSchemeEditCalcValues, true, false, true, false,
         {off(name, L"Out"), off(comment, L"note"), off(asu, L"0"), off(ktr, L"0"), off(distBox, L"0")}},
        {"kind 1 linked, with channel properties", eSchemeEditCalcValues, true, false, true, true,
         {off(name, L"Out"), off(comment, L"note"), off(matrix, L"0"), off(asu, L"0"), off(ktr, L"0"),
          unit, phase, off(distBox, L"0")}},
        {"kind 6", eSchemeEditCalcInputs, false, false, true, false, {name, comment, matrix, coeff, unit, phase}},
        {"kind 6 with channel properties", eSchemeEditCalcInputs, false, false, true, true,
         {name, comment, matrix, unit, phase}},
        {"kind 4, ASU forbidden", eSchemeEditDeveloper, false, true, false, false,
         {name, comment, matrix, users, distCombo}},
        {"kind 4, dist send supported", eSchemeEditDeveloper, false, false, true, false,
         {name, comment, matrix, users, asu, distBox}},
        {"kind 4, neither", eSchemeEditDeveloper, false, false, false, false, {name, comment, matrix, users, asu}},
        {"kind 5", eSchemeEditUser, false, false, true, false, {name, comment, matrix, asu}},
        {"kind 0", eSchemeEditPreProcessing, false, false, true, false, {name, comment}},
        {"kind 2", eSchemeEditStartOrgans, false, false, true, false, {name, comment, matrix, users}},
    };
    for (const OutputCase& c : cases) {
        FakeArmHost host;
        host.asuForbidden = c.asuForbidden;
        host.distSendSupported = c.distSendSupported;
        host.outputChannelProps = c.channelProps;
        TestGrid grid;
        grid.m_pArmDataInterface = &host;
        SCHEME_OUTPUT output(c.kind, true, true, true, eUseDistSendChannel2, true, L"2.5", L"A", L"kV");
        output.m_sName = L"Out";
        output.m_sComment = L"note";
        PlainObject object(EArmObjectType(3), L"Out");
        if (c.linkedToObject) output.SetConnected(&object);
        // Only an ASU-forbidding host lets the second channel stand.
        if (!c.asuForbidden) output.m_eUseDistSend = eUseDistSendChannel1;
        grid.SetBaseElemAndFill(&output);
        ExpectPage(grid, c.rows, c.what);
    }
}

struct OutputFixture {
    FakeArmHost host;
    TestGrid grid;
    SCHEME_OUTPUT output{eSchemeEditDeveloper};
    OutputFixture() {
        grid.m_pArmDataInterface = &host;
        grid.floating = true;
        output.m_sName = L"Out";
        grid.SetBaseElemAndFill(&output);
    }
    CMFCFuncPropsCheckBox* Box(const wchar_t* key) { return dynamic_cast<CMFCFuncPropsCheckBox*>(grid.Row(key)); }
};

TEST(GridInOutApply, EachKeyReachesItsField) {
    OutputFixture f;
    f.grid.Row(L"EditComment")->OnUpdateValue(L"  a comment ");
    EXPECT_EQ(f.output.m_sComment, L"a comment");
    f.Box(L"AllowUseInAsu")->OnClickName(true);
    EXPECT_TRUE(f.output.m_bUseInAsu);
    f.Box(L"AllowUsersSchemes")->OnClickName(true);
    EXPECT_TRUE(f.output.m_bUseInOrgIspUsers);
    f.Box(L"AllowSignalsMatrix")->OnClickName(true);
    EXPECT_TRUE(f.output.m_bUseInSignalsMatrix);
    f.Box(L"AllowUseNoChannel2DistSendSend")->OnClickName(true);
    EXPECT_EQ(f.output.m_eUseDistSend, eUseDistSendChannel1);
    f.Box(L"AllowUseNoChannel2DistSendSend")->OnClickName(true);
    EXPECT_EQ(f.output.m_eUseDistSend, eUseDistSendNone);
    EXPECT_EQ(f.host.changed, std::vector<int>(6, 3));
    EXPECT_EQ(f.host.prepared.size(), 6u);
}

TEST(GridInOutApply, DistSendChoiceOutsideItsRangeStoresNone) {
    OutputFixture f;
    f.host.asuForbidden = true;
    f.grid.SetBaseElemAndFill(&f.output);
    CMFCFuncPropsBase* combo = f.grid.Row(L"AllowUseDistSend");
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->OnUpdateValue(GridString(7357) + L"2"));
    EXPECT_EQ(f.output.m_eUseDistSend, eUseDistSendChannel2);
    // A value the choice cannot hold (a host's own row of that key) stores none.
    FuncPropsEditInt raw;
    raw.m_sKey = L"AllowUseDistSend";
    CMFCFuncPropsBase* row = f.grid.Add(raw, L"0");
    EXPECT_TRUE(row->OnUpdateValue(L"3"));
    EXPECT_EQ(f.output.m_eUseDistSend, eUseDistSendNone);
    f.output.m_eUseDistSend = eUseDistSendChannel1;
    EXPECT_TRUE(row->OnUpdateValue(L"-1"));
    EXPECT_EQ(f.output.m_eUseDistSend, eUseDistSendNone);
}

TEST(GridInOutApply, RenameGoesToTheHostAndTheMatrixNameTestGuardsIt) {
    OutputFixture f;
    EXPECT_TRUE(f.grid.Row(L"EditInOutName")->OnUpdateValue(L"Out,2"));
    ASSERT_EQ(f.grid.renames.size(), 1u);
    EXPECT_EQ(f.grid.renames[0].second, L"Out,2");
    EXPECT_TRUE(f.grid.sink.messages.empty());

    // In the assignment table a comma is refused, with the message, and the row goes back.
    f.output.m_bUseInSignalsMatrix = true;
    f.grid.SetBaseElemAndFill(&f.output);
    EXPECT_TRUE(f.grid.Row(L"EditInOutName")->OnUpdateValue(L"Bad,Name"));
    EXPECT_EQ(f.grid.renames.size(), 1u);
    ASSERT_EQ(f.grid.sink.messages.size(), 1u);
    EXPECT_EQ(f.grid.sink.messages[0], L"Не допускается использование следующих символов \\ ,");
    EXPECT_EQ(f.grid.sink.types[0], unsigned(MB_ICONINFORMATION));
    EXPECT_EQ(f.grid.Row(L"EditInOutName")->GetCurrValue(), L"Out");

    // An input is renamed without the test.
    SCHEME_INPUT input(eSchemeEditDeveloper);
    input.m_sName = L"In";
    f.grid.SetBaseElemAndFill(&input);
    EXPECT_TRUE(f.grid.Row(L"EditInOutName")->OnUpdateValue(L"In,1"));
    EXPECT_EQ(f.grid.renames.back().second, L"In,1");
}

TEST(GridInOutApply, MatrixFlagRefusedForANameWithAComma) {
    OutputFixture f;
    f.output.m_sName = L"A,B";
    f.grid.SetBaseElemAndFill(&f.output);
    auto* box = f.Box(L"AllowSignalsMatrix");
    box->OnClickName(true);
    EXPECT_EQ(f.grid.sink.messages.size(), 1u);
    EXPECT_FALSE(box->IsChecked());
    EXPECT_FALSE(f.output.m_bUseInSignalsMatrix);
    f.output.m_sName = CString(L'x', 65);
    box->OnClickName(true);
    EXPECT_EQ(f.grid.sink.messages.back(), L"Максимальное количество символов: 64");
    EXPECT_FALSE(f.output.m_bUseInSignalsMatrix);
}

TEST(GridInOutApply, UsersSchemesGuardAsksBeforeTakingTheOutputOut) {
    struct Fixture : OutputFixture {
        SCHEME_INPUT user{eSchemeEditUser};
        Fixture() {
            output.m_eSchemeEditType = eSchemeEditStartOrgans;
            output.m_bUseInOrgIspUsers = true;
            user.m_sName = L"Out";
            host.objects = {&user};
            output.m_eLinkType = user.GetArmObjectType();
            grid.SetBaseElemAndFill(&output);
        }
    };
    {
        Fixture f;
        f.grid.sink.answer = IDNO;
        auto* box = f.Box(L"AllowUsersSchemes");
        ASSERT_NE(box, nullptr);
        box->OnClickName(true);
        ASSERT_EQ(f.grid.sink.messages.size(), 1u);
        EXPECT_EQ(f.grid.sink.types[0], unsigned(MB_YESNO | MB_ICONQUESTION));
        EXPECT_TRUE(box->IsChecked());
        EXPECT_TRUE(f.output.m_bUseInOrgIspUsers);
        EXPECT_EQ(f.user.m_sName, L"Out");
        EXPECT_TRUE(f.host.changed.empty());
    }
    {
        Fixture f;
        f.grid.sink.answer = IDYES;
        auto* box = f.Box(L"AllowUsersSchemes");
        box->OnClickName(true);
        EXPECT_FALSE(box->IsChecked());
        EXPECT_FALSE(f.output.m_bUseInOrgIspUsers);
        EXPECT_EQ(f.user.m_sName, L"Out_copy1");
        EXPECT_EQ(f.host.useInOrgIspUsersChanged, 1);
        EXPECT_EQ(f.grid.invalidated, std::vector<int>{1});
        EXPECT_EQ(f.host.changed, std::vector<int>{3});
    }
    {
        // A second change while the question is open is refused and asks nothing more.
        Fixture f;
        f.grid.sink.answer = IDNO;
        auto* box = f.Box(L"AllowUsersSchemes");
        bool inner = true;
        f.grid.sink.during = [&] { inner = box->OnChangeBoolValue(); };
        box->OnClickName(true);
        EXPECT_FALSE(inner);
        EXPECT_EQ(f.grid.sink.messages.size(), 1u);
        EXPECT_TRUE(f.output.m_bUseInOrgIspUsers);
    }
    {
        // Not used by a users' scheme: cleared without a question.
        Fixture f;
        f.host.objects.clear();
        auto* box = f.Box(L"AllowUsersSchemes");
        box->OnClickName(true);
        EXPECT_TRUE(f.grid.sink.messages.empty());
        EXPECT_FALSE(f.output.m_bUseInOrgIspUsers);
    }
}

}  // namespace
