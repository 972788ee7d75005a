#include "halvex/grid/FontEffectsDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clrpicker.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/fontenum.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "halvex/helpers/HalvexResources.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace halvex {

namespace {

// Heights of LOGFONTW are pixels of a 96-dpi screen; the dialog speaks of points.
int PointsOf(int height) { return std::max(1, int(std::lround(std::abs(height) * 72.0 / 96.0))); }
int HeightOf(int points) { return -int(std::lround(points * 96.0 / 72.0)); }

int StyleOf(const LOGFONTW& lf) { return (lf.lfWeight >= 600 ? 2 : 0) + (lf.lfItalic ? 1 : 0); }

wxString FaceOf(const LOGFONTW& lf) {
    return ToWx(CString(lf.lfFaceName, int(wcsnlen(lf.lfFaceName, LF_FACESIZE))));
}

wxColour ToColour(COLORREF c) { return wxColour(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The sample: the text in the chosen font and colour, centred and cut at the box's edges, so
// that a large size does not push the dialog's controls away.
class SamplePanel : public wxPanel {
public:
    SamplePanel(wxWindow* parent, const FontEffectsDialog& dialog)
        : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(260, 64), wxBORDER_SUNKEN), m_dialog(dialog) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        // The toolkit's own Tab order asks the widget, not AcceptsFocus.
        SetCanFocus(false);
        Bind(wxEVT_PAINT, &SamplePanel::OnPaint, this);
    }
    // Only shows: the keyboard passes it by.
    bool AcceptsFocus() const override { return false; }

private:
    void OnPaint(wxPaintEvent&) {
        wxPaintDC dc(this);
        dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
        dc.Clear();
        const LOGFONTW lf = m_dialog.GetLogFont();
        wxFontInfo info(double(PointsOf(lf.lfHeight)));
        info.FaceName(FaceOf(lf)).Italic(lf.lfItalic != 0).Underlined(lf.lfUnderline != 0);
        info.Strikethrough(lf.lfStrikeOut != 0);
        wxFont font(info);
        if (lf.lfWeight > 0) font.SetNumericWeight(std::clamp(int(lf.lfWeight), 1, 1000));
        dc.SetFont(font);
        const COLORREF c = m_dialog.GetColor();
        dc.SetTextForeground(c == COLORREF(-1) ? *wxBLACK : ToColour(c));
        const wxString text = ToWx(HalvexLoadString(7793));
        const wxSize extent = dc.GetTextExtent(text);
        const wxSize area = GetClientSize();
        dc.DrawText(text, (area.x - extent.x) / 2, (area.y - extent.y) / 2);
    }

    const FontEffectsDialog& m_dialog;
};

}  // namespace

FontEffectsDialog::FontEffectsDialog(wxWindow* parent, const LOGFONTW& font, COLORREF colour, unsigned flags)
    : wxDialog(parent, wxID_ANY, ToWx(HalvexLoadString(7257))), m_font(font), m_original(colour) {
    m_font.lfFaceName[LF_FACESIZE - 1] = 0;
    m_shownFace = FaceOf(m_font);
    m_shownStyle = StyleOf(m_font);
    m_shownPoints = PointsOf(m_font.lfHeight);

    // The faces the system has, with the font's own first when the system lacks it.
    wxArrayString faces = wxFontEnumerator::GetFacenames();
    faces.Sort();
    if (!m_shownFace.empty() && faces.Index(m_shownFace, false) == wxNOT_FOUND) faces.Insert(m_shownFace, 0);
    m_face = new wxComboBox(this, wxID_ANY, m_shownFace, wxDefaultPosition, wxSize(220, -1), faces,
                            wxCB_DROPDOWN);
    wxArrayString styles;
    for (unsigned id : {7789u, 7790u, 7791u, 7792u}) styles.Add(ToWx(HalvexLoadString(id)));
    m_style = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, styles);
    m_style->SetSelection(m_shownStyle);
    m_size = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS, 1, 1638, m_shownPoints);

    auto* top = new wxFlexGridSizer(2, 3, 4, 12);
    top->AddGrowableCol(0);
    for (unsigned id : {7781u, 7782u, 7783u}) top->Add(new wxStaticText(this, wxID_ANY, ToWx(HalvexLoadString(id))));
    top->Add(m_face, 1, wxEXPAND);
    top->Add(m_style, 0, wxEXPAND);
    top->Add(m_size, 0, wxEXPAND);

    auto* middle = new wxBoxSizer(wxHORIZONTAL);
    if (flags & kEffects) {
        auto* effects = new wxStaticBoxSizer(wxVERTICAL, this, ToWx(HalvexLoadString(7784)));
        wxWindow* box = effects->GetStaticBox();
        m_strikeOut = new wxCheckBox(box, wxID_ANY, ToWx(HalvexLoadString(7785)));
        m_strikeOut->SetValue(m_font.lfStrikeOut != 0);
        m_underline = new wxCheckBox(box, wxID_ANY, ToWx(HalvexLoadString(7786)));
        m_underline->SetValue(m_font.lfUnderline != 0);
        m_colour = new wxColourPickerCtrl(box, wxID_ANY, ToColour(colour == COLORREF(-1) ? 0 : colour));
        effects->Add(m_strikeOut, 0, wxALL, 4);
        effects->Add(m_underline, 0, wxALL, 4);
        auto* colourRow = new wxBoxSizer(wxHORIZONTAL);
        colourRow->Add(new wxStaticText(box, wxID_ANY, ToWx(HalvexLoadString(7787))), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        colourRow->Add(m_colour, 1);
        effects->Add(colourRow, 0, wxEXPAND | wxALL, 4);
        middle->Add(effects, 0, wxEXPAND | wxRIGHT, 12);
    }
    auto* sample = new wxStaticBoxSizer(wxVERTICAL, this, ToWx(HalvexLoadString(7788)));
    m_sample = new SamplePanel(sample->GetStaticBox(), *this);
    sample->Add(m_sample, 1, wxEXPAND | wxALL, 4);
    middle->Add(sample, 1, wxEXPAND);

    auto* all = new wxBoxSizer(wxVERTICAL);
    all->Add(top, 0, wxEXPAND | wxALL, 10);
    all->Add(middle, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
    all->Add(CreateSeparatedButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(all);
    m_face->SetFocus();

    auto refresh = [this](wxEvent& e) {
        e.Skip();
        m_sample->Refresh();
    };
    m_face->Bind(wxEVT_TEXT, refresh);
    m_face->Bind(wxEVT_COMBOBOX, refresh);
    m_style->Bind(wxEVT_CHOICE, refresh);
    m_size->Bind(wxEVT_SPINCTRL, refresh);
    m_size->Bind(wxEVT_TEXT, refresh);
    if (m_colour) {
        m_strikeOut->Bind(wxEVT_CHECKBOX, refresh);
        m_underline->Bind(wxEVT_CHECKBOX, refresh);
        m_colour->Bind(wxEVT_COLOURPICKER_CHANGED, refresh);
    }
    Bind(wxEVT_CHAR_HOOK, &FontEffectsDialog::OnCharHook, this);
    CentreOnParent();
}

void FontEffectsDialog::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    // Enter takes the choice from any field, as the OK button does; on a button it presses
    // that button (Cancel, the colour's). Escape is the dialog's own.
    if ((key != WXK_RETURN && key != WXK_NUMPAD_ENTER) || event.HasAnyModifiers() ||
        dynamic_cast<wxButton*>(FindFocus()) || (m_colour && m_colour->IsDescendant(FindFocus()))) {
        event.Skip();
        return;
    }
    if (IsModal()) EndModal(wxID_OK);
    else Show(false);
}

LOGFONTW FontEffectsDialog::GetLogFont() const {
    LOGFONTW lf = m_font;
    const wxString face = m_face->GetValue().Strip(wxString::both);
    if (!face.empty() && face != m_shownFace) {
        const CString chosen = FromWx(face);
        const int n = std::min(chosen.GetLength(), LF_FACESIZE - 1);
        std::wmemset(lf.lfFaceName, 0, LF_FACESIZE);
        std::wmemcpy(lf.lfFaceName, chosen.GetString(), size_t(n));
    }
    const int style = m_style->GetSelection();
    if (style != wxNOT_FOUND && style != m_shownStyle) {
        lf.lfWeight = style >= 2 ? 700 : 400;
        lf.lfItalic = (style & 1) ? 1 : 0;
    }
    const int points = m_size->GetValue();
    if (points != m_shownPoints) lf.lfHeight = HeightOf(points);
    if (m_underline) {
        lf.lfUnderline = m_underline->GetValue() ? 1 : 0;
        lf.lfStrikeOut = m_strikeOut->GetValue() ? 1 : 0;
    }
    return lf;
}

COLORREF FontEffectsDialog::GetColor() const {
    if (!m_colour) return m_original;
    const wxColour c = m_colour->GetColour();
    const COLORREF chosen = RGB(c.Red(), c.Green(), c.Blue());
    // Without a colour of its own the text is drawn black: black left as shown keeps it so.
    if (m_original == COLORREF(-1) && chosen == RGB(0, 0, 0)) return m_original;
    return chosen;
}

}  // namespace halvex
