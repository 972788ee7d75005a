// The pages of scheme elements: which rows each kind shows, with which values and states.
#include "halvex/config/ArmDataInterface.h"
#include "halvex/config/ObjIconsHelper.h"
#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/SchemeBlockElement.h"
#include "halvex/scheme/SchemeDecor.h"
#include "halvex/scheme/SchemeFunc.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"

namespace {

constexpr unsigned kTextFontFlags = 8388865;

CString Decimal(int v) {
    CString s;
    s.Format(L"%d", v);
    return s;
}

std::vector<CString> Strings(std::initializer_list<unsigned> ids) {
    std::vector<CString> out;
    for (unsigned id : ids) out.push_back(GridString(id));
    return out;
}

CMFCFuncPropsColor* ColourRow(unsigned captionId, unsigned descriptionId, uint32_t argb) {
    auto* row = new CMFCFuncPropsColor(GridString(captionId), GridArgbToColor(argb), GridString(descriptionId));
    row->EnableOtherButton(GridString(7314) + L"...");
    row->EnableAutomaticButton(GridString(7282), RGB(0, 0, 0));
    return row;
}

FuncPropsEditInt* WidthDescriptor(unsigned descriptionId) {
    auto* width = GridDescriptor(new FuncPropsEditInt, CMFCFuncPropsGridCtrl::m_pLineWidth, 7267, descriptionId);
    width->SetMinValue(1);
    width->SetMaxValue(10);
    width->m_bSpin = true;
    return width;
}

FuncPropsCombo* StyleDescriptor(unsigned descriptionId) {
    auto* style = GridDescriptor(new FuncPropsCombo, CMFCFuncPropsGridCtrl::m_pLineStyle, 7093, descriptionId);
    style->m_vOptions = Strings({7270, 7271, 7272});
    return style;
}

}  // namespace

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

void CMFCFuncPropsGridCtrl::OnCreateWindow() {
    // A host may choose the element before it makes the grid's window; the page it asked for
    // is shown rather than left empty.
    const PendingFill pending = m_ePendingFill;
    m_ePendingFill = PendingFill::eNone;
    if (pending == PendingFill::eScheme) FillByCurrentFuncElem();
    else if (pending == PendingFill::eMimic) FillByCurrentMonElem();
}

void CMFCFuncPropsGridCtrl::FillByCurrentFuncElem() {
    if (!GetSafeHwnd()) {
        m_ePendingFill = PendingFill::eScheme;
        return;
    }
    m_ePendingFill = PendingFill::eNone;
    ClearPage();
    m_bMonPage = false;
    if (!m_pArmDataInterface) return;
    SCHEME_BASE_ELEMENT* e = m_pSchemeElem;
    switch (int(m_eSchemeElemType)) {
        case eSchElemFunc:
            if (auto* f = dynamic_cast<SCHEME_FUNC_ELEMENT*>(m_pSchemeElem)) FillByFuncElem(f);
            break;
        case eSchElemInput:
        case eSchElemOutput:
            if (auto* io = dynamic_cast<SCHEME_INOUT*>(m_pSchemeElem)) FillByInOutElem(io);
            break;
        case eSchElemBlock:
            if (auto* b = dynamic_cast<SCHEME_BLOCK_ELEMENT*>(e)) FillByBlockElem(b);
            break;
        case eSchElemText:
        case 6:  // a code text about to be placed
            if (auto* t = dynamic_cast<SCHEME_TEXT_ELEMENT*>(e)) FillByTextElem(t, t->m_bCodeStyle);
            else FillByTextElem(nullptr, int(m_eSchemeElemType) == 6);
            break;
        case eSchElemLine: FillByLineElem(dynamic_cast<SCHEME_LINE_ELEMENT*>(e)); break;
        case eSchElemRect: FillByRectElem(dynamic_cast<SCHEME_RECT_ELEMENT*>(e)); break;
        case eSchElemDynText: FillByDynamicElem(dynamic_cast<SCHEME_DYNAMIC_ELEMENT*>(e)); break;
        default: break;
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

void CMFCFuncPropsGridCtrl::FillByBlockElem(SCHEME_BLOCK_ELEMENT* element) {
    BLOCK_SCHEME* block = element ? element->GetBlockScheme(m_pArmDataInterface) : nullptr;
    if (!block) return;
    std::map<CString, EArmObjectType> props;
    std::vector<CString> errors;
    block->m_scheme.CollectBlockElemProps(m_pArmDataInterface, props, errors);
    for (const auto& [name, type] : props) {
        auto* desc = new FuncPropsArmObjCombo;
        desc->m_sKey = name;
        desc->m_sCaption = name;
        desc->m_sDescription = ObjIconsHelper::GetTypeName(type, false);
        desc->m_eArmObjType = type;
        auto stored = element->m_mapPropValues.find(name);
        // Kept with the page like every other descriptor: the row points to it.
        AddDescriptorRow(desc, stored == element->m_mapPropValues.end() ? CString() : stored->second);
    }
}

void CMFCFuncPropsGridCtrl::FillByTextElem(SCHEME_TEXT_ELEMENT* element, bool codeStyle) {
    const SCHEME_TEXT_ELEMENT fresh(codeStyle);
    const SCHEME_TEXT_ELEMENT& e = element ? *element : fresh;
    auto* text = GridDescriptor(new FuncPropsEditText, m_pEditText, 7255, 7256);
    text->m_bSilentReject = codeStyle;
    text->m_bNotEmpty = true;
    AddDescriptorRow(text, e.m_sText);
    if (codeStyle) return;
    LOGFONTW lf{};
    e.SetLogFont(lf);
    AddProperty(new CMFCFuncPropsFont(GridString(7257), lf, kTextFontFlags, GridString(7258), 0,
                                      GridArgbToColor(e.m_color)));
    auto* orientation = GridDescriptor(new FuncPropsCombo, m_pOrientation, 7259, 7260);
    orientation->m_vOptions = Strings({7261, 7262, 7263, 7264});
    AddDescriptorRow(orientation, Decimal(e.m_nOrientation));
}

void CMFCFuncPropsGridCtrl::FillByLineElem(SCHEME_LINE_ELEMENT* element) {
    const SCHEME_LINE_ELEMENT fresh;
    const SCHEME_LINE_ELEMENT& e = element ? *element : fresh;
    AddProperty(ColourRow(7265, 7266, e.m_color));
    AddDescriptorRow(WidthDescriptor(7268), Decimal(e.m_nWidth));
    AddDescriptorRow(StyleDescriptor(7269), Decimal(e.m_nDashStyle));
}

void CMFCFuncPropsGridCtrl::FillByRectElem(SCHEME_RECT_ELEMENT* element) {
    const SCHEME_RECT_ELEMENT fresh;
    const SCHEME_RECT_ELEMENT& e = element ? *element : fresh;
    AddDescriptorRow(WidthDescriptor(7273), Decimal(e.m_nLineWidth));
    AddProperty(ColourRow(7265, 7274, e.m_color));
    AddDescriptorRow(StyleDescriptor(7275), Decimal(e.m_nDashStyle));
}

void CMFCFuncPropsGridCtrl::FillByDynamicElem(SCHEME_DYNAMIC_ELEMENT* element) {
    const SCHEME_DYNAMIC_ELEMENT fresh;
    const SCHEME_DYNAMIC_ELEMENT& e = element ? *element : fresh;
    AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pAliasText, 7278, 7279), e.m_sAlias);
    auto* place = GridDescriptor(new FuncPropsCombo, m_pAliasPlace, 7285, 7286);
    place->m_vOptions = Strings({7287, 7288, 7289, 7290});
    AddDescriptorRow(place, Decimal(e.m_nAliasPlace));
}
