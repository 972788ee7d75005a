#pragma once
// The property grid in which the host edits the selected element of a logic scheme or the
// selected control of a mimic screen: it knows the element, the host interface and the
// descriptors its rows point to, builds one row per property and applies the enabling rules.
// The host derives from it to react to renames, to say whether edits apply at once and to
// refresh its views.
#include <functional>
#include <vector>

#include "halvex/grid/model/MFCFuncPropsBase.h"
#include "halvex/mimic/ControlMonElem.h"
#include "halvex/scheme/SchemeBaseElement.h"
#include "halvex/scheme/SmartPointer.h"

class ArmDataInterface;
class SCHEME_FUNC_ELEMENT;
class SCHEME_INOUT;
class SCHEME_BLOCK_ELEMENT;
class SCHEME_TEXT_ELEMENT;
class SCHEME_LINE_ELEMENT;
class SCHEME_RECT_ELEMENT;
class SCHEME_DYNAMIC_ELEMENT;
class CONTROL_TEXT_ELEM;
class CONTROL_BUTTON_ELEM;
class CONTROL_EDIT_ELEM;
class CONTROL_ANALOG_ELEM;
class CONTROL_LOGIC_ELEM;
class CONTROL_SWITCH_ELEM;
class CONTROL_LINE_ELEM;
class CONTROL_RECT_ELEM;

// What changed in the project, for the host's views.
enum EChangeProject : int {
    eChangeProjectLook = 0,       // an element's look or text
    eChangeProjectUsersSchemes = 1 // an output was taken out of the users' schemes
};

class CMFCFuncPropsGridCtrl : public CMFCPropertyGridCtrl {
public:
    CMFCFuncPropsGridCtrl();
    ~CMFCFuncPropsGridCtrl() override;

    // --- the host's hooks ----------------------------------------------------------------------
    virtual void ApplyByInOutRename(SCHEME_INOUT* inout, const CString& name) {
        (void)inout;
        (void)name;
    }
    // Edits go into the element at once.
    virtual bool IsFloating() { return false; }
    // The scheme's extent may have changed.
    virtual void CorrectScrollViewSize() {}
    virtual void InvalidateView(EChangeProject change) { (void)change; }

    // --- what the grid shows -----------------------------------------------------------------
    // The page of a scheme element (null: an empty grid).
    void SetBaseElemAndFill(SCHEME_BASE_ELEMENT* element);
    // The page of a kind without an element: what a new element would get.
    void SetOnlySchemeElementTypeAndFill(ESchemeElementType type);
    void SetMonElemAndFill(CONTROL_MON_ELEM* control);
    void SetOnlyMonElementTypeAndFill(EControlMonType type);
    // Build the page again for the element or control and kind recorded. Asked before the
    // grid has its window, the page is built when the window comes.
    void FillByCurrentFuncElem();
    void FillByCurrentMonElem();
    // The page shows a mimic control: edits are the host's to read, and the scheme element the
    // grid may still point to is not touched.
    bool IsMonPage() const { return m_bMonPage; }

    // Applies the enabling rules of all rows (top level and one level into groups).
    void ActionAllProps();
    // Calls `fn` for every row the enabling rules reach: the top-level rows, and the direct
    // sub-rows of top-level rows that are not descriptor rows.
    void ForEachRuledRow(const std::function<void(CMFCFuncPropsBase&)>& fn) const;

    // Builds rows from descriptors in order, each showing `valueOf(descriptor)`: consecutive
    // descriptors of one group share a group row; a group that recurs gets a new group row.
    // The descriptors stay with their owner (a function definition).
    void FillByDescriptors(const std::vector<SmartPointer<FuncPropsBase>>& props,
                           const std::function<CString(FuncPropsBase&)>& valueOf);
    // Empties the page and releases the kept descriptors.
    void ClearPage();
    // Keeps `desc` for the life of the page and returns its row made for `value` (null when no
    // row could be made); the row is not yet added.
    CMFCFuncPropsBase* KeepAndCreate(FuncPropsBase* desc, const CString& value);

    // The factory through which descriptors make the rows of this grid.
    static void InstallItemFactory();

    // --- what the grid knows ---------------------------------------------------------------
    bool m_bPreClosed = false;
    ArmDataInterface* m_pArmDataInterface = nullptr;
    SCHEME_BASE_ELEMENT* m_pSchemeElem = nullptr;
    CONTROL_MON_ELEM* m_pMonElem = nullptr;
    std::vector<SmartPointer<FuncPropsBase>> m_vProps;  // kept descriptors of the page
    ESchemeElementType m_eSchemeElemType = ESchemeElementType(0);
    EControlMonType m_eMonElemType = EControlMonType(0);

    // --- keys of the rows made for element properties ---------------------------------------
    static const wchar_t* const m_pChannelPhase;
    static const wchar_t* const m_pChannelUnit;
    static const wchar_t* const m_pChannelCoeff;
    static const wchar_t* const m_pAllowUseNoChannel2DistSendSend;
    static const wchar_t* const m_pAllowUseDistSend;
    static const wchar_t* const m_pLogicView;
    static const wchar_t* const m_pSwitchPlace;
    static const wchar_t* const m_pAliasPlace;
    static const wchar_t* const m_pAliasText;
    static const wchar_t* const m_pBindingCommand;
    static const wchar_t* const m_pBackgroundColor;
    static const wchar_t* const m_pRectHeight;
    static const wchar_t* const m_pRectWidth;
    static const wchar_t* const m_pLineLength;
    static const wchar_t* const m_pLineWidth;
    static const wchar_t* const m_pLineStyle;
    static const wchar_t* const m_pLineColor;
    static const wchar_t* const m_pDirection;
    static const wchar_t* const m_pOrientation;
    static const wchar_t* const m_pEditText;
    static const wchar_t* const m_pAllowKtrUstavka;
    static const wchar_t* const m_pAllowUseInAsu;
    static const wchar_t* const m_pAllowUsersSchemes;
    static const wchar_t* const m_pAllowSignalsMatrix;
    static const wchar_t* const m_pEditComment;
    static const wchar_t* const m_pEditInOutName;

    // --- the edited output and the users' schemes --------------------------------------------
    // The edited element is an output that a users' scheme uses.
    bool IsEditedOutputUsedInUsersSchemes();
    // Takes the edited output out of the users' schemes; true when something changed.
    bool DisconnectEditedOutputFromUsersSchemes();

protected:
    // One page per kind.
    void FillByFuncElem(SCHEME_FUNC_ELEMENT* element);
    void FillByInOutElem(SCHEME_INOUT* element);
    void FillByBlockElem(SCHEME_BLOCK_ELEMENT* element);
    // `codeStyle`: a code text, which shows its text only.
    void FillByTextElem(SCHEME_TEXT_ELEMENT* element, bool codeStyle);
    void FillByLineElem(SCHEME_LINE_ELEMENT* element);
    void FillByRectElem(SCHEME_RECT_ELEMENT* element);
    void FillByDynamicElem(SCHEME_DYNAMIC_ELEMENT* element);
    void FillByMonTextElem(CONTROL_TEXT_ELEM* control);
    void FillByMonButtonElem(CONTROL_BUTTON_ELEM* control);
    void FillByMonEditElem(CONTROL_EDIT_ELEM* control);
    void FillByMonAnalogElem(CONTROL_ANALOG_ELEM* control);
    void FillByMonLogicElem(CONTROL_LOGIC_ELEM* control);
    void FillByMonSwitchElem(CONTROL_SWITCH_ELEM* control);
    void FillByMonLineElem(CONTROL_LINE_ELEM* control);
    void FillByMonRectElem(CONTROL_RECT_ELEM* control);

    // Keeps `desc`, makes its row for `value`, adds it (disabled when `enabled` is false) and
    // returns it.
    CMFCFuncPropsBase* AddDescriptorRow(FuncPropsBase* desc, const CString& value, bool enabled = true);

    void OnCreateWindow() override;

private:
    bool m_bMonPage = false;
    // The page asked for while the grid had no window.
    enum class PendingFill { eNone, eScheme, eMimic } m_ePendingFill = PendingFill::eNone;
};

// Gives a descriptor its key and its caption and description from the string table; returns it.
template <class D>
D* GridDescriptor(D* desc, const wchar_t* key, unsigned captionId, unsigned descriptionId);
CString GridString(unsigned id);

template <class D>
D* GridDescriptor(D* desc, const wchar_t* key, unsigned captionId, unsigned descriptionId) {
    desc->m_sKey = key ? key : L"";
    desc->m_sCaption = GridString(captionId);
    desc->m_sDescription = GridString(descriptionId);
    return desc;
}
