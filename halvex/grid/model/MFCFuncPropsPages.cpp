// The pages of scheme elements: which rows each kind shows, with which values and states.
#include "halvex/config/ArmDataInterface.h"
#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/SchemeFunc.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"

CString GridString(unsigned id) { return id ? HalvexLoadString(id) : CString(); }

CMFCFuncPropsBase* CMFCFuncPropsGridCtrl::AddDescriptorRow(FuncPropsBase* desc, const CString& value, bool enabled) {
    CMFCFuncPropsBase* row = KeepAndCreate(desc, value);
    if (!row) return nullptr;
    AddProperty(row, true, true);
    if (!enabled) row->Enable(false);
    return row;
}

void CMFCFuncPropsGridCtrl::SetBaseElemAndFill(SCHEME_BASE_ELEMENT* element) {
    m_pSchemeElem = element;
    m_eSchemeElemType = element ? element->GetSchemeElementType() : ESchemeElementType(0);
    FillByCurrentFuncElem();
}

void CMFCFuncPropsGridCtrl::SetOnlySchemeElementTypeAndFill(ESchemeElementType type) {
    m_pSchemeElem = nullptr;
    m_eSchemeElemType = type;
    FillByCurrentFuncElem();
}

void CMFCFuncPropsGridCtrl::FillByCurrentFuncElem() {
    if (!GetSafeHwnd()) return;
    ClearPage();
    if (!m_pArmDataInterface) return;
    switch (int(m_eSchemeElemType)) {
        case eSchElemFunc:
            if (auto* f = dynamic_cast<SCHEME_FUNC_ELEMENT*>(m_pSchemeElem)) FillByFuncElem(f);
            break;
        case eSchElemInput:
        case eSchElemOutput:
            if (auto* io = dynamic_cast<SCHEME_INOUT*>(m_pSchemeElem)) FillByInOutElem(io);
            break;
        default:
            // Blocks and decoration elements have no page in this library yet.
            break;
    }
}

void CMFCFuncPropsGridCtrl::FillByFuncElem(SCHEME_FUNC_ELEMENT* element) {
    SCHEME_FUNC* func = element ? element->GetSchemeFunc(m_pArmDataInterface) : nullptr;
    if (!func) return;
    FillByDescriptors(func->m_vProps, [element](FuncPropsBase& d) {
        return element->GetFuncPropValue(d.m_sKey, d.GetDefaultValue());
    });
}

void CMFCFuncPropsGridCtrl::FillByInOutElem(SCHEME_INOUT* element) {
    if (!element) return;
    ArmDataInterface* host = m_pArmDataInterface;
    const bool editable = element->CanRename();
    auto* output = dynamic_cast<SCHEME_OUTPUT*>(element);
    const int kind = int(element->m_eSchemeEditType);
    const CString& yes = FuncPropsBoolBase::m_sTrue;
    const CString& no = FuncPropsBoolBase::m_sFalse;
    auto flag = [&](bool v) { return editable && v ? yes : no; };

    auto* name = output ? GridDescriptor(new FuncPropsEditInOutName, m_pEditInOutName, 7245, 7247)
                        : GridDescriptor(new FuncPropsEditInOutName, m_pEditInOutName, 7244, 7246);
    AddDescriptorRow(name, element->m_sName, editable);
    if (!output) return;

    AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pEditComment, 7248, 7248), output->GetComment(host),
                     editable);
    const bool channelProps = host && host->HasOutputChannelProps(output);
    if ((kind != 0 && kind != 1) || channelProps)
        AddDescriptorRow(GridDescriptor(new FuncPropsCheckBox, m_pAllowSignalsMatrix, 7249, 7250),
                         flag(output->m_bUseInSignalsMatrix), editable);
    if (kind != 0 && kind != 1 && kind != 5 && kind != 6)
        AddDescriptorRow(GridDescriptor(new FuncPropsCheckUseInOrgIspUsers, m_pAllowUsersSchemes, 7251, 7252),
                         flag(output->m_bUseInOrgIspUsers), editable);
    const bool asuForbidden = host && host->IsAsuUseForbidden();
    if ((kind == 1 || kind == 4 || kind == 5) && !asuForbidden)
        AddDescriptorRow(GridDescriptor(new FuncPropsCheckBox, m_pAllowUseInAsu, 7253, 7254),
                         flag(output->GetUseInAsu(host)), editable);
    if (kind == 1)
        AddDescriptorRow(GridDescriptor(new FuncPropsCheckBox, m_pAllowKtrUstavka, 7360, 7361),
                         flag(output->m_bUseInKtrUstavka), editable);
    if (kind == 6 && !channelProps)
        AddDescriptorRow(GridDescriptor(new FuncPropsEditDouble, m_pChannelCoeff, 7362, 7363),
                         output->GetChannelCoeff());
    if (kind == 6 || channelProps) {
        AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pChannelUnit, 7364, 7365), output->GetChannelUnit());
        AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pChannelPhase, 7366, 7367),
                         output->GetChannelPhase());
    }
    if (kind == 1 || kind == 4) {
        const int distSend = editable ? int(output->GetUseDistSend(host)) : 0;
        if (host && host->IsAsuUseForbidden()) {
            auto* combo = GridDescriptor(new FuncPropsCombo, m_pAllowUseDistSend, 7358, 7359);
            combo->m_vOptions = {GridString(7116), GridString(7357) + L"1", GridString(7357) + L"2"};
            CString value;
            value.Format(L"%d", distSend);
            AddDescriptorRow(combo, value, editable);
        } else if (!host || host->IsDistSendSupported()) {
            AddDescriptorRow(GridDescriptor(new FuncPropsCheckBox, m_pAllowUseNoChannel2DistSendSend, 7358, 7359),
                             flag(distSend != 0), editable);
        }
    }
}
