#include "app/FileInfoDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::ToWx;

namespace {

enum : int {
    kChannels = 1040,
    kAnalog = 1041,
    kDiscrete = 1042,
    kSamples = 1043,
    kNetFrequency = 1044,
    kRate = 1045,
    kStation = 1046,
    kRecorder = 1047,
    kStart = 1048,
    kTrigger = 1049,
    kCodePage = 1063,
    kDuration = 1093,
    kCorrection = 1096,
};

// Value controls in the order of the rows; the rate, code-page and correction rows have
// their own controls.
const int kValueIds[11] = {kChannels, kAnalog,  kDiscrete, kSamples, kNetFrequency, kStation,
                           kRecorder, kStart,   kTrigger,  kDuration, 0};

}  // namespace

FileInfoDlg::FileInfoDlg(wxWindow* parent, CTenvorikDoc& doc)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(62030))), m_doc(doc) {
    auto* grid = new wxFlexGridSizer(2, wxSize(12, 6));
    grid->AddGrowableCol(1);
    auto label = [&](unsigned text) {
        grid->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(text))), 0, wxALIGN_CENTER_VERTICAL);
    };
    auto value = [&](int slot, unsigned text) {
        label(text);
        m_values[slot] = new wxStaticText(this, kValueIds[slot], wxEmptyString, wxDefaultPosition, wxSize(320, -1),
                                          wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
        grid->Add(m_values[slot], 1, wxEXPAND | wxALIGN_CENTER_VERTICAL);
    };
    value(0, 62031);
    value(1, 62032);
    value(2, 62033);
    value(3, 62034);
    value(4, 62035);
    label(62036);
    m_rate = new wxComboBox(this, kRate, wxEmptyString, wxDefaultPosition, wxSize(160, -1));
    grid->Add(m_rate, 0, wxALIGN_CENTER_VERTICAL);
    value(5, 62037);
    value(6, 62038);
    value(7, 62039);
    value(8, 62040);
    value(9, 62041);
    label(62042);
    m_codePage = new wxChoice(this, kCodePage);
    m_codePage->Append(ToWx(LoadResString(62046)));
    m_codePage->Append(ToWx(LoadResString(62047)));
    grid->Add(m_codePage, 0, wxALIGN_CENTER_VERTICAL);
    label(62043);
    m_correction = new wxChoice(this, kCorrection);
    grid->Add(m_correction, 0, wxEXPAND | wxALIGN_CENTER_VERTICAL);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, 12);
    auto* close = new wxButton(this, wxID_OK, ToWx(LoadResString(62044)));
    top->Add(close, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    // "Закрыть" is the only button: Enter presses it wherever the focus is; Escape closes the
    // dialog as its title-bar button does, leaving a sampling rate typed but not confirmed.
    close->SetDefault();
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_ESCAPE && !e.HasAnyModifiers()) return EndModal(wxID_CANCEL);
        if (e.GetKeyCode() != WXK_RETURN && e.GetKeyCode() != WXK_NUMPAD_ENTER) return e.Skip();
        wxCommandEvent press(wxEVT_BUTTON, wxID_OK);
        press.SetEventObject(this);
        ProcessWindowEvent(press);
    });
    CentreOnParent();

    const FileInfoFields f = ReadFileInfo(m_doc);
    for (int r : SampleRateChoices(f.netFrequency)) m_rate->Append(wxString::Format(wxS("%d"), r));
    for (const CString& item : f.correctionItems) m_correction->Append(ToWx(item));
    m_correction->Enable(f.correctionItems.size() > 1);
    Fill();
    Bind(wxEVT_BUTTON, &FileInfoDlg::OnOk, this, wxID_OK);
    Bind(wxEVT_CHOICE, &FileInfoDlg::OnCodePage, this, kCodePage);
}

void FileInfoDlg::Fill() {
    const FileInfoFields f = ReadFileInfo(m_doc);
    const wxString texts[10] = {
        wxString::Format(wxS("%d"), f.channelCount), wxString::Format(wxS("%d"), f.analogCount),
        wxString::Format(wxS("%d"), f.discreteCount), wxString::Format(wxS("%d"), f.sampleCount),
        wxString::Format(wxS("%g"), f.netFrequency), ToWx(f.station), ToWx(f.recorder), ToWx(f.start),
        ToWx(f.trigger), ToWx(f.duration)};
    for (int i = 0; i < 10; ++i) m_values[i]->SetLabel(texts[i]);
    m_rate->SetValue(wxString::Format(wxS("%d"), f.samplingRate));
    m_codePage->SetSelection(f.codePageIndex);
    m_correction->SetSelection(f.correctionIndex);
}

bool FileInfoDlg::Apply() {
    int rate = 0;
    if (!ParseSampleRate(platform::FromWx(m_rate->GetValue()), rate)) {
        platform::Ui().MessageBox(LoadResString(62013), CString(), MB_OK | MB_ICONWARNING);
        m_rate->SetFocus();
        return false;
    }
    int correction = m_correction->GetSelection();
    if (correction < 0) correction = 0;
    return ApplyFileInfo(m_doc, rate, correction);
}

void FileInfoDlg::OnOk(wxCommandEvent&) {
    if (Apply()) EndModal(wxID_OK);
}

void FileInfoDlg::OnCodePage(wxCommandEvent&) {
    const int index = m_codePage->GetSelection();
    if (!Apply()) {
        m_codePage->SetSelection(m_doc.m_codePage ? 1 : 0);
        return;
    }
    // The code page applies at once, so the texts below show in it.
    m_doc.SetCodePage(index);
    Fill();
}
