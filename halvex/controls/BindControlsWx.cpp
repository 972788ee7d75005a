#include "halvex/controls/BindControlsWx.h"

#include <algorithm>

#include "halvex/helpers/Ai_Str.h"
#include "platform/ui/WxUiServices.h"

namespace halvex {

namespace {
void Place(wxWindow* w, const CRect& cell) { w->SetSize(cell.left, cell.top, cell.Width(), std::max(cell.Height(), w->GetBestSize().y)); }

// Editing ends once: Enter or Escape, or the focus leaving the box.
void BindEnding(wxTextCtrl* box, bool* ending, const std::function<void(bool)>* done) {
    box->Bind(wxEVT_KEY_DOWN, [box, ending, done](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_RETURN || e.GetKeyCode() == WXK_NUMPAD_ENTER || e.GetKeyCode() == WXK_ESCAPE) {
            const bool accept = e.GetKeyCode() != WXK_ESCAPE;
            if (!*ending && *done) {
                *ending = true;
                (*done)(accept);
                *ending = false;
            }
            box->GetParent()->SetFocus();
            return;
        }
        e.Skip();
    });
    box->Bind(wxEVT_KILL_FOCUS, [box, ending, done](wxFocusEvent& e) {
        e.Skip();
        if (!box->IsShown() || *ending || !*done) return;
        *ending = true;
        (*done)(false);
        *ending = false;
    });
}
}  // namespace

WxBindEdit::WxBindEdit(wxWindow* list, int id, std::function<void(bool)> onDone)
    : wxTextCtrl(list, id, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER), m_onDone(std::move(onDone)) {
    wxTextCtrl::Show(false);
    BindEnding(this, &m_ending, &m_onDone);
}

void WxBindEdit::PlaceOver(const CRect& cell) { Place(this, cell); }
void WxBindEdit::ShowBound(bool show) { wxTextCtrl::Show(show); }
CString WxBindEdit::BoundText() const { return platform::FromWx(GetValue()); }

void WxBindEdit::StartEditing(const CString& text) {
    ChangeValue(platform::ToWx(text));
    wxTextCtrl::Show(true);
    SetFocus();
    SetInsertionPointEnd();
    ShowPosition(GetLastPosition());
    Refresh();
}

WxBindCombo::WxBindCombo(wxWindow* list, int id, const wxArrayString& items, std::function<void()> onChosen,
                         std::function<void()> onClosed)
    : wxComboBox(list, id, wxString(), wxDefaultPosition, wxDefaultSize, items, wxCB_READONLY) {
    wxComboBox::Show(false);
    Bind(wxEVT_COMBOBOX, [onChosen](wxCommandEvent&) {
        if (onChosen) onChosen();
    });
    Bind(wxEVT_COMBOBOX_CLOSEUP, [this, onClosed](wxCommandEvent&) {
        // The selection event comes first; a close-up without a choice only hides the box.
        if (onClosed && IsShown()) CallAfter([onClosed] { onClosed(); });
    });
}

void WxBindCombo::PlaceOver(const CRect& cell) { Place(this, cell); }
void WxBindCombo::ShowBound(bool show) { wxComboBox::Show(show); }
CString WxBindCombo::ItemText(int index) const {
    return index >= 0 && index < ItemCount() ? platform::FromWx(GetString(unsigned(index))) : CString();
}
CString WxBindCombo::BoundText() const { return platform::FromWx(GetValue()); }
void WxBindCombo::DropDown() {
    SetFocus();
    // The list opens once the box is on screen.
    CallAfter([this] {
        if (IsShown()) Popup();
    });
}

WxBindIpBox::WxBindIpBox(wxWindow* list, int id, std::function<void(bool)> onDone)
    : wxTextCtrl(list, id, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER), m_onDone(std::move(onDone)) {
    wxTextCtrl::Show(false);
    BindEnding(this, &m_ending, &m_onDone);
}

void WxBindIpBox::PlaceOver(const CRect& cell) { Place(this, cell); }
void WxBindIpBox::ShowBound(bool show) { wxTextCtrl::Show(show); }

void WxBindIpBox::SetAddress(const uint8_t p[4]) {
    ChangeValue(platform::ToWx(CAi_Str::IPToString(p[0], p[1], p[2], p[3])));
}

void WxBindIpBox::GetAddress(uint8_t p[4]) const {
    CAi_Str::StringToIP(platform::FromWx(GetValue()), p[0], p[1], p[2], p[3]);
}

}  // namespace halvex
