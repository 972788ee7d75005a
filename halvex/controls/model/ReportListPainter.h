#pragma once
// Draws a report list (header, rows, check boxes, images, texts, grid lines) through the
// device context, asking the list's owner for the colours and font of each cell the way the
// list's custom-draw notification does.
#include <cstdint>
#include <functional>
#include <vector>

#include "halvex/controls/model/ReportList.h"

class CDC;

namespace halvex {

// Answers a custom-draw notification; returns the CDRF_ result.
using CustomDrawHandler = std::function<intptr_t(NMLVCUSTOMDRAW&)>;

struct ReportListLook {
    COLORREF window = RGB(255, 255, 255);
    COLORREF text = RGB(0, 0, 0);
    COLORREF header = RGB(240, 240, 240);
    COLORREF headerLine = RGB(190, 190, 190);
    COLORREF grid = RGB(220, 220, 220);
    COLORREF highlight = RGB(0, 120, 215);
    COLORREF highlightText = RGB(255, 255, 255);
    bool focused = true;
};

// `boldColumns` are drawn in the bold face when the handler gives no font.
void PaintReportList(CDC* dc, const ReportListModel& list, const CustomDrawHandler& customDraw,
                     const ReportListLook& look = ReportListLook(), const std::vector<int>& boldColumns = {});

}  // namespace halvex
