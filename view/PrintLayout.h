#pragma once
// The arithmetic of a printout of the oscillogram, free of any device: margins in device
// pixels, the part of a page the picture takes, how the view's rows fall onto pages, and the
// list of pages with the diagram pages after the oscillogram's.
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

namespace oscview {

// String ids of the printout's texts and refusals.
enum PrintString : unsigned {
    IDS_PRINT_DIAGRAM_GROUP = 9800,
    IDS_PRINT_TITLE = 9801,
    IDS_PRINT_RECORD_NAME = 9802,
    IDS_PRINT_STATION = 9803,
    IDS_PRINT_RECORDER = 9804,
    IDS_PRINT_START = 9805,
    IDS_PRINT_DURATION = 9806,
    IDS_PRINT_FOOTER = 9807,
    IDS_PRINT_ORGANISATION = 9808,
    IDS_PRINT_WEB = 9809,
    IDS_PRINT_NO_ROOM = 9810,
    IDS_PRINT_NO_WIDTH = 9811,
    IDS_COPY_PICTURE = 9813,
    IDS_PRINT_FAILED = 9814,
};

// The print options, in the order of their check boxes, and the page entries they give.
enum PrintOption { kPrintOscillogram, kPrintSpectrum, kPrintVector, kPrintCircle, kPrintDifferential, kPrintOptionCount };
constexpr int kOscillogramPage = 1;
// The display bit of each diagram option (the bits the frame finds its diagram windows by).
constexpr int kDiagramPageBits[kPrintOptionCount] = {0, 2, 4, 8, 16};

// What a printer page is: resolution, printable size in pixels and in millimetres.
struct PrinterPage {
    int dpiX = 0, dpiY = 0;         // LOGPIXELSX, LOGPIXELSY
    int width = 0, height = 0;      // HORZRES, VERTRES
    int widthMm = 0, heightMm = 0;  // HORZSIZE, VERTSIZE
};

// Page margins in hundredths of a millimetre.
struct PrintMargins {
    int left = 2000, top = 2000, right = 2000, bottom = 2000;
};

// A margin in device pixels: margin × (pixels / millimetres) / 100; 0 for a device that
// does not say its size.
int MarginPixels(int margin, int pixels, int millimetres);

// Where things go on every printed page, in device pixels, and the picture's scale.
struct PrintGeometry {
    CRect printable;       // the page less its margins
    CRect header, footer;  // the bands at the top and the bottom of the printable area
    CRect picture;         // what is left between them: the view's slice or the diagram
    double ratio = 1;      // printer pixels per screen pixel (r)
    int pageWidth = 0;     // the picture's size in screen pixels
    int pageHeight = 0;
    int64_t slice = 0;     // the view's picture height one page shows: client width × pageHeight / pageWidth
};

// The page geometry for a view `clientWidth` screen pixels wide; false, with the id of the
// text that says why, when nothing can be printed (a view without width, margins that
// leave no room).
bool ComputePrintGeometry(const PrinterPage& page, const PrintMargins& margins, int screenDpi, int clientWidth,
                          PrintGeometry& geometry, unsigned* refusal);

// Rows onto pages `slice` pixels high whose bottom `band` pixels hold the time axis: a row
// that would reach into its page's band starts at the top of the next page, unless it
// already starts a page. Off (slice 0) rows simply follow each other.
class RowPager {
public:
    RowPager() = default;
    RowPager(int64_t slice, int band);
    bool On() const { return m_slice > 0; }
    int64_t Slice() const { return m_slice; }
    int Band() const { return m_band; }
    // Moves `top` to where a row of height h is drawn; true when it went to the next page,
    // whose previous page then ends at `finishedBottom` (its last line).
    bool Place(int64_t& top, int h, int64_t* finishedBottom = nullptr) const;

private:
    int64_t m_slice = 0;
    int m_band = 30;
};

// The tops of rows of the given heights, and how many pages they take, the last page's
// band included.
struct PagedRows {
    std::vector<int64_t> tops;
    int pages = 1;
};
PagedRows PaginateRows(const std::vector<int>& heights, const RowPager& pager);

// The page list: `oscillogramPages` entries for the oscillogram when its option is on, then
// one entry (the display bit) per chosen diagram in the order spectrum, vector, circle,
// differential.
std::vector<int> BuildPageList(const int options[kPrintOptionCount], int oscillogramPages);

}  // namespace oscview
