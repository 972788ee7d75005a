// Writing accepted edits back into the scheme element the grid shows.
#include "halvex/config/ArmDataInterface.h"
#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "halvex/helpers/Ai_Str.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"

namespace {

// An output's name as the assignment table can take it: no backslash or comma, at most 64
// characters. The finding's message is shown; false when there was one.
bool CheckOutputName(CMFCPropertyGridCtrl& grid, const CString& name) {
    const CAi_Str::ETypeErrorSymbol found =
        CAi_Str::CheckForbiddenSymbols(name, 2, true, true, CString(), true, CString(), 64, CString());
    if (found == CAi_Str::eTypeErrorNone) return true;
    grid.Sink().MessageBox(CAi_Str::GetETypeErrorSymbolToString(found, L"\\ ,", 64, CString()), MB_ICONINFORMATION);
    return false;
}

int DecimalValue(const CString& text) { return FuncPropsToInt(text); }

}  // namespace

void CMFCFuncPropsBase::ApplyOnFloatingProps() {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (!grid || !grid->m_pArmDataInterface || !grid->m_pSchemeElem) return;
    ArmDataInterface* host = grid->m_pArmDataInterface;
    SCHEME_BASE_ELEMENT* element = grid->m_pSchemeElem;
    host->PrepareElementChange(0, 0);
    switch (int(element->GetSchemeElementType())) {
        case eSchElemFunc:
            if (auto* f = dynamic_cast<SCHEME_FUNC_ELEMENT*>(element)) ApplyByFuncElem(f);
            host->ElementChanged(3);
            break;
        case eSchElemInput:
        case eSchElemOutput:
            if (auto* io = dynamic_cast<SCHEME_INOUT*>(element)) ApplyByInOutElem(io);
            host->ElementChanged(3);
            break;
        case eSchElemBlock:
            host->ElementChanged(3);
            break;
        case eSchElemText:
        case eSchElemLine:
        case eSchElemRect:
        case eSchElemDynText:
            host->ElementChanged(0);
            break;
        default:
            break;
    }
}

void CMFCFuncPropsBase::ApplyByFuncElem(SCHEME_FUNC_ELEMENT* element) {
    element->m_mapPropValues[GetUniqueName()] = GetCurrValue();
}

void CMFCFuncPropsBase::ApplyByInOutElem(SCHEME_INOUT* element) {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    const CString key = GetUniqueName();
    const CString value = GetCurrValue();
    auto* output = dynamic_cast<SCHEME_OUTPUT*>(element);
    if (key == CMFCFuncPropsGridCtrl::m_pEditInOutName) {
        if (output && output->m_bUseInSignalsMatrix && !CheckOutputName(*grid, value)) {
            ResetOriginalValue();
            return;
        }
        if (grid->GetSafeHwnd()) grid->ApplyByInOutRename(element, value);
        return;
    }
    if (!output) return;
    if (key == CMFCFuncPropsGridCtrl::m_pEditComment) {
        output->m_sComment = value;
    } else if (key == CMFCFuncPropsGridCtrl::m_pAllowSignalsMatrix) {
        const bool use = value == FuncPropsBoolBase::m_sTrue;
        if (use && !CheckOutputName(*grid, output->m_sName)) {
            SetValue(GridValue::Int(0));
            return;
        }
        output->m_bUseInSignalsMatrix = use;
    } else if (key == CMFCFuncPropsGridCtrl::m_pAllowUsersSchemes) {
        output->m_bUseInOrgIspUsers = value == FuncPropsBoolBase::m_sTrue;
    } else if (key == CMFCFuncPropsGridCtrl::m_pAllowUseInAsu) {
        output->m_bUseInAsu = value == FuncPropsBoolBase::m_sTrue;
    } else if (key == CMFCFuncPropsGridCtrl::m_pAllowKtrUstavka) {
        output->m_bUseInKtrUstavka = value == FuncPropsBoolBase::m_sTrue;
    } else if (key == CMFCFuncPropsGridCtrl::m_pChannelCoeff) {
        output->m_sChannelCoeff = value;
    } else if (key == CMFCFuncPropsGridCtrl::m_pChannelUnit) {
        output->m_sChannelUnit = value;
    } else if (key == CMFCFuncPropsGridCtrl::m_pChannelPhase) {
        output->m_sChannelPhase = value;
    } else if (key == CMFCFuncPropsGridCtrl::m_pAllowUseDistSend) {
        const int v = DecimalValue(value);
        output->m_eUseDistSend = v >= 0 && v <= 2 ? EUseDistSend(v) : eUseDistSendNone;
    } else if (key == CMFCFuncPropsGridCtrl::m_pAllowUseNoChannel2DistSendSend) {
        output->m_eUseDistSend = value == FuncPropsBoolBase::m_sTrue ? eUseDistSendChannel1 : eUseDistSendNone;
    }
}

bool CMFCFuncPropsGridCtrl::IsEditedOutputUsedInUsersSchemes() {
    auto* output = dynamic_cast<SCHEME_OUTPUT*>(m_pSchemeElem);
    return output && output->GetSchemeElementType() == eSchElemOutput &&
           output->IsConnectedInSchemeEditType(m_pArmDataInterface, eSchemeEditUser);
}

bool CMFCFuncPropsGridCtrl::DisconnectEditedOutputFromUsersSchemes() {
    auto* output = dynamic_cast<SCHEME_OUTPUT*>(m_pSchemeElem);
    return output && output->DisconnectInSchemeEditTypeAndCorrectNames(m_pArmDataInterface, eSchemeEditUser);
}

// Fonts and colours of decoration elements are written once those elements are part of this
// library; until then the rows only report their change.
void CMFCFuncPropsFont::ApplyOnAction() {}

void CMFCFuncPropsColor::ApplyOnAction() {}
