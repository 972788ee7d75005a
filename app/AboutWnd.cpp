#include "app/AboutWnd.h"

#include <algorithm>
#include <iterator>

#include <wx/accel.h>
#include <wx/arrstr.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/splash.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::ToWx;

const wchar_t* const kMakerWebAddress = L"https://www.korvelund.example";
const wchar_t* const kMakerMailAddress = L"service@korvelund.example";

namespace {

const wxColour kBackground(0x33, 0x68, 0x9A);
// A pale blue, underlined: readable on the maker's blue (contrast above 4.5 : 1) and still
// apart from the white text.
const wxColour kLinkColour(0xD8, 0xEE, 0xFF);
const wxPoint kVersionOrigin(35, 300);
const wxRect kCloseRect(wxPoint(530, 350), wxPoint(630, 400));

// The box's picture: the program's name on the maker's blue, and the close area marked.
wxBitmap MakeAboutPicture() {
    wxBitmap bmp(640, 400);
    wxMemoryDC dc(bmp);
    dc.SetBackground(wxBrush(kBackground));
    dc.Clear();
    dc.SetTextForeground(*wxWHITE);
    dc.SetFont(wxFontInfo(wxSize(0, 48)).Family(wxFONTFAMILY_SWISS).Bold());
    dc.DrawText(ToWx(LoadResString(57344)), 35, 80);
    dc.SetFont(wxFontInfo(wxSize(0, 18)).Family(wxFONTFAMILY_SWISS));
    dc.DrawText(ToWx(LoadResString(123)), 38, 150);
    dc.SetPen(wxPen(*wxWHITE, 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRoundedRectangle(kCloseRect.Deflate(12, 10), 4);
    dc.DrawText(wxS("OK"), kCloseRect.x + 38, kCloseRect.y + 14);
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

wxSplashScreen* g_splash = nullptr;

}  // namespace

AboutWnd::Hit AboutWnd::HitTest(int x, int y, const Links& links) {
    // Right and bottom edges belong to the rectangle's outside, as a window rectangle's do.
    auto in = [x, y](const wxRect& r) { return x >= r.x && x < r.GetRight() && y >= r.y && y < r.GetBottom(); };
    if (in(kCloseRect)) return kCloseArea;
    if (in(links.mail)) return kMailLink;
    if (in(links.web)) return kWebLink;
    return kNothing;
}

AboutWnd::Links AboutWnd::PlaceLinks(wxPoint textOrigin, int lineHeight, int labelWidth, wxSize web, wxSize mail) {
    Links l;
    const int x = textOrigin.x + labelWidth;
    // One line high each, so that they do not overlap; one pixel wider than the text, as the
    // hit test leaves the right edge out.
    l.web = wxRect(x, textOrigin.y + lineHeight, web.x + 1, lineHeight);
    l.mail = wxRect(x, textOrigin.y + 2 * lineHeight, mail.x + 1, lineHeight);
    return l;
}

CString AboutWnd::VersionText() {
    return LoadResString(62224) + LoadResString(186) + L" " + LoadResString(185) + LoadResString(62225);
}

AboutWnd::AboutWnd(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(62223)), wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX),
      m_picture(MakeAboutPicture()),
      m_plain(wxFontInfo(wxSize(0, 14)).FaceName(wxS("Verdana"))),
      m_underlined(wxFontInfo(wxSize(0, 14)).FaceName(wxS("Verdana")).Underlined()) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetClientSize(m_picture.GetWidth(), m_picture.GetHeight());
    CentreOnParent();
    // Measured, so that the links follow the label and line up under each other in whatever
    // face stands in for Verdana: the label's line height is what the version text takes.
    const wxString versionText = ToWx(VersionText());
    const wxString webText = wxString(kMakerWebAddress).AfterFirst('/').AfterFirst('/');
    const wxString mailText(kMakerMailAddress);
    auto* version = new wxStaticText(this, wxID_ANY, versionText, kVersionOrigin);
    version->SetFont(m_plain);
    version->SetForegroundColour(*wxWHITE);
    version->SetBackgroundColour(kBackground);
    const wxArrayString lines = wxSplit(versionText, '\n', '\0');
    int labelWidth = 0, lineHeight = 0, height = 0, webWidth = 0, mailWidth = 0;
    version->GetTextExtent(lines.size() > 1 ? lines[1] : wxString(), &labelWidth, &lineHeight, nullptr, nullptr,
                           &m_plain);
    version->GetTextExtent(webText, &webWidth, &height, nullptr, nullptr, &m_underlined);
    version->GetTextExtent(mailText, &mailWidth, &height, nullptr, nullptr, &m_underlined);
    m_links = PlaceLinks(kVersionOrigin, lineHeight, labelWidth, wxSize(webWidth, height), wxSize(mailWidth, height));
    auto* web = new wxStaticText(this, wxID_ANY, webText, m_links.web.GetPosition());
    auto* mail = new wxStaticText(this, wxID_ANY, mailText, m_links.mail.GetPosition());
    for (wxStaticText* link : {web, mail}) {
        link->SetFont(m_underlined);
        link->SetForegroundColour(kLinkColour);
        link->SetBackgroundColour(kBackground);
        link->SetCursor(wxCursor(wxCURSOR_HAND));
        // A click on the text is a click on the box at that point.
        link->Bind(wxEVT_LEFT_DOWN, [this, link](wxMouseEvent& e) {
            wxMouseEvent at(e);
            at.SetPosition(link->GetPosition() + e.GetPosition());
            OnLeftDown(at);
        });
    }
    Bind(wxEVT_PAINT, &AboutWnd::OnPaint, this);
    Bind(wxEVT_MOTION, &AboutWnd::OnMotion, this);
    Bind(wxEVT_LEFT_DOWN, &AboutWnd::OnLeftDown, this);
    // The box has no button to take the keys: Enter closes it as OK, Escape as Cancel.
    wxAcceleratorEntry keys[] = {{wxACCEL_NORMAL, WXK_RETURN, wxID_OK},
                                 {wxACCEL_NORMAL, WXK_NUMPAD_ENTER, wxID_OK},
                                 {wxACCEL_NORMAL, WXK_ESCAPE, wxID_CANCEL}};
    SetAcceleratorTable(wxAcceleratorTable(int(std::size(keys)), keys));
    Bind(wxEVT_MENU, &AboutWnd::OnKeyCommand, this, wxID_OK);
    Bind(wxEVT_MENU, &AboutWnd::OnKeyCommand, this, wxID_CANCEL);
}

void AboutWnd::OnKeyCommand(wxCommandEvent& event) {
    if (IsModal()) EndModal(event.GetId());
}

void AboutWnd::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.DrawBitmap(m_picture, 0, 0);
}

void AboutWnd::OnMotion(wxMouseEvent& event) {
    SetCursor(wxCursor(HitTest(event.GetX(), event.GetY(), m_links) == kNothing ? wxCURSOR_ARROW : wxCURSOR_HAND));
}

void AboutWnd::OnLeftDown(wxMouseEvent& event) {
    switch (HitTest(event.GetX(), event.GetY(), m_links)) {
        case kCloseArea: EndModal(wxID_OK); break;
        // A failed launch is only a link that did not open.
        case kMailLink: wxLaunchDefaultApplication(wxS("mailto:") + wxString(kMakerMailAddress)); break;
        case kWebLink: wxLaunchDefaultBrowser(wxString(kMakerWebAddress)); break;
        default: break;
    }
}

namespace splash {

void Show(wxWindow* parent) {
    if (g_splash) return;
    wxBitmap picture(480, 300);
    {
        wxMemoryDC dc(picture);
        dc.SetBackground(wxBrush(kBackground));
        dc.Clear();
        dc.SetTextForeground(*wxWHITE);
        dc.SetFont(wxFontInfo(wxSize(0, 44)).Family(wxFONTFAMILY_SWISS).Bold());
        dc.DrawText(ToWx(LoadResString(57344)), 30, 90);
        dc.SetFont(wxFontInfo(wxSize(0, 16)).Family(wxFONTFAMILY_SWISS));
        dc.DrawText(ToWx(LoadResString(62224) + LoadResString(186)), 34, 160);
        dc.DrawText(ToWx(LoadResString(123)), 34, 250);
    }
    // Not kept above other windows: a dialog the start-up opens is never hidden behind it.
    g_splash = new wxSplashScreen(picture, wxSPLASH_CENTRE_ON_SCREEN | wxSPLASH_TIMEOUT, 2000, parent, wxID_ANY,
                                  wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFRAME_NO_TASKBAR);
    g_splash->Bind(wxEVT_DESTROY, [](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == g_splash) g_splash = nullptr;
        e.Skip();
    });
}

void Close() {
    if (g_splash) g_splash->Close(true);
}

}  // namespace splash
