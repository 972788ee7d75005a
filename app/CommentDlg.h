#pragma once
#include <wx/dialog.h>

#include "app/SmokeHook.h"
#include "platform/CString.h"

class CTenvorikDoc;
class wxChoice;
class wxTextCtrl;

// The comment text dialog. On a comment item's text it edits wide text; on the record's
// header comment it edits the header's bytes, with a choice of the code page they are read in
// (kept as "Codepage" of the record settings category "Comments").
class CCommentDlg : public wxDialog, public SmokeDrivenDialog {
public:
    CCommentDlg(wxWindow* parent, CTenvorikDoc& doc, const CString& text);
    CCommentDlg(wxWindow* parent, CTenvorikDoc& doc, CStringA* target);

    // Runs the dialog. Wide: true on OK with the text in `out` (false without one). Narrow:
    // true when OK changed the header's bytes, which the target then holds.
    bool EditText(CString* out);

    // A smoke run types TENVORIK_SMOKE_COMMENT and presses OK (Cancel when it is unset).
    bool SmokeStep() override;

    // Before OK takes a header text that its code page cannot hold whole: asks whether to
    // take the code page that holds it, to write it with '?' in place of what does not fit,
    // or to go back to the text. False: the user goes back.
    bool ConfirmCodePage();
    wxTextCtrl* Edit() const { return m_edit; }
    int CodePageOption() const { return m_option; }

private:
    void Build();
    void OnCodePage(wxCommandEvent&);
    void OnOk(wxCommandEvent& event);

    CTenvorikDoc& m_doc;
    CStringA* m_target = nullptr;
    CString m_text;
    int m_option = 0, m_openingOption = 0;
    // The header of a record whose texts are held as UTF-8, itself UTF-8: no code page applies.
    bool m_utf8Header = false;
    wxTextCtrl* m_edit = nullptr;
    wxChoice* m_codePage = nullptr;
};
