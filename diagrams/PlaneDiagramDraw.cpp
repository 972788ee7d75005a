// The picture both plane diagrams share: grid, frame, axes and edge labels, the zones of the
// selected block, the legend or the value table under the plot, and the split strip.
#include <algorithm>
#include <cmath>

#include "diagrams/PlaneDiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Numeric.h"
#include "platform/draw/GdiPlus.h"

namespace {

constexpr COLORREF kTextColor = RGB(50, 50, 50);

void TextAt(CDC* dc, const CString& text, int x, int y, UINT format) {
    // A box reaching far enough in the direction the alignment leaves open.
    CRect r(x, y, x, y);
    if (format & DT_RIGHT)
        r.left = x - 100000;
    else
        r.right = x + 100000;
    if (format & DT_BOTTOM)
        r.top = y - 100000;
    else
        r.bottom = y + 100000;
    dc->DrawText(text, &r, format | DT_SINGLELINE | DT_NOCLIP);
}

}  // namespace

CircleZoneColors CircleZoneColorRow(int colorIndex) {
    static const CircleZoneColors kRows[9] = {
        {RGB(1, 37, 255), RGB(88, 112, 253), RGB(25, 245, 253)},
        {RGB(202, 1, 252), RGB(225, 119, 251), RGB(202, 1, 252)},
        {RGB(34, 177, 76), RGB(50, 230, 29), RGB(34, 177, 76)},
        {RGB(254, 0, 0), RGB(254, 159, 159), RGB(252, 66, 101)},
        {RGB(0, 162, 232), RGB(153, 217, 234), RGB(0, 162, 232)},
        {RGB(163, 73, 164), RGB(200, 191, 231), RGB(163, 73, 164)},
        {RGB(63, 72, 204), RGB(112, 146, 190), RGB(63, 72, 204)},
        {RGB(163, 73, 164), RGB(255, 201, 14), RGB(163, 73, 164)},
        {RGB(136, 0, 21), RGB(185, 122, 87), RGB(136, 0, 21)},
    };
    const int row = ((colorIndex % 9) + 9) % 9;  // a negative index from a library still finds a row
    return kRows[row];
}

void PlaneDiagramWnd::Cross(CDC* dc, CPoint p, int s) {
    dc->MoveTo(p.x, p.y - 4 * s);
    dc->LineTo(p.x, p.y + 4 * s + 1);
    dc->MoveTo(p.x - 4 * s, p.y);
    dc->LineTo(p.x + 4 * s + 1, p.y);
}

void PlaneDiagramWnd::Push(std::vector<POINT>& pts, CPoint p) {
    if (pts.empty() || pts.back().x != p.x || pts.back().y != p.y) pts.push_back(p);
}

void PlaneDiagramWnd::Polyline(CDC* dc, const std::vector<POINT>& pts) {
    if (pts.size() == 1) {
        dc->MoveTo(pts[0]);
        dc->LineTo(pts[0].x + 1, pts[0].y);
    } else if (pts.size() > 1) {
        dc->Polyline(pts.data(), int(pts.size()));
    }
}

CPoint PlaneDiagramWnd::PairPoint(const CChannel& first, const CChannel& second, int64_t i, double ppu) const {
    const double x = first.GetValue(uint32_t(i)), y = second.GetValue(uint32_t(i));
    // A NaN sample counts as 0, as for the phasors.
    return CPoint(m_layout.ox + RoundToInt((std::isnan(x) ? 0 : x) * ppu),
                  m_layout.oy - RoundToInt((std::isnan(y) ? 0 : y) * ppu));
}

void PlaneDiagramWnd::Draw(CDC* dc, CRect R, int s, const CFont* font, CTenvorikDoc* doc) {
    s = std::max(s, 1);
    if (doc) PrunePairs(*doc);
    dc->FillSolidRect(&R, RGB(255, 255, 255));
    m_layout = Layout();
    if (R.Height() > 120 && R.Width() > 120) {
        const int saved = dc->SaveDC();
        if (font && *font) dc->SelectObject(const_cast<CFont*>(font));
        CRect P = R;
        P.DeflateRect(6 * s, 6 * s);
        P.top += 5;
        bool table = false;
        std::vector<PlaneRow> rows;
        if (doc) rows = Rows(*doc);
        if (doc && WantsTable()) {
            const int th = dc->GetTextExtent(CString(L"Ay")).cy;
            const int h = ValueTableHeight(int(rows.size()), th, s);
            if (P.Height() - h >= 120) {
                table = true;
                P.bottom -= h;
            }
        }
        if (!table) P.bottom -= 20 * s;
        CircleScales sc = ComputeScales(doc, s, P);
        if (sc.ok) {
            if (ZoneGuardExtent() * sc.ppuR > 800.0 * s) {
                m_zoom = 1.0;
                UpdateScrollBars();
                sc = ComputeScales(doc, s, P);
            }
            m_layout.plot = P;
            m_layout.scales = sc;
            m_layout.table = table;
            const int keptH = m_offH, keptV = m_offV;
            const bool placed = PlaceOrigin(P, sc, s);
            CRect F0;
            const CRect F = DrawGrid(dc, s, sc, P, F0);
            if (placed && s != 1) m_offH = keptH, m_offV = keptV;
            m_layout.frame = F0;
            // The zones belong to the grid: none of their shading reaches past its frame,
            // whatever the figures' far points.
            const CRect grid(F0.left, F0.top, F0.right + 1, F0.bottom + 1);
            if (ZoneGuardExtent() * sc.ppuR < 800.0 * s) {
                const CRect zones = ZoneClip(grid);
                if (zones.right > zones.left && zones.bottom > zones.top) DrawZones(dc, zones, s, sc.ppuR);
            }
            if (doc) {
                // The trajectories stay on the grid too; a cross on its edge (the origin in a
                // corner) still shows whole, within the plot.
                CRect marks = grid;
                marks.InflateRect(4 * s + 1, 4 * s + 1);
                marks &= P;
                const int clipped = dc->SaveDC();
                dc->IntersectClipRect(&marks);
                DrawTrajectories(dc, *doc, s, sc);
                dc->RestoreDC(clipped);
            }
            if (doc && dc->IsPrinting()) {
                const COLORREF white = RGB(255, 255, 255);
                dc->FillSolidRect(0, 0, F.right, F.top, white);
                dc->FillSolidRect(0, 0, F.left, F.bottom, white);
                dc->FillSolidRect(F.right, 0, F.left, F.bottom, white);
                dc->FillSolidRect(0, F.bottom, F.left + F.right, F.top, white);
            }
            if (doc) {
                if (table)
                    DrawValueTable(dc, P, s, rows);
                else
                    DrawLegend(dc, P, s, rows);
            }
        }
        dc->RestoreDC(saved);
    }
    if (s == 1) {
        const COLORREF c = m_look == 216   ? RGB(83, 83, 83)
                           : m_look == 217 ? RGB(208, 212, 221)
                           : m_look == 218 ? RGB(196, 202, 217)
                                           : RGB(191, 219, 255);
        dc->FillSolidRect(R.left, R.top, R.Width(), kSplitRows, c);
    }
}

CRect PlaneDiagramWnd::DrawGrid(CDC* dc, int s, const CircleScales& sc, const CRect& P, CRect& F0) {
    const bool screen = s == 1;
    CPen gridPen(PS_SOLID, screen ? 1 : s / 2, screen ? RGB(230, 230, 230) : RGB(150, 150, 150));
    CPen framePen(PS_SOLID, screen ? 1 : 2 * s / 3, screen ? RGB(200, 200, 200) : RGB(50, 50, 50));
    CPen axisPen(PS_SOLID, screen ? 1 : 2 * s / 3, screen ? RGB(150, 150, 150) : RGB(0, 0, 0));
    const int cell = sc.cell;
    const int cx = P.left + (P.right - P.left) / 2, cy = P.top + (P.bottom - P.top) / 2;
    const int nW = (P.Width() / 2) / cell, nH = (P.Height() / 2) / cell;
    const int hw = nW * cell, hh = nH * cell;
    const int ox = cx + m_offH * cell, oy = cy + m_offV * cell;
    m_layout.ox = ox;
    m_layout.oy = oy;

    CPen* oldPen = dc->SelectObject(&gridPen);
    for (int k = 0; k < nH; ++k) {
        const int d = k * cell;
        dc->MoveTo(cx - hw, cy + d);
        dc->LineTo(cx + hw, cy + d);
        dc->MoveTo(cx - hw, cy - d);
        dc->LineTo(cx + hw, cy - d);
    }
    for (int k = 0; k < nW; ++k) {
        const int d = k * cell;
        dc->MoveTo(cx + d, cy - hh);
        dc->LineTo(cx + d, cy + hh);
        dc->MoveTo(cx - d, cy - hh);
        dc->LineTo(cx - d, cy + hh);
    }
    dc->SelectObject(&framePen);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    F0 = CRect(cx - hw, cy - hh, cx + hw, cy + hh);
    dc->Rectangle(&F0);
    CRect F = F0;
    F.InflateRect(2 * s / 3 + 1, 2 * s / 3 + 1);

    dc->SelectObject(&axisPen);
    if (ox >= P.left && ox <= P.right) {
        dc->MoveTo(ox, F0.top);
        dc->LineTo(ox, F0.bottom);
    }
    if (oy >= P.top && oy <= P.bottom) {
        dc->MoveTo(F0.left, oy);
        dc->LineTo(F0.right, oy);
    }

    const PlaneLabels labels = GridLabels(sc, nW, nH);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldText = dc->SetTextColor(kTextColor);
    TextAt(dc, labels.right, F0.right - 3, cy - 3, DT_RIGHT | DT_BOTTOM);
    TextAt(dc, labels.left, F0.left + 3, cy - 3, DT_LEFT | DT_BOTTOM);
    TextAt(dc, labels.top, cx + 3, F0.top + 3, DT_LEFT | DT_TOP);
    TextAt(dc, labels.bottom, cx + 3, F0.bottom - 3, DT_LEFT | DT_BOTTOM);

    // The cell legend: one grid cell and what it stands for.
    CBrush grey(RGB(240, 240, 240));
    dc->SelectObject(&grey);
    const CRect box(F0.left + cell, F0.bottom - 2 * cell + 1, F0.left + 2 * cell + 1, F0.bottom - cell);
    dc->Rectangle(&box);
    CRect legend(F0.left + 2 * cell + 3, box.top, F0.left + 2 * cell + 3 + 100000, box.bottom);
    dc->DrawText(labels.cell, &legend, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    dc->SetTextColor(oldText);
    dc->SetBkMode(oldBk);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
    return F;
}

void PlaneDiagramWnd::DrawZones(CDC* dc, const CRect& clip, int s, double ppu) {
    if (!m_zones) return;
    const int saved = dc->SaveDC();
    const CPoint origin(m_layout.ox, m_layout.oy);
    CRgn inside, around;
    inside.CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
    // A little past the clip, so that a zone cut by it gets no border along the cut.
    around.CreateRectRgn(clip.left - 2 * s, clip.top - 2 * s, clip.right + 2 * s, clip.bottom + 2 * s);
    for (int k = m_zones->CharacteristicCount() - 1; k >= 0; --k) {
        if (!m_zones->IsVisible(k)) continue;
        const CircleZoneColors colors = CircleZoneColorRow(m_zones->ColorIndex(k));
        for (int mode : {0, 1}) {
            if (mode == 0 && !m_showOff) continue;
            CRgn zone;
            if (!m_zones->BuildZone(k, mode, ppu, origin, &clip, zone)) continue;
            CRgn shown;
            shown.CombineRgn(&zone, &around, RGN_AND);
            if (mode == 1) {
                CRgn tinted;
                tinted.CombineRgn(&shown, &inside, RGN_AND);
                dc->SelectClipRgn(&tinted);
                // Translucent, so that the grid and other zones show through the tint.
                Gdiplus::Graphics g(dc);
                Gdiplus::SolidBrush fill(Gdiplus::Color(50, GetRValue(colors.fill), GetGValue(colors.fill),
                                                        GetBValue(colors.fill)));
                g.FillRectangle(&fill, clip.left, clip.top, clip.Width(), clip.Height());
            }
            dc->SelectClipRgn(&inside);
            CBrush frame(mode == 1 ? colors.frameOn : colors.frameOff);
            dc->FrameRgn(&shown, &frame, s, s);
            dc->SelectClipRgn(nullptr);
        }
    }
    dc->RestoreDC(saved);
}

void PlaneDiagramWnd::DrawLegend(CDC* dc, const CRect& P, int s, const std::vector<PlaneRow>& rows) {
    const int square = 10 * s, gap = 6 * s;
    int total = 0;
    for (const PlaneRow& e : rows) total += dc->GetTextExtent(e.text).cx + 2 * gap + square;
    int x = P.left + (P.Width() - total) / 2;
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldText = dc->SetTextColor(kTextColor);
    CPen black(PS_SOLID, s, RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&black);
    CBrush* oldBrush = dc->GetCurrentBrush();
    for (const PlaneRow& e : rows) {
        CBrush fill(e.color);
        dc->SelectObject(&fill);
        dc->Rectangle(x, P.bottom + 3, x + square, P.bottom + 3 + square);
        dc->SelectObject(oldBrush);
        dc->TextOut(x + square + gap, P.bottom, e.text);
        x += square + 2 * gap + dc->GetTextExtent(e.text).cx;
    }
    dc->SelectObject(oldPen);
    dc->SetTextColor(oldText);
    dc->SetBkMode(oldBk);
}

void PlaneDiagramWnd::DrawValueTable(CDC* dc, const CRect& P, int s, const std::vector<PlaneRow>& rows) {
    if (rows.empty()) return;
    const int columns = ValueColumns();
    const int th = dc->GetTextExtent(CString(L"Ay")).cy;
    const int pad = 6 * s, rowH = 3 * th / 2;
    int nameW = 0;
    for (const PlaneRow& r : rows) nameW = std::max(nameW, dc->GetTextExtent(r.text).cx + 5 * pad + 4 * th / 5);
    const int valueW = dc->GetTextExtent(CString(L"-0.0000000")).cx + 4 * pad;
    const int tableW = nameW + valueW * columns;
    const int margin = P.Width() > tableW ? (P.Width() - tableW) / 2 : pad;
    const int x0 = P.left + margin, x1 = P.right - margin;
    CPen rule(PS_SOLID, s == 1 ? 1 : s / 2, s == 1 ? RGB(150, 150, 150) : RGB(100, 100, 100));
    CPen black(PS_SOLID, s, RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&rule);
    CBrush* oldBrush = dc->GetCurrentBrush();
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldText = dc->SetTextColor(kTextColor);
    int y = P.bottom;
    dc->MoveTo(x0, y);
    dc->LineTo(x1, y);
    for (const PlaneRow& r : rows) {
        dc->SelectObject(&black);
        CBrush fill(r.color);
        dc->SelectObject(&fill);
        dc->Rectangle(x0 + th / 3, y + th / 3, x0 + th / 3 + th - 1, y + rowH - th / 3);
        dc->SelectObject(oldBrush);
        dc->TextOut(x0 + 3 * th / 2, y + th / 4, r.text);
        for (int c = 0; c < 3; ++c)
            if (!r.cells[c].IsEmpty()) dc->TextOut(x0 + nameW + c * valueW + pad, y + th / 4, r.cells[c]);
        y += rowH;
        dc->SelectObject(&rule);
        dc->MoveTo(x0, y);
        dc->LineTo(x1, y);
    }
    std::vector<int> lines = {x0, x0 + nameW, x0 + nameW + valueW, x1};
    if (columns == 3) lines.push_back(x0 + nameW + 2 * valueW);
    for (int x : lines) {
        dc->MoveTo(x, P.bottom);
        dc->LineTo(x, y);
    }
    dc->SelectObject(oldPen);
    dc->SetTextColor(oldText);
    dc->SetBkMode(oldBk);
}
