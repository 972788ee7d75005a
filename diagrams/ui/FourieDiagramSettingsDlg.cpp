#include "diagrams/ui/FourieDiagramSettingsDlg.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "model/Resources.h"
#include "platform/UiServices.h"

namespace {

wxString Text(const wchar_t* ru, const wchar_t* en) { return TenvorikStrings().IsEnglish() ? en : ru; }

// An integer in 1 .. `high`; otherwise the user is told the range and the field keeps focus.
bool ReadInRange(wxTextCtrl* edit, int high, int& value) {
    long v = 0;
    if (edit->GetValue().Trim().Trim(false).ToLong(&v) && v >= 1 && v <= high) {
        value = int(v);
        return true;
    }
    CString text;
    text.Format(TenvorikStrings().IsEnglish() ? L"Enter an integer from %d to %d." : L"Введите целое число от %d до %d.", 1,
                high);
    platform::Ui().MessageBox(text, LoadResString(57344), MB_OK | MB_ICONEXCLAMATION);
    edit->SetFocus();
    edit->SelectAll();
    return false;
}

}  // namespace

FourieDiagramSettingsDlg::FourieDiagramSettingsDlg(wxWindow* parent, const FourieSettings& settings,
                                                   int64_t sampleCount, double samplingFrequency, double netFrequency)
    : wxDialog(parent, 353, Text(L"Настройки частотной диаграммы", L"Frequency diagram settings")),
      m_settings(settings), m_count(sampleCount), m_fs(samplingFrequency), m_f(netFrequency) {
    auto* values = new wxStaticBoxSizer(wxVERTICAL, this, Text(L"Значения величин", L"Values"));
    m_percent = new wxRadioButton(values->GetStaticBox(), 1023, Text(L"В процентах (нормализовано)", L"In percent (normalised)"),
                                  wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_absolute = new wxRadioButton(values->GetStaticBox(), 1024, Text(L"Абсолютные величины", L"Absolute values"));
    values->Add(m_percent, 0, wxALL, 4);
    values->Add(m_absolute, 0, wxALL, 4);
    auto* norm = new wxStaticBoxSizer(wxVERTICAL, values->GetStaticBox(), Text(L"Нормализация", L"Normalisation"));
    m_normalisation = norm->GetStaticBox();
    m_normalisation->SetId(1061);
    m_fundamental = new wxRadioButton(m_normalisation, 1026, Text(L"По основной гармонике", L"By the fundamental"),
                                      wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_rms = new wxRadioButton(m_normalisation, 1027, Text(L"По среднеквадратичному значению", L"By the RMS value"));
    norm->Add(m_fundamental, 0, wxALL, 4);
    norm->Add(m_rms, 0, wxALL, 4);
    values->Add(norm, 0, wxEXPAND | wxALL, 4);

    auto* calc = new wxStaticBoxSizer(wxVERTICAL, this, Text(L"Расчет значений", L"Calculation"));
    auto* grid = new wxFlexGridSizer(2, 4, 8);
    m_periods = new wxTextCtrl(calc->GetStaticBox(), 1025, wxString::Format(wxS("%d"), m_settings.numPeriods));
    m_harmonics = new wxTextCtrl(calc->GetStaticBox(), 1022, wxString::Format(wxS("%d"), m_settings.numHarmonics));
    grid->Add(new wxStaticText(calc->GetStaticBox(), wxID_ANY, Text(L"Число обрабатываемых периодов:", L"Periods processed:")), 0,
              wxALIGN_CENTER_VERTICAL);
    grid->Add(m_periods);
    grid->Add(new wxStaticText(calc->GetStaticBox(), wxID_ANY, Text(L"Число гармоник:", L"Number of harmonics:")), 0,
              wxALIGN_CENTER_VERTICAL);
    grid->Add(m_harmonics);
    calc->Add(grid, 0, wxALL, 4);

    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK, wxS("OK")));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Text(L"Отмена", L"Cancel")));
    buttons->Realize();
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(values, 0, wxEXPAND | wxALL, 8);
    top->Add(calc, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);

    (m_settings.showPersents ? m_absolute : m_percent)->SetValue(true);
    (m_settings.useRms ? m_rms : m_fundamental)->SetValue(true);
    // Normalisation means something only for values in percent.
    UpdateNormalisation();
    for (wxRadioButton* b : {m_percent, m_absolute, m_fundamental, m_rms})
        b->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { UpdateNormalisation(); });
}

void FourieDiagramSettingsDlg::UpdateNormalisation() {
    const bool percent = m_percent->GetValue();
    m_fundamental->Enable(percent);
    m_rms->Enable(percent);
    m_normalisation->Enable(percent);
}

bool FourieDiagramSettingsDlg::TransferDataFromWindow() {
    int periods = 0, harmonics = 0;
    if (!ReadInRange(m_periods, FourieMaxPeriods(m_count, m_fs, m_f), periods)) return false;
    if (!ReadInRange(m_harmonics, FourieMaxHarmonics(m_fs, m_f, periods), harmonics)) return false;
    m_settings.numPeriods = periods;
    m_settings.numHarmonics = harmonics;
    m_settings.showPersents = m_absolute->GetValue() ? 1 : 0;
    m_settings.useRms = m_rms->GetValue() ? 1 : 0;
    return true;
}
