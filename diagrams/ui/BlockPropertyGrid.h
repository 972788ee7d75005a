#pragma once
// The property grid of a diagram's characteristic blocks: the block-type choice, a row per
// characteristic with its colour box and check mark, and a text row per parameter. It shows
// the rows of the plain model and hands the user's events to it.
#include <wx/propgrid/propgrid.h>

#include "diagrams/BlockGrid.h"

class BlockPropertyGrid : public wxPropertyGrid {
public:
    BlockPropertyGrid(wxWindow* parent, wxWindowID id, BlockGridModel& model);
    // Shows the model's rows again (after a library load, a fill or a stored selection).
    void Rebuild();

private:
    void OnChanged(wxPropertyGridEvent& e);
    void OnLeftDown(wxMouseEvent& e);
    void OnDoubleClick(wxMouseEvent& e);
    int RowOf(wxPGProperty* p) const;
    wxBitmap GroupImage(const Characteristic& c) const;

    BlockGridModel& m_model;
    std::vector<wxPGProperty*> m_props;  // by model row
};
