#pragma once
// The editing controls a tree-table cell binds to, on wx controls that are children of the
// list window (hidden until a cell is edited).
#include <wx/combobox.h>
#include <wx/textctrl.h>

#include <functional>

#include "halvex/controls/model/BindControls.h"

namespace halvex {

class WxBindEdit : public wxTextCtrl, public BindEdit {
public:
    // `onDone(accept)` is called when editing ends: Enter accepts, Escape and leaving do not.
    WxBindEdit(wxWindow* list, int id, std::function<void(bool)> onDone);
    void PlaceOver(const CRect& cell) override;
    void ShowBound(bool show) override;
    bool IsBoundShown() const override { return wxTextCtrl::IsShown(); }
    int GetCtrlId() const override { return GetId(); }
    CString BoundText() const override;
    void StartEditing(const CString& text) override;

private:
    std::function<void(bool)> m_onDone;
    bool m_ending = false;
};

class WxBindCombo : public wxComboBox, public BindCombo {
public:
    // `onChosen` is called when the user chose an item; `onClosed` when the list closed.
    WxBindCombo(wxWindow* list, int id, const wxArrayString& items, std::function<void()> onChosen,
                std::function<void()> onClosed);
    void PlaceOver(const CRect& cell) override;
    void ShowBound(bool show) override;
    bool IsBoundShown() const override { return wxComboBox::IsShown(); }
    int GetCtrlId() const override { return GetId(); }
    int ItemCount() const override { return int(wxComboBox::GetCount()); }
    CString ItemText(int index) const override;
    int CurSel() const override { return wxComboBox::GetSelection(); }
    void SelectIndex(int index) override { wxComboBox::SetSelection(index); }
    CString BoundText() const override;
    void DropDown() override;
};

class WxBindIpBox : public wxTextCtrl, public BindIpBox {
public:
    WxBindIpBox(wxWindow* list, int id, std::function<void(bool)> onDone);
    void PlaceOver(const CRect& cell) override;
    void ShowBound(bool show) override;
    bool IsBoundShown() const override { return wxTextCtrl::IsShown(); }
    int GetCtrlId() const override { return GetId(); }
    void ClearAddress() override { ChangeValue(wxString()); }
    void SetAddress(const uint8_t parts[4]) override;
    void GetAddress(uint8_t parts[4]) const override;
    void Focus() override { SetFocus(); }

private:
    std::function<void(bool)> m_onDone;
    bool m_ending = false;
};

}  // namespace halvex
