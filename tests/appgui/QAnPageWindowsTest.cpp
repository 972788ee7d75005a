// The quick-analysis sheet's page windows under a real display (Xvfb): the differential page
// keeps its number fields when the channel lists are filled, its radio buttons, enabling and
// hiding reach the real controls and their labels, and the symmetrical-components page
// switches the sheet's OK button.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/choice.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include "FakeUi.h"
#include "TestUtil.h"
#include "WxTestApp.h"
#include "analysis/DiffCurrents.h"
#include "analysis/SymmetricItems.h"
#include "app/QAnPropSheet.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

namespace {

// Three phase currents of each of two sides, no voltages.
std::string WriteRecord(const testutil::TempDir& dir) {
    const char* names[6] = {"Ia HV", "Ib HV", "Ic HV", "Ia LV", "Ib LV", "Ic LV"};
    std::string cfg = "TR,T1,1999\r\n6,6A,0D\r\n";
    for (int k = 0; k < 6; ++k) cfg += std::to_string(k + 1) + "," + names[k] + ",,,A,0.01,0,0,-99998,99998,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000,40\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.010000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 40; ++i) dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + ",1,2,3,4,5,6\r\n";
    testutil::WriteFile(dir.File("tr.cfg"), cfg);
    testutil::WriteFile(dir.File("tr.dat"), dat);
    return dir.File("tr.cfg");
}

template <class T>
T* Child(wxWindow& w, int id) {
    return dynamic_cast<T*>(w.FindWindow(id));
}

// A user's click or choice: the control changes, then its event goes out.
void Choose(wxWindow& page, int id, const wxString& text) {
    auto* list = Child<wxChoice>(page, id);
    ASSERT_TRUE(list && list->SetStringSelection(text)) << id;
    wxCommandEvent e(wxEVT_CHOICE, id);
    e.SetEventObject(list);
    list->ProcessWindowEvent(e);
}
void Click(wxWindow& page, int id) {
    wxWindow* w = page.FindWindow(id);
    ASSERT_TRUE(w) << id;
    wxCommandEvent e(dynamic_cast<wxRadioButton*>(w) ? wxEVT_RADIOBUTTON : wxEVT_CHECKBOX, id);
    if (auto* radio = dynamic_cast<wxRadioButton*>(w)) radio->SetValue(true);
    if (auto* box = dynamic_cast<wxCheckBox*>(w)) box->SetValue(!box->GetValue());
    e.SetEventObject(w);
    w->ProcessWindowEvent(e);
}

class PageWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnOpenDocument(CString(platform::Utf8ToWide(WriteRecord(dir)))));
        frame = new wxFrame(nullptr, wxID_ANY, wxS("host"));
        sheet = new CQAnPropSheet(frame, doc);
    }
    void TearDown() override {
        sheet->Destroy();
        frame->Destroy();
    }
    // The page window that holds control `id`, shown first.
    QAnPageWindow& Page(int id) {
        wxWindow* w = sheet->FindWindow(id);
        while (w && !dynamic_cast<QAnPageWindow*>(w)) w = w->GetParent();
        EXPECT_TRUE(w);
        auto* page = dynamic_cast<QAnPageWindow*>(w);
        page->InitPage();
        return *page;
    }

    testutil::FakeUi ui;
    testutil::TempDir dir;
    CTenvorikDoc doc;
    wxFrame* frame = nullptr;
    CQAnPropSheet* sheet = nullptr;
};

TEST_F(PageWindows, DifferentialPageDrivesItsRealControls) {
    using namespace diffpage;
    QAnPageWindow& page = Page(kArmCount);
    EXPECT_EQ(page.Logic().GetPageKey(), CString(L"DiffCurrentsPage"));
    // Ids that are channel lists elsewhere are number fields here and keep their figures.
    for (int id : {kKttRatio, kKttPower, kSnom, kKttRated, kInom}) EXPECT_EQ(Child<wxTextCtrl>(page, id)->GetValue(), wxS("1.")) << id;
    EXPECT_EQ(Child<wxChoice>(page, kArmCount)->GetStringSelection(), wxS("2"));
    EXPECT_EQ(Child<wxChoice>(page, kArmSelector)->GetCount(), 2u);
    EXPECT_TRUE(Child<wxRadioButton>(page, kByPower)->GetValue());
    // The scaling mode's fields and labels follow the radio buttons.
    EXPECT_TRUE(page.FindWindow(kCaptionByPower)->IsThisEnabled());
    EXPECT_FALSE(page.FindWindow(kKpriv)->IsThisEnabled());
    EXPECT_FALSE(page.FindWindow(kCaptionByCoeff)->IsThisEnabled());
    Click(page, kByCoeff);
    EXPECT_TRUE(page.FindWindow(kKpriv)->IsThisEnabled());
    EXPECT_TRUE(page.FindWindow(kCaptionByCoeff)->IsThisEnabled());
    EXPECT_FALSE(page.FindWindow(kSnom)->IsThisEnabled());
    // A radio button is read and set through the page as the logic sees it.
    page.SetCheck(kGroupTriangle, true);
    EXPECT_TRUE(page.IsChecked(kGroupTriangle));
    EXPECT_FALSE(page.IsChecked(kGroupNone));
    Click(page, kGroupTriangle);
    EXPECT_FALSE(page.FindWindow(kSequenceGroup)->IsShown());
    EXPECT_FALSE(page.FindWindow(kSequenceGroupLabel)->IsShown());
    EXPECT_TRUE(page.FindWindow(kTriangleGroup)->IsShown());
    Choose(page, kPhaseCount, wxS("1"));
    EXPECT_FALSE(page.FindWindow(kIb)->IsThisEnabled());
    EXPECT_FALSE(page.FindWindow(kLabelIb)->IsThisEnabled());
    EXPECT_FALSE(page.FindWindow(kTriangleGroup)->IsShown());
    Choose(page, kPhaseCount, wxS("3"));
    EXPECT_TRUE(page.FindWindow(kIb)->IsThisEnabled());

    // Arms chosen as a user would: the formulas take the choices.
    Click(page, kGroupNone);
    ASSERT_TRUE(page.SmokeFill());
    Choose(page, kArmSelector, wxS("1"));
    EXPECT_EQ(Child<wxChoice>(page, kIc)->GetStringSelection(), wxS("Ic HV"));
    EXPECT_EQ(page.FindWindow(kArmGroup)->GetLabel(), wxString::FromUTF8("Плечо 1"));
    Child<wxTextCtrl>(page, kKpriv)->SetValue(wxS("2,5"));
    std::vector<CString> formulas;
    page.Logic().GetFormulas(formulas);
    ASSERT_EQ(formulas.size(), 12u);
    EXPECT_EQ(formulas[0], CString(L"CoeffPriv: (\"Ia HV\", 2.5)"));
    EXPECT_EQ(formulas[5], CString(L"CoeffPriv: (\"Ic LV\", 1.)"));
}

TEST_F(PageWindows, SymmetricalPageSwitchesTheSheetsOkButton) {
    using namespace symmpage;
    QAnPageWindow& page = Page(kCurrentsOff);
    EXPECT_EQ(page.Logic().GetPageKey(), CString(L"SymmetricItemsPage"));
    wxWindow* ok = sheet->FindWindow(wxID_OK);
    ASSERT_TRUE(ok);
    // No channel is named Ia or Ua: the lists say so and the sheet cannot be confirmed.
    page.Logic().UpdateControls();
    EXPECT_FALSE(ok->IsThisEnabled());
    Choose(page, kIa, wxS("Ia HV"));
    Choose(page, kIb, wxS("Ib HV"));
    Choose(page, kIc, wxS("Ic HV"));
    EXPECT_FALSE(ok->IsThisEnabled());
    Click(page, kVoltagesOff);
    EXPECT_TRUE(ok->IsThisEnabled());
    EXPECT_FALSE(page.FindWindow(kCurrentsOff)->IsThisEnabled());
    EXPECT_FALSE(page.FindWindow(kUa)->IsThisEnabled());
    std::vector<CString> formulas;
    page.Logic().GetFormulas(formulas);
    EXPECT_EQ(formulas, (std::vector<CString>{L"I1: (\"Ia HV\", \"Ib HV\", \"Ic HV\")", L"I2: (\"Ia HV\", \"Ib HV\", \"Ic HV\")",
                                              L"3I0: (\"Ia HV\", \"Ib HV\", \"Ic HV\")"}));
}

}  // namespace
