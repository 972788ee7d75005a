#include "view/PrintLayout.h"

#include <algorithm>
#include <cmath>

namespace oscview {

namespace {
// The header's three lines and the footer's one, in screen pixels; scaled to the printer.
constexpr int kHeaderBand = 64;
constexpr int kFooterBand = 24;
}  // namespace

int MarginPixels(int margin, int pixels, int millimetres) {
    if (millimetres <= 0) return 0;
    return int(int64_t(margin) * pixels / millimetres / 100);
}

bool ComputePrintGeometry(const PrinterPage& page, const PrintMargins& margins, int screenDpi, int clientWidth,
                          PrintGeometry& g, unsigned* refusal) {
    auto refuse = [&](unsigned id) {
        if (refusal) *refusal = id;
        return false;
    };
    if (clientWidth <= 0) return refuse(IDS_PRINT_NO_WIDTH);
    if (page.dpiX <= 0 || page.dpiY <= 0 || screenDpi <= 0) return refuse(IDS_PRINT_NO_ROOM);
    const int left = MarginPixels(margins.left, page.width, page.widthMm);
    const int right = MarginPixels(margins.right, page.width, page.widthMm);
    const int top = MarginPixels(margins.top, page.height, page.heightMm);
    const int bottom = MarginPixels(margins.bottom, page.height, page.heightMm);
    g.printable = CRect(left, top, page.width - right, page.height - bottom);
    g.ratio = double(page.dpiX) / screenDpi;
    const double ry = double(page.dpiY) / screenDpi;
    const int header = int(std::lround(kHeaderBand * ry)), footer = int(std::lround(kFooterBand * ry));
    g.header = CRect(g.printable.left, g.printable.top, g.printable.right, g.printable.top + header);
    g.footer = CRect(g.printable.left, g.printable.bottom - footer, g.printable.right, g.printable.bottom);
    g.picture = CRect(g.printable.left, g.header.bottom, g.printable.right, g.footer.top);
    g.pageWidth = int(g.picture.Width() / g.ratio);
    g.pageHeight = int(g.picture.Height() / g.ratio);
    // A page must at least hold the time axis band and a little above it.
    if (g.picture.Width() <= 0 || g.picture.Height() <= 0 || g.pageWidth <= 0 || g.pageHeight <= 80)
        return refuse(IDS_PRINT_NO_ROOM);
    g.slice = int64_t(clientWidth) * g.pageHeight / g.pageWidth;
    if (g.slice <= 80) return refuse(IDS_PRINT_NO_ROOM);
    return true;
}

RowPager::RowPager(int64_t slice, int band) : m_slice(slice > band + 1 ? slice : 0), m_band(band) {}

bool RowPager::Place(int64_t& top, int h, int64_t* finishedBottom) const {
    if (!On()) return false;
    const int64_t pageTop = top / m_slice * m_slice;
    const int64_t pageBottom = pageTop + m_slice;
    if (top + h <= pageBottom - m_band || top == pageTop) return false;
    if (finishedBottom) *finishedBottom = pageBottom - 1;
    top = pageBottom;
    return true;
}

PagedRows PaginateRows(const std::vector<int>& heights, const RowPager& pager) {
    PagedRows r;
    int64_t top = 0;
    for (int h : heights) {
        pager.Place(top, h);
        r.tops.push_back(top);
        top += h;
    }
    if (pager.On()) {
        // The last page ends below the last row and its own time axis.
        const int64_t end = top + pager.Band();
        r.pages = int(std::max<int64_t>(1, (end + pager.Slice() - 1) / pager.Slice()));
    }
    return r;
}

std::vector<int> BuildPageList(const int options[kPrintOptionCount], int oscillogramPages) {
    std::vector<int> pages;
    if (options[kPrintOscillogram]) pages.assign(size_t(std::max(oscillogramPages, 0)), kOscillogramPage);
    for (int i = kPrintSpectrum; i < kPrintOptionCount; ++i)
        if (options[i]) pages.push_back(kDiagramPageBits[i]);
    return pages;
}

}  // namespace oscview
