#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"

#include "halvex/grid/model/MFCFuncPropsBool.h"

namespace {

// How descriptors make the rows of this grid.
class GridItemFactory : public FuncPropsItemFactory {
public:
    CMFCFuncPropsBase* EditInt(FuncPropsEditInt* desc, int value, bool spin, int min, int max) override {
        auto* item = new CMFCFuncPropsEditInt(desc, value);
        if (spin) item->EnableSpinControl(true, min, max);
        return item;
    }
    CMFCFuncPropsBase* EditDouble(FuncPropsEditDouble* desc, double value) override {
        return new CMFCFuncPropsEditDouble(desc, value);
    }
    CMFCFuncPropsBase* EditText(FuncPropsEditText* desc, const CString& value, bool phase) override {
        if (phase) return new CMFCFuncPropsEditTextPhase(desc, value);
        return new CMFCFuncPropsEditText(desc, value);
    }
    CMFCFuncPropsBase* EditInOutName(FuncPropsEditInOutName* desc, const CString& value) override {
        return new CMFCFuncPropsEditInOutName(desc, value);
    }
    CMFCFuncPropsBase* Bool(FuncPropsBoolBase* desc, EBoolItem item, bool value) override {
        switch (item) {
            case eCheckBox: return new CMFCFuncPropsCheckBox(desc, value);
            case eCheckUseInOrgIspUsers: return new CMFCFuncPropsCheckUseInOrgIspUsers(desc, value);
            case eBool: break;
        }
        return new CMFCFuncPropsBool(desc, value);
    }
    CMFCFuncPropsBase* Combo(FuncPropsCombo* desc, int index, bool specSelect) override {
        auto* spec = dynamic_cast<FuncPropsComboSpecSelect*>(desc);
        if (specSelect && spec) return new CMFCFuncPropsComboSpecSelect(spec, index);
        return new CMFCFuncPropsCombo(desc, index);
    }
    CMFCFuncPropsBase* ArmObjCombo(FuncPropsArmObjCombo* desc, const std::vector<CString>& options,
                                   const CString& value) override {
        auto* item = new CMFCFuncPropsArmObjCombo(desc);
        // Every name the host gives is offered, a repeated one too.
        for (const CString& o : options) item->AddOption(o, false);
        if (!value.IsEmpty()) {
            item->SetValue(GridValue::Text(value));
            item->SetOriginalValue(item->GetValue());
        }
        item->AllowEdit(false);
        return item;
    }
};

}  // namespace

const wchar_t* const CMFCFuncPropsGridCtrl::m_pChannelPhase = L"ChannelPhase";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pChannelUnit = L"ChannelUnit";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pChannelCoeff = L"ChannelCoeff";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAllowUseNoChannel2DistSendSend = L"AllowUseNoChannel2DistSendSend";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAllowUseDistSend = L"AllowUseDistSend";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pLogicView = L"LogicView";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pSwitchPlace = L"SwitchPlace";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAliasPlace = L"AliasPlace";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAliasText = L"AliasText";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pBindingCommand = L"BindingCommand";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pBackgroundColor = L"BackgroundColor";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pRectHeight = L"RectHeight";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pRectWidth = L"RectWidth";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pLineLength = L"LineLength";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pLineWidth = L"LineWidth";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pLineStyle = L"LineStyle";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pLineColor = L"LineColor";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pDirection = L"Direction";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pOrientation = L"Orientation";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pEditText = L"EditText";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAllowKtrUstavka = L"AllowKtrUstavka";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAllowUseInAsu = L"AllowUseInAsu";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAllowUsersSchemes = L"AllowUsersSchemes";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pAllowSignalsMatrix = L"AllowSignalsMatrix";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pEditComment = L"EditComment";
const wchar_t* const CMFCFuncPropsGridCtrl::m_pEditInOutName = L"EditInOutName";

void CMFCFuncPropsGridCtrl::InstallItemFactory() {
    static GridItemFactory factory;
    FuncPropsItemFactory::Install(&factory);
}

namespace {
// Descriptors make their rows from the moment the library is loaded, before any grid exists.
[[maybe_unused]] const bool kItemFactoryInstalled = (CMFCFuncPropsGridCtrl::InstallItemFactory(), true);
}  // namespace

CMFCFuncPropsGridCtrl::CMFCFuncPropsGridCtrl() { InstallItemFactory(); }

CMFCFuncPropsGridCtrl::~CMFCFuncPropsGridCtrl() {
    // The rows point to the kept descriptors: they go first.
    SetObserver(nullptr);
    RemoveAll();
    m_vProps.clear();
}

void CMFCFuncPropsGridCtrl::ClearPage() {
    RemoveAll();
    m_vProps.clear();
}

CMFCFuncPropsBase* CMFCFuncPropsGridCtrl::KeepAndCreate(FuncPropsBase* desc, const CString& value) {
    m_vProps.emplace_back(desc);
    return desc->CreateMFCFuncPropsBase(value, m_pArmDataInterface);
}

void CMFCFuncPropsGridCtrl::ForEachRuledRow(const std::function<void(CMFCFuncPropsBase&)>& fn) const {
    for (int i = 0; i < GetPropertyCount(); ++i) {
        CMFCPropertyGridProperty* top = GetProperty(i);
        if (auto* row = dynamic_cast<CMFCFuncPropsBase*>(top)) {
            fn(*row);
            continue;
        }
        for (int k = 0; k < top->GetSubItemsCount(); ++k)
            if (auto* sub = dynamic_cast<CMFCFuncPropsBase*>(top->GetSubItem(k))) fn(*sub);
    }
}

void CMFCFuncPropsGridCtrl::ActionAllProps() {
    ForEachRuledRow([](CMFCFuncPropsBase& row) { row.ActionAllGridCtrl(false, true); });
}

void CMFCFuncPropsGridCtrl::FillByDescriptors(const std::vector<SmartPointer<FuncPropsBase>>& props,
                                              const std::function<CString(FuncPropsBase&)>& valueOf) {
    CString currentGroup;
    CMFCPropertyGridProperty* openGroup = nullptr;
    auto closeGroup = [&] {
        if (openGroup) AddProperty(openGroup, false, false);
        openGroup = nullptr;
    };
    for (const SmartPointer<FuncPropsBase>& p : props) {
        if (!p) continue;
        CMFCFuncPropsBase* item = p->CreateMFCFuncPropsBase(valueOf(*p), m_pArmDataInterface);
        if (!item) continue;
        if (p->m_sGroup.IsEmpty()) {
            closeGroup();
            currentGroup.Empty();
            AddProperty(item, false, false);
            continue;
        }
        if (p->m_sGroup != currentGroup || !openGroup) {
            closeGroup();
            currentGroup = p->m_sGroup;
            openGroup = new CMFCPropertyGridProperty(currentGroup);
        }
        openGroup->AddSubItem(item);
    }
    closeGroup();
    ActionAllProps();
    AdjustLayout();
    RedrawWindow();
}
