#pragma once
#include <wx/docview.h>

class wxWindow;

// The oscillogram view of one record: a tab of the main frame. Until the oscillogram drawing
// comes, it shows the names of the record's channels on a plain background.
class CTenvorikView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CTenvorikView);

public:
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC* dc) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;

private:
    wxWindow* m_canvas = nullptr;
};
