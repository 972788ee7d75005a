#include "halvex/grid/model/MFCFuncPropsFont.h"

#include <cmath>
#include <cstring>
#include <cwchar>

#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/ImageList.h"

uint32_t GridColorToArgb(COLORREF colour) {
    if (colour == COLORREF(-1)) return 0xFF000000u;
    return 0xFF000000u | (uint32_t(GetRValue(colour)) << 16) | (uint32_t(GetGValue(colour)) << 8) |
           uint32_t(GetBValue(colour));
}

COLORREF GridArgbToColor(uint32_t argb) {
    return RGB(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF));
}

// --- font ------------------------------------------------------------------------------------

CMFCFuncPropsFont::CMFCFuncPropsFont(const CString& name, const LOGFONTW& font, unsigned dialogFlags,
                                     const CString& description, uintptr_t data, COLORREF colour)
    : CMFCPropertyGridProperty(name, GridValue::Text(CString()), description, data),
      m_lf(font),
      m_dwFlags(dialogFlags),
      m_color(colour) {
    AllowEdit(false);
    SetValue(GridValue::Text(FormatProperty()));
    SetOriginalValue(GetValue());
}

CString CMFCFuncPropsFont::FormatProperty() {
    // Heights are pixels of a 96-dpi screen; the dialog speaks of points.
    const int points = int(std::lround(std::abs(m_lf.lfHeight) * 72.0 / 96.0));
    CString s;
    s.Format(L"%s, %d", m_lf.lfFaceName, points);
    return s;
}

void CMFCFuncPropsFont::OnClickButton() {
    CMFCPropertyGridCtrl* grid = GetGrid();
    if (!grid) return;
    LOGFONTW font = m_lf;
    COLORREF colour = m_color;
    if (!grid->Sink().ChooseFont(font, colour, m_dwFlags)) return;
    const bool fontChanged = std::memcmp(&font, &m_lf, sizeof font) != 0;
    const bool colourChanged = colour != m_color;
    m_lf = font;
    m_color = colour;
    SetValue(GridValue::Text(FormatProperty()));
    if (fontChanged || colourChanged) grid->OnPropertyChanged(this);
    ApplyOnAction();
}

// --- colour ----------------------------------------------------------------------------------

CMFCFuncPropsColor::CMFCFuncPropsColor(const CString& name, COLORREF colour, const CString& description,
                                       uintptr_t data)
    : CMFCPropertyGridProperty(name, GridValue::Int(int(colour)), description, data) {}

void CMFCFuncPropsColor::EnableAutomaticButton(const CString& label, COLORREF automatic, bool enable) {
    m_strAutoColor = enable ? label : CString();
    m_colorAutomatic = automatic;
}

void CMFCFuncPropsColor::EnableOtherButton(const CString& label, bool enable) {
    m_strOtherColor = enable ? label : CString();
}

bool CMFCFuncPropsColor::OnUpdateValue(const CString& editText) {
    const bool result = CMFCPropertyGridProperty::OnUpdateValue(editText);
    if (!result) return result;
    if (GetParent() && GetGrid()) GetGrid()->OnPropertyChanged(GetParent());
    ApplyOnAction();
    return result;
}

// --- icon list -------------------------------------------------------------------------------

CIconListProp::CIconListProp(const CString& name, const CImageList& images, int selected,
                             const std::vector<CString>* texts, const CString& description, uintptr_t data)
    : CMFCPropertyGridProperty(name, GridValue::Text(CString()), description, data) {
    m_size = images.GetIconSize();
    for (int i = 0; i < images.GetImageCount(); ++i) {
        CBitmap picture;
        picture.CreateTransparentBitmap(m_size.cx, m_size.cy);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&picture);
        images.Draw(&dc, i, POINT{0, 0}, ILD_TRANSPARENT);
        dc.SelectObject(old);
        m_images.push_back(picture);
    }
    if (texts) m_lstIconStrings = *texts;
    AllowEdit(false);
    for (int i = 0; i < int(m_images.size()); ++i) {
        CString option;
        option.Format(L"%d", i);
        AddOption(option);
    }
    CString value;
    value.Format(L"%d", selected);
    SetValue(GridValue::Text(value));
    SetOriginalValue(GetValue());
}

int CIconListProp::GetSelectedIndex() {
    const CString v = FormatProperty();
    if (v.IsEmpty()) return -1;
    return int(std::wcstol(v.GetString(), nullptr, 10));
}

void CIconListProp::OnDrawValue(CDC* dc, CRect rect) {
    if (!dc || FormatProperty().IsEmpty() || m_images.empty()) return;
    const int index = GetSelectedIndex();
    rect.DeflateRect(1, 1);
    const int side = rect.Height();
    if (index >= 0 && index < int(m_images.size())) {
        CDC source;
        source.CreateCompatibleDC(dc);
        CBitmap picture = m_images[size_t(index)];
        CBitmap* old = source.SelectObject(&picture);
        BLENDFUNCTION blend;
        blend.AlphaFormat = AC_SRC_ALPHA;
        dc->AlphaBlend(rect.left, rect.top, side, side, &source, 0, 0, m_size.cx, m_size.cy, blend);
        source.SelectObject(old);
    }
    if (index >= 0 && size_t(index) < m_lstIconStrings.size()) {
        CRect text(rect.left + side + 6, rect.top, rect.right, rect.bottom);
        dc->DrawText(m_lstIconStrings[size_t(index)], &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
}
