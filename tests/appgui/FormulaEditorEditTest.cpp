// The cell edit of the quick-analysis sheet's "Редактор формул" page under a real display
// (Xvfb), with the mouse and the keys of the display server: Enter keeps the typed text,
// Escape the old one, a click elsewhere in the list keeps what was typed, and the page lives
// through each (the edit used to be destroyed inside its own key handler).
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "TestUtil.h"
#include "WxTestApp.h"
#include "analysis/CalcChannels.h"
#include "app/QAnPropSheet.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"
#include "platform/ui/InPlaceEditor.h"
#include "platform/ui/WxUiServices.h"

namespace {

std::string WriteRecord(const testutil::TempDir& dir) {
    std::string cfg = "ST,R1,1999\r\n2,2A,0D\r\n";
    cfg += "1,Ia,,,A,0.01,0,0,-99998,99998,1,1,P\r\n2,Ib,,,A,0.01,0,0,-99998,99998,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000,40\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.010000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 40; ++i) dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + ",1,2\r\n";
    testutil::WriteFile(dir.File("f.cfg"), cfg);
    testutil::WriteFile(dir.File("f.dat"), dat);
    return dir.File("f.cfg");
}

void Pump(int rounds = 10) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
        wxMilliSleep(10);
    }
}

class FormulaEdit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnOpenDocument(CString(platform::Utf8ToWide(WriteRecord(dir)))));
        CalcChannels::Of(doc.GetOscillogram()).Append(L"sum", L"Ia+Ib");
        CalcChannels::Of(doc.GetOscillogram()).Append(L"diff", L"Ia-Ib");
        frame = new wxFrame(nullptr, wxID_ANY, wxS("host"));
        sheet = new CQAnPropSheet(frame, doc);
        sheet->Show();
        sheet->Raise();
        Pump(30);
        list = dynamic_cast<wxListCtrl*>(sheet->FindWindow(1013));
        ASSERT_TRUE(list);
        ASSERT_EQ(list->GetItemCount(), 2);
    }
    void TearDown() override {
        sheet->Destroy();
        frame->Destroy();
        Pump();
    }
    // The mouse of the display server at the middle of a cell.
    void MoveTo(int row, int column) {
        wxRect cell;
        ASSERT_TRUE(list->GetSubItemRect(row, column, cell));
        sim.MouseMove(list->ClientToScreen(cell.GetPosition() + wxPoint(cell.width / 2, cell.height / 2)));
        Pump(3);
    }
    // A double click on a cell, and `text` typed into the edit it opens.
    void Edit(int row, int column, const wxString& text) {
        MoveTo(row, column);
        // Apart from the clicks before, so that the toolkit sees a double click, not a third.
        wxMilliSleep(600);
        sim.MouseDblClick();
        Pump();
        wxTextCtrl* edit = platform::OpenInPlaceEditor();
        ASSERT_TRUE(edit) << row << "," << column;
        edit->SetValue(text);
        edit->SetInsertionPointEnd();
    }
    void Key(int key) {
        sim.Char(key);
        Pump(20);
    }

    testutil::TempDir dir;
    CTenvorikDoc doc;
    wxFrame* frame = nullptr;
    CQAnPropSheet* sheet = nullptr;
    wxListCtrl* list = nullptr;
    wxUIActionSimulator sim;
};

}  // namespace

TEST_F(FormulaEdit, EnterKeepsEscapeDropsAndAClickElsewhereKeeps) {
    Edit(0, 1, "Ia*2");
    Key(WXK_RETURN);
    EXPECT_FALSE(platform::OpenInPlaceEditor());
    EXPECT_EQ(list->GetItemText(0, 1), "Ia*2");
    EXPECT_TRUE(sheet->IsShown()) << "Enter ends the edit, not the sheet";

    Edit(1, 0, "lost");
    Key(WXK_ESCAPE);
    EXPECT_FALSE(platform::OpenInPlaceEditor());
    EXPECT_EQ(list->GetItemText(1, 0), "diff");
    EXPECT_TRUE(sheet->IsShown()) << "Escape ends the edit, not the sheet";

    Edit(1, 0, "kept");
    MoveTo(0, 0);
    sim.MouseClick();
    Pump(20);
    EXPECT_FALSE(platform::OpenInPlaceEditor());
    EXPECT_EQ(list->GetItemText(1, 0), "kept");
}
