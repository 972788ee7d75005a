#pragma once
#include <wx/docview.h>

#include <memory>

class CTenvorikDoc;

// The framework's document around the program's document: it hands opening, saving, closing
// and undo to the record's document and answers what that document asks of the windows.
class TenvorikDocument : public wxDocument {
    wxDECLARE_DYNAMIC_CLASS(TenvorikDocument);

public:
    TenvorikDocument();
    ~TenvorikDocument() override;

    CTenvorikDoc& Model();
    // True while the loading thread owns the record: nothing may read it then.
    bool IsLoading() const { return m_loading; }

    // Starts reading the record before the document has its window (CTenvorikDoc::StartOpen);
    // the document counts as loading until OnOpenDocument has taken the record.
    bool StartOpen(const wxString& file);
    bool OnOpenDocument(const wxString& file) override;
    bool OnSaveDocument(const wxString& file) override;
    bool OnSaveModified() override;
    bool OnCloseDocument() override;
    bool Save() override;
    bool SaveAs() override;
    bool IsModified() const override;
    void Modify(bool modified) override;
    wxCommandProcessor* OnCreateCommandProcessor() override;

private:
    class RecordDoc;
    friend class RecordDoc;
    bool IsSto() const;
    void OnUpdateSave(wxUpdateUIEvent& event);
    void OnRecordInfo(wxCommandEvent&);
    void OnUpdateRecordInfo(wxUpdateUIEvent& event);

    std::unique_ptr<RecordDoc> m_model;
    bool m_loading = false;
};
