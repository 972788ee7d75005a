// The printout of the oscillogram view: its pages (slices of the view's picture, then the
// chosen diagrams), each under a header with the record's data and over a footer with the
// page number; and the view's picture as it goes to the clipboard.
#include <algorithm>
#include <climits>
#include <cmath>

#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "view/TenvorikView.h"
#include "view/ViewZoom.h"

namespace oscview {

namespace {

void MakeArial(CFont& font, int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfPitchAndFamily = FF_SWISS;
    wcsncpy(lf.lfFaceName, L"Arial", 31);
    font.CreateFontIndirect(&lf);
}

CString Quoted(const CString& s) { return L"\"" + s + L"\""; }

// While a printout is measured or drawn, the view takes the layout it has on paper, and gives
// its screen layout back after: nothing of the window's own picture changes. (The caption
// column is measured by every drawing with the same fonts, so its width needs no keeping.)
class PaperLayout {
public:
    explicit PaperLayout(const CTenvorikView& view)
        : m_v(const_cast<CTenvorikView&>(view)), m_analog(m_v.m_analogSize), m_xscale(m_v.m_xScale),
          m_width(m_v.m_clientWidth) {
        if (m_v.m_printWidth <= 0) return;
        if (m_v.m_printAnalogSize > 0) m_v.m_analogSize = m_v.m_printAnalogSize;
        if (m_v.m_printXScale > 0) m_v.m_xScale = m_v.m_printXScale;
        m_v.m_clientWidth = m_v.m_printWidth;
    }
    ~PaperLayout() {
        m_v.m_analogSize = m_analog;
        m_v.m_xScale = m_xscale;
        m_v.m_clientWidth = m_width;
    }
    PaperLayout(const PaperLayout&) = delete;
    PaperLayout& operator=(const PaperLayout&) = delete;

private:
    CTenvorikView& m_v;
    int m_analog;
    double m_xscale;
    int m_width;
};

}  // namespace

std::vector<int> CTenvorikView::PrintRowHeights() const {
    std::vector<int> heights;
    if (!m_doc) return heights;
    const PaperLayout paper(*this);
    // The rows the passes lay out: visible channels in index order; a strip is one row, its
    // other members have no height of their own.
    for (const CChannel& ch : m_doc->m_oscillogram.m_channels) {
        const int h = GetChannelHeight(ch);
        if (h > 0) heights.push_back(h);
    }
    return heights;
}

int CTenvorikView::CountPrintPages() const {
    return PaginateRows(PrintRowHeights(), RowPager(PrintSlice(), GetBottomBand())).pages;
}

int CTenvorikView::GetPrintHeight() const {
    const int64_t slice = PrintSlice();
    return slice > 0 ? int(std::min<int64_t>(slice * CountPrintPages(), INT_MAX)) : 0;
}

int CTenvorikView::GetPrintWidth() const {
    if (m_clientWidth <= 0) return 0;
    return int(int64_t(GetContentWidth()) * m_printPageWidth / m_clientWidth);
}

bool CTenvorikView::OnBeginPrinting(CDC* dc, PrintJob& job, CString* refusal) {
    m_pages.clear();
    PrinterPage page;
    page.dpiX = dc->GetDeviceCaps(LOGPIXELSX);
    page.dpiY = dc->GetDeviceCaps(LOGPIXELSY);
    page.width = dc->GetDeviceCaps(HORZRES);
    page.height = dc->GetDeviceCaps(VERTRES);
    page.widthMm = dc->GetDeviceCaps(HORZSIZE);
    page.heightMm = dc->GetDeviceCaps(VERTSIZE);
    unsigned why = 0;
    if (!ComputePrintGeometry(page, job.margins, job.screenDpi, m_clientWidth, job.geometry, &why)) {
        if (refusal) *refusal = LoadResString(why);
        return false;
    }
    PrintGeometry& g = job.geometry;
    m_printPageWidth = g.pageWidth;
    m_printPageHeight = g.pageHeight;
    // Paper is laid out at the screen's size of things: the picture is as wide as the page in
    // screen pixels, so that captions print as large as a user reads them on the screen (the
    // printer's resolution scales them), rather than a wide window shrunk onto the page.
    m_printWidth = std::max(g.pageWidth, m_leftWidth + 100);
    g.slice = int64_t(m_printWidth) * g.pageHeight / g.pageWidth;
    m_printXScale = PrintXScale();
    // The rows fill the pages they take: the analog rows grow as long as the page count stays.
    m_printAnalogSize = m_analogSize;
    if (m_printOptions[kPrintOscillogram]) {
        const int pages = CountPrintPages();
        int lo = m_analogSize, hi = std::max(m_analogSize, int(std::min<int64_t>(g.slice - GetBottomBand(), INT_MAX / 4)));
        while (lo < hi) {
            const int mid = lo + (hi - lo + 1) / 2;
            m_printAnalogSize = mid;
            if (CountPrintPages() == pages) lo = mid;
            else hi = mid - 1;
        }
        m_printAnalogSize = lo;
        if (CountPrintPages() != pages) m_printAnalogSize = m_analogSize;
    }
    m_pageCount = m_printOptions[kPrintOscillogram] ? CountPrintPages() : 0;
    m_pages = BuildPageList(m_printOptions, m_pageCount);
    m_printing = true;
    return true;
}

double CTenvorikView::PrintXScale() const {
    // The page shows the time the window shows, give or take a tenth; the scale moves in
    // halves and doubles, so that the time axis keeps its steps.
    const double screen = std::max(m_clientWidth - m_leftWidth, 1), paper = std::max(m_printWidth - m_leftWidth, 1);
    const double shown = 0.9 * screen / m_xScale;
    double xs = m_xScale;
    while (xs > 1e-12 && paper / xs < shown) xs /= 2;
    while (xs * 2 <= kMaxXScale && paper / (xs * 2) >= shown) xs *= 2;
    return xs;
}

void CTenvorikView::OnEndPrinting() {
    m_printing = false;
    m_printWidth = 0;
    m_printXScale = 0;
    m_printAnalogSize = 0;
    m_printPageWidth = m_printPageHeight = 0;
    m_pageCount = 0;
}

void CTenvorikView::OnPrint(CDC* dc, int page, const PrintJob& job, PrintHost* host) {
    if (!dc || page < 1 || size_t(page) > m_pages.size()) return;
    const PrintGeometry& g = job.geometry;
    const int entry = m_pages[size_t(page - 1)];
    if (entry == kOscillogramPage) PrintSliceOfPicture(dc, g, page - 1);
    else if (host) host->PrintDiagram(entry, dc, g.picture, job.preview);
    DrawPrintHeader(dc, g);
    DrawPrintFooter(dc, g, page);
}

void CTenvorikView::PrintSliceOfPicture(CDC* dc, const PrintGeometry& g, int slice) {
    const int64_t S = PrintSlice();
    if (S <= 0) return;
    const PaperLayout paper(*this);
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(&g.picture);
    dc->FillSolidRect(&g.picture, RGB(255, 255, 255));
    // The picture's slice, as wide as the paper layout and one page high, is drawn into the page's
    // picture rectangle; the mapping tells the passes that they draw a printed picture.
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowOrg(0, int(S * slice));
    dc->SetWindowExt(m_clientWidth, int(S));
    dc->SetViewportOrg(g.picture.left, g.picture.top);
    dc->SetViewportExt(g.picture.Width(), g.picture.Height());
    DrawContent(dc, m_clientWidth, int(std::min<int64_t>(S * std::max(m_pageCount, 1), INT_MAX / 2)));
    dc->RestoreDC(saved);
    dc->SelectStockObject(BLACK_PEN);
    dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(&g.picture);
}

void CTenvorikView::DrawPrintHeader(CDC* dc, const PrintGeometry& g) {
    const int dpiY = std::max(dc->GetDeviceCaps(LOGPIXELSY), 1);
    const double ry = dpiY / 96.0;
    CFont font, heavy;
    MakeArial(font, int(std::lround(12 * ry)), FW_NORMAL);
    MakeArial(heavy, int(std::lround(12 * ry)), FW_HEAVY);
    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    CPen frame(PS_SOLID, 1, RGB(0, 0, 0));
    dc->SelectObject(&frame);
    dc->SelectStockObject(NULL_BRUSH);
    const int pad = int(std::lround(6 * ry));
    const CRect band(g.header.left, g.header.top, g.header.right, g.header.bottom - pad);
    dc->Rectangle(&band);
    // The logo: the program's name on its colour, left in the frame.
    CRect logo(band.left + pad, band.top + pad, band.left + pad + int(std::lround(96 * ry)), band.bottom - pad);
    dc->FillSolidRect(&logo, RGB(0, 84, 147));
    dc->SelectObject(&heavy);
    dc->SetTextColor(RGB(255, 255, 255));
    dc->DrawText(CString(L"Tenvorik"), &logo, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetTextColor(RGB(0, 0, 0));
    const int x = logo.right + 2 * pad;
    const int lineH = (band.Height() - 2 * pad) / 3;
    const CTenvorikDoc& doc = *m_doc;
    auto line = [&](int i, const CString& label, const CString& value, const CString& label2, const CString& value2) {
        CRect r(x, band.top + pad + i * lineH, band.right - pad, band.top + pad + (i + 1) * lineH);
        dc->SelectObject(&font);
        dc->DrawText(label, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        r.left += dc->GetTextExtent(label).cx;
        dc->SelectObject(&heavy);
        dc->DrawText(value, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (label2.IsEmpty()) return;
        r.left += dc->GetTextExtent(value + L"   ").cx;
        dc->SelectObject(&font);
        dc->DrawText(label2, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        r.left += dc->GetTextExtent(label2).cx;
        dc->SelectObject(&heavy);
        dc->DrawText(value2, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    };
    line(0, LoadResString(IDS_PRINT_RECORD_NAME), Quoted(doc.GetTitle()), CString(), CString());
    line(1, LoadResString(IDS_PRINT_STATION), Quoted(doc.GetStationName()), LoadResString(IDS_PRINT_RECORDER),
         Quoted(doc.GetRecorderId()));
    line(2, LoadResString(IDS_PRINT_START), doc.GetRecordStartText(false), LoadResString(IDS_PRINT_DURATION),
         doc.GetDurationText());
    dc->RestoreDC(saved);
}

void CTenvorikView::DrawPrintFooter(CDC* dc, const PrintGeometry& g, int page) {
    const double ry = std::max(dc->GetDeviceCaps(LOGPIXELSY), 1) / 96.0;
    CFont font;
    MakeArial(font, int(std::lround(12 * ry)), FW_NORMAL);
    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SelectObject(&font);
    CRect r = g.footer;
    r.top += int(std::lround(4 * ry));
    CString number;
    number.Format(L"%i", page);
    dc->DrawText(number, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    const CString text = LoadResString(IDS_PRINT_FOOTER) + L" " + LoadResString(IDS_PRINT_ORGANISATION) + L" " +
                         LoadResString(IDS_PRINT_WEB);
    dc->DrawText(text, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    dc->RestoreDC(saved);
}

std::vector<uint8_t> CTenvorikView::RenderPicturePng(int cx, int cy) {
    if (cx <= 0 || cy <= 0 || !m_doc) return {};
    // What the window shows: the client rectangle at the view's scroll position.
    CDC mem;
    mem.CreateCompatibleDC(nullptr);
    CBitmap bmp;
    if (!bmp.CreateCompatibleBitmap(&mem, cx, cy)) return {};
    mem.SelectObject(&bmp);
    DrawContent(&mem, cx, cy);
    mem.SelectObject(static_cast<CBitmap*>(nullptr));
    return bmp.EncodePng();
}

}  // namespace oscview
