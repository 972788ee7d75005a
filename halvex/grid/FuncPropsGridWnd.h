#pragma once
// The window of a property grid: a wxPropertyGrid that shows the rows of a grid model and hands
// every edit back to the row that owns it, which accepts or refuses it. The model stays the
// one truth: after an edit the window shows what the row holds.
#include <wx/propgrid/propgrid.h>

#include <map>

#include "halvex/grid/model/MFCPropertyGrid.h"

namespace halvex {

// Messages through the platform's services, the font dialog of the toolkit.
class WxPropertyGridSink : public PropertyGridSink {
public:
    explicit WxPropertyGridSink(wxWindow* parent) : m_parent(parent) {}
    bool ChooseFont(LOGFONTW& font, COLORREF& colour, unsigned flags) override;
    bool ChooseColor(COLORREF& colour) override;

private:
    wxWindow* m_parent;
};

class FuncPropsGridWnd : public wxPropertyGrid, public PropertyGridObserver {
public:
    // Shows `model` (not owned; it must outlive the window or be detached with Detach).
    FuncPropsGridWnd(wxWindow* parent, CMFCPropertyGridCtrl& model, wxWindowID id = wxID_ANY,
                     const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    ~FuncPropsGridWnd() override;

    // Stops showing the model.
    void Detach();
    CMFCPropertyGridCtrl* GetModel() const { return m_model; }

    // The window's property of a row, and the row of a property; null when none.
    wxPGProperty* PropertyOf(const CMFCPropertyGridProperty* row) const;
    CMFCPropertyGridProperty* RowOf(const wxPGProperty* prop) const;

    // Where a check-box row's box is drawn in its name cell, in client coordinates; empty for
    // other rows and rows out of sight.
    wxRect CheckBoxRect(const wxPGProperty* prop) const;

    void OnGridLayout() override;
    void OnPropertyRedraw(CMFCPropertyGridProperty* row) override;

private:
    void Rebuild();
    void AppendRow(CMFCPropertyGridProperty* row, wxPGProperty* parent);
    void ShowRowValue(CMFCPropertyGridProperty* row, wxPGProperty* prop);
    void OnChanging(wxPropertyGridEvent& event);
    void OnChanged(wxPropertyGridEvent& event);
    void PressButton(CMFCPropertyGridProperty* row);
    void ChooseOtherColour(CMFCPropertyGridProperty* row);
    // The mouse and the keyboard on check-box rows, as the rows' own rules say.
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnCharHook(wxKeyEvent& event);

    CMFCPropertyGridCtrl* m_model;
    WxPropertyGridSink m_sink;
    std::map<const wxPGProperty*, CMFCPropertyGridProperty*> m_rows;
    std::map<const CMFCPropertyGridProperty*, wxPGProperty*> m_props;
    CMFCPropertyGridProperty* m_editing = nullptr;  // the row whose change is being decided
    bool m_layoutPending = false;
    int m_nextName = 0;
};

}  // namespace halvex
