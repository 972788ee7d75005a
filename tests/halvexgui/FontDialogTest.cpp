// The font dialog of the grid's font row under a real display (Xvfb): it offers what the row's
// flags ask (underline, strike-out and colour with the effects), gives back untouched what it
// does not change, answers Enter, Escape and Tab pressed on the keyboard, and, from a font
// row of a scheme text, gives the text its font and its colour, opaque.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clrpicker.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/spinctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cstring>
#include <functional>

#include "halvex/grid/FontEffectsDialog.h"
#include "halvex/grid/FuncPropsGridWnd.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/scheme/SchemeDecor.h"
#include "platform/ui/WxUiServices.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/GridTestSupport.h"

using halvex::FontEffectsDialog;

namespace {

constexpr unsigned kRowFlags = 0x00800101;  // effects, screen fonts, no script choice

void Pump(int rounds = 10) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}

LOGFONTW Font(const wchar_t* face, int height, int weight, bool underline, bool strikeOut) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    lf.lfCharSet = 1;
    lf.lfPitchAndFamily = 34;
    std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

bool Same(const LOGFONTW& a, const LOGFONTW& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The dialog that is open now, if any.
FontEffectsDialog* OpenDialog() {
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<FontEffectsDialog*>(w); d && d->IsModal()) return d;
    return nullptr;
}

// Runs `dialog` modally; `act` runs on it once it is up. A dialog that ignored what `act` did
// would hold the test: it is ended after a while instead.
int RunModal(wxDialog& dialog, std::function<void()> act) {
    wxTimer start, guard;
    start.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { act(); });
    guard.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (dialog.IsModal()) dialog.EndModal(-1);
    });
    start.StartOnce(400);
    guard.StartOnce(8000);
    return dialog.ShowModal();
}

// A key pressed through the display server, as a user does (without a window manager the keys
// go where the pointer is).
void Press(wxWindow& over, int key) {
    wxUIActionSimulator sim;
    sim.MouseMove(over.GetScreenRect().GetPosition() + wxPoint(4, 4));
    wxYield();
    sim.Char(key);
    Pump(5);
}

}  // namespace

TEST(FontEffectsDialog, OffersTheEffectsAndKeepsWhatItDoesNotChange) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Host");
    // A weight the style choice has no entry for, and a height that is no whole point.
    const LOGFONTW given = Font(L"No Such Face Anywhere", -17, 600, true, true);
    {
        FontEffectsDialog dialog(frame, given, RGB(0, 128, 255), kRowFlags);
        ASSERT_TRUE(dialog.HasEffects());
        EXPECT_TRUE(dialog.UnderlineBox()->GetValue());
        EXPECT_TRUE(dialog.StrikeOutBox()->GetValue());
        EXPECT_EQ(dialog.ColourPicker()->GetColour(), wxColour(0, 128, 255));
        EXPECT_EQ(dialog.FaceBox()->GetValue(), "No Such Face Anywhere");
        EXPECT_EQ(dialog.StyleChoice()->GetSelection(), 2);  // bold
        EXPECT_EQ(dialog.SizeBox()->GetValue(), 13);
        // Nothing touched: everything as given.
        EXPECT_TRUE(Same(dialog.GetLogFont(), given));
        EXPECT_EQ(dialog.GetColor(), RGB(0, 128, 255));

        // The colour and the underline changed: the rest as given.
        dialog.ColourPicker()->SetColour(wxColour(200, 10, 20));
        dialog.UnderlineBox()->SetValue(false);
        LOGFONTW expected = given;
        expected.lfUnderline = 0;
        EXPECT_TRUE(Same(dialog.GetLogFont(), expected));
        EXPECT_EQ(dialog.GetColor(), RGB(200, 10, 20));

        // Face, style and size changed: each as chosen, the escapement and the set kept.
        dialog.FaceBox()->SetValue("DejaVu Sans");
        dialog.StyleChoice()->SetSelection(1);
        dialog.SizeBox()->SetValue(12);
        const LOGFONTW chosen = dialog.GetLogFont();
        EXPECT_STREQ(chosen.lfFaceName, L"DejaVu Sans");
        EXPECT_EQ(chosen.lfWeight, 400);
        EXPECT_EQ(chosen.lfItalic, 1);
        EXPECT_EQ(chosen.lfHeight, -16);
        EXPECT_EQ(chosen.lfStrikeOut, 1);
        EXPECT_EQ(chosen.lfEscapement, 900);
        EXPECT_EQ(chosen.lfCharSet, 1);
        EXPECT_EQ(chosen.lfPitchAndFamily, 34);
    }
    {
        // Without the effects flag the dialog shows none, and loses none.
        FontEffectsDialog dialog(frame, given, RGB(0, 128, 255), 0x00000001);
        EXPECT_FALSE(dialog.HasEffects());
        EXPECT_EQ(dialog.UnderlineBox(), nullptr);
        dialog.SizeBox()->SetValue(20);
        const LOGFONTW chosen = dialog.GetLogFont();
        EXPECT_EQ(chosen.lfUnderline, 1);
        EXPECT_EQ(chosen.lfStrikeOut, 1);
        EXPECT_EQ(dialog.GetColor(), RGB(0, 128, 255));
    }
    {
        // A text without a colour of its own keeps none unless one is chosen.
        FontEffectsDialog dialog(frame, given, COLORREF(-1), kRowFlags);
        EXPECT_EQ(dialog.GetColor(), COLORREF(-1));
        dialog.ColourPicker()->SetColour(wxColour(0, 0, 1));
        EXPECT_EQ(dialog.GetColor(), RGB(0, 0, 1));
    }
    frame->Destroy();
    Pump(5);
}

TEST(FontEffectsDialog, EnterEscapeAndTabWorkFromTheKeyboard) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Host");
    frame->Show();
    const LOGFONTW given = Font(L"DejaVu Sans", -16, 400, false, false);
    {
        FontEffectsDialog dialog(frame, given, RGB(0, 0, 0), kRowFlags);
        // Enter in the face field takes the dialog's choice.
        EXPECT_EQ(RunModal(dialog, [&] {
                      dialog.FaceBox()->SetFocus();
                      Pump(3);
                      Press(*dialog.FaceBox(), WXK_RETURN);
                  }),
                  wxID_OK);
    }
    {
        FontEffectsDialog dialog(frame, given, RGB(0, 0, 0), kRowFlags);
        // Enter on a check box too; the size typed before it counts.
        EXPECT_EQ(RunModal(dialog, [&] {
                      dialog.UnderlineBox()->SetFocus();
                      dialog.SizeBox()->SetValue(24);
                      Pump(3);
                      Press(*dialog.UnderlineBox(), WXK_NUMPAD_ENTER);
                  }),
                  wxID_OK);
        EXPECT_EQ(dialog.GetLogFont().lfHeight, -32);
    }
    {
        FontEffectsDialog dialog(frame, given, RGB(0, 0, 0), kRowFlags);
        EXPECT_EQ(RunModal(dialog, [&] {
                      dialog.StyleChoice()->SetFocus();
                      Pump(3);
                      Press(*dialog.StyleChoice(), WXK_ESCAPE);
                  }),
                  wxID_CANCEL);
    }
    {
        // Tab goes from field to field in the order they are read, and passes the sample by.
        FontEffectsDialog dialog(frame, given, RGB(0, 0, 0), kRowFlags);
        std::vector<wxWindow*> visited;
        RunModal(dialog, [&] {
            dialog.FaceBox()->SetFocus();
            Pump(3);
            for (int i = 0; i < 10; ++i) {
                Press(dialog, WXK_TAB);
                visited.push_back(wxWindow::FindFocus());
            }
            Press(dialog, WXK_ESCAPE);
        });
        // The first press that reached `w` (or a part of it); -1 when none did.
        auto reached = [&](wxWindow* w) {
            for (size_t i = 0; i < visited.size(); ++i)
                if (visited[i] == w || (visited[i] && w->IsDescendant(visited[i]))) return int(i);
            return -1;
        };
        // The style choice's focus is inside its native widget, which the toolkit does not name:
        // it lies between the face and the size.
        const int size = reached(dialog.SizeBox());
        const int strike = reached(dialog.StrikeOutBox()), underline = reached(dialog.UnderlineBox());
        EXPECT_GE(size, 1);
        EXPECT_GT(strike, size);
        EXPECT_GT(underline, strike);
        EXPECT_EQ(reached(dialog.Sample()), -1);
    }
    frame->Destroy();
    Pump(5);
}

// The whole way a user goes: the font row's button in the grid window, the dialog, OK. The
// scheme text gets the chosen font with its underline and strike-out kept, and the chosen
// colour, opaque.
TEST(FontEffectsDialog, TheFontRowOfASchemeTextGivesItTheFontAndTheColour) {
    testutil::FakeArmHost host;
    SCHEME_TEXT_ELEMENT text(false);
    text.m_sText = L"Ввод";
    text.m_font.m_sFaceName = L"DejaVu Sans";
    text.m_font.m_fSize = 2;
    text.m_font.m_bUnderline = true;
    text.m_font.m_bStrikeout = true;
    text.m_color = 0xFF102030;
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Scheme", wxDefaultPosition, wxSize(480, 320));
    testutil::TestGrid model;
    model.floating = true;
    model.m_pArmDataInterface = &host;
    model.SetSink(nullptr);  // the window gives its own dialogs
    auto* wnd = new halvex::FuncPropsGridWnd(frame, model);
    model.SetBaseElemAndFill(&text);
    frame->Show();
    Pump(20);
    CMFCFuncPropsFont* row = nullptr;
    for (int i = 0; i < model.GetPropertyCount() && !row; ++i) row = dynamic_cast<CMFCFuncPropsFont*>(model.GetProperty(i));
    ASSERT_NE(row, nullptr);
    wxPGProperty* prop = wnd->PropertyOf(row);
    ASSERT_NE(prop, nullptr);
    wnd->SelectProperty(prop, true);
    Pump(5);
    wxWindow* button = wnd->GetEditorControlSecondary();
    ASSERT_NE(button, nullptr);

    bool seen = false, underlined = false, struck = false;
    wxTimer choose;
    choose.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        FontEffectsDialog* dialog = OpenDialog();
        if (!dialog) return;
        seen = true;
        underlined = dialog->UnderlineBox()->GetValue();
        struck = dialog->StrikeOutBox()->GetValue();
        dialog->ColourPicker()->SetColour(wxColour(255, 0, 0));
        dialog->StyleChoice()->SetSelection(2);
        dialog->EndModal(wxID_OK);
    });
    choose.Start(200);
    wxCommandEvent press(wxEVT_BUTTON, button->GetId());
    press.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(press);
    choose.Stop();
    Pump(5);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(underlined);
    EXPECT_TRUE(struck);
    EXPECT_TRUE(text.m_font.m_bUnderline);
    EXPECT_TRUE(text.m_font.m_bStrikeout);
    EXPECT_TRUE(text.m_font.m_bBold);
    EXPECT_EQ(text.m_font.m_sFaceName, L"DejaVu Sans");
    EXPECT_EQ(text.m_color, 0xFFFF0000u);
    EXPECT_EQ(row->GetColor(), RGB(255, 0, 0));
    EXPECT_FALSE(model.invalidated.empty());
    frame->Destroy();
    Pump(5);
}
