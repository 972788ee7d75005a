#include "app/QAnPropSheet.h"

#include <algorithm>

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/imaglist.h>
#include <wx/listbook.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>

#include "app/DiffCursPg.h"
#include "app/FormulaEditorPg.h"
#include "app/MezphaseSoedPg.h"
#include "app/NullPoslPg.h"
#include "app/PhaseSoprotPg.h"
#include "app/SymmSostPg.h"
#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

constexpr unsigned kStrCaption = 159;
constexpr unsigned kStrCalculate = 164;
constexpr unsigned kStrCancel = 3328;
constexpr int kIconSize = 32;

}  // namespace

// ---- page base --------------------------------------------------------------------------------

QAnPageWindow::QAnPageWindow(wxWindow* parent, CQAnPropSheet& sheet) : wxPanel(parent), m_sheet(sheet) {}

wxBitmap QAnPageWindow::GetIcon() const {
    return wxArtProvider::GetBitmap(wxART_EXECUTABLE_FILE, wxART_OTHER, wxSize(kIconSize, kIconSize));
}

void QAnPageWindow::InitPage() {
    if (m_initialised) return;
    m_initialised = true;
    CQAnPropPg& logic = Logic();
    logic.m_filler = {this, true};
    logic.m_record = &m_sheet.Document().GetOscillogram();
    logic.m_enableOk = [this](bool enable) {
        if (wxWindow* ok = m_sheet.FindWindow(wxID_OK)) ok->Enable(enable);
    };
    FillArgumentControls(logic.m_filler, &m_sheet.Document().GetOscillogram());
    logic.LoadState(m_sheet.Document().m_settings.GetCategory(logic.GetPageKey()));
}

void QAnPageWindow::SaveState() {
    if (!m_initialised) return;
    CommitEdits();
    Logic().SaveState(m_sheet.Document().m_settings.GetCategory(Logic().GetPageKey()));
}

wxWindow* QAnPageWindow::Control(int id) const { return FindWindow(id); }

bool QAnPageWindow::HasControl(int id) const { return Control(id) != nullptr; }

CString QAnPageWindow::GetText(int id) const {
    wxWindow* w = Control(id);
    if (auto* combo = dynamic_cast<wxComboBox*>(w)) return FromWx(combo->GetValue());
    if (auto* choice = dynamic_cast<wxChoice*>(w)) return FromWx(choice->GetStringSelection());
    if (auto* text = dynamic_cast<wxTextCtrl*>(w)) return FromWx(text->GetValue());
    return w ? FromWx(w->GetLabel()) : CString();
}

bool QAnPageWindow::IsChecked(int id) const {
    wxWindow* w = Control(id);
    if (auto* radio = dynamic_cast<wxRadioButton*>(w)) return radio->GetValue();
    auto* box = dynamic_cast<wxCheckBox*>(w);
    return box && box->GetValue();
}

void QAnPageWindow::SetText(int id, const CString& text) {
    wxWindow* w = Control(id);
    if (auto* combo = dynamic_cast<wxComboBox*>(w)) combo->SetValue(ToWx(text));
    else if (auto* choice = dynamic_cast<wxChoice*>(w)) choice->SetStringSelection(ToWx(text));
    else if (auto* edit = dynamic_cast<wxTextCtrl*>(w)) edit->ChangeValue(ToWx(text));
    else if (w) w->SetLabel(ToWx(text));
}

void QAnPageWindow::SetCheck(int id, bool checked) {
    wxWindow* w = Control(id);
    if (auto* box = dynamic_cast<wxCheckBox*>(w)) box->SetValue(checked);
    // A radio button is cleared by checking another of its group.
    else if (auto* radio = dynamic_cast<wxRadioButton*>(w); radio && checked) radio->SetValue(true);
}

void QAnPageWindow::AttachLabel(int id, wxWindow* label) { m_labels.emplace(id, label); }

void QAnPageWindow::EnableControl(int id, bool enable) {
    if (wxWindow* w = Control(id)) w->Enable(enable);
    for (auto [at, end] = m_labels.equal_range(id); at != end; ++at) at->second->Enable(enable);
}

void QAnPageWindow::ShowControl(int id, bool show) {
    if (wxWindow* w = Control(id)) w->Show(show);
    for (auto [at, end] = m_labels.equal_range(id); at != end; ++at) at->second->Show(show);
}

bool QAnPageWindow::IsControlEnabled(int id) const {
    wxWindow* w = Control(id);
    return w && w->IsThisEnabled();
}

bool QAnPageWindow::IsControlShown(int id) const {
    wxWindow* w = Control(id);
    return w && w->IsShown();
}

void QAnPageWindow::SetChoices(int id, const std::vector<CString>& entries, int selected) {
    wxArrayString items;
    for (const CString& e : entries) items.Add(ToWx(e));
    wxWindow* w = Control(id);
    if (auto* combo = dynamic_cast<wxComboBox*>(w)) {
        combo->Set(items);
        if (selected >= 0 && size_t(selected) < entries.size()) combo->SetSelection(selected);
    } else if (auto* choice = dynamic_cast<wxChoice*>(w)) {
        choice->Set(items);
        if (selected >= 0 && size_t(selected) < entries.size()) choice->SetSelection(selected);
        // A list grows to show its longest entry ("Канал отсутствует", a long channel name)
        // uncut, up to a width the page still holds; it never shrinks below its designed width.
        // The toolkit's own idea of the width comes only once the list is on the screen, so
        // the entries are measured here, with room for the arrow and the frame.
        constexpr int kWidest = 320, kArrowAndFrame = 48;
        int widest = 0;
        for (const wxString& item : items) widest = std::max(widest, choice->GetTextExtent(item).x);
        const int wanted = std::min(widest + kArrowAndFrame, kWidest);
        if (wanted > choice->GetMinSize().x) {
            choice->SetMinSize(wxSize(wanted, choice->GetMinSize().y));
            Layout();
        }
    } else if (w && !dynamic_cast<wxTextCtrl*>(w) && selected >= 0 && size_t(selected) < entries.size()) {
        // A hidden holder keeps only the chosen text; an edit field is no list and keeps its
        // own (some ids name a list on one page and a number field on another).
        SetText(id, entries[size_t(selected)]);
    }
}

std::vector<CString> QAnPageWindow::GetChoices(int id) const {
    std::vector<CString> entries;
    wxWindow* w = Control(id);
    if (auto* items = dynamic_cast<wxItemContainerImmutable*>(w))
        for (unsigned i = 0; i < items->GetCount(); ++i) entries.push_back(FromWx(items->GetString(i)));
    return entries;
}

const std::vector<QAnPageFactory>& QAnPageFactories() {
    // The analysis pages come before the formula editor as they are built.
    static const std::vector<QAnPageFactory> factories = {
        [](wxWindow* parent, CQAnPropSheet& sheet) -> QAnPageWindow* { return new CQAnSymmSostPg(parent, sheet); },
        [](wxWindow* parent, CQAnPropSheet& sheet) -> QAnPageWindow* { return new СQAnNullPoslPg(parent, sheet); },
        [](wxWindow* parent, CQAnPropSheet& sheet) -> QAnPageWindow* { return new CQAnMezphaseSoedPg(parent, sheet); },
        [](wxWindow* parent, CQAnPropSheet& sheet) -> QAnPageWindow* { return new CQAnPhaseSoprotPg(parent, sheet); },
        [](wxWindow* parent, CQAnPropSheet& sheet) -> QAnPageWindow* { return new CQAnDiffCursPg(parent, sheet); },
        [](wxWindow* parent, CQAnPropSheet& sheet) -> QAnPageWindow* { return new CQAnFormulaEditorPg(parent, sheet); },
    };
    return factories;
}

// ---- sheet ------------------------------------------------------------------------------------

CQAnPropSheet::CQAnPropSheet(wxWindow* parent, CTenvorikDoc& doc)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(kStrCaption)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_doc(doc) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_book = new wxListbook(this, wxID_ANY, wxDefaultPosition, wxSize(760, 460), wxLB_LEFT);
    auto* icons = new wxImageList(kIconSize, kIconSize, true);
    for (const QAnPageFactory& make : QAnPageFactories()) {
        QAnPageWindow* page = make(m_book, *this);
        icons->Add(page->GetIcon());
        m_pages.push_back(page);
    }
    m_book->AssignImageList(icons);
    for (size_t i = 0; i < m_pages.size(); ++i) m_book->AddPage(m_pages[i], m_pages[i]->GetTitle(), false, int(i));
    m_book->GetListView()->SetMinSize(wxSize(150, -1));
    // The book is as large as its largest page needs.
    wxSize largest;
    for (QAnPageWindow* page : m_pages) largest.IncTo(page->GetBestSize());
    wxSize bookSize = m_book->GetMinSize();
    bookSize.IncTo(m_book->CalcSizeFromPage(largest));
    m_book->SetMinSize(bookSize);
    top->Add(m_book, 1, wxEXPAND | wxALL, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, ToWx(LoadResString(kStrCalculate)));
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(kStrCancel))), 0);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(top);
    CentreOnParent();

    m_book->Bind(wxEVT_LISTBOOK_PAGE_CHANGED, &CQAnPropSheet::OnPageChanged, this);
    Bind(wxEVT_BUTTON, &CQAnPropSheet::OnOk, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CQAnPropSheet::OnCancel, this, wxID_CANCEL);
    // The sheet opens on the formula editor.
    const size_t editor = m_pages.size() - 1;
    m_book->SetSelection(editor);
    m_pages[editor]->InitPage();
    m_pages[editor]->Logic().UpdateControls();
}

QAnPageWindow* CQAnPropSheet::ActivePage() const {
    const int at = m_book->GetSelection();
    return at >= 0 && size_t(at) < m_pages.size() ? m_pages[size_t(at)] : nullptr;
}

void CQAnPropSheet::OnPageChanged(wxBookCtrlEvent& event) {
    const int old = event.GetOldSelection();
    if (old >= 0 && size_t(old) < m_pages.size()) m_pages[size_t(old)]->CommitEdits();
    if (QAnPageWindow* page = ActivePage()) {
        page->InitPage();
        if (wxWindow* ok = FindWindow(wxID_OK)) ok->Enable(true);
        page->Logic().UpdateControls();
    }
    event.Skip();
}

void CQAnPropSheet::SaveStates() {
    for (QAnPageWindow* page : m_pages) page->SaveState();
}

void CQAnPropSheet::OnOk(wxCommandEvent&) {
    if (QAnPageWindow* page = ActivePage()) {
        page->CommitEdits();
        try {
            CollectResults(page->Logic(), m_results);
        } catch (CException* e) {
            // A choice no formula can name (a channel name with a quote): the user is told
            // and the sheet stays open.
            m_results = QAnResults();
            platform::Ui().MessageBox(e->GetErrorMessage(), CString(), MB_OK | MB_ICONERROR);
            e->Delete();
            return;
        }
    }
    SaveStates();
    EndModal(wxID_OK);
}

void CQAnPropSheet::OnCancel(wxCommandEvent&) {
    SaveStates();
    EndModal(wxID_CANCEL);
}

bool CQAnPropSheet::SmokePage(const CString& key) {
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i]->Logic().GetPageKey() != key) continue;
        if (m_smokeStage == 0) {
            m_smokeStage = 1;
            m_book->SetSelection(i);
            return false;
        }
        m_pages[i]->SmokeFill();
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        OnOk(ok);
        return !IsModal();
    }
    return false;
}

bool CQAnPropSheet::SmokeStep() {
    if (const char* key = std::getenv("TENVORIK_SMOKE_QAN_PAGE")) return SmokePage(CString(platform::Utf8ToWide(key)));
    // A user adds one calculated channel through the builder and confirms the sheet.
    auto* editor = dynamic_cast<CQAnFormulaEditorPg*>(ActivePage());
    if (!editor) return false;
    if (m_smokeStage == 0) {
        m_smokeStage = 1;
        // Later, so that the builder's own loop does not run inside the caller's step.
        CallAfter([editor] { editor->AddRow(); });
        return false;
    }
    if (editor->IsAdding()) return false;
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    OnOk(ok);
    return true;
}

bool RunQuickAnalysisSheet(wxWindow* parent, CTenvorikDoc& doc) {
    CQAnPropSheet sheet(parent, doc);
    if (sheet.ShowModal() != wxID_OK) return false;
    return doc.ApplyQuickAnalysis(sheet.GetResults());
}
