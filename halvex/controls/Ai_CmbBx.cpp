#include "halvex/controls/Ai_CmbBx.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/tooltip.h>

#include <algorithm>
#include <ctime>

#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

namespace halvex {

using platform::FromWx;
using platform::ToWx;

unsigned CAi_CmbBx::m_nDelayTime = 9000;

CAi_CmbBx::CAi_CmbBx(wxWindow* parent, wxWindowID id, bool toolTips, const wxPoint& pos, const wxSize& size)
    : wxOwnerDrawnComboBox(parent, id, wxString(), pos, size, wxArrayString(), wxCB_READONLY), m_tipMode(toolTips) {
    m_tipsEnabled = toolTips ? 1 : 0;
    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& e) {
        // A disabled item cannot be chosen: the choice goes back to where it was.
        if (IsItemDisabled(GetSelection())) {
            SetSelection(m_lastGood);
            return;
        }
        m_lastGood = GetSelection();
        UpdateTip();
        e.Skip();
    });
    Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& e) {
        const int before = GetSelection();
        const int count = int(GetCount());
        int next = std::clamp(before + (e.GetWheelRotation() < 0 ? 1 : -1), 0, std::max(0, count - 1));
        next = SkipDisabled(m_disabled, count, next, e.GetWheelRotation());
        if (count > 0 && !IsItemDisabled(next)) {
            SetSelection(next);
            m_lastGood = next;
            UpdateTip();
        }
    });
}

void CAi_CmbBx::Refill() {
    Clear();
    for (const CString& t : m_texts.MostRecentFirst()) Append(ToWx(t));
}

void CAi_CmbBx::FillInOfTextes(const CString& path, int max) {
    m_texts.Load(path, max);
    Refill();
}

bool CAi_CmbBx::SaveTextes(const CString& path) { return m_texts.Save(path); }

void CAi_CmbBx::AddOrJustSelectTextIn(const CString& text) {
    if (text.IsEmpty() || text == FromWx(GetValue())) return;
    m_texts.Choose(text, int64_t(std::time(nullptr)));
    Refill();
    SelectItem(text);
    m_lastGood = GetSelection();
    UpdateTip();
}

void CAi_CmbBx::UpdateChoiseTextTime() {
    const int sel = GetSelection();
    if (sel < 0) return;
    const CString text = FromWx(GetString(unsigned(sel)));
    if (!m_texts.Renew(text, int64_t(std::time(nullptr)))) return;
    Refill();
    SelectItem(text);
}

bool CAi_CmbBx::SelectItem(wxItemContainer* box, const CString& text) {
    if (!box) return false;
    for (unsigned i = 0; i < box->GetCount(); ++i)
        if (FromWx(box->GetString(i)) == text) {
            box->SetSelection(int(i));
            return true;
        }
    return false;
}

bool CAi_CmbBx::DeleteItem(wxItemContainer* box, const CString& text) {
    if (!box) return false;
    for (unsigned i = 0; i < box->GetCount(); ++i)
        if (FromWx(box->GetString(i)) == text) {
            box->Delete(i);
            return true;
        }
    return false;
}

int CAi_CmbBx::SetDisabledItem(int index, int disable) {
    const int r = halvex::SetDisabledItem(m_disabled, int(GetCount()), index, disable);
    if (r) Refresh();
    return r;
}

bool CAi_CmbBx::IsItemDisabled(int index) const {
    return std::find(m_disabled.begin(), m_disabled.end(), index) != m_disabled.end();
}

void CAi_CmbBx::SetTipText(int index, const wchar_t* text) {
    if (index < 0 || index >= int(GetCount())) return;
    if (text) m_tips[index] = text;
    else m_tips.erase(index);
    UpdateTip();
}

void CAi_CmbBx::SetListAlignment(int align) {
    m_align = align;
    // The toolkit opens a list at the left or right edge only; the middle takes the left.
    SetPopupAnchor(align == alignRight ? wxRIGHT : wxLEFT);
}

CString CAi_CmbBx::CurrentTip() const {
    const int sel = GetSelection();
    auto own = m_tips.find(sel);
    if (own != m_tips.end()) return own->second;
    const CString text = FromWx(GetValue());
    const int room = GetClientSize().x - 4 - const_cast<CAi_CmbBx*>(this)->GetButtonSize().x;
    return GetTextExtent(ToWx(text)).x > room ? text : CString();
}

void CAi_CmbBx::UpdateTip() {
    if (!m_tipsEnabled) return;
    const CString tip = CurrentTip();
    wxToolTip::SetAutoPop(long(m_nDelayTime));
    wxOwnerDrawnComboBox::SetToolTip(tip.IsEmpty() ? wxString() : ToWx(tip));
}

void CAi_CmbBx::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const {
    if (item < 0 || item >= int(GetCount())) return;
    const bool disabled = IsItemDisabled(item);
    const bool selected = (flags & wxODCB_PAINTING_SELECTED) && !disabled;
    const wxColour bk = wxSystemSettings::GetColour(selected ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_LISTBOX);
    const wxColour fg = disabled ? wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT)
                                 : wxSystemSettings::GetColour(selected ? wxSYS_COLOUR_HIGHLIGHTTEXT : wxSYS_COLOUR_LISTBOXTEXT);
    if (!(flags & wxODCB_PAINTING_CONTROL)) {
        dc.SetBrush(wxBrush(bk));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawRectangle(rect);
    }
    dc.SetTextForeground(fg);
    const wxString text = GetString(unsigned(item));
    const wxSize extent = dc.GetTextExtent(text);
    dc.DrawText(text, rect.x + 3, rect.y + (rect.height - extent.y) / 2);
    // The list's tip: the item's own, or its text when wider than the item.
    if (m_tipsEnabled && (flags & wxODCB_PAINTING_SELECTED) && !(flags & wxODCB_PAINTING_CONTROL)) {
        auto own = m_tips.find(item);
        wxString tip = own != m_tips.end() ? ToWx(own->second) : (extent.x > rect.width - 3 ? text : wxString());
        if (wxComboPopup* popup = const_cast<CAi_CmbBx*>(this)->GetPopupControl())
            if (wxWindow* w = popup->GetControl()) w->SetToolTip(tip);
    }
}

CAi_CmbBxDO::CAi_CmbBxDO(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxComboBox(parent, id, wxString(), pos, size, wxArrayString(), wxTE_PROCESS_ENTER) {
    Bind(wxEVT_TEXT, &CAi_CmbBxDO::OnText, this);
    Bind(wxEVT_TEXT_ENTER, &CAi_CmbBxDO::OnEnter, this);
    Bind(wxEVT_KEY_DOWN, &CAi_CmbBxDO::OnKey, this);
    Bind(wxEVT_CHAR_HOOK, &CAi_CmbBxDO::OnKey, this);
    Bind(wxEVT_COMBOBOX, &CAi_CmbBxDO::OnSelect, this);
}

std::vector<CString> CAi_CmbBxDO::Items() const {
    std::vector<CString> r;
    for (unsigned i = 0; i < GetCount(); ++i) r.push_back(FromWx(GetString(i)));
    return r;
}

bool CAi_CmbBxDO::AddNew(const CString& text, bool select) {
    CString t = text;
    if (t.Trim().IsEmpty()) return false;
    int i = FindItemExact(Items(), text);
    if (i < 0) i = Append(ToWx(text));
    if (select) SetSelection(i);
    return true;
}

void CAi_CmbBxDO::FillInNewStrings(const std::vector<CString>* texts) {
    Clear();
    if (texts)
        for (const CString& t : *texts) Append(ToWx(t));
}

void CAi_CmbBxDO::GetAllList(std::vector<CString>* texts) const {
    if (texts) *texts = Items();
}

CString CAi_CmbBxDO::GetCurSelected() const {
    const int sel = GetSelection();
    return sel >= 0 ? FromWx(GetString(unsigned(sel))) : CString();
}

bool CAi_CmbBxDO::IsTheTextInList() const { return IsTheTextInList(FromWx(GetValue())); }
bool CAi_CmbBxDO::IsTheTextInList(const CString& text) const { return FindItemExact(Items(), text) >= 0; }

void CAi_CmbBxDO::Send(unsigned message, const CString& text) {
    if (!m_notify) return;
    // Sent, with a copy that lives through the call: a posted address of a member could be
    // read after the member changed.
    CString copy = text;
    m_notify->SendMessage(message, uintptr_t(m_ctrlId), reinterpret_cast<intptr_t>(&copy));
}

void CAi_CmbBxDO::OnKey(wxKeyEvent& e) {
    e.Skip();
    const int key = e.GetKeyCode();
    m_completeThisKey = 1;
    if (key == WXK_DELETE || key == WXK_BACK) {
        m_completeThisKey = 0;
        if (GetValue().length() == 1) m_dropHeight = DropDownHeight(GetCharHeight() + 4, int(GetCount()), GetSize().y);
    } else if (key == WXK_DOWN && !e.HasModifiers() && e.GetEventType() == wxEVT_KEY_DOWN) {
        Popup();
    }
}

void CAi_CmbBxDO::OnEnter(wxCommandEvent& e) {
    const CString text = FromWx(GetValue());
    if (text.IsEmpty()) {
        e.Skip();
        return;
    }
    const int i = FindItemExact(Items(), text);
    if (i < 0) {
        m_typed = text;
        if (m_reportUnlisted) Send(WM_USER_CMB_TEXT_NOT_LISTED, m_typed);
        if (m_mayAddNew) {
            AddNewStrSelect(text);
            Send(WM_USER_CMB_TEXT_ADDED, m_typed);
        }
        return;  // swallowed
    }
    if (m_warnIfKnown) platform::Ui().MessageBox(m_warning, CString(), MB_OK | MB_ICONERROR);
    SetSelection(i);
    e.Skip();
}

void CAi_CmbBxDO::OnText(wxCommandEvent& e) {
    e.Skip();
    if (m_inside || !m_completeThisKey || !m_completion) return;
    // The toolkit moves its caret after the typed character once this event is over: the
    // completion runs then, on the text and caret the user sees.
    const wxString typed = GetValue();
    CallAfter([this, typed] {
        if (GetValue() == typed) Complete();
    });
}

void CAi_CmbBxDO::Complete() {
    m_inside = true;
    const wxString typedWx = GetValue();
    const CString typed = FromWx(typedWx);
    const long caret = GetInsertionPoint();
    const std::vector<CString> items = Items();
    const int match = FindItemStartingWith(items, typed);
    if (match < 0) {
        Dismiss();
        ChangeValue(typedWx);
        SetInsertionPoint(caret);
    } else {
        m_dropInProgress = true;
        m_dropHeight = DropDownHeight(GetCharHeight() + 4, int(items.size()) - match, GetSize().y);
        m_dropInProgress = false;
        // The typed part stays as typed; the rest of the match is selected to be typed over.
        const wxString full = typedWx + ToWx(items[size_t(match)]).Mid(typedWx.length());
        ChangeValue(full);
        if (caret >= long(typedWx.length())) SetSelection(long(typedWx.length()), long(full.length()));
        else SetInsertionPoint(caret);
    }
    m_inside = false;
}

void CAi_CmbBxDO::OnSelect(wxCommandEvent& e) {
    e.Skip();
    m_selected = GetCurSelected();
    Send(WM_USER_CMB_SEL_CHANGED, m_selected);
}

}  // namespace halvex
