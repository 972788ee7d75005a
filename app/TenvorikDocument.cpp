#include "app/TenvorikDocument.h"

#include <wx/cmdproc.h>
#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

#include "app/CaptionBars.h"
#include "app/ChannelsDlg.h"
#include "app/CommandTable.h"
#include "app/CommentDlg.h"
#include "app/FileDialogNames.h"
#include "app/MultiplierDlg.h"
#include "app/FileInfoDlg.h"
#include "app/MainFrame.h"
#include "app/QAnPropSheet.h"
#include "app/TenvorikApp.h"
#include "app/WrongPlaceLocatorDlg.h"
#include "diagrams/DiffDiagramWnd.h"
#include "diagrams/ui/DiffDiagPane.h"
#include "diagrams/ui/PlaneDiagPane.h"
#include "document/TenvorikDoc.h"
#include "model/AppOptions.h"
#include "model/Channel.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {
// Title of the fault-location report's save dialog.
constexpr unsigned kReportSaveTitle = 9658;
}  // namespace

// The record's document, answering its window hooks through the framework's document.
class TenvorikDocument::RecordDoc final : public CTenvorikDoc {
public:
    explicit RecordDoc(TenvorikDocument& owner) : m_owner(owner) {}

    void UpdateAllViews() override { m_owner.UpdateAllViews(); }
    void UpdateDiagrams() override {
        if (CMainFrame* frame = GetMainFrame()) frame->UpdateDiagrams();
    }
    void SetModifiedFlag(bool modified = true) override {
        CTenvorikDoc::SetModifiedFlag(modified);
        m_owner.wxDocument::Modify(modified);
    }
    bool IsUtcForComtrade2013() const override { return TheAppOptions().utcForComtrade2013; }
    bool AskSaveModified() override {
        if (!IsModified()) return true;
        CString question;
        question.Format(LoadResString(62014).GetString(), FromWx(m_owner.GetUserReadableName()).GetString());
        switch (platform::Ui().MessageBox(question, CString(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
            case IDYES: return m_owner.Save();
            case IDNO: return true;
            default: return false;
        }
    }

    void ShowFaultLocationBar(const CString& text) override {
        CMainFrame* frame = GetMainFrame();
        if (!frame || !frame->GetResultBar()) return;
        frame->GetResultBar()->SetText(text);
        frame->ShowCaptionBar(frame->GetResultBar(), true);
    }
    void HideFaultLocationBar() override {
        CMainFrame* frame = GetMainFrame();
        if (frame && frame->GetResultBar()) frame->ShowCaptionBar(frame->GetResultBar(), false);
    }
    bool EditLineModel(WrongPlaceLocatorData& model) override {
        std::vector<CString> names;
        for (const auto& ch : m_oscillogram.m_channels) names.push_back(ch.GetName());
        WrongPlaceLocatorDlg dlg(m_owner.GetDocumentWindow(), model, std::move(names));
        if (dlg.ShowModal() != wxID_OK) return false;
        model = dlg.GetModel();
        return true;
    }
    bool EditCommentText(CStringA& text) override {
        CCommentDlg dlg(GetMainFrame(), *this, &text);
        return dlg.EditText(nullptr);
    }
    bool EditCommentItemText(CString& text) override {
        CCommentDlg dlg(GetMainFrame(), *this, text);
        return dlg.EditText(&text);
    }
    bool RunMultiplierDialog() override {
        return RunRatioEdit(*this, [this](MultiplierTable& table) {
            MultiplierDlg dlg(m_owner.GetDocumentWindow(), table);
            return dlg.ShowModal() == wxID_OK;
        });
    }
    bool ChooseColor(COLORREF& color) override {
        wxColourData data;
        data.SetColour(wxColour(GetRValue(color), GetGValue(color), GetBValue(color)));
        wxColourDialog dlg(m_owner.GetDocumentWindow(), &data);
        if (dlg.ShowModal() != wxID_OK) return false;
        const wxColour c = dlg.GetColourData().GetColour();
        color = RGB(c.Red(), c.Green(), c.Blue());
        return true;
    }
    bool RunQuickAnalysis() override { return RunQuickAnalysisSheet(m_owner.GetDocumentWindow(), *this); }
    void EnableDiffDiagramValues() override {
        CMainFrame* frame = GetMainFrame();
        auto* pane = frame ? dynamic_cast<DiffDiagPane*>(frame->GetDiagramWnd(kDiffDiagramBit)) : nullptr;
        if (pane) pane->Window().EnableShowValues();
        else CTenvorikDoc::EnableDiffDiagramValues();
    }
    bool AskFaultReportPath(CString& path) override {
        wxString filter = ToWx(LoadResString(9139));
        while (filter.EndsWith(wxS("|"))) filter.RemoveLast();
        // Beside the record, under its name; replacing an existing report is the user's
        // choice, asked first.
        CString folder, name;
        filedlg::ReportSavePlace(GetPathName(), L"txt", folder, name);
        wxFileDialog dlg(m_owner.GetDocumentWindow(), ToWx(LoadResString(kReportSaveTitle)), ToWx(folder), ToWx(name),
                         filter, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dlg.ShowModal() != wxID_OK) return false;
        wxString chosen = dlg.GetPath();
        if (wxFileName(chosen).GetExt().empty() && dlg.GetFilterIndex() == 0) chosen += wxS(".txt");
        path = FromWx(chosen);
        return true;
    }

    MergeChoice GetMergeChoice() const override {
        CMainFrame* frame = GetMainFrame();
        CMergeBar* bar = frame ? frame->GetMergeBar() : nullptr;
        if (!bar) return CTenvorikDoc::GetMergeChoice();
        return {bar->GetMergeMode(), bar->GetHostChannelName(), bar->GetPastedChannelName()};
    }
    void ShowMergeMessage(const CString& text) override {
        CTenvorikDoc::ShowMergeMessage(text);
        CMainFrame* frame = GetMainFrame();
        if (frame && frame->GetMergeBar()) frame->GetMergeBar()->ShowMessage(text);
    }
    void ShowMergeBar(bool show) override {
        CTenvorikDoc::ShowMergeBar(show);
        CMainFrame* frame = GetMainFrame();
        CMergeBar* bar = frame ? frame->GetMergeBar() : nullptr;
        if (!bar) return;
        if (show) {
            bar->FillChannelCombos(this);
            bar->ShowMessage(CString());
        }
        if (frame->IsCaptionBarShown(bar) != show) frame->ShowCaptionBar(bar, show);
    }

private:
    TenvorikDocument& m_owner;
};

namespace {

// Undo and redo are the record document's whole-record snapshots.
class SnapshotUndo final : public wxCommandProcessor {
public:
    explicit SnapshotUndo(CTenvorikDoc& doc) : m_doc(doc) {}
    bool Undo() override { return After(m_doc.Undo()); }
    bool Redo() override { return After(m_doc.Redo()); }
    bool CanUndo() const override { return m_doc.CanUndo(); }
    bool CanRedo() const override { return m_doc.CanRedo(); }

private:
    // The record changed whole: views, diagrams and the merge bar follow it.
    bool After(bool changed) {
        if (changed) m_doc.OnUndoRedo();
        return changed;
    }
    CTenvorikDoc& m_doc;
};

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(TenvorikDocument, wxDocument);

TenvorikDocument::TenvorikDocument() : m_model(std::make_unique<RecordDoc>(*this)) {
    Bind(wxEVT_UPDATE_UI, &TenvorikDocument::OnUpdateSave, this, wxID_SAVE);
    using commands::MenuId;
    using commands::ProgramId;
    Bind(wxEVT_MENU, &TenvorikDocument::OnRecordInfo, this, MenuId(ID_FILE_PARAMETERS));
    Bind(wxEVT_UPDATE_UI, &TenvorikDocument::OnUpdateRecordInfo, this, MenuId(ID_FILE_PARAMETERS));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        if (m_loading) return;
        ChannelsDlg dlg(GetDocumentWindow(), *m_model);
        dlg.ShowModal();
    }, MenuId(ID_CHANNEL_LIST));
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(!m_loading); }, MenuId(ID_CHANNEL_LIST));
    // Record-level commands whose bodies are here: fault location (the run, the line model,
    // the report), the header comment, loading another record's settings, the
    // cursor-difference panel, the merge bar's synchronisation and combination, and quick
    // analysis.
    for (int id : {int(ID_FAULT_LOCATION), int(ID_FAULT_LOCATION_PARAMS), int(ID_FAULT_REPORT), int(ID_OSC_COMMENTS),
                   int(ID_LOAD_SETTINGS), int(ID_CURSOR_DIFFERENCE), int(ID_MERGE_SYNC), int(ID_MERGE_COMBINE),
                   int(ID_QUICK_ANALYSIS)}) {
        Bind(wxEVT_MENU, [this](wxCommandEvent& e) {
            if (!m_loading) m_model->OnCommand(unsigned(ProgramId(e.GetId())));
        }, MenuId(id));
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
            const int command = ProgramId(e.GetId());
            const auto state = m_model->GetCommandState(unsigned(command));
            e.Enable(!m_loading && state.enabled);
            if (command == ID_FAULT_LOCATION || command == ID_CURSOR_DIFFERENCE) e.Check(state.checked);
        }, MenuId(id));
    }
}

TenvorikDocument::~TenvorikDocument() {
    // A read still running writes into the record's document: it ends before that goes.
    m_model->DropEarlyOpen();
}

CTenvorikDoc& TenvorikDocument::Model() { return *m_model; }

bool TenvorikDocument::IsSto() const {
    return HasFileType(m_model->GetPathName(), L".sto") || HasFileType(FromWx(GetFilename()), L".sto");
}

bool TenvorikDocument::StartOpen(const wxString& file) {
    if (!m_model->StartOpen(FromWx(file))) return false;
    m_loading = true;
    return true;
}

bool TenvorikDocument::OnOpenDocument(const wxString& file) {
    m_loading = true;
    const bool ok = m_model->OnOpenDocument(FromWx(file));
    m_loading = false;
    if (!ok) return false;
    wxString path = ToWx(m_model->GetPathName());
    if (path.empty()) path = file;
    // The title first: the views name their tabs from it when told of the new file.
    SetTitle(wxFileName(path).GetFullName());
    SetFilename(path, true);
    m_model->SetModifiedFlag(false);
    SetDocumentSaved(true);
    UpdateAllViews();
    return true;
}

bool TenvorikDocument::OnSaveDocument(const wxString& file) {
    if (!m_model->OnSaveDocument(FromWx(file))) return false;
    // An export keeps the tab, the title and the modified mark of the record.
    if (CTenvorikDoc::IsExportPath(FromWx(file))) return true;
    m_model->SetModifiedFlag(false);
    SetTitle(wxFileName(file).GetFullName());
    SetFilename(file, true);
    SetDocumentSaved(true);
    return true;
}

bool TenvorikDocument::OnSaveModified() { return m_model->SaveModified() && m_model->OnCloseDocument(); }

bool TenvorikDocument::OnCloseDocument() {
    // The questions were asked in OnSaveModified; only the framework's own clean-up is left.
    Modify(false);
    // The next record may be given this one's address: the plane diagrams must not take it
    // for the record whose block they already applied.
    if (CMainFrame* frame = GetMainFrame())
        for (int bit : {int(CHF_CIRCLE_DIAGRAM), kDiffDiagramBit})
            if (auto* plane = dynamic_cast<PlaneDiagPane*>(frame->GetDiagramWnd(bit)))
                plane->Plane().OnDocumentClosed(&Model());
    return wxDocument::OnCloseDocument();
}

bool TenvorikDocument::Save() {
    // A converted ".sto" record is saved only under a new name.
    if (IsSto()) return SaveAs();
    if (!IsModified() && GetDocumentSaved()) return true;
    return OnSaveDocument(GetFilename());
}

bool TenvorikDocument::SaveAs() {
    auto* manager = static_cast<CDocManagerEx*>(GetDocumentManager());
    CString name = m_model->GetPathName();
    if (name.IsEmpty()) name = FromWx(GetFilename());
    if (!manager->DoPromptFileName(name, false, GetDocumentWindow())) return false;
    if (!OnSaveDocument(ToWx(name))) return false;
    if (!CTenvorikDoc::IsExportPath(name)) manager->AddFileToHistory(ToWx(name));
    return true;
}

bool TenvorikDocument::IsModified() const { return m_model->IsModified(); }

void TenvorikDocument::Modify(bool modified) { m_model->SetModifiedFlag(modified); }

wxCommandProcessor* TenvorikDocument::OnCreateCommandProcessor() { return new SnapshotUndo(*m_model); }

void TenvorikDocument::OnUpdateSave(wxUpdateUIEvent& event) {
    if (IsSto())
        event.Enable(false);
    else
        event.Skip();
}

void TenvorikDocument::OnRecordInfo(wxCommandEvent&) {
    FileInfoDlg dlg(GetDocumentWindow(), *m_model);
    dlg.ShowModal();
}

void TenvorikDocument::OnUpdateRecordInfo(wxUpdateUIEvent& event) { event.Enable(!m_loading); }
