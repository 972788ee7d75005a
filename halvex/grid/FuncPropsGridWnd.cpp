#include "halvex/grid/FuncPropsGridWnd.h"

#include <wx/colordlg.h>
#include <wx/propgrid/advprops.h>
#include <wx/renderer.h>
#include <wx/propgrid/props.h>

#include <cairo.h>

#include <cmath>
#include <cwchar>
#include <functional>

#include "halvex/grid/FontEffectsDialog.h"
#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/helpers/HalvexResources.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace halvex {

namespace {

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

// A colour row: its automatic colour, the colour it holds and the other-colour dialog, as the
// row offers them; each choice shows its colour in a swatch.
class ColourRowProperty : public wxEnumProperty {
public:
    enum Choice : long { kAutomatic = 0, kCurrent = 1, kOther = 2 };

    ColourRowProperty(const wxString& label, const wxString& name, const CMFCFuncPropsColor& row)
        : wxEnumProperty(label, name), m_row(row) {}

    // The choices for what the row holds now, with that one chosen.
    void ShowRow() {
        wxPGChoices choices;
        const COLORREF c = m_row.GetColor();
        const bool automatic = c == COLORREF(-1);
        if (!m_row.GetAutomaticLabel().IsEmpty()) choices.Add(ToWx(m_row.GetAutomaticLabel()), kAutomatic);
        if (!automatic || m_row.GetAutomaticLabel().IsEmpty()) {
            const COLORREF shown = automatic ? m_row.GetAutomaticColor() : c;
            choices.Add(wxString::Format("(%d,%d,%d)", GetRValue(shown), GetGValue(shown), GetBValue(shown)), kCurrent);
        }
        if (!m_row.GetOtherLabel().IsEmpty()) choices.Add(ToWx(m_row.GetOtherLabel()), kOther);
        SetChoices(choices);
        SetValue(wxVariant(automatic && !m_row.GetAutomaticLabel().IsEmpty() ? long(kAutomatic) : long(kCurrent)));
    }

    wxSize OnMeasureImage(int) const override { return wxPG_DEFAULT_IMAGE_SIZE; }

    void OnCustomPaint(wxDC& dc, const wxRect& rect, wxPGPaintData& paint) override {
        long choice = -1;
        if (paint.m_choiceItem >= 0) {
            if (unsigned(paint.m_choiceItem) < GetChoices().GetCount())
                choice = GetChoices().GetValue(unsigned(paint.m_choiceItem));
        } else if (!IsValueUnspecified()) {
            choice = GetValue().GetLong();
        }
        // The other-colour choice is a command, with no colour of its own.
        if (choice != kAutomatic && choice != kCurrent) {
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.SetPen(*wxTRANSPARENT_PEN);
            return;
        }
        const COLORREF c = choice == kAutomatic || m_row.GetColor() == COLORREF(-1) ? m_row.GetAutomaticColor()
                                                                                   : m_row.GetColor();
        dc.SetBrush(wxBrush(wxColour(GetRValue(c), GetGValue(c), GetBValue(c))));
        dc.SetPen(*wxGREY_PEN);
        dc.DrawRectangle(rect);
    }

private:
    const CMFCFuncPropsColor& m_row;
};

// The name cell of a check-box row: the box at its left, a square of the cell's height less a
// pixel on each side, and the name after it. The value cell stays empty.
class CheckBoxNameRenderer : public wxPGDefaultRenderer {
public:
    bool Render(wxDC& dc, const wxRect& rect, const wxPropertyGrid* grid, wxPGProperty* property, int column,
                int item, int flags) const override {
        if (column != 0 || item != -1) return wxPGDefaultRenderer::Render(dc, rect, grid, property, column, item, flags);
        const wxRect box = BoxIn(rect);
        int state = 0;
        if (property->GetValue().GetType() == "bool" && property->GetValue().GetBool()) state |= wxCONTROL_CHECKED;
        if (!property->IsEnabled()) state |= wxCONTROL_DISABLED;
        wxRendererNative::Get().DrawCheckBox(const_cast<wxPropertyGrid*>(grid), dc, box, state);
        wxRect rest = rect;
        rest.x = box.GetRight() + 1;
        rest.width = std::max(0, rect.GetRight() - rest.x + 1);
        return wxPGDefaultRenderer::Render(dc, rest, grid, property, column, item, flags);
    }
    static wxRect BoxIn(const wxRect& cell) {
        wxRect inner = cell;
        inner.Deflate(1);
        return wxRect(inner.x, inner.y, inner.height, inner.height);
    }
};

class CheckBoxRowProperty : public wxBoolProperty {
public:
    CheckBoxRowProperty(const wxString& label, const wxString& name) : wxBoolProperty(label, name, false) {
        // No editor: the box is changed by the mouse and the Space key only.
        ChangeFlag(wxPG_PROP_READONLY, true);
    }
    wxPGCellRenderer* GetCellRenderer(int column) const override {
        static CheckBoxNameRenderer renderer;
        return column == 0 ? &renderer : wxBoolProperty::GetCellRenderer(column);
    }
    wxString ValueToString(wxVariant&, int) const override { return wxString(); }
    const wxPGEditor* DoGetEditorClass() const override { return wxPGEditor_TextCtrl; }
};

}  // namespace

bool WxPropertyGridSink::ChooseColor(COLORREF& colour) {
    wxColourData data;
    data.SetChooseFull(true);
    if (colour != COLORREF(-1)) data.SetColour(ToWxColour(colour));
    wxColourDialog dialog(m_parent, &data);
    if (dialog.ShowModal() != wxID_OK) return false;
    colour = FromWxColour(dialog.GetColourData().GetColour());
    return true;
}

bool WxPropertyGridSink::ChooseFont(LOGFONTW& font, COLORREF& colour, unsigned flags) {
    FontEffectsDialog dialog(m_parent, font, colour, flags);
    if (dialog.ShowModal() != wxID_OK) return false;
    font = dialog.GetLogFont();
    colour = dialog.GetColor();
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
    Bind(wxEVT_LEFT_DOWN, &FuncPropsGridWnd::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &FuncPropsGridWnd::OnLeftDoubleClick, this);
    Bind(wxEVT_CHAR_HOOK, &FuncPropsGridWnd::OnCharHook, this);
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
    // The toolkit draws a group's rows as it draws rows without one, so rows without a group
    // that follow a group would read as that group's. They get a caption band of their own
    // (the window's only: the page knows no such group), which ends the group above them.
    bool afterGroup = false;
    wxPGProperty* band = nullptr;
    for (int i = 0; i < m_model->GetPropertyCount(); ++i) {
        CMFCPropertyGridProperty* row = m_model->GetProperty(i);
        if (!row) continue;
        if (row->IsGroup()) {
            afterGroup = true;
            band = nullptr;
        } else if (afterGroup && !band) {
            band = new wxPropertyCategory(ToWx(HalvexLoadString(7780)), wxString::Format("row%d", m_nextName++));
            AppendIn(GetRoot(), band);
        }
        AppendRow(row, row->IsGroup() ? nullptr : band);
    }
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
        prop = new CheckBoxRowProperty(label, name);
    } else if (dynamic_cast<CMFCFuncPropsFont*>(row)) {
        prop = new FontRowProperty(label, name, ToWx(row->FormatProperty()), [this, row] { PressButton(row); });
    } else if (auto* colour = dynamic_cast<CMFCFuncPropsColor*>(row)) {
        prop = new ColourRowProperty(label, name, *colour);
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
    // hide with that group; the model's top-level rows go where Rebuild says, in their order.
    AppendIn(parent ? parent : GetRoot(), prop);
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
        } else if (auto* colourProp = dynamic_cast<ColourRowProperty*>(prop)) {
            colourProp->ShowRow();
            RefreshProperty(colourProp);
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
    } else if (auto* colour = dynamic_cast<CMFCFuncPropsColor*>(row)) {
        if (value.GetType() == "long") {
            switch (value.GetLong()) {
                case ColourRowProperty::kAutomatic:
                    accepted = colour->GetColor() == COLORREF(-1) || row->OnUpdateValue(L"-1");
                    break;
                case ColourRowProperty::kOther:
                    // The dialog opens once the choice list has closed; the row keeps its colour
                    // until a colour is chosen there.
                    CallAfter([this, row] { ChooseOtherColour(row); });
                    accepted = false;
                    break;
                default:
                    accepted = true;  // the colour it holds
                    break;
            }
        } else {
            wxColour chosen;
            chosen << value;
            CString text;
            text.Format(L"%d", int(FromWxColour(chosen)));
            accepted = row->OnUpdateValue(text);
        }
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

void FuncPropsGridWnd::ChooseOtherColour(CMFCPropertyGridProperty* row) {
    auto* colour = dynamic_cast<CMFCFuncPropsColor*>(row);
    PropertyGridSink* sink = m_model ? m_model->GetSinkPtr() : nullptr;
    if (!colour || !sink || !PropertyOf(row)) return;
    COLORREF c = colour->GetColor() == COLORREF(-1) ? colour->GetAutomaticColor() : colour->GetColor();
    m_editing = row;
    if (sink->ChooseColor(c)) {
        CString text;
        text.Format(L"%d", int(c));
        row->OnUpdateValue(text);
    }
    m_editing = nullptr;
    if (wxPGProperty* p = PropertyOf(row)) ShowRowValue(row, p);
}

wxRect FuncPropsGridWnd::CheckBoxRect(const wxPGProperty* prop) const {
    if (!dynamic_cast<const CheckBoxRowProperty*>(prop) || !prop->IsVisible()) return wxRect();
    // The name cell as the grid lays it out: after the margin, indented by the row's depth.
    wxRect row = GetPropertyRect(prop, prop);
    wxRect cell(GetMarginWidth() + int(prop->GetDepth() - 1) * m_subgroup_extramargin, row.y,
                GetSplitterPosition() - GetMarginWidth(), GetRowHeight());
    wxRect box = CheckBoxNameRenderer::BoxIn(cell);
    box.SetPosition(CalcScrolledPosition(box.GetPosition()));
    return box;
}

void FuncPropsGridWnd::OnLeftDown(wxMouseEvent& event) {
    event.Skip();  // the grid selects the row as always
    const wxPropertyGridHitTestResult hit = HitTest(event.GetPosition());
    auto* box = dynamic_cast<CMFCFuncPropsCheckBox*>(RowOf(hit.GetProperty()));
    if (!box || hit.GetColumn() != 0) return;
    m_editing = box;
    box->OnClickName(CheckBoxRect(hit.GetProperty()).Contains(event.GetPosition()));
    m_editing = nullptr;
    if (wxPGProperty* p = PropertyOf(box)) ShowRowValue(box, p);
}

void FuncPropsGridWnd::OnLeftDoubleClick(wxMouseEvent& event) {
    const wxPropertyGridHitTestResult hit = HitTest(event.GetPosition());
    auto* box = dynamic_cast<CMFCFuncPropsCheckBox*>(RowOf(hit.GetProperty()));
    if (!box) {
        event.Skip();
        return;
    }
    m_editing = box;
    box->OnDblClk(hit.GetColumn() == 0 && CheckBoxRect(hit.GetProperty()).Contains(event.GetPosition()));
    m_editing = nullptr;
    if (wxPGProperty* p = PropertyOf(box)) ShowRowValue(box, p);
}

void FuncPropsGridWnd::OnCharHook(wxKeyEvent& event) {
    auto* box = dynamic_cast<CMFCFuncPropsCheckBox*>(RowOf(GetSelection()));
    if (!box || event.GetKeyCode() != WXK_SPACE || event.HasAnyModifiers()) {
        event.Skip();
        return;
    }
    m_editing = box;
    box->PushChar(L' ');
    m_editing = nullptr;
    if (wxPGProperty* p = PropertyOf(box)) ShowRowValue(box, p);
}

void FuncPropsGridWnd::OnChanged(wxPropertyGridEvent& event) {
    CMFCPropertyGridProperty* row = RowOf(event.GetProperty());
    if (!row) return;
    CallAfter([this, row] {
        if (wxPGProperty* p = PropertyOf(row)) ShowRowValue(row, p);
    });
}

}  // namespace halvex
