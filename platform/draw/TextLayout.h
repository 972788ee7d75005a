#pragma once
// Text through Pango, shared by the device context and the graphics object. Every text is
// laid out in one measuring context with hinted metrics off and unrounded glyph positions,
// so the same text in the same font measures the same on an image, a PDF page or an SVG
// picture, and what is drawn is exactly what was measured.
#include <string>

typedef struct _cairo cairo_t;
typedef struct _PangoLayout PangoLayout;

namespace platform::draw {

struct FontSpec {
    std::wstring face;     // resolved through fontconfig; faces missing here fall back to its default sans
    double em = 12;        // em size in the units the text is drawn in
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool antialias = true;
};

struct FontMetrics {
    double ascent = 0;     // above the base line, same units as the em size
    double descent = 0;    // below it
};

FontMetrics GetFontMetrics(const FontSpec& font);
// The em size that gives a font of this face a cell (ascent + descent) of `cellHeight`.
double EmForCellHeight(const FontSpec& font, double cellHeight);
// Whether a face of that family name is installed, or is one of the faces every desktop of
// the system's users has (those are drawn with the fallback face).
bool IsFamilyAvailable(const std::wstring& face);

// Owns one Pango layout of a text in a font. Widths and heights are in the font's units.
class TextLayout {
public:
    TextLayout(const FontSpec& font, const std::wstring& text);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // Breaks lines at word boundaries to fit the width; <= 0 turns breaking off.
    void SetWrapWidth(double width);
    // Underlines the character at this index (a mnemonic of a drawn text).
    void UnderlineChar(size_t index);
    int LineCount() const;
    // Advance width of a line, and of the widest line.
    double LineWidth(int line) const;
    double Width() const;
    // Draws a line with its base line at (x, baseline) of the context's current user space.
    void DrawLine(cairo_t* cr, int line, double x, double baseline) const;
    PangoLayout* Layout() const { return m_layout; }

private:
    PangoLayout* m_layout = nullptr;
    std::string m_utf8;
};

}  // namespace platform::draw
