#pragma once
// How mimic controls measure and write their texts. Every text a control writes goes through
// MimicDrawText, so a watcher can see exactly which texts a screen showed and where.
#include <vector>

#include "halvex/scheme/SchTexts.h"

// A control font as the controls make it: "Arial" of 14 units.
Arm_Font MimicDefaultFont(bool bold = false);

// The size of `text` in `font` (world units), measured on a screen-like context; an unknown
// face measures in the generic sans-serif face.
Gdiplus::SizeF MimicMeasureText(const Arm_Font& font, const CString& text);

// Writes `text` in the box (x, y, width, height) of world units with the alignments (0 near,
// 1 centre, 2 far) in `color`.
void MimicDrawText(Gdiplus::Graphics& g, const CString& text, const Arm_Font& font, const Gdiplus::RectF& box,
                   int hAlign, int vAlign, Gdiplus::Color color);
// Writes the text of a text primitive as the primitive does.
void MimicDrawText(Gdiplus::Graphics& g, Sch_Text& text, EDrawType kind);

// A text written while a watch was open: the text, its colour, and its box in device pixels.
struct MIMIC_DRAWN_TEXT {
    CString text;
    Gdiplus::ARGB color = 0;
    Gdiplus::RectF deviceBox;
};

// While it lives, collects the texts the controls write on this thread.
class MimicTextWatch {
public:
    MimicTextWatch();
    ~MimicTextWatch();
    MimicTextWatch(const MimicTextWatch&) = delete;
    MimicTextWatch& operator=(const MimicTextWatch&) = delete;

    std::vector<MIMIC_DRAWN_TEXT> texts;

private:
    MimicTextWatch* m_previous;
};
