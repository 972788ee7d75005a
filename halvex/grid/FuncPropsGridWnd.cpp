#include "halvex/grid/FuncPropsGridWnd.h"

#include <wx/fontdlg.h>
#include <wx/propgrid/advprops.h>
#include <wx/propgrid/props.h>

#include <cairo.h>

#include <cmath>
#include <cwchar>
#include <functional>

#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace halvex {

namespace {

// Heights of LOGFONTW are pixels of a 96-dpi screen.
wxFont ToWxFont(const LOGFONTW& lf) {
    const double points = lf.lfHeight == 0 ? 10.0 : std::abs(lf.lfHeight) * 72.0 / 96.0;
    wxFontInfo info(points);
    info.FaceName(ToWx(CString(lf.lfFaceName)));
    info.Italic(lf.lfItalic != 0).Underlined(lf.lfUnderline != 0).Strikethrough(lf.lfStrikeOut != 0);
    wxFont font(info);
    if (lf.lfWeight > 0) font.SetNumericWeight(lf.lfWeight);
    return font;
}

LOGFONTW FromWxFont(const wxFont& font, LOGFONTW lf) {
    lf.lfHeight = -int(std::lround(font.GetFractionalPointSize() * 96.0 / 72.0));
    lf.lfWeight = font.GetNumericWeight();
    lf.lfItalic = font.GetStyle() != wxFONTSTYLE_NORMAL;
    lf.lfUnderline = font.GetUnderlined();
    lf.lfStrikeOut = font.GetStrikethrough();
    const CString face = FromWx(font.GetFaceName());
    std::wcsncpy(lf.lfFaceName, face.GetString(), LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return lf;
}

wxColour ToWxColour(COLORREF c) {
    if (c == COLORREF(-1)) c = 0;
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromWxColour(const wxColour& c) { return RGB(c.Red(), c.Green(), c.Blue()); }

// A picture of ours (premultiplied ARGB) as the toolkit's bitmap.
wxBitmap ToWxBitmap(const CBitmap& picture) {
    cairo_surface_t* s = picture.Surface();
    if (!s) return wxNullBitmap;
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    if (!data || w <= 0 || h <= 0) return wxNullBitmap;
    wxImage image(w, h);
    image.InitAlpha();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
            const unsigned a = p >> 24;
            auto channel = [&](unsigned v) { return (unsigned char)(a ? std::min(255u, v * 255 / a) : 0); };
            image.SetRGB(x, y, channel((p >> 16) & 0xFF), channel((p >> 8) & 0xFF), channel(p & 0xFF));
            image.SetAlpha(x, y, (unsigned char)a);
        }
    return wxBitmap(image);
}

// A font row: its text is shown, its button opens the font dialog of the row.
class FontRowProperty : public wxStringProperty {
public:
    FontRowProperty(const wxString& label, const wxString& name, const wxString& value, std::function<void()> press)
        : wxStringProperty(label, name, value), m_press(std::move(press)) {}
    const wxPGEditor* DoGetEditorClass() const override { return wxPGEditor_TextCtrlAndButton; }
    bool OnEvent(wxPropertyGrid* grid, wxWindow* primary, wxEvent& event) override {
        if (event.GetEventType() == wxEVT_BUTTON) {
            m_press();
            return false;
        }
        return wxStringProperty::OnEvent(grid, primary, event);
    }

private:
    std::function<void()> m_press;
};

}  // namespace

bool WxPropertyGridSink::ChooseFont(LOGFONTW& font, COLORREF& colour, unsigned) {
    wxFontData data;
    data.SetInitialFont(ToWxFont(font));
    data.EnableEffects(true);
    if (colour != COLORREF(-1)) data.SetColour(ToWxColour(colour));
    wxFontDialog dialog(m_parent, data);
    if (dialog.ShowModal() != wxID_OK) return false;
    const wxFontData& chosen = dialog.GetFontData();
    font = FromWxFont(chosen.GetChosenFont(), font);
    if (colour != COLORREF(-1) || chosen.GetColour().IsOk()) colour = FromWxColour(chosen.GetColour());
    return true;
}

FuncPropsGridWnd::FuncPropsGridWnd(wxWindow* parent, CMFCPropertyGridCtrl& model, wxWindowID id, const wxPoint& pos,
                                   const wxSize& size)
    : wxPropertyGrid(parent, id, pos, size, wxPG_DEFAULT_STYLE | wxPG_SPLITTER_AUTO_CENTER),
      m_model(&model),
      m_sink(this) {
    m_model->Create();
    m_model->SetObserver(this);
    if (!m_model->GetSinkPtr()) m_model->SetSink(&m_sink);
    Bind(wxEVT_PG_CHANGING, &FuncPropsGridWnd::OnChanging, this);
    Bind(wxEVT_PG_CHANGED, &FuncPropsGridWnd::OnChanged, this);
    Rebuild();
}

FuncPropsGridWnd::~FuncPropsGridWnd() { Detach(); }

void FuncPropsGridWnd::Detach() {
    if (!m_model) return;
    if (m_model->GetObserver() == this) m_model->SetObserver(nullptr);
    if (m_model->GetSinkPtr() == &m_sink) m_model->SetSink(nullptr);
    m_model->DestroyWindow();
    m_model = nullptr;
    m_rows.clear();
    m_props.clear();
    Clear();
}

wxPGProperty* FuncPropsGridWnd::PropertyOf(const CMFCPropertyGridProperty* row) const {
    auto it = m_props.find(row);
    return it == m_props.end() ? nullptr : it->second;
}

CMFCPropertyGridProperty* FuncPropsGridWnd::RowOf(const wxPGProperty* prop) const {
    auto it = m_rows.find(prop);
    return it == m_rows.end() ? nullptr : it->second;
}

void FuncPropsGridWnd::OnGridLayout() {
    // A page built again from inside an edit waits until the edit has ended.
    if (m_editing) {
        if (!m_layoutPending) {
            m_layoutPending = true;
            CallAfter([this] {
                m_layoutPending = false;
                Rebuild();
            });
        }
        return;
    }
    Rebuild();
}

void FuncPropsGridWnd::OnPropertyRedraw(CMFCPropertyGridProperty* row) {
    if (row == m_editing) return;
    if (wxPGProperty* prop = PropertyOf(row)) ShowRowValue(row, prop);
}

void FuncPropsGridWnd::Rebuild() {
    m_rows.clear();
    m_props.clear();
    Clear();
    if (!m_model) return;
    for (int i = 0; i < m_model->GetPropertyCount(); ++i) AppendRow(m_model->GetProperty(i), nullptr);
    Refresh();
}

void FuncPropsGridWnd::AppendRow(CMFCPropertyGridProperty* row, wxPGProperty* parent) {
    if (!row) return;
    const wxString name = wxString::Format("row%d", m_nextName++);
    const wxString label = ToWx(row->GetName());
    wxPGProperty* prop = nullptr;
    if (row->IsGroup()) {
        prop = new wxPropertyCategory(label, name);
    } else if (dynamic_cast<CMFCFuncPropsCheckBox*>(row)) {
        prop = new wxBoolProperty(label, name, false);
    } else if (dynamic_cast<CMFCFuncPropsFont*>(row)) {
        prop = new FontRowProperty(label, name, ToWx(row->FormatProperty()), [this, row] { PressButton(row); });
    } else if (auto* colour = dynamic_cast<CMFCFuncPropsColor*>(row)) {
        prop = new wxColourProperty(label, name, ToWxColour(colour->GetColor()));
    } else if (auto* icons = dynamic_cast<CIconListProp*>(row)) {
        wxPGChoices choices;
        for (int i = 0; i < icons->GetImageCount(); ++i) {
            const auto& texts = icons->GetTexts();
            wxPGChoiceEntry& entry =
                choices.Add(size_t(i) < texts.size() ? ToWx(texts[size_t(i)]) : wxString::Format("%d", i), i);
            entry.SetBitmap(ToWxBitmap(icons->GetImage(i)));
        }
        prop = new wxEnumProperty(label, name, choices);
    } else if (row->GetValue().kind == GridValue::eBool) {
        prop = new wxBoolProperty(label, name, false);
    } else if (!row->IsAllowEdit()) {
        wxPGChoices choices;
        for (int i = 0; i < row->GetOptionCount(); ++i) choices.Add(ToWx(row->GetOption(i)), i);
        prop = new wxEnumProperty(label, name, choices);
    } else if (auto* spin = dynamic_cast<CMFCFuncPropsEditInt*>(row); spin && spin->HasSpinControl()) {
        prop = new wxIntProperty(label, name, 0);
        prop->SetAttribute(wxPG_ATTR_MIN, spin->GetSpinMin());
        prop->SetAttribute(wxPG_ATTR_MAX, spin->GetSpinMax());
        prop->SetEditor(wxPGEditor_SpinCtrl);
    } else {
        prop = new wxStringProperty(label, name, wxString());
    }
    // Append would place a row without a group under the last category appended, so it would
    // hide with that group; the model's top-level rows go to the root, in their order.
    AppendIn(parent ? parent : GetRoot(), prop);
    if (dynamic_cast<CMFCFuncPropsCheckBox*>(row)) prop->SetAttribute(wxPG_BOOL_USE_CHECKBOX, true);
    prop->SetHelpString(ToWx(row->GetDescription()));
    m_rows[prop] = row;
    m_props[row] = prop;
    ShowRowValue(row, prop);
    for (int i = 0; i < row->GetSubItemsCount(); ++i) AppendRow(row->GetSubItem(i), prop);
}

void FuncPropsGridWnd::ShowRowValue(CMFCPropertyGridProperty* row, wxPGProperty* prop) {
    if (!row->IsGroup()) {
        if (auto* box = dynamic_cast<CMFCFuncPropsCheckBox*>(row)) {
            SetPropertyValue(prop, box->IsChecked());
        } else if (auto* colour = dynamic_cast<CMFCFuncPropsColor*>(row)) {
            wxVariant v;
            v << ToWxColour(colour->GetColor());
            SetPropertyValue(prop, v);
        } else if (row->GetValue().kind == GridValue::eBool) {
            SetPropertyValue(prop, row->GetValue().b);
        } else if (dynamic_cast<wxEnumProperty*>(prop)) {
            const CString shown = row->FormatProperty();
            int index = -1;
            for (int i = 0; i < row->GetOptionCount() && index < 0; ++i)
                if (row->GetOption(i) == shown) index = i;
            if (index < 0) SetPropertyValueUnspecified(prop);
            else SetPropertyValue(prop, index);
        } else if (dynamic_cast<wxIntProperty*>(prop)) {
            SetPropertyValue(prop, row->GetValue().i);
        } else {
            SetPropertyValue(prop, ToWx(row->FormatProperty()));
        }
    }
    EnableProperty(prop, row->IsEnabled());
}

void FuncPropsGridWnd::PressButton(CMFCPropertyGridProperty* row) {
    m_editing = row;
    row->OnClickButton();
    m_editing = nullptr;
    CallAfter([this, row] {
        if (wxPGProperty* p = PropertyOf(row)) ShowRowValue(row, p);
    });
}

void FuncPropsGridWnd::OnChanging(wxPropertyGridEvent& event) {
    wxPGProperty* prop = event.GetProperty();
    CMFCPropertyGridProperty* row = RowOf(prop);
    if (!row) return;
    const wxVariant value = event.GetValue();
    bool accepted = false;
    bool showAgain = true;  // the row may hold something else than the window was given
    m_editing = row;
    if (auto* box = dynamic_cast<CMFCFuncPropsCheckBox*>(row)) {
        const bool wanted = value.GetBool();
        if (wanted != box->IsChecked()) box->OnClickName(true);
        accepted = box->IsChecked() == wanted;
    } else if (dynamic_cast<CMFCFuncPropsFont*>(row)) {
        accepted = false;  // a font is chosen in its dialog, not typed
    } else if (dynamic_cast<CMFCFuncPropsColor*>(row)) {
        wxColour chosen;
        if (value.GetType() == "wxColourPropertyValue") {
            wxColourPropertyValue v;
            v << value;
            chosen = v.m_colour;
        } else {
            chosen << value;
        }
        CString text;
        text.Format(L"%d", int(FromWxColour(chosen)));
        accepted = row->OnUpdateValue(text);
    } else if (row->GetValue().kind == GridValue::eBool) {
        accepted = row->OnUpdateValue(value.GetBool() ? CMFCPropertyGridProperty::m_strTrue
                                                      : CMFCPropertyGridProperty::m_strFalse);
    } else if (dynamic_cast<wxEnumProperty*>(prop)) {
        accepted = row->OnUpdateValue(row->GetOption(int(value.GetLong())));
    } else if (dynamic_cast<wxIntProperty*>(prop)) {
        CString text;
        text.Format(L"%ld", value.GetLong());
        accepted = row->OnUpdateValue(text);
    } else {
        // A refused text stays in the editor, as typed, for the user to mend.
        accepted = row->OnUpdateValue(FromWx(value.GetString()));
        showAgain = accepted;
    }
    m_editing = nullptr;
    if (!accepted) {
        event.Veto();
        // The row has told the user why; the window adds nothing of its own.
        event.SetValidationFailureBehavior(showAgain ? 0 : wxPG_VFB_STAY_IN_PROPERTY);
    }
    if (showAgain && !accepted) CallAfter([this, row] {
            if (wxPGProperty* p = PropertyOf(row)) ShowRowValue(row, p);
        });
}

void FuncPropsGridWnd::OnChanged(wxPropertyGridEvent& event) {
    CMFCPropertyGridProperty* row = RowOf(event.GetProperty());
    if (!row) return;
    CallAfter([this, row] {
        if (wxPGProperty* p = PropertyOf(row)) ShowRowValue(row, p);
    });
}

}  // namespace halvex
