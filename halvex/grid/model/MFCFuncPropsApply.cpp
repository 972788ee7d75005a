// Writing accepted edits back into the scheme element the grid shows.
#include "halvex/config/ArmDataInterface.h"
#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "halvex/helpers/Ai_Str.h"
#include "halvex/scheme/SchemeBlockElement.h"
#include "halvex/scheme/SchemeDecor.h"
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
    // A mimic control's page writes nothing: the scheme element the grid still points to is
    // not the one shown.
    if (!grid || !grid->m_pArmDataInterface || !grid->m_pSchemeElem || grid->IsMonPage()) return;
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
            if (auto* b = dynamic_cast<SCHEME_BLOCK_ELEMENT*>(element)) ApplyByBlockElem(b);
            host->ElementChanged(3);
            break;
        case eSchElemText:
            if (auto* t = dynamic_cast<SCHEME_TEXT_ELEMENT*>(element)) ApplyByTextElem(t);
            host->ElementChanged(0);
            break;
        case eSchElemLine:
            if (auto* l = dynamic_cast<SCHEME_LINE_ELEMENT*>(element)) ApplyByLineElem(l);
            host->ElementChanged(0);
            break;
        case eSchElemRect:
            if (auto* r = dynamic_cast<SCHEME_RECT_ELEMENT*>(element)) ApplyByRectElem(r);
            host->ElementChanged(0);
            break;
        case eSchElemDynText:
            if (auto* d = dynamic_cast<SCHEME_DYNAMIC_ELEMENT*>(element)) ApplyByDynamicElem(d);
            host->ElementChanged(0);
            break;
        default:
            break;
    }
}

void CMFCFuncPropsBase::ApplyByFuncElem(SCHEME_FUNC_ELEMENT* element) {
    element->m_mapPropValues[GetUniqueName()] = GetCurrValue();
}

void CMFCFuncPropsBase::ApplyByBlockElem(SCHEME_BLOCK_ELEMENT* element) {
    element->m_mapPropValues[GetUniqueName()] = GetCurrValue();
}

void CMFCFuncPropsBase::ApplyByTextElem(SCHEME_TEXT_ELEMENT* element) {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (!grid || !grid->GetSafeHwnd()) return;
    const CString key = GetUniqueName();
    const CString value = GetCurrValue();
    if (key == CMFCFuncPropsGridCtrl::m_pEditText) {
        if (value.IsEmpty()) return;
        element->m_sText = value;
    } else if (key == CMFCFuncPropsGridCtrl::m_pOrientation) {
        element->m_nOrientation = DecimalValue(value);
    } else {
        return;
    }
    grid->CorrectScrollViewSize();
    grid->InvalidateView(eChangeProjectLook);
}

void CMFCFuncPropsBase::ApplyByLineElem(SCHEME_LINE_ELEMENT* element) {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (!grid || !grid->GetSafeHwnd()) return;
    const CString key = GetUniqueName();
    if (key == CMFCFuncPropsGridCtrl::m_pLineWidth) element->m_nWidth = DecimalValue(GetCurrValue());
    else if (key == CMFCFuncPropsGridCtrl::m_pLineStyle) element->m_nDashStyle = DecimalValue(GetCurrValue());
    else return;
    grid->InvalidateView(eChangeProjectLook);
}

void CMFCFuncPropsBase::ApplyByRectElem(SCHEME_RECT_ELEMENT* element) {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (!grid || !grid->GetSafeHwnd()) return;
    const CString key = GetUniqueName();
    if (key == CMFCFuncPropsGridCtrl::m_pLineWidth) element->m_nLineWidth = DecimalValue(GetCurrValue());
    else if (key == CMFCFuncPropsGridCtrl::m_pLineStyle) element->m_nDashStyle = DecimalValue(GetCurrValue());
    else return;
    grid->InvalidateView(eChangeProjectLook);
}

void CMFCFuncPropsBase::ApplyByDynamicElem(SCHEME_DYNAMIC_ELEMENT* element) {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (!grid || !grid->GetSafeHwnd()) return;
    const CString key = GetUniqueName();
    const CString value = GetCurrValue();
    if (key == CMFCFuncPropsGridCtrl::m_pEditText) {
        if (value.IsEmpty()) return;
        element->m_sText = value;
    } else if (key == CMFCFuncPropsGridCtrl::m_pAliasPlace) {
        element->m_nAliasPlace = DecimalValue(value);
    } else if (key == CMFCFuncPropsGridCtrl::m_pAliasText) {
        element->m_sAlias = value;
    } else {
        return;
    }
    grid->CorrectScrollViewSize();
    grid->InvalidateView(eChangeProjectLook);
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

namespace {

// The grid whose scheme element a font or colour row may change at once; null when none.
CMFCFuncPropsGridCtrl* FloatingSchemeGrid(CMFCPropertyGridCtrl* grid) {
    auto* g = dynamic_cast<CMFCFuncPropsGridCtrl*>(grid);
    if (!g || !g->IsFloating() || !g->m_pArmDataInterface || !g->m_pSchemeElem || g->IsMonPage()) return nullptr;
    return g;
}

}  // namespace

void CMFCFuncPropsFont::ApplyOnAction() {
    CMFCFuncPropsGridCtrl* grid = FloatingSchemeGrid(GetGrid());
    if (!grid || grid->m_pSchemeElem->GetSchemeElementType() != eSchElemText) return;
    auto* text = dynamic_cast<SCHEME_TEXT_ELEMENT*>(grid->m_pSchemeElem);
    if (!text) return;
    text->SetArmFont(m_lf);
    text->m_color = GridColorToArgb(m_color);
    grid->CorrectScrollViewSize();
    grid->InvalidateView(eChangeProjectLook);
}

void CMFCFuncPropsColor::ApplyOnAction() {
    CMFCFuncPropsGridCtrl* grid = FloatingSchemeGrid(GetGrid());
    if (!grid) return;
    const uint32_t argb = GridColorToArgb(GetColor());
    SCHEME_BASE_ELEMENT* element = grid->m_pSchemeElem;
    switch (int(element->GetSchemeElementType())) {
        case eSchElemLine:
            if (auto* l = dynamic_cast<SCHEME_LINE_ELEMENT*>(element)) l->m_color = argb;
            break;
        case eSchElemRect:
            if (auto* r = dynamic_cast<SCHEME_RECT_ELEMENT*>(element)) r->m_color = argb;
            break;
        case eSchElemDynText:
            if (auto* d = dynamic_cast<SCHEME_DYNAMIC_ELEMENT*>(element)) d->m_colorDisplay = argb;
            break;
        default:
            return;
    }
    grid->InvalidateView(eChangeProjectLook);
}
