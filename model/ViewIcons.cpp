#include "model/ViewIcons.h"

#include "platform/draw/DeviceContext.h"

namespace {

CFont& IconFont() {
    static CFont font = [] {
        CFont f;
        f.Create(L"Tahoma", -9, FW_BOLD);
        return f;
    }();
    return font;
}

// A rounded tile of `fill` with a short text in `ink`.
void Tile(CDC* dc, int x, int y, COLORREF fill, COLORREF ink, const wchar_t* text) {
    CPen pen(PS_SOLID, 1, ink);
    CBrush brush(fill);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->RoundRect(x, y, x + 16, y + 16, 4, 4);
    CFont* oldFont = dc->SelectObject(&IconFont());
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColor = dc->SetTextColor(ink);
    RECT r{x, y, x + 16, y + 16};
    dc->DrawText(text, int(wcslen(text)), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

}  // namespace

void DrawChannelIcon(CDC* dc, int index, int x, int y) {
    if (!dc) return;
    if (index == 0) Tile(dc, x, y, RGB(255, 236, 179), RGB(160, 90, 0), L"\u223F");
    else Tile(dc, x, y, RGB(255, 236, 179), RGB(160, 90, 0), L"\u238D");
}

void DrawStateIcon(CDC* dc, StateIcon icon, int x, int y) {
    if (!dc) return;
    switch (icon) {
        case StateIcon::Ratio: Tile(dc, x, y, RGB(220, 235, 255), RGB(0, 60, 160), L"K"); break;
        case StateIcon::Inverted: Tile(dc, x, y, RGB(220, 235, 255), RGB(0, 60, 160), L"\u00B1"); break;
        case StateIcon::DcRemoved: Tile(dc, x, y, RGB(220, 235, 255), RGB(0, 60, 160), L"="); break;
        case StateIcon::RmsCurve: Tile(dc, x, y, RGB(220, 255, 225), RGB(0, 120, 40), L"R"); break;
        case StateIcon::HarmonicCurve: Tile(dc, x, y, RGB(220, 255, 225), RGB(0, 120, 40), L"1"); break;
        case StateIcon::AdcCodes: Tile(dc, x, y, RGB(240, 240, 240), RGB(80, 80, 80), L"#"); break;
        case StateIcon::VerticalZoom: Tile(dc, x, y, RGB(255, 240, 220), RGB(170, 70, 0), L"\u2195"); break;
    }
}
