#pragma once
#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

#include "platform/CString.h"

class wxSplashScreen;

// The about box: the program's picture with its version, the maker's web address and service
// e-mail. A click on the address opens it, on the e-mail a new mail, on the close area ends
// the box; so do Enter and Escape.
class AboutWnd : public wxDialog {
public:
    explicit AboutWnd(wxWindow* parent);

    // The clickable places, in client coordinates.
    enum Hit { kNothing, kWebLink, kMailLink, kCloseArea };
    struct Links {
        wxRect web, mail;
    };
    static Hit HitTest(int x, int y, const Links& links);
    // Where the links go, measured in the window's font: the web address on the version
    // text's second line right after its label, the e-mail on the third line under it, so
    // that nothing overlaps or is cut whatever the font.
    static Links PlaceLinks(wxPoint textOrigin, int lineHeight, int labelWidth, wxSize web, wxSize mail);
    // "Версия " + version number + " " + release + the line about the web site.
    static CString VersionText();

private:
    void OnPaint(wxPaintEvent&);
    void OnMotion(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnKeyCommand(wxCommandEvent& event);

    wxBitmap m_picture;
    wxFont m_plain, m_underlined;
    Links m_links;
};

// The picture shown during start-up for two seconds; a click closes it sooner.
namespace splash {
// Shown only for a start that opens no record: a record named on the command line is what
// the user waits for, and it is not hidden behind a picture.
void Show(wxWindow* parent);
// Closes the picture when it is still up (a record opened meanwhile).
void Close();
}  // namespace splash

// The maker's addresses.
extern const wchar_t* const kMakerWebAddress;
extern const wchar_t* const kMakerMailAddress;
