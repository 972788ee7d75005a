#include "app/SymmSostPg.h"

#include <wx/artprov.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/tokenzr.h>

#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using namespace symmpage;
using platform::ToWx;

namespace {

constexpr unsigned kStrTitle = 3453;
constexpr unsigned kStrTexts = 9979;

// The page's texts, in the order the string holds them.
enum Text { TCurrents, TVoltages, TSwitchOff, TComputeIb, TIsolatedNote, TPhase, TLine, TIa, TIb, TIc, TUa, TUb, TUc, TUab, TUbc };

wxString PageText(int which) {
    static const wxArrayString texts = wxStringTokenize(ToWx(LoadResString(kStrTexts)), wxS("\n"), wxTOKEN_RET_EMPTY_ALL);
    return size_t(which) < texts.size() ? texts[size_t(which)] : wxString();
}

}  // namespace

CQAnSymmSostPg::CQAnSymmSostPg(wxWindow* parent, CQAnPropSheet& sheet)
    : QAnPageWindow(parent, sheet), m_model(&sheet.Document().GetOscillogram()) {
    auto list = [&](wxFlexGridSizer* grid, int labelId, int text, int id) {
        grid->Add(new wxStaticText(this, labelId, PageText(text)), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(new wxChoice(this, id, wxDefaultPosition, wxSize(180, -1)), 0);
    };

    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* currents = new wxStaticBoxSizer(new wxStaticBox(this, wxID_ANY, PageText(TCurrents)), wxVERTICAL);
    currents->Add(new wxCheckBox(this, kCurrentsOff, PageText(TSwitchOff)), 0, wxALL, 4);
    auto* cg = new wxFlexGridSizer(2, 4, 8);
    list(cg, kLabelIa, TIa, kIa);
    list(cg, kLabelIb, TIb, kIb);
    list(cg, kLabelIc, TIc, kIc);
    currents->Add(cg, 0, wxALL, 4);
    currents->Add(new wxCheckBox(this, kComputeIb, PageText(TComputeIb)), 0, wxALL, 4);
    currents->Add(new wxStaticText(this, kIsolatedNote, PageText(TIsolatedNote)), 0, wxALL, 4);
    top->Add(currents, 0, wxEXPAND | wxALL, 4);

    auto* voltages = new wxStaticBoxSizer(new wxStaticBox(this, wxID_ANY, PageText(TVoltages)), wxVERTICAL);
    voltages->Add(new wxCheckBox(this, kVoltagesOff, PageText(TSwitchOff)), 0, wxALL, 4);
    auto* kinds = new wxBoxSizer(wxHORIZONTAL);
    auto* phase = new wxBoxSizer(wxVERTICAL);
    phase->Add(new wxRadioButton(this, kPhaseVoltages, PageText(TPhase), wxDefaultPosition, wxDefaultSize, wxRB_GROUP),
               0, wxBOTTOM, 4);
    auto* pg = new wxFlexGridSizer(2, 4, 8);
    list(pg, kLabelUa, TUa, kUa);
    list(pg, kLabelUb, TUb, kUb);
    list(pg, kLabelUc, TUc, kUc);
    phase->Add(pg, 0);
    kinds->Add(phase, 0, wxALL, 4);
    auto* line = new wxBoxSizer(wxVERTICAL);
    line->Add(new wxRadioButton(this, kLineVoltages, PageText(TLine)), 0, wxBOTTOM, 4);
    auto* lg = new wxFlexGridSizer(2, 4, 8);
    list(lg, kLabelUab, TUab, kUab);
    list(lg, kLabelUbc, TUbc, kUbc);
    line->Add(lg, 0);
    kinds->Add(line, 0, wxALL, 4);
    voltages->Add(kinds, 0);
    top->Add(voltages, 0, wxEXPAND | wxALL, 4);

    // The name the computed phase-B current will get; never shown.
    new wxStaticText(this, kComputedIbName, wxEmptyString);
    FindWindow(kComputedIbName)->Hide();
    SetSizer(top);

    Bind(wxEVT_CHECKBOX, &CQAnSymmSostPg::OnControl, this);
    Bind(wxEVT_RADIOBUTTON, &CQAnSymmSostPg::OnControl, this);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { m_model.UpdateControls(); });
}

wxString CQAnSymmSostPg::GetTitle() const { return ToWx(LoadResString(kStrTitle)); }

wxBitmap CQAnSymmSostPg::GetIcon() const {
    return wxArtProvider::GetBitmap(wxART_TIP, wxART_OTHER, wxSize(32, 32));
}

void CQAnSymmSostPg::OnControl(wxCommandEvent& event) {
    switch (event.GetId()) {
        case kCurrentsOff: m_model.OnCurrentsOff(); break;
        case kVoltagesOff: m_model.OnVoltagesOff(); break;
        case kComputeIb: m_model.OnComputeIb(); break;
        case kPhaseVoltages:
        case kLineVoltages: m_model.OnVoltageKind(); break;
        default: event.Skip(); break;
    }
}
