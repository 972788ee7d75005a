#include "halvex/grid/model/MFCFuncPropsBool.h"

#include "halvex/config/ArmDataInterface.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "halvex/helpers/HalvexResources.h"

namespace {

// Switches the rows named by `desc` for a boolean whose state is `state`: dependent rows follow
// the state, counter-dependent rows the opposite; each passes the rule on to its own rows.
void ApplyDependants(CMFCFuncPropsGridCtrl* grid, const FuncPropsBoolBase& desc, bool state) {
    if (!grid) return;
    std::vector<CString> names;
    desc.GetVecDependPropNames(names);
    for (const CString& name : names)
        grid->ForEachRuledRow([&](CMFCFuncPropsBase& row) {
            if (row.GetUniqueName() != name) return;
            row.Enable(state);
            row.ActionAllGridCtrl(!state, state);
        });
    desc.GetVecDependMinusPropNames(names);
    for (const CString& name : names)
        grid->ForEachRuledRow([&](CMFCFuncPropsBase& row) {
            if (row.GetUniqueName() != name) return;
            row.Enable(!state);
            row.ActionAllGridCtrl(state, !state);
        });
}

// Guards a row against its own rules coming back to it through a circle of dependencies,
// which would otherwise never end.
struct Acting {
    bool& flag;
    explicit Acting(bool& f) : flag(f) { flag = true; }
    ~Acting() { flag = false; }
};

}  // namespace

// --- true/false choice -----------------------------------------------------------------------

CMFCFuncPropsBool::CMFCFuncPropsBool(FuncPropsBoolBase* desc, bool value, uintptr_t data)
    : CMFCFuncPropsBase(desc->m_sCaption, GridValue::Bool(value), desc->m_sDescription, data), m_pDesc(desc) {
    SetUniqueName(desc->m_sKey);
    AddOption(m_strTrue);
    AddOption(m_strFalse);
    AllowEdit(false);
}

bool CMFCFuncPropsBool::OnUpdateValue(const CString& editText) {
    const bool result = CMFCFuncPropsBase::OnUpdateValue(editText);
    ActionAllGridCtrl(false, true);
    return result;
}

CString CMFCFuncPropsBool::GetCurrValue() {
    if (!m_pDesc->m_bHasDisabledValue || IsEnabled())
        return GetValue().b ? FuncPropsBoolBase::m_sTrue : FuncPropsBoolBase::m_sFalse;
    return m_pDesc->GetDisabledValue();
}

void CMFCFuncPropsBool::ActionAllGridCtrl(bool useGiven, bool given) {
    if (m_bActing) return;
    Acting acting(m_bActing);
    ApplyDependants(GetFuncGrid(), *m_pDesc, useGiven ? given : GetValue().b);
}

// --- check box -------------------------------------------------------------------------------

CMFCFuncPropsCheckBox::CMFCFuncPropsCheckBox(FuncPropsBoolBase* desc, bool value, uintptr_t data)
    : CMFCFuncPropsBase(desc->m_sCaption, GridValue::Int(value ? -1 : 0), desc->m_sDescription, data),
      m_pDesc(desc) {
    SetUniqueName(desc->m_sKey);
}

bool CMFCFuncPropsCheckBox::OnUpdateValue(const CString&) { return OnChangeBoolValue(); }

CString CMFCFuncPropsCheckBox::GetCurrValue() {
    if (!m_pDesc->m_bHasDisabledValue || IsEnabled()) return IsChecked() ? FuncPropsBoolBase::m_sTrue : FuncPropsBoolBase::m_sFalse;
    return m_pDesc->GetDisabledValue();
}

void CMFCFuncPropsCheckBox::ActionAllGridCtrl(bool useGiven, bool given) {
    if (m_bActing) return;
    Acting acting(m_bActing);
    ApplyDependants(GetFuncGrid(), *m_pDesc, useGiven ? given : IsChecked());
}

void CMFCFuncPropsCheckBox::Toggle() { SetValue(GridValue::Int(IsChecked() ? 0 : -1)); }

bool CMFCFuncPropsCheckBox::OnClickName(bool inBox) {
    if (inBox && IsEnabled()) {
        Toggle();
        OnChangeBoolValue();
        Redraw();
    }
    return true;
}

bool CMFCFuncPropsCheckBox::OnDblClk(bool inBox) {
    if (inBox && IsEnabled()) return true;
    if (IsEnabled()) {
        Toggle();
        OnChangeBoolValue();
    }
    return true;
}

bool CMFCFuncPropsCheckBox::PushChar(unsigned key) {
    if (key == L' ') OnDblClk(false);
    return true;
}

bool CMFCFuncPropsCheckBox::OnChangeBoolValue() {
    NotifyParentChanged();
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (grid && grid->GetSafeHwnd() && grid->IsFloating() && !grid->m_bPreClosed) ApplyOnFloatingProps();
    ActionAllGridCtrl(false, true);
    return true;
}

// --- use in the users' schemes ---------------------------------------------------------------

bool CMFCFuncPropsCheckUseInOrgIspUsers::OnChangeBoolValue() {
    static bool questionOpen = false;
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    const bool guarded = !IsChecked() && grid && !grid->m_bPreClosed && IsEnabled() && IsFloatingProps() &&
                         grid->IsEditedOutputUsedInUsersSchemes();
    if (!guarded) return CMFCFuncPropsCheckBox::OnChangeBoolValue();
    // The question is open already: this change waits for its answer and is refused.
    if (questionOpen) return false;
    int answer = 0;
    {
        questionOpen = true;
        struct Close {
            ~Close() { questionOpen = false; }
        } close;
        answer = grid->Sink().MessageBox(HalvexLoadString(7313), MB_YESNO | MB_ICONQUESTION);
    }
    if (answer != IDYES) {
        SetValue(GridValue::Int(-1));
        return false;
    }
    if (grid->DisconnectEditedOutputFromUsersSchemes()) {
        if (grid->m_pArmDataInterface) grid->m_pArmDataInterface->OnUseInOrgIspUsersChanged();
        grid->InvalidateView(eChangeProjectUsersSchemes);
    }
    return CMFCFuncPropsCheckBox::OnChangeBoolValue();
}
