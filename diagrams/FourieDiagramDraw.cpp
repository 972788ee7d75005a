// The picture of the harmonic spectrum: one bar chart per shown channel in a grid of rows and
// columns, legends and frequency labels under the bars, value texts over them, and the axes.
#include <algorithm>
#include <cmath>

#include "diagrams/FourieDiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"

namespace {

// Rounded half up: the fraction .5 goes to the ceiling, also for negative values.
int RoundHalfUp(double v) {
    const double f = std::floor(v);
    return int(v - f < 0.5 ? f : f + 1);
}

struct Grid {
    int rows = 1, columns = 1;
    double heightFactor = 1;
};

// The printed grid keeps the proportions of the window on the screen (`cw` by `ch`).
Grid PrintGrid(int n, int width, int height, int cw, int ch) {
    Grid g;
    g.columns = n;
    const int perChart = cw / n;
    if (perChart < 1 || ch < 1) return g;  // a window with no room gives no proportions
    const double rho = double(ch) / perChart;
    double best = -1, bestA = 0, bestB = 0;
    for (int k = 1; k <= 10; ++k) {
        const int c = (n + k - 1) / k;
        const double a = std::trunc(std::pow(double(width / c), 2) * rho);
        const double b = std::trunc(std::pow(double(height / k), 2) / rho);
        const double m = std::min(a, b);
        if (m > best) {
            best = m;
            bestA = a;
            bestB = b;
            g.rows = k;
            g.columns = c;
        }
    }
    g.heightFactor = (best == bestB || bestB <= 0) ? 1.0 : std::sqrt(bestA / bestB);
    return g;
}

}  // namespace

void FourieDiagramWnd::Draw(CDC* dc, CRect R, int s, const CFont* font, CTenvorikDoc* doc) {
    s = std::max(s, 1);
    m_layout = Layout();
    dc->FillSolidRect(&R, RGB(255, 255, 255));
    CPen axisPen(PS_SOLID, s == 1 ? 1 : s / 2, s == 1 ? RGB(150, 150, 150) : RGB(50, 50, 50));
    CFont upward;
    upward.CreateFont(13 * s, 0, 900, 900, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0x20, L"Tahoma");
    if (!doc) return;
    const int saved = dc->SaveDC();
    const int B = R.bottom - 20 * s;
    if (font && *font) dc->SelectObject(const_cast<CFont*>(font));
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(20, 20, 20));
    const int hA = dc->GetTextExtent(CString(L"A")).cy;

    std::vector<const CChannel*> shown;
    for (const CChannel& ch : doc->GetOscillogram().m_channels)
        if (ch.m_flags & CHF_FREQ_DIAGRAM) shown.push_back(&ch);
    const int n = int(shown.size());
    const int H = m_settings.numHarmonics, P = std::max(m_settings.numPeriods, 1);
    if (n == 0 || H <= 0) {
        dc->RestoreDC(saved);
        return;
    }
    const bool percent = m_settings.showPersents == 0;
    const double f = doc->GetOscillogram().m_netFrequency;
    const int height = B - R.top;
    const int cw = m_client.cx, ch = m_client.cy;
    const Grid grid = s == 1 ? Grid{1, n, 1.0} : PrintGrid(n, R.Width(), height, cw, ch);
    const int rows = grid.rows, columns = grid.columns;
    m_layout.rows = rows;
    m_layout.columns = columns;

    const int colW = (R.Width() - 12 * s) / columns, rowH = height / rows;
    const int slot = colW / (H + 1);
    const int cursor = doc->m_cursors.m_cursors[0].position;
    auto place = [&](int j, int& x0, int& top, int& base) {
        const int row = j / columns;
        x0 = R.left + (j % columns) * colW;
        top = R.top + row * rowH;
        base = B - 18 * s - (height - (row + 1) * rowH);
    };

    // Legends and frequency labels.
    std::vector<std::vector<CRect>> labels(static_cast<size_t>(n));
    CPen black(PS_SOLID, s, RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&black);
    CBrush* oldBrush = dc->GetCurrentBrush();
    for (int j = 0; j < n; ++j) {
        int x0 = 0, top = 0, base = 0;
        place(j, x0, top, base);
        const CChannel& c = *shown[size_t(j)];
        const CString name = c.GetName();
        const int left = x0 + 6 * s + (colW - dc->GetTextExtent(name).cx - 10 * s) / 2;
        CBrush fill(c.GetColor());
        dc->SelectObject(&fill);
        dc->Rectangle(left, base + 18 * s + 3, left + 10 * s, base + 18 * s + 3 + 10 * s);
        dc->SelectObject(oldBrush);
        dc->TextOut(left + 16 * s, base + 18 * s, percent ? name + L", %" : name);
        // Only what fits is labelled: every k-th line, k the smallest step at which the widest
        // label and a gap stand between two labelled lines ("0 50" must not run together).
        int widest = 0;
        for (int h = 0; h <= H; ++h) widest = std::max(widest, int(dc->GetTextExtent(FourieFrequencyLabel(h, f, P)).cx));
        const int pitch = std::max(slot - 1, 1), gap = 6 * s;
        int every = 1;
        while (every <= H && every * pitch < widest + gap) ++every;
        std::vector<CRect>& drawn = labels[size_t(j)];
        for (int h = 0; h <= H; h += every) {
            const CString label = FourieFrequencyLabel(h, f, P);
            const int w = dc->GetTextExtent(label).cx;
            const int mid = x0 + 12 * s + h * (slot - 1) + slot / 2;
            const CRect box(mid - (w + 1) / 2, base, mid - (w + 1) / 2 + w, base + 18 * s);
            // Nor past the column: the next chart's labels start there.
            if (box.left < x0 || box.right > x0 + colW) continue;
            if (!drawn.empty() && box.left < drawn.back().right + gap) continue;
            CRect text = box;
            dc->DrawText(label, &text, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
            drawn.push_back(box);
        }
    }

    // The printed charts keep the screen's proportions inside their columns.
    int inset = 0, sw = slot, bw = std::min(slot, 10 * s);
    if (s != 1 && cw > 12 && ch > 0) {
        const int wc = (cw - 12) / n;
        const int swScreen = wc / (H + 1), bwScreen = std::min(swScreen, 10);
        inset = std::max(0, int(std::trunc(colW - double(height) * cw / (double(ch) * n) / rows)) / 2);
        const int cp = colW - 2 * inset;
        if (wc > 0) {
            bw = int(std::trunc(double(bwScreen) * cp / wc));
            sw = int(std::trunc(double(swScreen) * cp / wc));
        }
    }
    const int offset = (sw - bw) / 2;
    dc->SelectStockObject(NULL_BRUSH);

    for (int j = 0; j < n; ++j) {
        int x0 = 0, top = 0, base = 0;
        place(j, x0, top, base);
        const CChannel& c = *shown[size_t(j)];
        const std::vector<double> comps = Components(c, cursor);
        const double max = *std::max_element(comps.begin(), comps.end());
        // The fundamental is line P; with fewer lines shown it is still the reference.
        const double ref = m_settings.useRms ? c.GetRms(uint32_t(std::max(cursor, 0)), P)
                           : P <= H      ? comps[size_t(P)]
                                         : c.GetHarmonicRmsOverPeriods(P, cursor, P);
        Chart chart{x0, top, base, sw, bw, offset, inset, std::vector<CRect>(size_t(H) + 1), {}, labels[size_t(j)]};
        CPen pen(PS_SOLID, s, c.GetColor());
        for (int h = 0; h <= H; ++h) {
            const int xs = x0 + 12 * s + inset + h * (sw - 1), xb = xs + offset;
            dc->SelectObject(&pen);
            const double v = comps[size_t(h)];
            const CString text = FourieValueText(v, ref, percent);
            chart.values.push_back(text);
            if (height - 30 * s - hA <= 0) continue;
            const double r = max != 0 ? v / max : v;
            const int t = int(std::trunc((1 - grid.heightFactor) * height / rows)) +
                          RoundHalfUp((1 - r) * (height * grid.heightFactor / rows - 30 * s - hA));
            const CRect bar(xb, top + 12 * s + hA + t, xb + bw, base);
            if (v != 0) {
                TRIVERTEX vx[2];
                vx[0].x = bar.left;
                vx[0].y = bar.top;
                vx[0].Red = COLOR16(GetRValue(c.GetColor()) << 8);
                vx[0].Green = COLOR16(GetGValue(c.GetColor()) << 8);
                vx[0].Blue = COLOR16(GetBValue(c.GetColor()) << 8);
                vx[1].x = bar.right;
                vx[1].y = bar.bottom;
                vx[1].Red = vx[1].Green = vx[1].Blue = 0xFF00;
                GRADIENT_RECT gr{0, 1};
                dc->GradientFill(vx, 2, &gr, 1, GRADIENT_FILL_RECT_V);
                dc->Rectangle(&bar);
                chart.bars[size_t(h)] = bar;
            }
            const int textW = dc->GetTextExtent(text).cx;
            if (textW * 6 / 5 <= sw) {
                CRect box(xs, top + 6 * s + t, xs + sw, top + 6 * s + t + 100000);
                dc->DrawText(text, &box, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
            } else {
                CFont* previous = dc->SelectObject(&upward);
                const int length = dc->GetTextExtent(text).cx;
                dc->TextOut(xb - 2, top + 6 * s + std::max(t + hA, length), text);
                dc->SelectObject(previous);
            }
        }
        m_layout.charts.push_back(std::move(chart));
    }

    // Axes: one vertical axis per column (not per chart, which on a printed grid of several
    // rows would fall outside the page) and one base line per row.
    dc->SelectObject(&axisPen);
    for (int k = 0; k < columns; ++k) {
        dc->MoveTo(R.left + 9 * s + k * colW, R.top + 12 * s + hA);
        dc->LineTo(R.left + 9 * s + k * colW, R.bottom - 6 * s);
    }
    for (int r = 0; r < rows; ++r) {
        dc->MoveTo(R.left + 6 * s, B - 18 * s - 1 - r * rowH);
        dc->LineTo(R.right - 6 * s, B - 18 * s - 1 - r * rowH);
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
    dc->RestoreDC(saved);
}
