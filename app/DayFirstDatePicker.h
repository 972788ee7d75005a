#pragma once
// A date picker that shows and takes dates in the program's one form, "03.06.2021", whatever
// the locale: the toolkit's own picker follows the locale (month first under C.UTF-8), which
// beside a day-first list reads the other way round. A text field with a calendar drop-down;
// a change sends wxEVT_DATE_CHANGED with the picker's id, as the toolkit's picker does.
#include <wx/combo.h>
#include <wx/datetime.h>

class DayFirstDatePicker : public wxComboCtrl {
public:
    DayFirstDatePicker(wxWindow* parent, wxWindowID id);

    wxDateTime GetDate() const { return m_date; }
    // Shows `date` (its day; the time of day is dropped); sends no event.
    void SetDate(const wxDateTime& date);

    // Takes the date of a text in the dotted form; false (and nothing changed) for a text
    // that names no day. Sends the change event when the day changed.
    bool TakeText(const wxString& text);
    // Takes a day chosen in the calendar and sends the change event when it changed.
    void TakeDate(const wxDateTime& date);

private:
    void OnTextDone(wxEvent& e);
    wxDateTime m_date;
};
