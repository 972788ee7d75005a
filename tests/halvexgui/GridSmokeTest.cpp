// The property grid's window hosted in a frame under a real display (Xvfb): a page of
// descriptors is shown, values are edited through the window, refused edits keep the row's
// value and show the row's message, and a boolean row switches its dependant in the window.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>

#include "halvex/grid/FuncPropsGridWnd.h"
#include "platform/ui/WxUiServices.h"
#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/mimic/ControlLogicElem.h"
#include "halvex/scheme/SchemeDecor.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/GridTestSupport.h"

using halvex::FuncPropsGridWnd;
using testutil::TestGrid;

namespace {

void PumpGrid(int rounds = 10) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}

template <class D>
D* NewDesc(const wchar_t* key, const wchar_t* caption, const wchar_t* group = L"") {
    auto* d = new D;
    d->m_sKey = key;
    d->m_sCaption = caption;
    d->m_sGroup = group;
    return d;
}

struct GridFrame {
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Grid", wxDefaultPosition, wxSize(480, 420));
    TestGrid model;
    FuncPropsGridWnd* wnd = nullptr;
    std::vector<SmartPointer<FuncPropsBase>> props;

    GridFrame() {
        wnd = new FuncPropsGridWnd(frame, model);
        // Messages are recorded, not shown as modal boxes.
        model.SetSink(&model.sink);
        auto* width = NewDesc<FuncPropsEditInt>(L"Width", L"Ширина", L"Размер");
        width->SetMinValue(1);
        width->SetMaxValue(10);
        auto* gain = NewDesc<FuncPropsEditDouble>(L"Gain", L"Усиление", L"Размер");
        auto* use = NewDesc<FuncPropsBool>(L"Use", L"Использовать");
        use->m_vDependProps = {L"Text"};
        auto* text = NewDesc<FuncPropsEditText>(L"Text", L"Текст");
        auto* box = NewDesc<FuncPropsCheckBox>(L"Box", L"Флажок");
        auto* mode = NewDesc<FuncPropsCombo>(L"Mode", L"Режим");
        mode->m_vOptions = {L"сплошная", L"штрих", L"пунктир"};
        props = {SmartPointer<FuncPropsBase>(width), SmartPointer<FuncPropsBase>(gain),
                 SmartPointer<FuncPropsBase>(use),   SmartPointer<FuncPropsBase>(text),
                 SmartPointer<FuncPropsBase>(box),   SmartPointer<FuncPropsBase>(mode)};
        const std::map<CString, CString> stored = {{L"Width", L"3"}, {L"Gain", L"0.25"}, {L"Use", L"1"},
                                                   {L"Text", L"abc"}, {L"Box", L"0"},   {L"Mode", L"1"}};
        model.FillByDescriptors(props, [&](FuncPropsBase& d) { return stored.at(d.m_sKey); });
        frame->Show();
        PumpGrid(20);
    }
    ~GridFrame() {
        frame->Destroy();
        PumpGrid(5);
    }
    wxPGProperty* Prop(const wchar_t* key) { return wnd->PropertyOf(model.Row(key)); }
};

TEST(GridWindow, ShowsThePageWithItsGroupsValuesAndStates) {
    GridFrame f;
    ASSERT_NE(f.Prop(L"Width"), nullptr);
    EXPECT_EQ(f.Prop(L"Width")->GetValueAsString(), "3");
    EXPECT_EQ(f.Prop(L"Width")->GetLabel(), wxString::FromUTF8("Ширина"));
    EXPECT_TRUE(f.Prop(L"Width")->GetParent()->IsCategory());
    EXPECT_EQ(f.Prop(L"Gain")->GetValueAsString(), "0.25");
    EXPECT_TRUE(f.Prop(L"Use")->GetValue().GetBool());
    EXPECT_EQ(f.Prop(L"Mode")->GetValueAsString(), wxString::FromUTF8("штрих"));
    EXPECT_TRUE(f.Prop(L"Text")->IsEnabled());
}

// Rows without a group after a grouped one stay at the top level, in the model's order, on a
// caption band of their own that ends the group above them, and stay in sight when the group
// is collapsed. The band is the window's: the page has no such group.
TEST(GridWindow, UngroupedRowsAfterAGroupReadAsTopLevelRows) {
    GridFrame f;
    wxPGProperty* group = f.Prop(L"Width")->GetParent();
    ASSERT_TRUE(group->IsCategory());
    wxPGProperty* band = f.Prop(L"Use")->GetParent();
    ASSERT_TRUE(band->IsCategory());
    EXPECT_NE(band, group);
    EXPECT_TRUE(band->GetParent()->IsRoot());
    EXPECT_EQ(band->GetLabel(), wxString::FromUTF8("Общие"));
    EXPECT_EQ(f.wnd->RowOf(band), nullptr);
    for (const wchar_t* key : {L"Use", L"Text", L"Box", L"Mode"}) {
        ASSERT_NE(f.Prop(key), nullptr);
        EXPECT_EQ(f.Prop(key)->GetParent(), band) << platform::ToWx(CString(key));
    }
    const wxPGProperty* root = f.wnd->GetRoot();
    ASSERT_EQ(root->GetChildCount(), 2u);
    EXPECT_EQ(root->Item(0), group);
    EXPECT_EQ(root->Item(1), band);
    EXPECT_EQ(band->Item(0), f.Prop(L"Use"));
    EXPECT_EQ(band->Item(3), f.Prop(L"Mode"));
    EXPECT_EQ(f.model.GetPropertyCount(), 5);  // the page itself is as it was
    f.wnd->Collapse(group);
    EXPECT_FALSE(f.Prop(L"Width")->IsVisible());
    EXPECT_TRUE(f.Prop(L"Use")->IsVisible());
    EXPECT_TRUE(f.Prop(L"Mode")->IsVisible());

    // Rows before any group need no band; a group after them, and rows after it, get theirs.
    f.model.ClearPage();
    f.model.FillByDescriptors({f.props[3], f.props[0], f.props[5]}, [](FuncPropsBase& d) {
        return d.m_sKey == L"Width" ? CString(L"2") : d.m_sKey == L"Mode" ? CString(L"0") : CString(L"x");
    });
    PumpGrid();
    EXPECT_TRUE(f.Prop(L"Text")->GetParent()->IsRoot());
    EXPECT_EQ(f.Prop(L"Width")->GetParent()->GetLabel(), wxString::FromUTF8("Размер"));
    EXPECT_EQ(f.Prop(L"Mode")->GetParent()->GetLabel(), wxString::FromUTF8("Общие"));
}

// A host that chooses the element before it makes the grid's window sees the page once the
// window is there.
TEST(GridWindow, APageFilledBeforeTheWindowIsShownWhenTheWindowComes) {
    testutil::FakeArmHost host;
    SCHEME_LINE_ELEMENT line;
    TestGrid model;
    model.DestroyWindow();
    model.m_pArmDataInterface = &host;
    model.SetBaseElemAndFill(&line);
    EXPECT_EQ(model.GetPropertyCount(), 0);
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Late", wxDefaultPosition, wxSize(480, 320));
    auto* wnd = new FuncPropsGridWnd(frame, model);
    frame->Show();
    PumpGrid(20);
    ASSERT_GT(model.GetPropertyCount(), 0);
    ASSERT_NE(model.Row(L"LineWidth"), nullptr);
    wxPGProperty* width = wnd->PropertyOf(model.Row(L"LineWidth"));
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->GetValueAsString(), platform::ToWx(model.Row(L"LineWidth")->FormatProperty()));
    frame->Destroy();
    PumpGrid(5);
}

TEST(GridWindow, EditsGoThroughTheRowsAndRefusalsKeepTheValue) {
    GridFrame f;
    EXPECT_TRUE(f.wnd->ChangePropertyValue(f.Prop(L"Width"), wxVariant(wxString("7"))));
    PumpGrid();
    EXPECT_EQ(f.model.Row(L"Width")->GetCurrValue(), L"7");
    // The row and then its group are reported to the host.
    ASSERT_GE(f.model.changedRows.size(), 2u);
    EXPECT_EQ(f.model.changedRows[0], f.model.Row(L"Width"));
    EXPECT_EQ(f.model.changedRows.back(), f.model.Row(L"Width")->GetParent());

    EXPECT_FALSE(f.wnd->ChangePropertyValue(f.Prop(L"Width"), wxVariant(wxString("12"))));
    PumpGrid();
    ASSERT_EQ(f.model.sink.messages.size(), 1u);
    EXPECT_EQ(f.model.sink.messages[0], L"Значение должно быть между 1 и 10.");
    EXPECT_EQ(f.model.Row(L"Width")->GetCurrValue(), L"7");

    EXPECT_FALSE(f.wnd->ChangePropertyValue(f.Prop(L"Gain"), wxVariant(wxString("1,5"))));
    EXPECT_EQ(f.model.sink.messages.back(), L"Указано неверное значение 1,5!");
    EXPECT_EQ(f.model.Row(L"Gain")->GetCurrValue(), L"0.25");

    EXPECT_TRUE(f.wnd->ChangePropertyValue(f.Prop(L"Mode"), wxVariant(2L)));
    PumpGrid();
    EXPECT_EQ(f.model.Row(L"Mode")->GetCurrValue(), L"2");

    EXPECT_TRUE(f.wnd->ChangePropertyValue(f.Prop(L"Box"), wxVariant(true)));
    PumpGrid();
    EXPECT_EQ(f.model.Row(L"Box")->GetCurrValue(), L"1");
}

TEST(GridWindow, BooleanRowSwitchesItsDependantInTheWindow) {
    GridFrame f;
    EXPECT_TRUE(f.wnd->ChangePropertyValue(f.Prop(L"Use"), wxVariant(false)));
    PumpGrid();
    EXPECT_EQ(f.model.Row(L"Use")->GetCurrValue(), L"0");
    EXPECT_FALSE(f.model.Row(L"Text")->IsEnabled());
    EXPECT_FALSE(f.Prop(L"Text")->IsEnabled());
    EXPECT_TRUE(f.wnd->ChangePropertyValue(f.Prop(L"Use"), wxVariant(true)));
    PumpGrid();
    EXPECT_TRUE(f.Prop(L"Text")->IsEnabled());
}

TEST(GridWindow, APageBuiltAgainReplacesTheWindowsRows) {
    GridFrame f;
    f.model.ClearPage();
    PumpGrid();
    EXPECT_EQ(f.wnd->GetRoot()->GetChildCount(), 0u);
    f.model.FillByDescriptors({f.props[3]}, [](FuncPropsBase&) { return CString(L"new"); });
    PumpGrid();
    ASSERT_NE(f.Prop(L"Text"), nullptr);
    EXPECT_EQ(f.Prop(L"Text")->GetValueAsString(), "new");
    EXPECT_EQ(f.Prop(L"Width"), nullptr);
}

// The host's way of working: a function element selected on a scheme, its page filled from
// the function's definition, an edit made in the window and applied to the element at once.
TEST(GridWindow, EditOfAFunctionElementsPageChangesTheElement) {
    testutil::FakeArmHost host;
    SCHEME_FUNC func;
    func.m_sName = L"TIMER";
    auto* delay = new FuncPropsEditInt;
    delay->m_sKey = L"Delay";
    delay->m_sCaption = L"Задержка";
    delay->m_sGroup = L"Время";
    delay->SetMinValue(0);
    delay->SetMaxValue(1000);
    auto* mode = new FuncPropsCombo;
    mode->m_sKey = L"Mode";
    mode->m_sCaption = L"Режим";
    mode->m_vOptions = {L"на включение", L"на отключение"};
    func.m_vProps = {SmartPointer<FuncPropsBase>(delay), SmartPointer<FuncPropsBase>(mode)};
    host.functions[2][L"TIMER"] = &func;
    SCHEME_FUNC_ELEMENT element;
    element.m_eFuncSchemeType = EFuncSchemeType(2);
    element.m_sName = L"TIMER";
    element.m_mapPropValues[L"Delay"] = L"100";

    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Scheme", wxDefaultPosition, wxSize(480, 320));
    TestGrid model;
    model.floating = true;
    model.m_pArmDataInterface = &host;
    auto* wnd = new FuncPropsGridWnd(frame, model);
    model.SetBaseElemAndFill(&element);
    frame->Show();
    PumpGrid(20);

    wxPGProperty* delayProp = wnd->PropertyOf(model.Row(L"Delay"));
    ASSERT_NE(delayProp, nullptr);
    EXPECT_EQ(delayProp->GetValueAsString(), "100");
    EXPECT_TRUE(wnd->ChangePropertyValue(delayProp, wxVariant(wxString("250"))));
    PumpGrid();
    EXPECT_EQ(element.m_mapPropValues[L"Delay"], L"250");
    EXPECT_TRUE(wnd->ChangePropertyValue(wnd->PropertyOf(model.Row(L"Mode")), wxVariant(1L)));
    PumpGrid();
    EXPECT_EQ(element.m_mapPropValues[L"Mode"], L"1");
    EXPECT_EQ(host.changed, (std::vector<int>{3, 3}));

    // Refused in the window: the element keeps its value.
    EXPECT_FALSE(wnd->ChangePropertyValue(delayProp, wxVariant(wxString("-1"))));
    PumpGrid();
    EXPECT_EQ(element.m_mapPropValues[L"Delay"], L"250");
    EXPECT_EQ(model.sink.messages.size(), 1u);

    frame->Destroy();
    PumpGrid(5);
}

TEST(GridWindow, MimicPageShowsFontColourAndPictureRows) {
    testutil::FakeArmHost host;
    CONTROL_LOGIC_ELEM control;
    control.m_sCaption = L"Авария";
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Screen", wxDefaultPosition, wxSize(480, 320));
    TestGrid model;
    model.m_pArmDataInterface = &host;
    auto* wnd = new FuncPropsGridWnd(frame, model);
    model.SetMonElemAndFill(&control);
    frame->Show();
    PumpGrid(20);
    ASSERT_EQ(model.GetPropertyCount(), 5);
    auto* colourRow = dynamic_cast<CMFCFuncPropsColor*>(model.GetProperty(3));
    auto* icons = dynamic_cast<CIconListProp*>(model.GetProperty(4));
    ASSERT_NE(colourRow, nullptr);
    ASSERT_NE(icons, nullptr);
    wxPGProperty* font = wnd->PropertyOf(model.GetProperty(2));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetValueAsString(), platform::ToWx(model.GetProperty(2)->FormatProperty()));

    // The colour row offers the automatic colour, the colour it holds and the other-colour
    // dialog; the dialog opens on the colour held.
    wxPGProperty* colour = wnd->PropertyOf(colourRow);
    ASSERT_NE(colour, nullptr);
    const COLORREF before = colourRow->GetColor();
    const wxPGChoices& offered = colour->GetChoices();
    ASSERT_EQ(offered.GetCount(), 3u);
    EXPECT_EQ(offered.GetLabel(0), wxString::FromUTF8("По умолчанию"));
    EXPECT_EQ(offered.GetLabel(2), wxString::FromUTF8("Другой..."));
    model.sink.colourChosen = true;
    model.sink.colour = RGB(255, 0, 0);
    EXPECT_FALSE(wnd->ChangePropertyValue(colour, wxVariant(long(offered.GetValue(2)))));
    PumpGrid();
    ASSERT_EQ(model.sink.colourDialogs.size(), 1u);
    EXPECT_EQ(model.sink.colourDialogs[0], before);
    EXPECT_EQ(colourRow->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(colour->GetValueAsString(), "(255,0,0)");

    wxPGProperty* view = wnd->PropertyOf(icons);
    EXPECT_EQ(view->GetValueAsString(), wxString::FromUTF8("Галочка"));
    EXPECT_TRUE(wnd->ChangePropertyValue(view, wxVariant(1L)));
    PumpGrid();
    EXPECT_EQ(icons->GetSelectedIndex(), 1);

    frame->Destroy();
    PumpGrid(5);
}

// The colour row of a line: the automatic colour is chosen back and shows as itself, not as
// black; a cancelled dialog keeps the colour.
TEST(GridWindow, ColourRowGivesTheAutomaticColourBack) {
    testutil::FakeArmHost host;
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Colours", wxDefaultPosition, wxSize(480, 320));
    TestGrid model;
    auto* wnd = new FuncPropsGridWnd(frame, model);
    auto* row = new CMFCFuncPropsColor(L"Цвет", RGB(0, 128, 255));
    row->EnableOtherButton(L"Другой...");
    row->EnableAutomaticButton(L"По умолчанию", RGB(0, 0, 0));
    model.AddProperty(row);
    frame->Show();
    PumpGrid(20);
    wxPGProperty* prop = wnd->PropertyOf(row);
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->GetValueAsString(), "(0,128,255)");

    EXPECT_TRUE(wnd->ChangePropertyValue(prop, wxVariant(0L)));  // the automatic colour
    PumpGrid();
    EXPECT_EQ(row->GetColor(), COLORREF(-1));
    EXPECT_EQ(prop->GetValueAsString(), wxString::FromUTF8("По умолчанию"));
    // Held automatic, the row offers no colour of its own beside it.
    EXPECT_EQ(prop->GetChoices().GetCount(), 2u);

    // The dialog opens on the automatic colour; cancelled, nothing changes.
    EXPECT_FALSE(wnd->ChangePropertyValue(prop, wxVariant(2L)));
    PumpGrid();
    ASSERT_EQ(model.sink.colourDialogs.size(), 1u);
    EXPECT_EQ(model.sink.colourDialogs[0], RGB(0, 0, 0));
    EXPECT_EQ(row->GetColor(), COLORREF(-1));
    EXPECT_EQ(prop->GetValueAsString(), wxString::FromUTF8("По умолчанию"));

    frame->Destroy();
    PumpGrid(5);
}

// The check box lies in the name column: a click in the box ticks it, a click beside it does
// not; a double click beside it does, a double click on the box adds nothing to its first
// click; Space on the selected row does as a double click. A disabled box takes nothing.
TEST(GridWindow, CheckBoxRowsAnswerTheMouseAndSpaceAsTheRowsSay) {
    GridFrame f;
    wxPGProperty* box = f.Prop(L"Box");
    ASSERT_NE(box, nullptr);
    auto* row = dynamic_cast<CMFCFuncPropsCheckBox*>(f.model.Row(L"Box"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(box->GetValueAsString(), "");  // nothing in the value column
    const wxRect r = f.wnd->CheckBoxRect(box);
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_EQ(r.width, r.height);
    EXPECT_TRUE(f.wnd->CheckBoxRect(f.Prop(L"Text")).IsEmpty());
    const wxPoint inBox(r.x + r.width / 2, r.y + r.height / 2);
    const wxPoint beside(r.GetRight() + 30, r.y + r.height / 2);
    ASSERT_LT(beside.x, f.wnd->GetSplitterPosition());

    auto mouse = [&](wxEventType type, wxPoint at) {
        wxMouseEvent e(type);
        e.SetPosition(at);
        e.SetEventObject(f.wnd);
        f.wnd->ProcessWindowEvent(e);
        PumpGrid(3);
    };
    auto ticked = [&] { return row->IsChecked(); };

    mouse(wxEVT_LEFT_DOWN, beside);
    EXPECT_FALSE(ticked());
    mouse(wxEVT_LEFT_DOWN, inBox);
    EXPECT_TRUE(ticked());
    EXPECT_EQ(f.model.Row(L"Box")->GetCurrValue(), L"1");
    EXPECT_TRUE(box->GetValue().GetBool());
    mouse(wxEVT_LEFT_DCLICK, inBox);
    EXPECT_TRUE(ticked());
    mouse(wxEVT_LEFT_DCLICK, beside);
    EXPECT_FALSE(ticked());

    f.wnd->SelectProperty(box);
    wxKeyEvent space(wxEVT_CHAR_HOOK);
    space.m_keyCode = WXK_SPACE;
    space.SetEventObject(f.wnd);
    f.wnd->ProcessWindowEvent(space);
    PumpGrid(3);
    EXPECT_TRUE(ticked());
    EXPECT_TRUE(box->GetValue().GetBool());

    row->Enable(false);
    PumpGrid(3);
    mouse(wxEVT_LEFT_DOWN, inBox);
    mouse(wxEVT_LEFT_DCLICK, beside);
    EXPECT_TRUE(ticked());
}

}  // namespace
