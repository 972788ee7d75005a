#include "diagrams/DiagramWnd.h"

#include <algorithm>

#include "diagrams/ProtectionBlock.h"
#include "platform/draw/Surfaces.h"

DiagramPrintScale ComputePrintScale(int printerDpi, int screenDpi) {
    DiagramPrintScale p;
    p.scale = screenDpi > 0 ? std::max(1, printerDpi / screenDpi) : 1;
    p.fontHeight = p.scale * 52 / 5;
    return p;
}

DiagramWnd::DiagramWnd(DiagramOwner* owner) : m_owner(owner) {
    CScreenDC screen;
    m_memDC.CreateCompatibleDC(&screen);
    m_font.CreateFont(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, L"Tahoma");
}

std::vector<ProtectionBlock>& DiagramWnd::GetBlocks() {
    static std::vector<ProtectionBlock> none;
    return none;
}

CDC* DiagramWnd::Paint(CSize clientSize) {
    m_client = clientSize;
    const CSize have = m_bitmap.IsCreated() ? m_bitmap.GetSize() : CSize();
    if (clientSize.cx > have.cx || clientSize.cy > have.cy) {
        // Grown in steps so that dragging a pane's edge does not make a picture per pixel.
        const int w = std::max({have.cx, clientSize.cx + 256, 1});
        const int h = std::max({have.cy, clientSize.cy + 256, 1});
        m_bitmap.CreateCompatibleBitmap(&m_memDC, w, h);
        m_memDC.SelectObject(&m_bitmap);
    }
    Draw(&m_memDC, CRect(0, 0, clientSize.cx, clientSize.cy), 1, &m_font, GetActiveDocument());
    return &m_memDC;
}

void DiagramWnd::Print(CDC* dc, const CRect& page, CTenvorikDoc* doc, bool preview, int screenDpi) {
    if (!dc) return;
    const DiagramPrintScale ps = ComputePrintScale(dc->GetDeviceCaps(LOGPIXELSY), screenDpi);
    const int saved = dc->SaveDC();
    CFont font;
    font.CreateFont(ps.fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, L"Arial");
    if (!preview) {
        Draw(dc, page, ps.scale, &font, doc);
    } else if (page.Width() > 0 && page.Height() > 0) {
        CDC mem;
        mem.CreateCompatibleDC(&m_memDC);
        CBitmap bmp;
        bmp.CreateCompatibleBitmap(&m_memDC, page.Width(), page.Height());
        mem.SelectObject(&bmp);
        Draw(&mem, CRect(0, 0, page.Width(), page.Height()), ps.scale, &font, doc);
        dc->BitBlt(page.left, page.top, page.Width(), page.Height(), &mem, 0, 0, SRCCOPY);
    }
    dc->RestoreDC(saved);
}

bool DiagramWnd::CopyToClipboard(DiagramPicture& picture) {
    CTenvorikDoc* doc = GetActiveDocument();
    if (!doc || m_client.cx <= 0 || m_client.cy <= 0) return false;
    const CRect rect(0, 0, m_client.cx, m_client.cy);
    // The raster is the picture as the screen shows it; the vector form is drawn the same way.
    CDC* mem = Paint(m_client);
    CDC shot;
    shot.CreateCompatibleDC(mem);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(mem, rect.Width(), rect.Height());
    shot.SelectObject(&bmp);
    shot.BitBlt(0, 0, rect.Width(), rect.Height(), mem, 0, 0, SRCCOPY);
    picture.png = bmp.EncodePng();
    SvgPicture svg;
    if (svg.Create(std::string(), rect.Width(), rect.Height())) {
        Draw(svg.GetDC(), rect, 1, &m_font, doc);
        if (svg.Close()) picture.svg = svg.Data();
    }
    picture.width = rect.Width();
    picture.height = rect.Height();
    return !picture.png.empty();
}
