// The spectrum's settings dialog under a real display (Xvfb): it opens on the record's options,
// offers normalisation only for values in percent, and refuses numbers outside the record's
// limits with a message, keeping the options as they were.
#include <gtest/gtest.h>

#include "WxTestApp.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "FakeUi.h"
#include "diagrams/ui/FourieDiagramSettingsDlg.h"

namespace {

template <class T>
T* Child(wxWindow& dlg, int id) {
    return dynamic_cast<T*>(dlg.FindWindow(id));
}

}  // namespace

TEST(FourieSettingsDlg, OpensOnTheOptionsAndChecksTheRanges) {
    testutil::FakeUi ui;
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("host"));
    FourieSettings stored;
    stored.numPeriods = 2;
    stored.numHarmonics = 8;
    stored.showPersents = 1;  // absolute values
    // 400 samples at 1000 Hz and 50 Hz: at most 20 periods, 10 harmonics a period.
    FourieDiagramSettingsDlg dlg(frame, stored, 400, 1000, 50);
    EXPECT_EQ(dlg.GetTitle(), wxString::FromUTF8("Настройки частотной диаграммы"));
    EXPECT_EQ(Child<wxTextCtrl>(dlg, 1025)->GetValue(), wxS("2"));
    EXPECT_EQ(Child<wxTextCtrl>(dlg, 1022)->GetValue(), wxS("8"));
    EXPECT_TRUE(Child<wxRadioButton>(dlg, 1024)->GetValue());
    EXPECT_FALSE(Child<wxRadioButton>(dlg, 1026)->IsEnabled());
    EXPECT_FALSE(Child<wxRadioButton>(dlg, 1027)->IsEnabled());
    // Percent chosen: normalisation is offered.
    Child<wxRadioButton>(dlg, 1023)->SetValue(true);
    wxCommandEvent click(wxEVT_RADIOBUTTON, 1023);
    click.SetEventObject(Child<wxRadioButton>(dlg, 1023));
    Child<wxRadioButton>(dlg, 1023)->ProcessWindowEvent(click);
    EXPECT_TRUE(Child<wxRadioButton>(dlg, 1026)->IsEnabled());
    Child<wxRadioButton>(dlg, 1027)->SetValue(true);

    // 21 periods do not fit the record; 3 periods allow 30 harmonics but not 31.
    struct Case {
        const char *periods, *harmonics;
        bool ok;
    };
    const Case cases[] = {{"21", "5", false}, {"0", "5", false}, {"x", "5", false}, {"3", "31", false}, {"3", "30", true}};
    for (const Case& c : cases) {
        ui.messages.clear();
        Child<wxTextCtrl>(dlg, 1025)->SetValue(c.periods);
        Child<wxTextCtrl>(dlg, 1022)->SetValue(c.harmonics);
        EXPECT_EQ(dlg.TransferDataFromWindow(), c.ok) << c.periods << " " << c.harmonics;
        EXPECT_EQ(ui.messages.size(), c.ok ? 0u : 1u);
    }
    EXPECT_EQ(dlg.Settings().numPeriods, 3);
    EXPECT_EQ(dlg.Settings().numHarmonics, 30);
    EXPECT_EQ(dlg.Settings().showPersents, 0);
    EXPECT_EQ(dlg.Settings().useRms, 1);
    frame->Destroy();
}
