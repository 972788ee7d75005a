#pragma once
// The painting of the gradient static and the gradient dialog: bands of colour moving from
// a start colour towards a stop colour, an optional multi-line text and a frame. Both window
// classes derive from it, so that they share every setter and paint the same picture.
#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"

class CDC;
class CFont;
class CBitmap;

namespace halvex {

enum EForwardOrBack : int { eForward = 0, eBack = 1 };
enum EHorizontalOrVertical : int { eHorizontal = 0, eVertical = 1 };
enum ASTextAligh : int { asNone = 0, asVCenter = 1, asCenter = 2 };

class GradientPainter {
public:
    void SetStartRGB(int r, int g, int b) { m_start[0] = r, m_start[1] = g, m_start[2] = b; }
    void SetGradient(double step) { m_gradient = step; }
    void WorkWithColor(bool r, bool g, bool b) { m_work[0] = r, m_work[1] = g, m_work[2] = b; }
    void ForwardOrBack(EForwardOrBack d) { m_direction = d; }
    void HorizontalOrVertical(EHorizontalOrVertical o) { m_orientation = o; }
    void StopIfEqual(int r, int g, int b) { m_stop[0] = r, m_stop[1] = g, m_stop[2] = b; }
    void SetFrame(int width, COLORREF color) { m_frameWidth = width, m_frameColor = color; }
    void SetText(const CString& text, COLORREF color);
    CString GetText() const { return m_text; }
    void SetTextLeftMargin(int m) { m_leftMargin = m; }
    void SetTextTopMargin(int m) { m_topMargin = m; }
    void SetTextOtherColor(COLORREF c) { m_textColor = c; }
    void SetTextAlign(ASTextAligh a) { m_align = a; }
    void SetStep(int width) { m_step = width; }
    void SetOtherFont(CFont* font) { m_font = font; }
    void SetStatus(bool s) { m_status = s; }
    bool GetStatus() const { return m_status; }

    // Paints the client rectangle `client` (its top-left is the origin of the context).
    void PaintGradient(CDC* dc, const CRect& client);

protected:
    virtual ~GradientPainter() = default;

private:
    bool m_textChanged = false;
    bool m_status = true;
    double m_start[3] = {0, 145, 145};
    bool m_work[3] = {true, true, true};
    int m_stop[3] = {255, 255, 255};
    double m_gradient = 1.65;
    EForwardOrBack m_direction = eForward;
    EHorizontalOrVertical m_orientation = eHorizontal;
    int m_step = 1;
    CString m_text;
    COLORREF m_textColor = 0;
    int m_leftMargin = 2, m_topMargin = 0;
    ASTextAligh m_align = asNone;
    CFont* m_font = nullptr;
    int m_frameWidth = 0;
    COLORREF m_frameColor = 0;
};

// The status bar's owner-drawn pane: mode 0 shows nothing, 1 the first picture, any other
// mode the second, copied from its top-left corner into the pane.
void DrawStatusPane(CDC* dc, const CRect& pane, int mode, const CBitmap* first, const CBitmap* second);

}  // namespace halvex
