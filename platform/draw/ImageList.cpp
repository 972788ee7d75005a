#include "platform/draw/ImageList.h"

#include <cairo.h>

#include "platform/draw/DeviceContext.h"

CImageList::~CImageList() { DeleteImageList(); }

bool CImageList::Create(int cx, int cy, UINT, int, int) {
    DeleteImageList();
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return false;
    m_cx = cx;
    m_cy = cy;
    return true;
}

bool CImageList::DeleteImageList() {
    for (auto* s : m_images) cairo_surface_destroy(s);
    m_images.clear();
    return true;
}

int CImageList::Add(const CBitmap* strip, COLORREF mask) { return AddStrip(strip, true, mask); }
int CImageList::Add(const CBitmap* strip) { return AddStrip(strip, false, 0); }

int CImageList::AddStrip(const CBitmap* strip, bool masked, COLORREF mask) {
    if (m_cx <= 0 || !strip || !strip->Surface()) return -1;
    const CSize size = strip->GetSize();
    const int count = size.cx / m_cx;
    if (count <= 0 || size.cy < m_cy) return -1;
    cairo_surface_t* src = strip->Surface();
    cairo_surface_flush(src);
    const bool srcAlpha = cairo_image_surface_get_format(src) == CAIRO_FORMAT_ARGB32;
    const uint8_t* sdata = cairo_image_surface_get_data(src);
    const int sstride = cairo_image_surface_get_stride(src);
    const uint32_t key = (uint32_t(GetRValue(mask)) << 16) | (uint32_t(GetGValue(mask)) << 8) | GetBValue(mask);
    const int first = int(m_images.size());
    for (int k = 0; k < count; ++k) {
        cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_cx, m_cy);
        uint8_t* d = cairo_image_surface_get_data(img);
        const int dstride = cairo_image_surface_get_stride(img);
        for (int y = 0; y < m_cy; ++y) {
            const auto* srow = reinterpret_cast<const uint32_t*>(sdata + size_t(y) * size_t(sstride)) + k * m_cx;
            auto* drow = reinterpret_cast<uint32_t*>(d + size_t(y) * size_t(dstride));
            for (int x = 0; x < m_cx; ++x) {
                uint32_t v = srow[x];
                if (!srcAlpha) v |= 0xFF000000u;
                if (masked && (v & 0xFFFFFFu) == key && (v >> 24) == 0xFF) v = 0;
                drow[x] = v;
            }
        }
        cairo_surface_mark_dirty(img);
        m_images.push_back(img);
    }
    return first;
}

bool CImageList::Draw(CDC* dc, int index, POINT point, UINT) const {
    if (!dc || index < 0 || index >= int(m_images.size())) return false;
    POINT p = point;
    dc->LPtoDP(&p);
    dc->DrawSurface(m_images[size_t(index)], p.x, p.y, 0, 0, m_cx, m_cy);
    return true;
}
