// The about box under a real display (Xvfb): its links are readable on its blue, follow the
// label of the version text without overlapping it, line up under each other, and Enter and
// Escape pressed on the keyboard close the box.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cmath>

#include "FakeUi.h"
#include "WxTestApp.h"
#include "app/AboutWnd.h"

namespace {

double Luminance(const wxColour& c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.Red()) + 0.7152 * lin(c.Green()) + 0.0722 * lin(c.Blue());
}

double Contrast(const wxColour& a, const wxColour& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<wxStaticText*> Texts(wxWindow& w) {
    std::vector<wxStaticText*> out;
    for (wxWindow* child : w.GetChildren())
        if (auto* t = dynamic_cast<wxStaticText*>(child)) out.push_back(t);
    return out;
}

// Runs the box and presses `key` through the display server once it is up, as a user does
// (without a window manager the keys go where the pointer is); what the box ended with.
int PressIn(wxWindow* parent, int key) {
    AboutWnd about(parent);
    wxTimer press, guard;
    press.Bind(wxEVT_TIMER, [&about, key](wxTimerEvent&) {
        wxUIActionSimulator sim;
        sim.MouseMove(about.GetScreenRect().GetPosition() + wxPoint(100, 100));
        wxYield();
        sim.Char(key);
    });
    // A box that ignored the key would hold the test: it is ended after a while instead.
    guard.Bind(wxEVT_TIMER, [&about](wxTimerEvent&) {
        if (about.IsModal()) about.EndModal(-1);
    });
    press.StartOnce(500);
    guard.StartOnce(8000);
    return about.ShowModal();
}

}  // namespace

TEST(AboutWnd, LinksAreReadableAndLinedUp) {
    testutil::FakeUi ui;
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("host"));
    {
        AboutWnd about(frame);
        const std::vector<wxStaticText*> texts = Texts(about);
        ASSERT_EQ(texts.size(), 3u);
        wxStaticText *version = texts[0], *web = texts[1], *mail = texts[2];
        for (wxStaticText* link : {web, mail}) {
            EXPECT_GE(Contrast(link->GetForegroundColour(), link->GetBackgroundColour()), 4.5) << link->GetLabel();
            EXPECT_TRUE(link->GetFont().GetUnderlined());
        }
        // The web address starts where the label of the second line ends, on that line.
        int labelWidth = 0, h = 0;
        const wxArrayString lines = wxSplit(version->GetLabel(), '\n', '\0');
        ASSERT_EQ(lines.size(), 3u);
        const wxFont plain = version->GetFont();
        version->GetTextExtent(lines[1], &labelWidth, &h, nullptr, nullptr, &plain);
        const int lineHeight = h;
        EXPECT_GE(web->GetPosition().x, version->GetPosition().x + labelWidth);
        EXPECT_LE(web->GetPosition().x, version->GetPosition().x + labelWidth + 2);
        EXPECT_NEAR(web->GetPosition().y, version->GetPosition().y + lineHeight, 2);
        // The e-mail under it, on the next line; neither is cut.
        EXPECT_EQ(mail->GetPosition().x, web->GetPosition().x);
        EXPECT_NEAR(mail->GetPosition().y, web->GetPosition().y + lineHeight, 1);
        for (wxStaticText* link : {web, mail}) {
            int w = 0;
            const wxFont font = link->GetFont();
            link->GetTextExtent(link->GetLabel(), &w, &h, nullptr, nullptr, &font);
            EXPECT_GE(link->GetSize().x, w) << link->GetLabel();
            EXPECT_LE(link->GetRect().GetRight(), about.GetClientSize().x);
        }
    }
    frame->Destroy();
}

TEST(AboutWnd, EnterAndEscapeCloseTheBox) {
    testutil::FakeUi ui;
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("host"));
    frame->Show();
    EXPECT_EQ(PressIn(frame, WXK_RETURN), wxID_OK);
    EXPECT_EQ(PressIn(frame, WXK_NUMPAD_ENTER), wxID_OK);
    EXPECT_EQ(PressIn(frame, WXK_ESCAPE), wxID_CANCEL);
    frame->Destroy();
}
