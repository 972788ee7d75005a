// The pages of mimic controls. The host reads the edited values back from the rows (by key, or
// by caption for the font and colour rows); nothing is written into a control here.
#include "halvex/config/ArmDataInterface.h"
#include "halvex/config/ArmObject.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "halvex/mimic/ControlLineElem.h"
#include "halvex/mimic/ControlLogicElem.h"
#include "halvex/mimic/ControlSizeElem.h"
#include "halvex/mimic/ControlTextElem.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiPlus.h"
#include "platform/draw/ImageList.h"

namespace {

constexpr unsigned kMimicFontFlags = 0x00800101;

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

CMFCFuncPropsFont* FontRow(const Arm_Font& font, Gdiplus::Color text) {
    LOGFONTW lf{};
    CONTROL_MON_ELEM::SetLogFontFromArmFont(font, lf);
    return new CMFCFuncPropsFont(GridString(7257), lf, kMimicFontFlags, GridString(7258), 0,
                                 GridArgbToColor(text.GetValue()));
}

CMFCFuncPropsColor* ColourRow(unsigned captionId, unsigned descriptionId, Gdiplus::Color colour,
                              COLORREF automatic) {
    auto* row = new CMFCFuncPropsColor(GridString(captionId), GridArgbToColor(colour.GetValue()),
                                       GridString(descriptionId));
    row->EnableOtherButton(GridString(7314) + L"...");
    row->EnableAutomaticButton(GridString(7282), automatic);
    return row;
}

}  // namespace

void CMFCFuncPropsGridCtrl::SetMonElemAndFill(CONTROL_MON_ELEM* control) {
    m_pMonElem = control;
    m_eMonElemType = control ? control->GetControlMonType() : EControlMonType(0);
    FillByCurrentMonElem();
}

void CMFCFuncPropsGridCtrl::SetOnlyMonElementTypeAndFill(EControlMonType type) {
    m_pMonElem = nullptr;
    m_eMonElemType = type;
    FillByCurrentMonElem();
}

void CMFCFuncPropsGridCtrl::FillByCurrentMonElem() {
    if (!GetSafeHwnd()) {
        m_ePendingFill = PendingFill::eMimic;
        return;
    }
    m_ePendingFill = PendingFill::eNone;
    ClearPage();
    m_bMonPage = true;
    if (!m_pArmDataInterface) return;
    CONTROL_MON_ELEM* c = m_pMonElem;
    switch (int(m_eMonElemType)) {
        case eControlMonText: FillByMonTextElem(dynamic_cast<CONTROL_TEXT_ELEM*>(c)); break;
        case eControlMonButton: FillByMonButtonElem(dynamic_cast<CONTROL_BUTTON_ELEM*>(c)); break;
        case eControlMonEdit: FillByMonEditElem(dynamic_cast<CONTROL_EDIT_ELEM*>(c)); break;
        case eControlMonAnalog: FillByMonAnalogElem(dynamic_cast<CONTROL_ANALOG_ELEM*>(c)); break;
        case eControlMonLogic: FillByMonLogicElem(dynamic_cast<CONTROL_LOGIC_ELEM*>(c)); break;
        case eControlMonSwitch: FillByMonSwitchElem(dynamic_cast<CONTROL_SWITCH_ELEM*>(c)); break;
        case eControlMonLine: FillByMonLineElem(dynamic_cast<CONTROL_LINE_ELEM*>(c)); break;
        case eControlMonRect: FillByMonRectElem(dynamic_cast<CONTROL_RECT_ELEM*>(c)); break;
        default: break;  // pictures have no page
    }
}

void CMFCFuncPropsGridCtrl::FillByMonTextElem(CONTROL_TEXT_ELEM* control) {
    const CONTROL_TEXT_ELEM fresh;
    const CONTROL_TEXT_ELEM& c = control ? *control : fresh;
    auto* text = GridDescriptor(new FuncPropsEditText, m_pEditText, 7255, 7256);
    text->m_bNotEmpty = true;
    AddDescriptorRow(text, c.m_sText);
    auto* orientation = GridDescriptor(new FuncPropsCombo, m_pOrientation, 7259, 7260);
    orientation->m_vOptions = Strings({7261, 7262, 7263, 7264});
    AddDescriptorRow(orientation, Decimal(c.m_nOrientation));
    AddProperty(FontRow(c.m_font, c.m_colorText));
}

void CMFCFuncPropsGridCtrl::FillByMonButtonElem(CONTROL_BUTTON_ELEM* control) {
    const CONTROL_BUTTON_ELEM fresh;
    const CONTROL_BUTTON_ELEM& c = control ? *control : fresh;
    auto* command = GridDescriptor(new FuncPropsComboSpecSelect, m_pBindingCommand, 7500, 7501);
    command->m_sTargetKey = m_pEditText;
    command->m_vOptions = {GridString(7502)};
    std::vector<ArmObject*> objects;
    m_pArmDataInterface->CollectArmObjects(objects, {EArmObjectType(12), EArmObjectType(11)}, 1023);
    CString displayType;
    m_pArmDataInterface->GetDefineValue(displayType, L"DISPLAY_TYPE");
    int chosen = 0;
    for (ArmObject* o : objects) {
        if (!o) continue;
        // Buttons of the terminal are offered only when the screen can show them.
        if (o->GetArmObjectType() == EArmObjectType(12) && (o->IsArmObjLocked() || displayType == L"640x480"))
            continue;
        command->m_vOptions.push_back(o->m_sName);
        if (control && !c.m_bTimeSync && o->m_sName == c.m_sCommandName) chosen = int(command->m_vOptions.size()) - 1;
    }
    AddDescriptorRow(command, Decimal(chosen));
    auto* caption = GridDescriptor(new FuncPropsEditText, m_pEditText, 7278, 7279);
    caption->m_bNotEmpty = true;
    AddDescriptorRow(caption, control ? c.m_sCaption : command->m_vOptions[0]);
    AddProperty(FontRow(c.m_font, c.m_colorText));
    AddProperty(ColourRow(7503, 7504, c.m_colorBackground,
                          GridArgbToColor(CONTROL_BUTTON_ELEM::m_colorDefaultBackground)));
}

void CMFCFuncPropsGridCtrl::FillByMonEditElem(CONTROL_EDIT_ELEM* control) {
    const CONTROL_EDIT_ELEM fresh;
    const CONTROL_EDIT_ELEM& c = control ? *control : fresh;
    auto* command = GridDescriptor(new FuncPropsCombo, m_pBindingCommand, 7500, 7501);
    command->m_vOptions = Strings({7505, 7506, 7507});
    AddDescriptorRow(command, Decimal(c.m_nBindingCommand));
    AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pAliasText, 7278, 7279), c.m_sAlias);
    auto* place = GridDescriptor(new FuncPropsCombo, m_pAliasPlace, 7285, 7286);
    place->m_vOptions = Strings({7287, 7288, 7289, 7290});
    AddDescriptorRow(place, Decimal(c.m_nAliasPlace));
    AddProperty(FontRow(c.m_font, c.m_colorText));
    AddProperty(ColourRow(7503, 7508, c.m_colorBackground,
                          GridArgbToColor(CONTROL_ALIAS_ELEM::m_colorDefaultBackground)));
}

void CMFCFuncPropsGridCtrl::FillByMonAnalogElem(CONTROL_ANALOG_ELEM* control) {
    const CONTROL_ANALOG_ELEM fresh;
    const CONTROL_ANALOG_ELEM& c = control ? *control : fresh;
    AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pAliasText, 7278, 7279), c.m_sAlias);
    auto* place = GridDescriptor(new FuncPropsCombo, m_pAliasPlace, 7285, 7286);
    place->m_vOptions = Strings({7287, 7288, 7289, 7290});
    AddDescriptorRow(place, Decimal(c.m_nAliasPlace));
    AddProperty(FontRow(c.m_font, c.m_colorText));
    AddProperty(ColourRow(7503, 7508, c.m_colorBackground,
                          GridArgbToColor(CONTROL_ALIAS_ELEM::m_colorDefaultBackground)));
}

void CMFCFuncPropsGridCtrl::FillByMonLogicElem(CONTROL_LOGIC_ELEM* control) {
    const CONTROL_LOGIC_ELEM fresh;
    const CONTROL_LOGIC_ELEM& c = control ? *control : fresh;
    AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pAliasText, 7278, 7279), c.m_sCaption);
    auto* place = GridDescriptor(new FuncPropsCombo, m_pAliasPlace, 7285, 7286);
    place->m_vOptions = Strings({7287, 7288});
    AddDescriptorRow(place, Decimal(c.m_nCaptionPlace));
    AddProperty(FontRow(c.m_font, c.m_colorText));
    AddProperty(ColourRow(7509, 7510, c.m_colorDisplay, GridArgbToColor(CONTROL_LOGIC_ELEM::m_colorDefault)));

    // The check box and the indicator, drawn as the screen draws them, on the grey that the
    // image list takes as transparent.
    CBitmap pictures;
    pictures.CreateTransparentBitmap(32, 16);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&pictures);
        dc.FillSolidRect(0, 0, 32, 16, RGB(0xC0, 0xC0, 0xC0));
        {
            Gdiplus::Graphics g(&dc);
            g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            const Gdiplus::Color green(0xFF008000);
            CONTROL_LOGIC_ELEM::DrawCheck(g, 16, 12, green, true, nullptr);
            g.TranslateTransform(16, 0);
            CONTROL_LOGIC_ELEM::DrawIndicator(g, 16, green, true, nullptr);
        }
        dc.SelectObject(old);
    }
    CImageList images;
    images.Create(16, 16);
    images.Add(&pictures, RGB(0xC0, 0xC0, 0xC0));
    const std::vector<CString> texts = Strings({7513, 7514});
    AddProperty(new CIconListProp(GridString(7511), images, c.m_bIndicator ? 1 : 0, &texts, GridString(7512)));
}

void CMFCFuncPropsGridCtrl::FillByMonSwitchElem(CONTROL_SWITCH_ELEM* control) {
    const CONTROL_SWITCH_ELEM fresh;
    const CONTROL_SWITCH_ELEM& c = control ? *control : fresh;
    AddDescriptorRow(GridDescriptor(new FuncPropsEditText, m_pAliasText, 7255, 7256), c.m_sAlias);
    auto* place = GridDescriptor(new FuncPropsCombo, m_pAliasPlace, 7515, 7516);
    place->m_vOptions = Strings({7287, 7288, 7289, 7290});
    AddDescriptorRow(place, Decimal(c.m_nAliasPlace));
    if (control) {
        AddProperty(FontRow(c.m_font, c.m_colorText));
    } else {
        const CONTROL_LOGIC_ELEM logic;
        AddProperty(FontRow(logic.m_font, logic.m_colorText));
    }
    auto* orientation = GridDescriptor(new FuncPropsCombo, m_pSwitchPlace, 7517, 7518);
    orientation->m_vOptions = Strings({7519, 7520});
    AddDescriptorRow(orientation, Decimal(c.m_nOrientation));
}

void CMFCFuncPropsGridCtrl::FillByMonLineElem(CONTROL_LINE_ELEM* control) {
    const CONTROL_LINE_ELEM fresh;
    const CONTROL_LINE_ELEM& c = control ? *control : fresh;
    AddProperty(ColourRow(7265, 7266, c.m_color, RGB(0, 0, 0)));
    auto* width = GridDescriptor(new FuncPropsEditInt, m_pLineWidth, 7267, 7268);
    width->SetMinValue(1);
    width->SetMaxValue(10);
    AddDescriptorRow(width, Decimal(c.m_nWidth));
    auto* style = GridDescriptor(new FuncPropsCombo, m_pLineStyle, 7093, 7269);
    style->m_vOptions = Strings({7270, 7271, 7272});
    AddDescriptorRow(style, Decimal(c.m_nStyle));
}

void CMFCFuncPropsGridCtrl::FillByMonRectElem(CONTROL_RECT_ELEM* control) {
    const CONTROL_RECT_ELEM fresh;
    const CONTROL_RECT_ELEM& c = control ? *control : fresh;
    AddProperty(ColourRow(7265, 7274, c.m_colorOutline, RGB(0, 0, 0)));
    auto* width = GridDescriptor(new FuncPropsEditInt, m_pLineWidth, 7267, 7273);
    width->SetMinValue(1);
    width->SetMaxValue(10);
    AddDescriptorRow(width, Decimal(c.m_nOutlineWidth));
    auto* style = GridDescriptor(new FuncPropsCombo, m_pLineStyle, 7093, 7275);
    style->m_vOptions = Strings({7270, 7271, 7272});
    AddDescriptorRow(style, Decimal(c.m_nStyle));
}
