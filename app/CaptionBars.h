#pragma once
// The three caption bars under the ribbon: the fault-location result, the channel merge and
// the parameters of the active record.
#include <wx/panel.h>

#include <utility>
#include <vector>

#include "app/CaptionBarLogic.h"

#include "platform/CString.h"

class wxButton;
class wxChoice;
class CTenvorikDoc;

enum : int {
    IDC_RESULT_BAR = 221,
    IDC_MERGE_BAR = 223,
    IDC_PARAM_BAR = 810,
    ID_RESULT_BAR_CLOSED = 32830,
    IDC_MERGE_MODE = 1088,
    IDC_MERGE_HOST = 1089,
    IDC_MERGE_PASTED = 1090,
    IDC_MERGE_SYNC = 1091,
    IDC_MERGE_COMBINE = 1092,
    ID_TOGGLE_PARAM_BAR = 142,
};

// The fault-location result: the short text on the left, "Сохранить..." on the right (it
// saves the report), and a close button. Hidden by the user, it tells the frame with its
// command, which then takes the result away.
class CMsgCaptionBar : public wxPanel {
public:
    explicit CMsgCaptionBar(wxWindow* parent);
    void SetText(const CString& text);
    CString GetText() const { return m_text; }
    // The command sent when the user closes the bar.
    int m_notifyCommand = ID_RESULT_BAR_CLOSED;

private:
    void OnPaint(wxPaintEvent&);
    void OnSize(wxSizeEvent&);
    void Place();
    CString m_text;
    wxButton* m_save = nullptr;
    wxButton* m_close = nullptr;
};

// The channel merge: the mode, the receiving record's channel and the pasted channel, and the
// two merge buttons, whose commands the document's channel merger answers.
class CMergeBar : public wxPanel {
public:
    explicit CMergeBar(wxWindow* parent);
    // Fills the two channel lists from the active document and selects their first names.
    void FillChannelCombos(const CTenvorikDoc* doc);
    CString GetHostChannelName() const;
    CString GetPastedChannelName() const;
    int GetMergeMode() const;
    CString GetText() const { return m_text; }
    // The bar's caption text, repainted at once.
    void ShowMessage(const CString& text);
    // The user closes the bar: the channels pasted into the active record are taken out.
    void Close();

    // The labels and the message as the bar draws them, with their places.
    std::vector<std::pair<wxString, wxRect>> TextPlaces() const;

private:
    void OnPaint(wxPaintEvent&);
    void OnSize(wxSizeEvent&);
    void OnModeChanged(wxCommandEvent&);
    void EnableChannelCombos();
    // The parts placed by their texts' extents in the bar's present width.
    captionbar::MergeBarLayout ComputeLayout() const;
    void Relayout();
    captionbar::MergeBarLayout m_layout;
    bool m_keyPress = false;  // a key is pressing one of the buttons
    CString m_text;
    wxButton* m_close = nullptr;
    wxChoice* m_mode = nullptr;
    wxChoice* m_host = nullptr;
    wxChoice* m_pasted = nullptr;
    wxButton* m_sync = nullptr;
    wxButton* m_combine = nullptr;
};

// The station, recorder, start, trigger moment and duration of the active record.
class CParamOscBar : public wxPanel {
public:
    explicit CParamOscBar(wxWindow* parent);
    // The texts shown, as "label value" lines (for the smoke report).
    CString GetText() const;

private:
    void OnPaint(wxPaintEvent&);
};

// The record document of the frame's active document, or none.
CTenvorikDoc* ActiveRecordDoc();
