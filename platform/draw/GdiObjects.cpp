#include "platform/draw/GdiObjects.h"

#include <cairo.h>

#include <cstring>

namespace {

struct ReadState {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

cairo_status_t ReadBytes(void* closure, unsigned char* out, unsigned int length) {
    auto* s = static_cast<ReadState*>(closure);
    if (s->size - s->pos < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, s->data + s->pos, length);
    s->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t WriteBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::vector<uint8_t>*>(closure)->insert(static_cast<std::vector<uint8_t>*>(closure)->end(), data,
                                                         data + length);
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* Checked(cairo_surface_t* s) {
    if (s && cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) return s;
    if (s) cairo_surface_destroy(s);
    return nullptr;
}

}  // namespace

CBitmap::CBitmap(const CBitmap& other) : CGdiObject(other) {
    m_surface = other.m_surface ? cairo_surface_reference(other.m_surface) : nullptr;
}

CBitmap& CBitmap::operator=(const CBitmap& other) {
    if (this != &other) {
        cairo_surface_t* s = other.m_surface ? cairo_surface_reference(other.m_surface) : nullptr;
        DeleteObject();
        m_surface = s;
        m_created = other.m_created;
    }
    return *this;
}

CBitmap::~CBitmap() { DeleteObject(); }

void CBitmap::Adopt(cairo_surface_t* surface) {
    DeleteObject();
    m_surface = Checked(surface);
    m_created = m_surface != nullptr;
}

bool CBitmap::CreateCompatibleBitmap(CDC*, int width, int height) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return false;
    Adopt(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    return m_created;
}

bool CBitmap::CreateTransparentBitmap(int width, int height) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return false;
    Adopt(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    return m_created;
}

bool CBitmap::LoadPngFile(const std::string& path) {
    Adopt(cairo_image_surface_create_from_png(path.c_str()));
    return m_created;
}

bool CBitmap::LoadPngData(const void* data, size_t size) {
    if (!data || size == 0) {
        DeleteObject();
        return false;
    }
    ReadState s{static_cast<const uint8_t*>(data), size, 0};
    Adopt(cairo_image_surface_create_from_png_stream(&ReadBytes, &s));
    return m_created;
}

bool CBitmap::DeleteObject() {
    if (m_surface) cairo_surface_destroy(m_surface);
    m_surface = nullptr;
    return CGdiObject::DeleteObject();
}

CSize CBitmap::GetSize() const {
    if (!m_surface) return {};
    return {cairo_image_surface_get_width(m_surface), cairo_image_surface_get_height(m_surface)};
}

bool CBitmap::HasAlpha() const { return m_surface && cairo_image_surface_get_format(m_surface) == CAIRO_FORMAT_ARGB32; }

bool CBitmap::SavePng(const std::string& path) const {
    if (!m_surface) return false;
    cairo_surface_flush(m_surface);
    return cairo_surface_write_to_png(m_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

std::vector<uint8_t> CBitmap::EncodePng() const {
    std::vector<uint8_t> out;
    if (!m_surface) return out;
    cairo_surface_flush(m_surface);
    if (cairo_surface_write_to_png_stream(m_surface, &WriteBytes, &out) != CAIRO_STATUS_SUCCESS) out.clear();
    return out;
}

COLORREF CBitmap::GetPixel(int x, int y) const {
    const CSize size = GetSize();
    if (x < 0 || y < 0 || x >= size.cx || y >= size.cy) return CLR_INVALID;
    cairo_surface_flush(m_surface);
    const uint8_t* data = cairo_image_surface_get_data(m_surface);
    const uint32_t v = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(cairo_image_surface_get_stride(m_surface)))[x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}
