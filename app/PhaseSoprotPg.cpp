#include "app/PhaseSoprotPg.h"

#include <wx/sizer.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

CQAnPhaseSoprotPg::CQAnPhaseSoprotPg(wxWindow* parent, CQAnPropSheet& sheet)
    : QAnHolderPageWindow(parent, sheet, m_page) {
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    top->Add(left, 1, wxEXPAND);
    top->Add(right, 1, wxEXPAND);

    wxSizer* channels = AddGroup(left, wxString());
    AddChannel(channels, 1007, wxID_ANY, L"Ia:");
    AddChannel(channels, 1008, wxID_ANY, L"Ib:");
    AddChannel(channels, 1009, wxID_ANY, L"Ic:");
    AddChannel(channels, 1043, wxID_ANY, L"Ua:");
    AddChannel(channels, 1044, wxID_ANY, L"Ub:");
    AddChannel(channels, 1045, wxID_ANY, L"Uc:");
    AddEdit(channels, 2042, wxID_ANY, L"Iтр, А:");

    wxSizer* parallel = AddGroup(left, wxString());
    AddChannel(parallel, 2043, wxID_ANY, L"3Ion:");

    wxSizer* specific = AddGroup(right, wxString());
    AddRadio(specific, 2123, L"По удельным параметрам", true);
    AddEdit(specific, 1052, wxID_ANY, L"R0, Ом/км:");
    AddEdit(specific, 1053, wxID_ANY, L"R1, Ом/км:");
    AddEdit(specific, 1050, wxID_ANY, L"X0, Ом/км:");
    AddEdit(specific, 1051, wxID_ANY, L"X1, Ом/км:");
    AddEdit(specific, 2044, wxID_ANY, L"Rm, Ом/км:");
    AddEdit(specific, 2045, wxID_ANY, L"Xm, Ом/км:");
    AddRadio(specific, 2124, L"По коэффициентам компенсации", false);
    AddEdit(specific, 2121, wxID_ANY, L"K0:");
    AddEdit(specific, 2122, wxID_ANY, L"Ф0, град:");
    AddEdit(specific, 2125, wxID_ANY, L"Km:");
    AddEdit(specific, 2126, wxID_ANY, L"Фm, град:");
    SetSizer(top);
}

wxString CQAnPhaseSoprotPg::GetTitle() const { return platform::ToWx(LoadResString(9990)); }
