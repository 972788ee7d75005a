#include "app/DayFirstDatePicker.h"

#include <wx/calctrl.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <wx/dateevt.h>

#include "model/TimeText.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

wxString DateText(const wxDateTime& d) {
    if (!d.IsValid()) return wxString();
    return ToWx(oscview::FormatDate(d.GetDay(), int(d.GetMonth()) + 1, d.GetYear()));
}

// The calendar under the field: a click on a day takes it and closes the drop-down.
class CalendarPopup : public wxCalendarCtrl, public wxComboPopup {
public:
    explicit CalendarPopup(DayFirstDatePicker* owner) : m_owner(owner) {}
    bool Create(wxWindow* parent) override {
        if (!wxCalendarCtrl::Create(parent, wxID_ANY, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize,
                                    wxCAL_MONDAY_FIRST | wxCAL_SHOW_SURROUNDING_WEEKS | wxBORDER_SIMPLE))
            return false;
        Bind(wxEVT_CALENDAR_SEL_CHANGED, &CalendarPopup::OnChosen, this);
        Bind(wxEVT_CALENDAR_DOUBLECLICKED, &CalendarPopup::OnChosen, this);
        return true;
    }
    wxWindow* GetControl() override { return this; }
    void SetStringValue(const wxString&) override {}
    wxString GetStringValue() const override { return DateText(m_owner->GetDate()); }
    void OnPopup() override {
        m_opening = true;
        if (m_owner->GetDate().IsValid()) SetDate(m_owner->GetDate());
        m_opening = false;
    }
    wxSize GetAdjustedSize(int minWidth, int, int) override {
        const wxSize best = GetBestSize();
        return wxSize(std::max(best.x, minWidth), best.y);
    }

private:
    void OnChosen(wxCalendarEvent& e) {
        if (m_opening) return;
        const wxDateTime d = e.GetDate();
        // Closing the drop-down after the event, not inside the calendar's own handler.
        CallAfter([this, d] {
            Dismiss();
            m_owner->TakeDate(d);
        });
    }
    DayFirstDatePicker* m_owner;
    bool m_opening = false;
};

}  // namespace

DayFirstDatePicker::DayFirstDatePicker(wxWindow* parent, wxWindowID id)
    : wxComboCtrl(parent, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER) {
    SetPopupControl(new CalendarPopup(this));
    const int w = GetTextExtent(wxS("00.00.00000")).x + GetButtonSize().x + 16;
    SetMinSize(wxSize(w, -1));
    SetDate(wxDateTime::Today());
    Bind(wxEVT_TEXT_ENTER, &DayFirstDatePicker::OnTextDone, this);
    if (GetTextCtrl()) GetTextCtrl()->Bind(wxEVT_KILL_FOCUS, &DayFirstDatePicker::OnTextDone, this);
}

void DayFirstDatePicker::SetDate(const wxDateTime& date) {
    m_date = date.IsValid() ? wxDateTime(date).ResetTime() : wxDateTime();
    wxComboCtrl::SetValue(DateText(m_date));
}

bool DayFirstDatePicker::TakeText(const wxString& text) {
    int d = 0, m = 0, y = 0;
    if (!oscview::ParseDate(FromWx(text), d, m, y)) return false;
    TakeDate(wxDateTime(wxDateTime::wxDateTime_t(d), wxDateTime::Month(m - 1), y));
    return true;
}

void DayFirstDatePicker::TakeDate(const wxDateTime& date) {
    const wxDateTime day = date.IsValid() ? wxDateTime(date).ResetTime() : wxDateTime();
    const bool changed = !(day.IsValid() && m_date.IsValid() && day.IsSameDate(m_date)) && day.IsValid();
    SetDate(day.IsValid() ? day : m_date);
    if (!changed) return;
    wxDateEvent e(this, m_date, wxEVT_DATE_CHANGED);
    GetEventHandler()->ProcessEvent(e);
}

void DayFirstDatePicker::OnTextDone(wxEvent& e) {
    e.Skip();
    // A text that names no day goes back to the day shown before.
    if (!TakeText(GetValue())) SetDate(m_date);
}
