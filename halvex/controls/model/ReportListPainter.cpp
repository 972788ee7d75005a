#include "halvex/controls/model/ReportListPainter.h"

#include <algorithm>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/ImageList.h"

namespace halvex {
namespace {
void Frame(CDC* dc, const CRect& r, COLORREF c) {
    dc->FillSolidRect(r.left, r.top, r.Width(), 1, c);
    dc->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, c);
    dc->FillSolidRect(r.left, r.top, 1, r.Height(), c);
    dc->FillSolidRect(r.right - 1, r.top, 1, r.Height(), c);
}
}  // namespace

void PaintReportList(CDC* dc, const ReportListModel& list, const CustomDrawHandler& customDraw,
                     const ReportListLook& look, const std::vector<int>& boldColumns) {
    if (!dc) return;
    const CRect client = list.GetClientRect();
    dc->FillSolidRect(&client, look.window);
    CFont font, bold;
    LOGFONTW lf = list.GetFont();
    font.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    bold.CreateFontIndirect(&lf);
    CFont* oldFont = dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    const DWORD ex = list.GetExtendedStyle();
    const CImageList* images = list.GetImageList();
    const std::vector<int> order = list.GetColumnOrder();
    const int headerH = list.HeaderHeight();
    const int itemH = list.ItemHeight();
    int right = 0;

    // header
    for (int c : order) {
        const int w = list.GetColumnWidth(c);
        const int x = list.ColumnLeft(c);
        right = std::max(right, x + w);
        if (w <= 0) continue;
        CRect cell(x, 0, x + w, headerH);
        dc->FillSolidRect(&cell, look.header);
        dc->FillSolidRect(x + w - 1, 0, 1, headerH, look.headerLine);
        CRect text(x + 5, 0, x + w - 4, headerH);
        dc->SetTextColor(look.text);
        const int fmt = list.GetColumn(c)->format;
        UINT align = (fmt & LVCFMT_CENTER) ? DT_CENTER : (fmt & LVCFMT_RIGHT) ? DT_RIGHT : DT_LEFT;
        dc->DrawText(list.GetColumnText(c), &text, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    dc->FillSolidRect(0, headerH - 1, client.Width(), 1, look.headerLine);

    NMLVCUSTOMDRAW cd;
    if (customDraw) {
        cd.dwDrawStage = CDDS_PREPAINT;
        customDraw(cd);
    }
    const int rows = list.VisibleRows() + 1;
    for (int item = list.GetTopIndex(); item < list.GetItemCount() && item < list.GetTopIndex() + rows; ++item) {
        const bool selected = list.IsSelected(item) && look.focused;
        if (customDraw) {
            cd = NMLVCUSTOMDRAW();
            cd.dwDrawStage = CDDS_ITEMPREPAINT;
            cd.item = item;
            customDraw(cd);
        }
        for (int c : order) {
            CRect cell;
            if (!list.GetSubItemRect(item, c, &cell) || cell.Width() <= 0) continue;
            cd = NMLVCUSTOMDRAW();
            cd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
            cd.item = item;
            cd.iSubItem = c;
            cd.clrText = look.text;
            cd.clrTextBk = look.window;
            cd.font = std::find(boldColumns.begin(), boldColumns.end(), c) != boldColumns.end() ? &bold : &font;
            intptr_t result = customDraw ? customDraw(cd) : CDRF_DODEFAULT;
            COLORREF bk = cd.clrTextBk, fg = cd.clrText;
            if (selected && (ex & LVS_EX_FULLROWSELECT || c == 0)) {
                bk = look.highlight;
                fg = look.highlightText;
            }
            dc->FillSolidRect(&cell, bk);
            int x = cell.left + 4;
            if (c == 0 && (ex & LVS_EX_CHECKBOXES)) {
                const int s = std::min(13, itemH - 4);
                const int y = cell.top + (itemH - s) / 2;
                CRect box(x, y, x + s, y + s);
                dc->FillSolidRect(&box, RGB(255, 255, 255));
                Frame(dc, box, RGB(90, 90, 90));
                if (list.GetCheck(item)) {
                    CPen pen(PS_SOLID, 2, RGB(0, 0, 0));
                    CPen* old = dc->SelectObject(&pen);
                    dc->MoveTo(x + 3, y + s / 2);
                    dc->LineTo(x + s / 2 - 1, y + s - 4);
                    dc->LineTo(x + s - 3, y + 3);
                    dc->SelectObject(old);
                }
                x += s + 4;
            }
            const int image = list.GetItemImage(item, c);
            if (images && image >= 0 && (c == 0 || (ex & LVS_EX_SUBITEMIMAGES))) {
                const CSize is = images->GetIconSize();
                images->Draw(dc, image, CPoint(cell.left + 1, cell.top + (itemH - is.cy) / 2), ILD_TRANSPARENT);
                x = std::max(x, cell.left + 1 + is.cx + 3);
            }
            const CString text = list.GetItemText(item, c);
            if (!text.IsEmpty()) {
                CFont* prev = dc->SelectObject(const_cast<CFont*>(cd.font ? cd.font : &font));
                dc->SetTextColor(fg);
                const int fmt = list.GetColumn(c)->format;
                UINT align = (fmt & LVCFMT_CENTER) ? DT_CENTER : (fmt & LVCFMT_RIGHT) ? DT_RIGHT : DT_LEFT;
                CRect tr(x, cell.top, cell.right - 3, cell.bottom);
                dc->SaveDC();
                dc->IntersectClipRect(&cell);
                dc->DrawText(text, &tr, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
                dc->RestoreDC(-1);
                dc->SelectObject(prev);
            }
            if (ex & LVS_EX_GRIDLINES) {
                dc->FillSolidRect(cell.right - 1, cell.top, 1, itemH, look.grid);
                dc->FillSolidRect(cell.left, cell.bottom - 1, cell.Width(), 1, look.grid);
            }
            if (customDraw && (result & CDRF_NOTIFYPOSTPAINT)) {
                cd.dwDrawStage = CDDS_ITEMPOSTPAINT | CDDS_SUBITEM;
                customDraw(cd);
            }
        }
        if (list.GetFocused() == item && look.focused) {
            CRect row(0, headerH + (item - list.GetTopIndex()) * itemH, right,
                      headerH + (item - list.GetTopIndex() + 1) * itemH);
            Frame(dc, row, RGB(120, 120, 120));
        }
    }
    dc->SelectObject(oldFont);
}

}  // namespace halvex
