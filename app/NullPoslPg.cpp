#include "app/NullPoslPg.h"

#include <wx/sizer.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

СQAnNullPoslPg::СQAnNullPoslPg(wxWindow* parent, CQAnPropSheet& sheet) : QAnHolderPageWindow(parent, sheet, m_page) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    wxSizer* current = AddGroup(top, L"Ток 3Io");
    AddCheck(current, 2156, L"Отключить");
    AddRadio(current, 2047, L"Расчетный", true);
    AddChannel(current, 1007, 2053, L"Ia:");
    AddChannel(current, 1008, 2054, L"Ib:");
    AddChannel(current, 1009, 2055, L"Ic:");
    AddRadio(current, 2049, L"Измеренный", false);
    AddChannel(current, 2072, 2073, L"3Io:");

    wxSizer* voltage = AddGroup(top, L"Напряжение 3Uo");
    AddCheck(voltage, 2157, L"Отключить");
    AddRadio(voltage, 2063, L"Расчитанный из Ua, Ub, Uc", true);
    AddChannel(voltage, 1043, 2057, L"Ua:");
    AddChannel(voltage, 1044, 2058, L"Ub:");
    AddChannel(voltage, 1045, 2059, L"Uc:");
    AddRadio(voltage, 2064, L"Расчитанный из Uни, Uик", false);
    AddChannel(voltage, 1067, 2075, L"Uни:");
    AddChannel(voltage, 2074, 2076, L"Uик:");
    AddRadio(voltage, 2065, L"Измеренный", false);
    AddChannel(voltage, 1062, 2077, L"3Uo:");
    SetSizer(top);
}

wxString СQAnNullPoslPg::GetTitle() const { return platform::ToWx(LoadResString(9989)); }
