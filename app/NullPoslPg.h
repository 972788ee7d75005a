#pragma once
#include "analysis/NullPoslPage.h"
#include "app/QAnHolderPageWindow.h"

// The zero-sequence page of the quick-analysis sheet (its name begins with a Cyrillic Es).
class СQAnNullPoslPg final : public QAnHolderPageWindow {
public:
    СQAnNullPoslPg(wxWindow* parent, CQAnPropSheet& sheet);
    wxString GetTitle() const override;

private:
    NullPoslPage m_page;
};
