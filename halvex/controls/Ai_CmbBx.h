#pragma once
// The combo boxes: CAi_CmbBx remembers the texts its user chose in a small file, marks items
// as not selectable and shows tips for texts wider than their place; CAi_CmbBxDO completes
// what the user types from its list and reports new and unlisted texts to a window.
#include <wx/combobox.h>
#include <wx/odcombo.h>

#include <map>
#include <vector>

#include "halvex/controls/model/BindControls.h"
#include "halvex/controls/model/ComboLogic.h"

namespace halvex {

enum : int { alignLeft = 0, alignRight = 1, alignMiddle = 2 };

class CAi_CmbBx : public wxOwnerDrawnComboBox {
public:
    CAi_CmbBx(wxWindow* parent, wxWindowID id, bool toolTips = true, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize);

    void FillInOfTextes(const CString& path, int max);
    // False when the file could not be written (the texts stay to be saved again).
    bool SaveTextes(const CString& path);
    int IsTextes() const { return m_texts.Count(); }
    void AddOrJustSelectTextIn(const CString& text);
    void UpdateChoiseTextTime();
    CString FindText_(FindTextMode mode, const CString& text, int64_t* time) const {
        return m_texts.Find(mode, text, time);
    }
    const RememberedTexts& Texts() const { return m_texts; }

    static bool SelectItem(wxItemContainer* box, const CString& text);
    static bool DeleteItem(wxItemContainer* box, const CString& text);
    bool SelectItem(const CString& text) { return SelectItem(this, text); }
    bool DeleteItem(const CString& text) { return DeleteItem(this, text); }

    int SetDisabledItem(int index, int disable);
    bool IsItemDisabled(int index) const;
    void SetToolTip(int enable) { m_tipsEnabled = enable; }
    void SetTipText(int index, const wchar_t* text);
    // Where the drop-down list opens against the box.
    void SetListAlignment(int align);
    static void SetTooltipDelay(unsigned ms) { m_nDelayTime = ms; }
    static unsigned GetTooltipDelay() { return m_nDelayTime; }
    // The tip the closed box shows now (its item's own tip, or its text when too wide).
    CString CurrentTip() const;

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;

private:
    void Refill();
    void UpdateTip();
    static unsigned m_nDelayTime;
    RememberedTexts m_texts;
    bool m_tipMode;
    int m_tipsEnabled = 0;
    int m_align = alignLeft;
    std::vector<int> m_disabled;
    std::map<int, CString> m_tips;
    int m_lastGood = -1;
};

constexpr unsigned WM_USER_CMB_TEXT_ADDED = 0x400 + 40;
constexpr unsigned WM_USER_CMB_TEXT_NOT_LISTED = 0x400 + 41;
constexpr unsigned WM_USER_CMB_SEL_CHANGED = 0x400 + 42;

class CAi_CmbBxDO : public wxComboBox {
public:
    CAi_CmbBxDO(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);

    bool m_mayAddNew = false;
    bool m_reportUnlisted = false;
    bool m_warnIfKnown = false;
    int m_ctrlId = -1;
    CString m_warning;
    // Notifications are sent (not posted): lParam is the address of the text, valid for the call.
    NotifyWindow* m_notify = nullptr;
    CString m_typed;
    CString m_selected;
    int m_completeThisKey = 1;
    int m_completion = 1;
    bool m_dropInProgress = false;

    bool AddNewStrSelect(const CString& text) { return AddNew(text, true); }
    bool AddNewStrNoSelect(const CString& text) { return AddNew(text, false); }
    void FillInNewStrings(const std::vector<CString>* texts);
    void GetAllList(std::vector<CString>* texts) const;
    CString GetCurSelected() const;
    bool IsTheTextInList() const;
    bool IsTheTextInList(const CString& text) const;
    // The height the drop-down list takes for the items from the match on.
    int LastDropDownHeight() const { return m_dropHeight; }

private:
    bool AddNew(const CString& text, bool select);
    std::vector<CString> Items() const;
    void OnText(wxCommandEvent& e);
    void Complete();
    void OnEnter(wxCommandEvent& e);
    void OnKey(wxKeyEvent& e);
    void OnSelect(wxCommandEvent& e);
    void Send(unsigned message, const CString& text);
    bool m_inside = false;
    int m_dropHeight = 0;
};

}  // namespace halvex
