// The program-settings dialog under a real display (Xvfb): the language of the texts is
// chosen there for the next start, and only OK takes the choice.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/radiobut.h>

#include <functional>

#include "WxTestApp.h"
#include "app/ProgSettingsDlg.h"

namespace {

// Shows the dialog on `options`, lets `act` do what a user does, and ends it with `button`.
int RunDialog(AppOptions& options, const std::function<void(wxDialog&)>& act, int button) {
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, wxS("host"));
    int result = 0;
    {
        CProgSettingdDlg dlg(frame, options);
        dlg.CallAfter([&dlg, &act, button] {
            act(dlg);
            wxCommandEvent press(wxEVT_BUTTON, button);
            press.SetEventObject(dlg.FindWindow(button));
            dlg.FindWindow(button)->GetEventHandler()->ProcessEvent(press);
        });
        result = dlg.ShowModal();
    }
    frame->Destroy();
    return result;
}

wxRadioButton* Radio(wxDialog& dlg, int id) { return dynamic_cast<wxRadioButton*>(dlg.FindWindow(id)); }

}  // namespace

TEST(ProgSettingsDlg, TheLanguageInUseIsShownAndOkTakesTheOneChosen) {
    // The system's, Russian, English: radio buttons 2140, 2141, 2142.
    struct Case {
        platform::TextLanguage before;
        int shown;
        int chosen;
        platform::TextLanguage after;
    };
    const Case cases[] = {
        {platform::TextLanguage::System, 2140, 2142, platform::TextLanguage::English},
        {platform::TextLanguage::English, 2142, 2141, platform::TextLanguage::Russian},
        {platform::TextLanguage::Russian, 2141, 2140, platform::TextLanguage::System},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        AppOptions options;
        options.textLanguage = c.before;
        bool shown = false;
        const int result = RunDialog(
            options,
            [&](wxDialog& dlg) {
                for (int id : {2140, 2141, 2142}) ASSERT_NE(Radio(dlg, id), nullptr) << id;
                shown = Radio(dlg, c.shown)->GetValue();
                Radio(dlg, c.chosen)->SetValue(true);
            },
            wxID_OK);
        EXPECT_EQ(result, wxID_OK);
        EXPECT_TRUE(shown);
        EXPECT_EQ(options.textLanguage, c.after);
    }
}

TEST(ProgSettingsDlg, CancelKeepsTheLanguage) {
    AppOptions options;
    options.textLanguage = platform::TextLanguage::Russian;
    RunDialog(options, [](wxDialog& dlg) { Radio(dlg, 2142)->SetValue(true); }, wxID_CANCEL);
    EXPECT_EQ(options.textLanguage, platform::TextLanguage::Russian);
}
