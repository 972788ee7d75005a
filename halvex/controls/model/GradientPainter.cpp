#include "halvex/controls/model/GradientPainter.h"

#include <algorithm>
#include <vector>

#include "halvex/helpers/Ai_Str.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiObjects.h"

namespace halvex {

void GradientPainter::SetText(const CString& text, COLORREF color) {
    if (text != m_text) m_textChanged = true;
    m_text = text;
    m_textColor = color;
}

void GradientPainter::PaintGradient(CDC* dc, const CRect& client) {
    if (!dc) return;
    double colour[3] = {m_start[0], m_start[1], m_start[2]};
    auto current = [&] { return RGB(int(colour[0]), int(colour[1]), int(colour[2])); };
    CPen pen(PS_SOLID, 1, current());
    CPen* oldPen = dc->SelectObject(&pen);
    // A band never narrower than a pixel, so that a zero or negative step still ends.
    const int step = std::max(1, m_step);
    const bool across = m_orientation == eHorizontal;
    const int from = across ? client.left : client.top;
    const int to = across ? client.right : client.bottom;
    for (int edge = from; edge < to; edge += step) {
        const int end = std::min(edge + step, to);
        CRect band = across ? CRect(edge, client.top, end, client.bottom) : CRect(client.left, edge, client.right, end);
        dc->FillSolidRect(&band, current());
        for (int i = 0; i < 3; ++i) {
            if (!m_work[i] || m_stop[i] == -1) continue;
            if (m_direction == eForward) {
                if (colour[i] < m_stop[i]) colour[i] += m_gradient;
            } else if (colour[i] > m_stop[i]) {
                colour[i] -= m_gradient;
            }
            colour[i] = std::clamp(colour[i], 0.0, 255.0);
        }
    }
    if (!m_text.IsEmpty()) {
        CFont* oldFont = m_font ? dc->SelectObject(m_font) : nullptr;
        dc->SetTextColor(m_textColor);
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        std::vector<CString> lines;
        CAi_Str::CutString(m_text, L"\r\n", &lines, L"~");
        int lineHeight = 0, top = 0, xOffset = 0;
        if (m_align == asVCenter || m_align == asCenter) {
            lineHeight = dc->GetTextExtent(CString(L"W")).cy + 4;
            top = client.Height() / 2 - lineHeight * int(lines.size()) / 2;
        }
        if (m_align == asCenter) {
            int widest = 0;
            for (const CString& l : lines) widest = std::max(widest, int(dc->GetTextExtent(l).cx));
            xOffset = client.Width() / 2 - std::min(widest, client.Width() - 20) / 2;
        }
        if (m_textChanged) {
            m_textChanged = false;
            dc->FillSolidRect(&client, current());
        }
        for (const CString& l : lines) {
            dc->TextOut(client.left + m_leftMargin + xOffset, client.top + top + m_topMargin, l);
            top += lineHeight;
        }
        dc->SetBkMode(oldMode);
        if (oldFont) dc->SelectObject(oldFont);
    }
    if (m_frameWidth > 0) {
        const int w = m_frameWidth;
        dc->FillSolidRect(client.left, client.top, client.Width(), w, m_frameColor);
        dc->FillSolidRect(client.left, client.bottom - w, client.Width(), w, m_frameColor);
        dc->FillSolidRect(client.left, client.top + w, w, client.Height() - 2 * w, m_frameColor);
        dc->FillSolidRect(client.right - w, client.top + w, w, client.Height() - 2 * w, m_frameColor);
    }
    dc->SelectObject(oldPen);
}

void DrawStatusPane(CDC* dc, const CRect& pane, int mode, const CBitmap* first, const CBitmap* second) {
    if (!dc || mode == 0) return;
    const CBitmap* picture = mode == 1 ? first : second;
    if (!picture || !picture->Surface()) return;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap copy(*picture);
    CBitmap* old = memory.SelectObject(&copy);
    dc->BitBlt(pane.left, pane.top, pane.Width(), pane.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

}  // namespace halvex
