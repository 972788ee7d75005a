// The controls hosted in frames under a real display (Xvfb): the tree table opens and closes
// nodes and edits a cell in place, the picker hides a column from its header menu, the
// combos complete and remember texts, and the progress dialog follows a real worker thread.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "TestUtil.h"
#include "WxTestApp.h"
#include "halvex/controls/Ai_CmbBx.h"
#include "halvex/controls/Ai_ListCtrlPicker.h"
#include "halvex/controls/Ai_Static.h"
#include "halvex/controls/BindControlsWx.h"
#include "halvex/controls/ProgressDlg.h"
#include "halvex/controls/ReportListCtrl.h"
#include "halvex/controls/model/Ai_ListCtrlEx.h"
#include "halvex/helpers/Ai_Position.h"
#include "platform/Encoding.h"
#include "platform/ui/WxUiServices.h"

using namespace halvex;
using platform::FromWx;
using platform::ToWx;

namespace {

void Pump(int rounds = 20) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}

struct Messages : NotifyWindow {
    std::vector<std::pair<unsigned, CString>> sent;  // with the text an lParam points at, when asked
    bool textParam = false;
    intptr_t SendMessage(unsigned m, uintptr_t, intptr_t l) override {
        sent.emplace_back(m, textParam && l ? *reinterpret_cast<const CString*>(l) : CString());
        return 0;
    }
};

struct Frame {
    wxFrame* frame;
    Frame() : frame(new wxFrame(nullptr, wxID_ANY, "Host", wxDefaultPosition, wxSize(640, 420))) {}
    ~Frame() {
        frame->Destroy();
        Pump(5);
    }
    void Show() {
        frame->Show();
        frame->Raise();
        Pump(30);
    }
};

void MouseAt(ReportListCtrl* list, int item, int column, wxEventType type) {
    CRect cell;
    ASSERT_TRUE(list->List().GetSubItemRect(item, column, &cell));
    const CPoint c = cell.CenterPoint();
    list->WarpPointer(c.x, c.y);
    Pump(5);
    wxMouseEvent e(type);
    e.SetPosition(wxPoint(c.x, c.y));
    e.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(e);
    Pump(5);
}

}  // namespace

TEST(ControlsSmoke, TreeTableOpensNodesAndEditsInPlace) {
    Frame host;
    auto* list = new ReportListCtrl(host.frame, wxID_ANY, wxDefaultPosition, wxSize(600, 380));
    Messages messages;
    CAi_ListCtrlEx table;
    WxBindEdit* edit = nullptr;
    edit = new WxBindEdit(list, 501, [&](bool accept) { table.EditBindCtrlKillFocus(accept); });
    table.SetList(&list->List(), &messages);
    list->onCustomDraw = [&](NMLVCUSTOMDRAW& cd) {
        intptr_t r = 0;
        table.OnCustomDrawEx(&cd.hdr, &r);
        return r;
    };
    list->onDoubleClick = [&](int item, int column, CPoint p) { table.OnDblClick(item, column, &p); };
    list->onClick = [&](int item, int column) { table.OnLClick(item, column); };
    ASSERT_TRUE(table.CreateList(false, 0));
    table.SetColumnEx(L"Имя", LVCFMT_LEFT);
    table.SetColumnEx(L"Значение-cmw_ThisColumn", LVCFMT_LEFT);
    CAi_ListCtrlEx::BIND_TO_CELL binds(1);
    binds[0].column = 1;
    binds[0].edit = edit;
    binds[0].ctrlId = 501;
    std::vector<CString> node{L"Входы", L""}, empty{L"", L""};
    table.SetNode(&node, &binds, false);
    table.SetNodeStyle(0, 0x20, 0, 0);
    table.SetChild(0, &empty, 0, &binds, false);
    table.SetChild(0, &empty, 0, &binds, false);
    std::vector<CString> a{L"Вход 1", L"0"}, b{L"Вход 2", L"1"};
    table.InsertTextToChildCells(1, &a, nullptr, 0x10);
    table.InsertTextToChildCells(2, &b, nullptr, 0x10);
    table.MatchColumns(true);
    table.UpdateView();
    host.Show();
    ASSERT_EQ(list->List().GetItemCount(), 1);
    EXPECT_EQ(list->List().GetItemText(0, 0), L"[+] Входы");

    MouseAt(list, 0, 0, wxEVT_LEFT_DCLICK);  // opens the node
    ASSERT_EQ(list->List().GetItemCount(), 3);
    EXPECT_EQ(list->List().GetItemText(0, 0), L"[ - ] Входы");
    MouseAt(list, 0, 0, wxEVT_LEFT_DCLICK);  // and closes it
    EXPECT_EQ(list->List().GetItemCount(), 1);
    MouseAt(list, 0, 0, wxEVT_LEFT_DCLICK);
    ASSERT_EQ(list->List().GetItemCount(), 3);

    MouseAt(list, 2, 1, wxEVT_LEFT_DCLICK);  // the bound edit box opens over the cell
    ASSERT_TRUE(edit->IsShown());
    EXPECT_EQ(FromWx(edit->GetValue()), L"1");
    edit->ChangeValue("42");
    wxKeyEvent enter(wxEVT_KEY_DOWN);
    enter.m_keyCode = WXK_RETURN;
    enter.SetEventObject(edit);
    edit->GetEventHandler()->ProcessEvent(enter);
    Pump();
    EXPECT_FALSE(edit->IsShown());
    EXPECT_EQ(table.GetCellText(2, 1), L"42");
    EXPECT_EQ(list->List().GetItemText(2, 1), L"42");
    EXPECT_EQ(table.GetCellText(0, 1), L"< ~~~ >");
    ASSERT_FALSE(messages.sent.empty());
    EXPECT_EQ(messages.sent.back().first, WM_USER_LIST_VALUE_SET);
    list->Refresh();
    list->Update();
}

TEST(ControlsSmoke, PickerHidesAColumnFromTheHeaderMenu) {
    Frame host;
    auto* picker = new CAi_ListCtrlPicker(host.frame, wxID_ANY, wxDefaultPosition, wxSize(600, 300));
    picker->MyPreSubclassWindow();
    picker->InsertColumn(0, L"Name", LVCFMT_LEFT, 120);
    picker->InsertColumn(1, L"Type", LVCFMT_LEFT, 90);
    picker->InsertColumn(2, L"Note", LVCFMT_LEFT, 150);
    picker->List().InsertItem(0, L"row");
    picker->List().SetItemText(0, 1, L"int");
    picker->SetBoldColumn(0, true);
    EXPECT_EQ(picker->AddHeaderToolTip(1, L"the type"), 1);
    host.Show();
    EXPECT_EQ(picker->BuildColumnMenu(CPoint(-1, -1)), nullptr);
    EXPECT_EQ(picker->BuildColumnMenu(CPoint(10, 200)), nullptr);  // not in the header
    std::unique_ptr<wxMenu> menu = picker->BuildColumnMenu(CPoint(10, 5));
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->GetMenuItemCount(), 3u);
    EXPECT_EQ(menu->FindItemByPosition(1)->GetItemLabelText(), "Type");
    EXPECT_TRUE(menu->IsChecked(1));
    wxCommandEvent choose(wxEVT_MENU, 1);
    menu->ProcessEvent(choose);
    Pump();
    EXPECT_FALSE(picker->IsColumnVisible(1));
    EXPECT_EQ(picker->List().GetColumnWidth(1), 0);
    EXPECT_FALSE(picker->SetColumnWidth(1, 50));
    menu = picker->BuildColumnMenu(CPoint(10, 5));
    EXPECT_FALSE(menu->IsChecked(1));
    wxCommandEvent again(wxEVT_MENU, 1);
    menu->ProcessEvent(again);
    EXPECT_TRUE(picker->IsColumnVisible(1));
    EXPECT_EQ(picker->List().GetColumnWidth(1), 90);
    picker->m_contextMenuEnabled = false;
    EXPECT_EQ(picker->BuildColumnMenu(CPoint(10, 5)), nullptr);

    // header items dragged: "Note" before "Type"; refused when dragging is not allowed, and no
    // column goes before the first visible one
    auto drag = [&](int fromX, int toX) {
        for (auto [type, x] : {std::pair(wxEVT_LEFT_DOWN, fromX), std::pair(wxEVT_MOTION, toX), std::pair(wxEVT_LEFT_UP, toX)}) {
            wxMouseEvent e(type);
            e.SetPosition(wxPoint(x, 5));
            e.m_leftDown = type != wxEVT_LEFT_UP;
            e.SetEventObject(picker);
            picker->GetEventHandler()->ProcessEvent(e);
        }
        Pump(3);
    };
    drag(120 + 90 + 40, 120 + 20);
    EXPECT_EQ(picker->List().GetColumnOrder(), (std::vector<int>{0, 2, 1}));
    picker->m_headerDragAllowed = false;
    drag(120 + 20, 10);
    EXPECT_EQ(picker->List().GetColumnOrder(), (std::vector<int>{0, 2, 1}));
    picker->m_headerDragAllowed = true;
    picker->ShowColumn(0, false);  // hidden: in front, no width
    drag(150 + 90 / 2, 2);          // dropped on the first visible column, after the hidden one
    EXPECT_EQ(picker->List().GetColumnOrder(), (std::vector<int>{0, 1, 2}));
    // a hidden column's divider is not dragged
    EXPECT_EQ(picker->List().GetColumnWidth(0), 0);
}

TEST(ControlsSmoke, ComboCompletesAndReportsTypedTexts) {
    Frame host;
    auto* combo = new CAi_CmbBxDO(host.frame, wxID_ANY, wxPoint(10, 10), wxSize(200, -1));
    Messages messages;
    messages.textParam = true;
    combo->m_notify = &messages;
    combo->m_ctrlId = 12;
    std::vector<CString> items{L"Alpha", L"Bravo", L"Beta"};
    combo->FillInNewStrings(&items);
    host.Show();
    combo->SetFocus();
    combo->ChangeValue(wxString());
    combo->WriteText("Br");
    Pump();
    Pump();
    EXPECT_EQ(FromWx(combo->GetValue()), L"Bravo");
    long from = 0, to = 0;
    combo->GetSelection(&from, &to);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 5);
    EXPECT_EQ(combo->LastDropDownHeight(), (combo->GetCharHeight() + 4) * 3 + combo->GetSize().y);
    combo->ChangeValue(wxString());
    combo->WriteText("Zulu");
    EXPECT_EQ(FromWx(combo->GetValue()), L"Zulu");
    combo->m_reportUnlisted = true;
    combo->m_mayAddNew = true;
    wxCommandEvent enter(wxEVT_TEXT_ENTER, combo->GetId());
    enter.SetEventObject(combo);
    combo->GetEventHandler()->ProcessEvent(enter);
    ASSERT_EQ(messages.sent.size(), 2u);
    EXPECT_EQ(messages.sent[0], std::pair(WM_USER_CMB_TEXT_NOT_LISTED, CString(L"Zulu")));
    EXPECT_EQ(messages.sent[1], std::pair(WM_USER_CMB_TEXT_ADDED, CString(L"Zulu")));
    EXPECT_TRUE(combo->IsTheTextInList(L"zulu"));
    EXPECT_FALSE(combo->AddNewStrNoSelect(L"  \t"));
}

TEST(ControlsSmoke, RememberingComboKeepsItsFileAndSkipsDisabledItems) {
    testutil::TempDir dir;
    const CString path(platform::Utf8ToWide(dir.File("texts.txt")).c_str());
    testutil::WriteFile(dir.File("texts.txt"), "old|100\r\nnewer|200");
    Frame host;
    auto* box = new CAi_CmbBx(host.frame, wxID_ANY, true, wxPoint(10, 60), wxSize(200, -1));
    box->FillInOfTextes(path, 3);
    host.Show();
    ASSERT_EQ(box->GetCount(), 2u);
    EXPECT_EQ(FromWx(box->GetString(0)), L"newer");
    box->AddOrJustSelectTextIn(L"third");
    box->AddOrJustSelectTextIn(L"fourth");  // pushes out "old"
    EXPECT_EQ(box->GetCount(), 3u);
    EXPECT_EQ(FromWx(box->GetValue()), L"fourth");
    ASSERT_TRUE(box->SaveTextes(path));
    const std::string bytes = testutil::ReadFile(dir.File("texts.txt"));
    const std::wstring text = platform::Utf16LeToWide(bytes.substr(2));
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(text.find(L"old|"), std::wstring::npos);
    EXPECT_NE(text.find(L"fourth|"), std::wstring::npos);
    EXPECT_EQ(box->SetDisabledItem(1, 1), 1);
    EXPECT_EQ(box->SetDisabledItem(7, 1), 0);
    box->SetSelection(1);
    wxCommandEvent pick(wxEVT_COMBOBOX, box->GetId());
    pick.SetEventObject(box);
    pick.SetInt(1);
    box->GetEventHandler()->ProcessEvent(pick);
    EXPECT_EQ(box->GetSelection(), 0);  // the disabled item is not taken
    box->SetTipText(0, L"own tip");
    EXPECT_EQ(box->CurrentTip(), L"own tip");
}

TEST(ControlsSmoke, PaintedStaticsAndStatusBar) {
    Frame host;
    auto* gradient = new CAi_Static(host.frame, wxID_ANY, wxPoint(0, 0), wxSize(300, 40));
    gradient->SetText(L"Заголовок", RGB(255, 255, 255));
    gradient->SetTextAlign(asVCenter);
    auto* colour = new CAi_ColorStatic(host.frame, wxID_ANY, "text", wxPoint(0, 50));
    EXPECT_EQ(colour->GetBkColor(), colour->GetSysBkColor());
    colour->SetBkColor(RGB(10, 20, 30));
    colour->SetTextColor(RGB(200, 0, 0));
    EXPECT_EQ(colour->GetBackgroundColour(), wxColour(10, 20, 30));
    auto* bar = new CAi_StatusBar(host.frame);
    bar->SetFieldsCount(2);
    host.frame->SetStatusBar(bar);
    CBitmap first, second;
    first.CreateTransparentBitmap(16, 16);
    second.CreateTransparentBitmap(16, 16);
    bar->SetPaneDraw(-1, first, second);
    EXPECT_EQ(bar->GetDrawPane(), -1);
    bar->SetPaneDraw(1, first, second);
    bar->SetDrawMode(DRAW_MODE_FIRST);
    CAi_ToolTip tip;
    tip.m_map[colour->GetId()] = TOOL_TIP_CTRL_INFO(L"Описание", tip.AddIcon(first));
    host.Show();
    EXPECT_FALSE(tip.OnShow(gradient));
    EXPECT_TRUE(tip.OnShow(colour));
    ASSERT_NE(tip.Found(), nullptr);
    EXPECT_EQ(tip.Found()->description, L"Описание");
    Pump();
    tip.Hide();
    gradient->Refresh();
    gradient->Update();
}

TEST(ControlsSmoke, ThreadDialogFollowsItsWorker) {
    Frame host;
    host.frame->SetTitle("Main title");
    wxTheApp->SetTopWindow(host.frame);
    host.Show();
    CProgressThreadDialog::bCancelButtonPressed = false;
    CProgressThreadDialog dialog(CString(), host.frame);
    std::atomic<bool> started{false};
    std::thread worker([&] {
        started = true;
        dialog.SetStepOrderText(L"Шаг 1 из 2");
        for (int i = 0; i <= 100; i += 20) {
            dialog.SetPosition(i);
            dialog.SetText(i < 100 ? L"Работа" : L"Готово");
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
        }
        dialog.Close();
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    worker.join();
    EXPECT_TRUE(started);
    EXPECT_EQ(dialog.GetTitle(), "Main title");  // an empty title takes the main frame's
    // what the worker left is on screen once the dialog ended
    EXPECT_EQ(dialog.GetProgressPos(), 100);
    EXPECT_EQ(FromWx(dialog.MainText()->GetLabel()), L"Готово");
    EXPECT_EQ(FromWx(dialog.StepText()->GetLabel()), L"Шаг 1 из 2");
    wxTheApp->SetTopWindow(nullptr);
}

TEST(ControlsSmoke, BreakSetsTheFlagAndTheWorkerEndsTheDialog) {
    Frame host;
    host.Show();
    CProgressThreadDialog::bCancelButtonPressed = false;
    CProgressThreadDialog dialog(L"Работа", host.frame);
    std::atomic<bool> openAfterBreak{false};
    std::thread worker([&] {
        while (!CProgressThreadDialog::bCancelButtonPressed) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        dialog.Close();
    });
    wxTheApp->CallAfter([&] {
        wxCommandEvent press(wxEVT_BUTTON, IDC_PROGRESS_BREAK);
        press.SetEventObject(dialog.BreakButton());
        dialog.BreakButton()->GetEventHandler()->ProcessEvent(press);
        openAfterBreak = dialog.IsModal();
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    worker.join();
    EXPECT_TRUE(CProgressThreadDialog::bCancelButtonPressed);
    EXPECT_TRUE(openAfterBreak);
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("Работа"));
}

TEST(ControlsSmoke, WorkerDoneBeforeTheDialogShowsStillEndsIt) {
    CProgressThreadDialog dialog(L"t", nullptr);
    std::thread worker([&] {
        dialog.SetPosition(100);
        dialog.Close();
    });
    worker.join();
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    // a plain dialog's break button leaves it open
    auto* plain = new CProgressDlg(L"plain", nullptr);
    EXPECT_TRUE(plain->IsShown());
    plain->OnBnClickedCancel();
    EXPECT_TRUE(plain->IsShown());
    plain->ShowBreakButton(false);
    EXPECT_FALSE(plain->BreakButton()->IsShown());
    plain->Destroy();
    Pump(5);
}

// The window forms of the mouse test: a screen point, and the cursor itself, are turned into the
// window's client coordinates and must lie strictly inside the rectangle.
TEST(ControlsSmoke, MouseInWindowTakesTheWindowsOwnCoordinates) {
    Frame f;
    auto* panel = new wxPanel(f.frame, wxID_ANY, wxPoint(40, 30), wxSize(120, 80));
    f.Show();
    const CRect rect(10, 10, 50, 40);
    auto screen = [&](int x, int y) {
        const wxPoint p = panel->ClientToScreen(wxPoint(x, y));
        return CPoint(p.x, p.y);
    };
    struct Case {
        int x, y;
        bool in;
    };
    for (const Case& c : {Case{20, 20, true}, Case{10, 20, false}, Case{49, 39, true}, Case{50, 20, false},
                          Case{20, 40, false}, Case{-5, 20, false}}) {
        EXPECT_EQ(CAi_Position::IsMouseInWnd(panel, screen(c.x, c.y), rect), c.in) << c.x << "," << c.y;
    }
    EXPECT_FALSE(CAi_Position::IsMouseInWnd(nullptr, screen(20, 20), rect));
    EXPECT_FALSE(CAi_Position::IsMouseInWnd(static_cast<wxWindow*>(nullptr), rect));

    // The cursor: moved through the display server, then asked where it is.
    wxUIActionSimulator sim;
    const CPoint inside = screen(30, 25), outside = screen(80, 60);
    sim.MouseMove(inside.x, inside.y);
    for (int i = 0; i < 50 && wxGetMousePosition() != wxPoint(inside.x, inside.y); ++i) Pump(2);
    if (wxGetMousePosition() != wxPoint(inside.x, inside.y)) GTEST_SKIP() << "the display does not move the cursor";
    EXPECT_TRUE(CAi_Position::IsMouseInWnd(panel, rect));
    sim.MouseMove(outside.x, outside.y);
    for (int i = 0; i < 50 && wxGetMousePosition() != wxPoint(outside.x, outside.y); ++i) Pump(2);
    EXPECT_FALSE(CAi_Position::IsMouseInWnd(panel, rect));
}
