#pragma once
// The window of a quick-analysis page whose logic is a QAnHolderPage: it lays out labelled
// channel lists, edits, check boxes and radio buttons under the ids the logic reads (each label
// greyed with its control), and hands every change of them to the logic.
#include <map>

#include "analysis/QAnHolderPage.h"
#include "app/QAnPropSheet.h"

class wxSizer;

class QAnHolderPageWindow : public QAnPageWindow {
public:
    QAnHolderPageWindow(wxWindow* parent, CQAnPropSheet& sheet, QAnHolderPage& logic);

    CQAnPropPg& Logic() override { return m_logic; }

protected:
    // A group box of rows; the controls are made in it.
    wxSizer* AddGroup(wxSizer* into, const wxString& caption);
    // A row of label and channel list (or edit); labelId may be wxID_ANY.
    void AddChannel(wxSizer* group, int id, int labelId, const wxString& label);
    void AddEdit(wxSizer* group, int id, int labelId, const wxString& label);
    void AddCheck(wxSizer* group, int id, const wxString& text);
    // `first` starts a new group of radio buttons.
    void AddRadio(wxSizer* group, int id, const wxString& text, bool first);
    void AddNote(wxSizer* group, int id, const wxString& text);

private:
    void OnChange(wxCommandEvent& event);
    wxWindow* GroupWindow(wxSizer* group) const;

    QAnHolderPage& m_logic;
    std::map<wxSizer*, wxWindow*> m_groupWindows;  // the box each group's controls live in
};
