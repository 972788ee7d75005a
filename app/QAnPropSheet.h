#pragma once
#include <wx/dialog.h>
#include <wx/bitmap.h>
#include <wx/panel.h>

#include <functional>
#include <map>
#include <vector>

#include "analysis/QuickAnalysis.h"
#include "app/SmokeHook.h"

class CQAnPropSheet;
class CTenvorikDoc;
class wxListbook;
class wxBookCtrlEvent;

// The window of one quick-analysis page. A page lays out its controls under the ids its items
// read and hands its logic (a CQAnPropPg) to the sheet; the base reads and writes those
// controls for the logic, fills them when the page is first shown and keeps the page's
// choices in the record's settings.
class QAnPageWindow : public wxPanel, public ArgumentControls {
public:
    QAnPageWindow(wxWindow* parent, CQAnPropSheet& sheet);

    virtual CQAnPropPg& Logic() = 0;
    // The page's name in the sheet's bar, and its icon there.
    virtual wxString GetTitle() const = 0;
    virtual wxBitmap GetIcon() const;
    // The page is left or the sheet confirmed: what is being typed is taken.
    virtual void CommitEdits() {}
    // A smoke run fills the page as a user would before confirming; false when the page
    // has nothing to fill from the record.
    virtual bool SmokeFill() { return false; }

    // First showing: the argument controls filled, then the page's choices restored.
    void InitPage();
    bool IsInitialised() const { return m_initialised; }
    // The page's choices into its settings category of the record.
    void SaveState();

    // --- ArgumentControls over the page's child windows
    bool HasControl(int id) const override;
    CString GetText(int id) const override;
    bool IsChecked(int id) const override;
    void SetText(int id, const CString& text) override;
    void SetCheck(int id, bool checked) override;
    void SetChoices(int id, const std::vector<CString>& entries, int selected) override;
    std::vector<CString> GetChoices(int id) const override;
    void EnableControl(int id, bool enable) override;
    void ShowControl(int id, bool show) override;
    bool IsControlEnabled(int id) const override;
    bool IsControlShown(int id) const override;

protected:
    // `label` is enabled and shown with control `id`.
    void AttachLabel(int id, wxWindow* label);

    CQAnPropSheet& m_sheet;

private:
    wxWindow* Control(int id) const;
    bool m_initialised = false;
    std::multimap<int, wxWindow*> m_labels;
};

// How the sheet makes a page; the pages are made in the order of QAnPageFactories().
using QAnPageFactory = std::function<QAnPageWindow*(wxWindow* parent, CQAnPropSheet& sheet)>;
// Every page of the sheet, in the bar's order; the formula editor comes last and is the page
// the sheet opens on.
const std::vector<QAnPageFactory>& QAnPageFactories();

// The quick-analysis sheet: the pages in a bar at the side, "Рассчитать" and "Отмена". Only
// the page on show when the user confirms hands over its results; the record is not touched
// here (RunQuickAnalysis applies the results).
class CQAnPropSheet : public wxDialog, public SmokeDrivenDialog {
public:
    CQAnPropSheet(wxWindow* parent, CTenvorikDoc& doc);

    CTenvorikDoc& Document() { return m_doc; }
    const QAnResults& GetResults() const { return m_results; }
    QAnPageWindow* ActivePage() const;
    bool SmokeStep() override;

private:
    void OnPageChanged(wxBookCtrlEvent& event);
    void OnOk(wxCommandEvent&);
    void OnCancel(wxCommandEvent&);
    void SaveStates();
    // A smoke run on the page of settings key `key`: shown, filled, confirmed.
    bool SmokePage(const CString& key);

    CTenvorikDoc& m_doc;
    wxListbook* m_book = nullptr;
    std::vector<QAnPageWindow*> m_pages;
    QAnResults m_results;
    int m_smokeStage = 0;
};

// Runs the sheet over the document and applies what the confirming page handed over; true
// when the record's calculated channels or diagram choices changed.
bool RunQuickAnalysisSheet(wxWindow* parent, CTenvorikDoc& doc);
