#include "halvex/helpers/Ai_Bmp.h"

#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "halvex/helpers/Ai_GetResFile.h"
#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiObjects.h"

namespace {

uint32_t Le32(const BYTE* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

void Put16(std::string& out, uint32_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Width and height of an information header at `p` with `n` bytes after it.
bool InfoSize(const BYTE* p, size_t n, SIZE* size) {
    if (n < 12) return false;
    uint32_t headerSize = Le32(p);
    if (headerSize == 12) {  // the old core header: 16-bit sizes
        size->cx = int(uint32_t(p[4]) | uint32_t(p[5]) << 8);
        size->cy = int(uint32_t(p[6]) | uint32_t(p[7]) << 8);
        return true;
    }
    if (headerSize < 40 || n < 40) return false;
    size->cx = int32_t(Le32(p + 4));
    size->cy = std::abs(int32_t(Le32(p + 8)));
    return size->cx > 0;
}

}  // namespace

bool CAi_Bmp::GetBitmapSize(DWORD resourceId, SIZE* size) {
    const BYTE* data = nullptr;
    size_t n = 0;
    if (!size || resourceId > 0xFFFF || !CAi_GetResFile::FindResource(nullptr, L"BITMAP", WORD(resourceId), &data, &n))
        return false;
    return InfoSize(data, n, size);
}

bool CAi_Bmp::GetBitmapSize(const CString& file, SIZE* size) {
    if (!size) return false;
    size->cx = size->cy = 0;
    std::string bytes;
    try {
        if (!platform::FileExists(file)) return false;
        bytes = platform::ReadFileBytes(file);
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
    if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    SIZE s{};
    if (!InfoSize(reinterpret_cast<const BYTE*>(bytes.data()) + 14, bytes.size() - 14, &s)) return false;
    *size = s;
    return true;
}

void CAi_Bmp::SetBMP(CBitmap* bitmap) {
    m_pBitmap = bitmap;
    m_bitmap = BITMAP();
    m_bits.clear();
    cairo_surface_t* s = bitmap ? bitmap->Surface() : nullptr;
    if (!s || cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return;
    cairo_surface_flush(s);
    m_bitmap.bmWidth = cairo_image_surface_get_width(s);
    m_bitmap.bmHeight = cairo_image_surface_get_height(s);
    m_bitmap.bmWidthBytes = cairo_image_surface_get_stride(s);
    m_bitmap.bmBitsPixel = 32;
    const BYTE* data = cairo_image_surface_get_data(s);
    if (data) m_bits.assign(data, data + size_t(m_bitmap.bmWidthBytes) * size_t(m_bitmap.bmHeight));
}

bool CAi_Bmp::MoveOutBMPToDC(CDC* dc, const SIZE* size, const POINT* at) {
    return MoveOutBMPToDC(dc, size, at, m_pBitmap, &m_bitmap);
}

bool CAi_Bmp::MoveOutBMPToDC(CDC* dc, const SIZE* size, const POINT* at, CBitmap*, const BITMAP* description) {
    if (!dc || !size || !description || m_bits.empty()) return false;
    const BITMAP& d = *description;
    if (d.bmBitsPixel != 32 || d.bmWidth <= 0 || d.bmHeight <= 0 || int64_t(d.bmWidthBytes) < int64_t(d.bmWidth) * 4)
        return false;
    if (size_t(d.bmWidthBytes) * size_t(d.bmHeight - 1) + size_t(d.bmWidth) * 4 > m_bits.size()) return false;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, d.bmWidth, d.bmHeight);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return false;
    }
    cairo_surface_flush(s);
    BYTE* to = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < d.bmHeight; ++y)
        std::memcpy(to + size_t(y) * size_t(stride), m_bits.data() + size_t(y) * size_t(d.bmWidthBytes),
                    size_t(d.bmWidth) * 4);
    cairo_surface_mark_dirty(s);
    CBitmap picture;
    picture.Adopt(s);
    CDC memory;
    if (!memory.CreateCompatibleDC(dc)) return false;
    CBitmap* old = memory.SelectObject(&picture);
    POINT p = at ? *at : POINT{0, size->cy};
    bool ok = dc->StretchBlt(p.x, p.y, size->cx, size->cy, &memory, 0, 0, d.bmWidth, d.bmHeight, SRCCOPY);
    memory.SelectObject(old);
    return ok;
}

bool CAi_Bmp::MoveOutBMPFileToDC(CDC*, const SIZE*, const POINT*, const CString&) { return false; }

bool CAi_Bmp::SaveBitmapInFile(const CBitmap* bitmap, const CString& file) {
    cairo_surface_t* s = bitmap ? bitmap->Surface() : nullptr;
    if (!s || file.IsEmpty() || cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return false;
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    const BYTE* data = cairo_image_surface_get_data(s);
    if (!data || w <= 0 || h <= 0) return false;
    uint32_t rowBytes = uint32_t(w) * 4, imageBytes = rowBytes * uint32_t(h);
    std::string out;
    out += "BM";
    Put32(out, 14 + 40 + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(h));  // bottom-up rows
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);  // no compression
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    // Cairo keeps premultiplied native-endian ARGB, which on little-endian machines is the
    // BGRA byte order of the file.
    for (int y = h - 1; y >= 0; --y) out.append(reinterpret_cast<const char*>(data + size_t(y) * size_t(stride)), rowBytes);
    return platform::TryWriteFileAtomically(file, out);
}
