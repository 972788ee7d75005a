// The property grid itself: pages built from descriptors with their groups, the enabling rules
// of boolean rows over dependent rows, the check box's input, and the font, colour and icon
// rows.
#include <gtest/gtest.h>

#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/ImageList.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/GridTestSupport.h"

using testutil::FakeArmHost;
using testutil::TestGrid;

namespace {

template <class D>
SmartPointer<FuncPropsBase> Desc(const wchar_t* key, const wchar_t* group = L"") {
    auto* d = new D;
    d->m_sKey = key;
    d->m_sCaption = CString(L"cap ") + key;
    d->m_sGroup = group;
    return SmartPointer<FuncPropsBase>(d);
}

CString Stored(FuncPropsBase& d) { return d.GetDefaultValue(); }

TEST(GridFill, ConsecutiveDescriptorsOfAGroupShareOneGroupRow) {
    TestGrid grid;
    std::vector<SmartPointer<FuncPropsBase>> props = {
        Desc<FuncPropsEditInt>(L"a1", L"A"), Desc<FuncPropsEditText>(L"a2", L"A"), Desc<FuncPropsBool>(L"top"),
        Desc<FuncPropsCombo>(L"a3", L"A")};
    grid.FillByDescriptors(props, Stored);
    ASSERT_EQ(grid.GetPropertyCount(), 3);
    CMFCPropertyGridProperty* first = grid.GetProperty(0);
    EXPECT_TRUE(first->IsGroup());
    EXPECT_EQ(first->GetName(), L"A");
    ASSERT_EQ(first->GetSubItemsCount(), 2);
    EXPECT_EQ(static_cast<CMFCFuncPropsBase*>(first->GetSubItem(0))->GetUniqueName(), L"a1");
    EXPECT_EQ(static_cast<CMFCFuncPropsBase*>(first->GetSubItem(1))->GetUniqueName(), L"a2");
    EXPECT_EQ(first->GetSubItem(1)->GetParent(), first);
    auto* top = dynamic_cast<CMFCFuncPropsBool*>(grid.GetProperty(1));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->GetName(), L"cap top");
    CMFCPropertyGridProperty* second = grid.GetProperty(2);
    EXPECT_TRUE(second->IsGroup());
    EXPECT_EQ(second->GetName(), L"A");
    EXPECT_EQ(second->GetSubItemsCount(), 1);
}

TEST(GridFill, DescriptorsMakeTheRowsOfTheirKind) {
    TestGrid grid;
    std::vector<SmartPointer<FuncPropsBase>> props = {
        Desc<FuncPropsEditInt>(L"i"),         Desc<FuncPropsEditInt2Double>(L"i2d"),
        Desc<FuncPropsEditDouble>(L"d"),      Desc<FuncPropsEditDouble2Int>(L"d2i"),
        Desc<FuncPropsEditText>(L"t"),        Desc<FuncPropsEditText>(L"ChannelPhase"),
        Desc<FuncPropsArmObjBlock>(L"blk"),   Desc<FuncPropsEditInOutName>(L"name"),
        Desc<FuncPropsBool>(L"b"),            Desc<FuncPropsCheckBox>(L"cb"),
        Desc<FuncPropsCheckUseInOrgIspUsers>(L"users"), Desc<FuncPropsCombo>(L"c"),
        Desc<FuncPropsCftCombo>(L"cft"),      Desc<FuncPropsComboSpecSelect>(L"spec"),
        Desc<FuncPropsArmObjCombo>(L"obj")};
    grid.FillByDescriptors(props, Stored);
    ASSERT_EQ(grid.GetPropertyCount(), int(props.size()));
    auto is = [&](int i, auto* type) {
        using T = std::remove_pointer_t<decltype(type)>;
        return dynamic_cast<T*>(grid.GetProperty(i)) != nullptr && typeid(*grid.GetProperty(i)) == typeid(T);
    };
    EXPECT_TRUE(is(0, (CMFCFuncPropsEditInt*)nullptr));
    EXPECT_TRUE(is(1, (CMFCFuncPropsEditInt*)nullptr));
    EXPECT_TRUE(is(2, (CMFCFuncPropsEditDouble*)nullptr));
    EXPECT_TRUE(is(3, (CMFCFuncPropsEditDouble*)nullptr));
    EXPECT_TRUE(is(4, (CMFCFuncPropsEditText*)nullptr));
    EXPECT_TRUE(is(5, (CMFCFuncPropsEditTextPhase*)nullptr));
    EXPECT_TRUE(is(6, (CMFCFuncPropsEditText*)nullptr));
    EXPECT_TRUE(is(7, (CMFCFuncPropsEditInOutName*)nullptr));
    EXPECT_TRUE(is(8, (CMFCFuncPropsBool*)nullptr));
    EXPECT_TRUE(is(9, (CMFCFuncPropsCheckBox*)nullptr));
    EXPECT_TRUE(is(10, (CMFCFuncPropsCheckUseInOrgIspUsers*)nullptr));
    EXPECT_TRUE(is(11, (CMFCFuncPropsCombo*)nullptr));
    EXPECT_TRUE(is(12, (CMFCFuncPropsCombo*)nullptr));
    EXPECT_TRUE(is(13, (CMFCFuncPropsComboSpecSelect*)nullptr));
    EXPECT_TRUE(is(14, (CMFCFuncPropsArmObjCombo*)nullptr));
}

TEST(GridFill, ClearingAPageReleasesItsDescriptors) {
    TestGrid grid;
    auto* desc = new FuncPropsEditText;
    desc->m_sKey = L"k";
    CMFCFuncPropsBase* row = grid.KeepAndCreate(desc, L"v");
    grid.AddProperty(row);
    ASSERT_EQ(grid.m_vProps.size(), 1u);
    EXPECT_EQ(grid.m_vProps[0].shared().use_count(), 1);
    grid.ClearPage();
    EXPECT_EQ(grid.GetPropertyCount(), 0);
    EXPECT_TRUE(grid.m_vProps.empty());
}

// --- enabling rules ----------------------------------------------------------------------------

TEST(GridBoolRules, SwitchedOffPassesOffDownSwitchedOnLetsDependantsFollowTheirOwnValue) {
    TestGrid grid;
    FuncPropsBool a;
    a.m_sKey = L"A";
    a.m_vDependProps = {L"B"};
    FuncPropsCheckBox b;
    b.m_sKey = L"B";
    b.m_vDependProps = {L"C"};
    FuncPropsEditInt c;
    c.m_sKey = L"C";
    auto* rowA = grid.Add(a, L"1");
    auto* rowB = grid.Add(b, L"0");
    auto* rowC = grid.Add(c, L"1");
    grid.ActionAllProps();
    EXPECT_TRUE(rowB->IsEnabled());
    EXPECT_FALSE(rowC->IsEnabled());  // B is clear

    EXPECT_TRUE(rowA->OnUpdateValue(CMFCPropertyGridProperty::m_strFalse));
    EXPECT_EQ(rowA->GetCurrValue(), L"0");
    EXPECT_FALSE(rowB->IsEnabled());
    EXPECT_FALSE(rowC->IsEnabled());

    static_cast<CMFCFuncPropsCheckBox*>(rowB)->SetValue(GridValue::Int(-1));
    EXPECT_TRUE(rowA->OnUpdateValue(CMFCPropertyGridProperty::m_strTrue));
    EXPECT_TRUE(rowB->IsEnabled());
    EXPECT_TRUE(rowC->IsEnabled());  // B is ticked
}

TEST(GridBoolRules, CounterDependentPassRunsSecondAndWins) {
    TestGrid grid;
    FuncPropsCheckBox a;
    a.m_sKey = L"A";
    a.m_vDependProps = {L"X"};
    a.m_vDependMinusProps = {L"X", L"Y"};
    FuncPropsEditText x, y;
    x.m_sKey = L"X";
    y.m_sKey = L"Y";
    auto* rowA = static_cast<CMFCFuncPropsCheckBox*>(grid.Add(a, L"1"));
    auto* rowX = grid.Add(x, L"");
    auto* rowY = grid.Add(y, L"");
    grid.ActionAllProps();
    EXPECT_FALSE(rowX->IsEnabled());
    EXPECT_FALSE(rowY->IsEnabled());
    rowA->OnClickName(true);
    EXPECT_EQ(rowA->GetCurrValue(), L"0");
    EXPECT_TRUE(rowX->IsEnabled());
    EXPECT_TRUE(rowY->IsEnabled());
}

TEST(GridBoolRules, DependantsAreFoundOneLevelIntoGroupsOnly) {
    TestGrid grid;
    FuncPropsBool a;
    a.m_sKey = L"A";
    a.m_vDependProps = {L"inGroup", L"deeper"};
    grid.Add(a, L"0");
    FuncPropsEditText inGroup, deeper;
    inGroup.m_sKey = L"inGroup";
    deeper.m_sKey = L"deeper";
    auto* group = new CMFCPropertyGridProperty(CString(L"G"));
    auto* nested = new CMFCPropertyGridProperty(CString(L"H"));
    CMFCFuncPropsBase* rowIn = inGroup.CreateMFCFuncPropsBase(L"", nullptr);
    CMFCFuncPropsBase* rowDeep = deeper.CreateMFCFuncPropsBase(L"", nullptr);
    group->AddSubItem(rowIn);
    nested->AddSubItem(rowDeep);
    group->AddSubItem(nested);
    grid.AddProperty(group);
    grid.ActionAllProps();
    EXPECT_FALSE(rowIn->IsEnabled());
    EXPECT_TRUE(rowDeep->IsEnabled());
}

TEST(GridBoolRules, ACircleOfDependenciesEnds) {
    TestGrid grid;
    FuncPropsCheckBox a, b;
    a.m_sKey = L"A";
    a.m_vDependProps = {L"B"};
    b.m_sKey = L"B";
    b.m_vDependProps = {L"A"};
    auto* rowA = grid.Add(a, L"0");
    auto* rowB = grid.Add(b, L"1");
    grid.ActionAllProps();
    // A row met again on its own chain is left as it is: the rules end, with A clear switching
    // B off and B, ticked, leaving A on.
    EXPECT_FALSE(rowB->IsEnabled());
    EXPECT_TRUE(rowA->IsEnabled());
}

TEST(GridBoolRules, DisabledBoolReportsTheDisabledValue) {
    TestGrid grid;
    FuncPropsBool d;
    d.m_sKey = L"B";
    auto* row = grid.Add(d, L"1");
    row->Enable(false);
    EXPECT_EQ(row->GetCurrValue(), L"1");
    d.SetDisabledValue(L"0");
    EXPECT_EQ(row->GetCurrValue(), L"0");
    FuncPropsCheckBox cd;
    auto* box = grid.Add(cd, L"1");
    cd.SetDisabledValue(L"0");
    box->Enable(false);
    EXPECT_EQ(box->GetCurrValue(), L"0");
    box->Enable(true);
    EXPECT_EQ(box->GetCurrValue(), L"1");
}

TEST(GridCheckBox, ClicksKeysAndTheDisabledBox) {
    TestGrid grid;
    FuncPropsCheckBox d;
    d.m_sKey = L"C";
    auto* box = static_cast<CMFCFuncPropsCheckBox*>(grid.Add(d, L"0"));
    EXPECT_FALSE(box->OnEdit());
    EXPECT_FALSE(box->HasButton());
    const struct {
        const char* what;
        std::function<bool()> act;
        const wchar_t* after;
    } steps[] = {
        {"click in the box", [&] { return box->OnClickName(true); }, L"1"},
        {"click beside the box", [&] { return box->OnClickName(false); }, L"1"},
        {"double click in the box", [&] { return box->OnDblClk(true); }, L"1"},
        {"double click beside it", [&] { return box->OnDblClk(false); }, L"0"},
        {"space", [&] { return box->PushChar(L' '); }, L"1"},
        {"another key", [&] { return box->PushChar(L'x'); }, L"1"},
    };
    for (const auto& s : steps) {
        EXPECT_TRUE(s.act()) << s.what;
        EXPECT_EQ(box->GetCurrValue(), s.after) << s.what;
    }
    box->Enable(false);
    box->OnClickName(true);
    box->OnDblClk(false);
    EXPECT_EQ(box->GetCurrValue(), L"1");
}

TEST(GridCheckBox, UsersSchemesBoxOfARowWithoutAnOutputActsAsACheckBox) {
    TestGrid grid;
    grid.floating = true;
    FuncPropsCheckUseInOrgIspUsers d;
    d.m_sKey = L"AllowUsersSchemes";
    auto* box = static_cast<CMFCFuncPropsCheckBox*>(grid.Add(d, L"1"));
    box->OnClickName(true);
    EXPECT_EQ(box->GetCurrValue(), L"0");
    EXPECT_TRUE(grid.sink.messages.empty());
}

// --- font, colour and icon rows -----------------------------------------------------------------

TEST(GridColorItem, AutomaticIsOpaqueBlackAndColoursSwapRedAndBlue) {
    EXPECT_EQ(GridColorToArgb(COLORREF(-1)), 0xFF000000u);
    EXPECT_EQ(GridColorToArgb(RGB(0x12, 0x34, 0x56)), 0xFF123456u);
    EXPECT_EQ(GridArgbToColor(0x80123456u), RGB(0x12, 0x34, 0x56));

    TestGrid grid;
    auto* group = new CMFCPropertyGridProperty(CString(L"G"));
    auto* colour = new CMFCFuncPropsColor(L"Цвет", RGB(1, 2, 3), L"Цвет линии");
    colour->EnableOtherButton(L"Другой...");
    colour->EnableAutomaticButton(L"По умолчанию", RGB(0, 0, 0));
    group->AddSubItem(colour);
    grid.AddProperty(group);
    EXPECT_EQ(colour->GetColor(), RGB(1, 2, 3));
    EXPECT_TRUE(colour->OnUpdateValue(L"-1"));
    EXPECT_EQ(colour->GetColor(), COLORREF(-1));
    // The row and its group are reported changed.
    ASSERT_EQ(grid.changedRows.size(), 2u);
    EXPECT_EQ(grid.changedRows[0], colour);
    EXPECT_EQ(grid.changedRows[1], group);
}

TEST(GridFontItem, DialogChoiceIsTakenAndReported) {
    TestGrid grid;
    LOGFONTW lf{};
    lf.lfHeight = -16;
    wcscpy(lf.lfFaceName, L"Arial");
    auto* font = new CMFCFuncPropsFont(L"Шрифт", lf, 0x00800101, L"Выбор шрифта", 0, RGB(0, 0, 255));
    grid.AddProperty(font);
    EXPECT_EQ(font->FormatProperty(), L"Arial, 12");
    EXPECT_TRUE(font->HasButton());

    font->OnClickButton();  // cancelled
    EXPECT_EQ(grid.sink.fontDialogs, 1);
    EXPECT_TRUE(grid.changedRows.empty());

    grid.sink.fontChosen = true;
    grid.sink.font = lf;
    grid.sink.fontColour = RGB(0, 0, 255);
    font->OnClickButton();  // the same font and colour: nothing to report
    EXPECT_TRUE(grid.changedRows.empty());

    wcscpy(grid.sink.font.lfFaceName, L"Tahoma");
    grid.sink.fontColour = RGB(255, 0, 0);
    font->OnClickButton();
    ASSERT_EQ(grid.changedRows.size(), 1u);
    EXPECT_EQ(font->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(font->FormatProperty(), L"Tahoma, 12");
    EXPECT_EQ(font->GetValue().text, L"Tahoma, 12");
}

TEST(GridIconList, DrawsTheChosenImageAndItsTextAndNothingWithoutAChoice) {
    // Two 4 x 4 images: red and green.
    CBitmap strip;
    ASSERT_TRUE(strip.CreateTransparentBitmap(8, 4));
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&strip);
        dc.FillSolidRect(0, 0, 4, 4, RGB(255, 0, 0));
        dc.FillSolidRect(4, 0, 4, 4, RGB(0, 255, 0));
        dc.SelectObject(old);
    }
    CImageList images;
    images.Create(4, 4);
    ASSERT_EQ(images.Add(&strip), 0);
    ASSERT_EQ(images.GetImageCount(), 2);
    const std::vector<CString> texts = {L"Галочка", L"Индикатор"};
    CIconListProp row(L"Отображение", images, 1, &texts, L"описание");
    EXPECT_EQ(row.GetOptions(), (std::vector<CString>{L"0", L"1"}));
    EXPECT_FALSE(row.IsAllowEdit());
    EXPECT_EQ(row.GetSelectedIndex(), 1);

    auto paint = [&](CIconListProp& r) {
        CBitmap target;
        target.CreateTransparentBitmap(60, 12);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&target);
        dc.FillSolidRect(0, 0, 60, 12, RGB(255, 255, 255));
        r.OnDrawValue(&dc, CRect(0, 0, 60, 12));
        dc.SelectObject(old);
        return target;
    };
    CBitmap drawn = paint(row);
    EXPECT_EQ(drawn.GetPixel(5, 5), RGB(0, 255, 0));  // the image fills the 10 x 10 square
    bool textInk = false;
    for (int x = 18; x < 60; ++x)
        for (int y = 0; y < 12; ++y) textInk = textInk || drawn.GetPixel(x, y) != RGB(255, 255, 255);
    EXPECT_TRUE(textInk);

    row.SetValue(GridValue::Text(L""));
    EXPECT_EQ(paint(row).GetPixel(5, 5), RGB(255, 255, 255));
    row.SetValue(GridValue::Text(L"-1"));
    EXPECT_EQ(paint(row).GetPixel(5, 5), RGB(255, 255, 255));
}

}  // namespace

namespace {

// The library makes the rows of descriptors as soon as it is loaded: a host may ask a
// descriptor for its row before it made any grid.
TEST(GridFactory, InstalledWhenTheLibraryIsLoaded) {
    ASSERT_NE(FuncPropsItemFactory::Installed(), nullptr);
    FuncPropsEditInt desc;
    std::unique_ptr<CMFCFuncPropsBase> row(desc.CreateMFCFuncPropsBase(L"5", nullptr));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetCurrValue(), L"5");
}

}  // namespace
