#pragma once
#include <wx/bitmap.h>
#include <wx/ribbon/art.h>

#include "app/CommandTable.h"

// The picture of a ribbon button: the desktop's own icon where it has one for the command,
// else a small drawn sign, `size` pixels square.
wxBitmap RibbonIcon(commands::Icon icon, int size);

// The flat art of the older looks. Their pressed and checked buttons are filled with a light
// tint of the look's accent colour rather than the accent itself: the blue icons of the
// checked commands stay visible on it.
class FlatRibbonArt : public wxRibbonAUIArtProvider {
public:
    wxRibbonArtProvider* Clone() const override;
    void SetColourScheme(const wxColour& primary, const wxColour& secondary, const wxColour& tertiary) override;
    // The fill of a pressed or checked button for an accent colour.
    static wxColour PressedFill(const wxColour& accent);
};
