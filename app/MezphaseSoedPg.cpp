#include "app/MezphaseSoedPg.h"

#include <wx/radiobut.h>
#include <wx/sizer.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

CQAnMezphaseSoedPg::CQAnMezphaseSoedPg(wxWindow* parent, CQAnPropSheet& sheet)
    : QAnHolderPageWindow(parent, sheet, m_page) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    wxSizer* currents = AddGroup(top, L"Токи");
    AddChannel(currents, 1007, 2053, L"Ia:");
    AddChannel(currents, 1008, 2054, L"Ib:");
    AddChannel(currents, 1009, 2055, L"Ic:");
    AddCheck(currents, 2046, L"Рассчитать Ib по Ia и Iс *");
    AddNote(currents, 2062, L"* - только в сетях с изолированной нейтралью");

    wxSizer* voltages = AddGroup(top, wxString());
    AddRadio(voltages, 2050, L"Фазные напряжения", true);
    AddChannel(voltages, 1043, 2057, L"Ua:");
    AddChannel(voltages, 1044, 2058, L"Ub:");
    AddChannel(voltages, 1045, 2059, L"Uc:");
    AddRadio(voltages, 2051, L"Линейные напряжения", false);
    AddChannel(voltages, 1010, 2070, L"Uab:");
    AddChannel(voltages, 1011, 2071, L"Ubc:");

    wxSizer* accuracy = AddGroup(top, wxString());
    AddEdit(accuracy, 2042, wxID_ANY, L"Iтр, А:");
    AddNote(accuracy, wxID_ANY, L"- ток точной работы");
    SetSizer(top);
}

wxString CQAnMezphaseSoedPg::GetTitle() const { return platform::ToWx(LoadResString(9988)); }

bool CQAnMezphaseSoedPg::SmokeFill() {
    if (IsChecked(2051) || IsChannelPresent(*this, 1043)) return true;
    auto* line = dynamic_cast<wxRadioButton*>(FindWindow(2051));
    if (!line) return false;
    line->SetValue(true);
    wxCommandEvent click(wxEVT_RADIOBUTTON, 2051);
    click.SetEventObject(line);
    click.SetInt(1);
    line->ProcessWindowEvent(click);
    return true;
}
