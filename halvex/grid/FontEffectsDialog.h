#pragma once
// The font dialog of a font row: face, style and size, and, where the row's dialog flags ask
// for effects, underline, strike-out and the text's colour, with a sample of the choice. The
// toolkit's own font chooser has no effects, so choosing a font there would clear a text's
// underline and strike-out and its colour could be changed nowhere.
//
// What the dialog does not change is given back as it came: a field the user left alone keeps
// its value exactly (a weight of 600, a height in pixels that is no whole point, a face the
// system lacks, the escapement and character set), and without effects the underline,
// strike-out and colour stay as they were.
#include <wx/dialog.h>

#include "platform/WinTypes.h"
#include "platform/draw/GdiTypes.h"

class wxCheckBox;
class wxChoice;
class wxColourPickerCtrl;
class wxComboBox;
class wxSpinCtrl;
class wxWindow;

namespace halvex {

class FontEffectsDialog : public wxDialog {
public:
    // The dialog flags' bit that asks for the effects.
    static constexpr unsigned kEffects = 0x00000100;

    // `colour` -1: none yet.
    FontEffectsDialog(wxWindow* parent, const LOGFONTW& font, COLORREF colour, unsigned flags);

    // What the dialog shows now, over what it was given.
    LOGFONTW GetLogFont() const;
    COLORREF GetColor() const;
    bool HasEffects() const { return m_underline != nullptr; }

    // The controls, for the keyboard's order and for tests.
    wxComboBox* FaceBox() const { return m_face; }
    wxChoice* StyleChoice() const { return m_style; }
    wxSpinCtrl* SizeBox() const { return m_size; }
    wxCheckBox* StrikeOutBox() const { return m_strikeOut; }
    wxCheckBox* UnderlineBox() const { return m_underline; }
    wxColourPickerCtrl* ColourPicker() const { return m_colour; }
    wxWindow* Sample() const { return m_sample; }

private:
    void OnCharHook(wxKeyEvent& event);

    LOGFONTW m_font;
    COLORREF m_original;
    int m_shownStyle = 0;
    int m_shownPoints = 0;
    wxString m_shownFace;
    wxComboBox* m_face = nullptr;
    wxChoice* m_style = nullptr;
    wxSpinCtrl* m_size = nullptr;
    wxCheckBox* m_strikeOut = nullptr;
    wxCheckBox* m_underline = nullptr;
    wxColourPickerCtrl* m_colour = nullptr;
    wxWindow* m_sample = nullptr;
};

}  // namespace halvex
