#include "platform/draw/GdiObjects.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

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

// The picture formats a mimic screen or a host may use beside PNG, by gdk-pixbuf's names: what
// the pictures of such screens have always been drawn in. Other formats the library knows
// (vector pictures, cursors, icon sets of other systems) are not pictures of ours.
bool IsPictureFormat(GdkPixbufFormat* format) {
    if (!format) return false;
    gchar* name = gdk_pixbuf_format_get_name(format);
    const bool ours = name && (std::strcmp(name, "bmp") == 0 || std::strcmp(name, "jpeg") == 0 ||
                               std::strcmp(name, "gif") == 0 || std::strcmp(name, "tiff") == 0 ||
                               std::strcmp(name, "ico") == 0 || std::strcmp(name, "png") == 0);
    g_free(name);
    return ours;
}

// The pixels of a decoded picture as an image surface: opaque pictures as RGB24, others as
// premultiplied ARGB32. Null when they are of a kind we do not draw or too large.
cairo_surface_t* SurfaceOf(GdkPixbuf* pixbuf) {
    if (!pixbuf || gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8)
        return nullptr;
    const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int rowstride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    if (!CBitmap::IsPictureSizeAllowed(w, h) || (channels != 3 && channels != 4) || !pixels) return nullptr;
    // Some readers give every picture an alpha channel; one that is opaque throughout is an
    // opaque picture.
    bool alpha = false;
    if (gdk_pixbuf_get_has_alpha(pixbuf) && channels == 4)
        for (int y = 0; y < h && !alpha; ++y)
            for (int x = 0; x < w && !alpha; ++x) alpha = pixels[size_t(y) * size_t(rowstride) + size_t(x) * 4 + 3] != 255;
    cairo_surface_t* surface = Checked(cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, w, h));
    if (!surface) return nullptr;
    unsigned char* out = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < h; ++y) {
        const guchar* in = pixels + size_t(y) * size_t(rowstride);
        auto* row = reinterpret_cast<uint32_t*>(out + size_t(y) * size_t(stride));
        for (int x = 0; x < w; ++x, in += channels) {
            const uint32_t a = alpha ? in[3] : 255;
            auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (pre(in[0]) << 16) | (pre(in[1]) << 8) | pre(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

// Where the memory file is not to be had: gdk-pixbuf's loader, fed the bytes at once, with
// its decoding stopped as soon as the header declares too large a picture.
GdkPixbuf* DecodeThroughLoader(const uint8_t* data, size_t size) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    g_signal_connect(loader, "size-prepared", G_CALLBACK(+[](GdkPixbufLoader* l, int w, int h, gpointer) {
                         // A size of 0 makes the reader stop before it takes the picture's memory.
                         if (!CBitmap::IsPictureSizeAllowed(w, h)) gdk_pixbuf_loader_set_size(l, 0, 0);
                     }),
                     nullptr);
    const bool written = gdk_pixbuf_loader_write(loader, data, size, nullptr);
    // Closed in every case, or the loader complains when it goes.
    const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbuf* pixbuf = written && closed && IsPictureFormat(gdk_pixbuf_loader_get_format(loader))
                            ? gdk_pixbuf_loader_get_pixbuf(loader)
                            : nullptr;
    if (pixbuf) g_object_ref(pixbuf);
    g_object_unref(loader);
    return pixbuf;
}

// Decodes a picture of another format than PNG (an animation gives its first frame). Its
// declared size is asked first, from the header alone, and a picture larger than allowed is
// not decoded at all. The bytes are decoded in one call, as from a file: gdk-pixbuf's
// incremental loader takes seconds over a damaged GIF that its file reader gives up on at
// once, so the bytes go to a file in memory and are read from there. Null when the bytes are
// not such a picture, or too large a one.
cairo_surface_t* DecodePicture(const uint8_t* data, size_t size) {
    if (!data || size == 0) return nullptr;
    GdkPixbuf* pixbuf = nullptr;
    const int fd = memfd_create("picture", MFD_CLOEXEC);
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    bool inMemoryFile = fd >= 0;
    for (size_t done = 0; inMemoryFile && done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) inMemoryFile = false;
        else done += size_t(n);
    }
    if (inMemoryFile && access(path.c_str(), R_OK) == 0) {
        int w = 0, h = 0;
        if (IsPictureFormat(gdk_pixbuf_get_file_info(path.c_str(), &w, &h)) && CBitmap::IsPictureSizeAllowed(w, h)) {
            GError* error = nullptr;
            pixbuf = gdk_pixbuf_new_from_file(path.c_str(), &error);
            // A reader that fails may still hand out what it had: a damaged picture is refused.
            if (error) {
                g_error_free(error);
                if (pixbuf) g_object_unref(pixbuf);
                pixbuf = nullptr;
            }
        }
    } else {
        pixbuf = DecodeThroughLoader(data, size);
    }
    if (fd >= 0) close(fd);
    cairo_surface_t* surface = SurfaceOf(pixbuf);
    if (pixbuf) g_object_unref(pixbuf);
    return surface;
}

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// A BMP whose header puts its information block or its pixels past the end of the bytes, or an
// icon whose directory does so with one of its pictures or its colour table, cannot be read, and
// gdk-pixbuf's readers take as much memory as the header says (up to 4 GB) before they find that
// out: such a file is refused here.
bool PictureHeaderFits(const uint8_t* data, size_t size) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (size < 18) return false;
        return Le32(data + 10) <= size && 14 + uint64_t(Le32(data + 14)) <= size;
    }
    // An icon (type 1) or a cursor (type 2): a directory of 16-byte entries after 6 bytes, each
    // entry's picture from its offset on, beginning with a 40-byte information block and the
    // colour table of as many entries as the block says it uses.
    if (size >= 4 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) && data[3] == 0) {
        if (size < 6) return false;
        const size_t count = size_t(data[4]) | size_t(data[5]) << 8;
        if (size < 6 + 16 * count) return false;
        for (size_t i = 0; i < count; ++i) {
            const uint64_t at = Le32(data + 6 + 16 * i + 12);
            if (at + 40 > size) return false;
            if (at + 40 + 4 * uint64_t(Le32(data + at + 32)) > size) return false;
        }
    }
    return true;
}

// A PNG's size, from its header chunk; false when the bytes are no PNG or declare a picture
// larger than allowed. cairo's reader takes the whole picture's memory before it reads a row.
bool PngFits(const uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 24 || std::memcmp(data, kSignature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
    auto be32 = [](const uint8_t* p) {
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
    };
    return CBitmap::IsPictureSizeAllowed(be32(data + 16), be32(data + 20));
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

bool CBitmap::IsPictureSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           uint64_t(width) * uint64_t(height) * 4 <= kMaxPictureBytes;
}

bool CBitmap::LoadPngFile(const std::string& path) {
    uint8_t header[24] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) || !PngFits(header, sizeof header)) {
        DeleteObject();
        return false;
    }
    Adopt(cairo_image_surface_create_from_png(path.c_str()));
    return m_created;
}

bool CBitmap::LoadPngData(const void* data, size_t size) {
    if (!data || size == 0 || !PngFits(static_cast<const uint8_t*>(data), size)) {
        DeleteObject();
        return false;
    }
    ReadState s{static_cast<const uint8_t*>(data), size, 0};
    Adopt(cairo_image_surface_create_from_png_stream(&ReadBytes, &s));
    return m_created;
}

bool CBitmap::LoadPictureFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    // A file larger than the largest picture allowed, decoded, is no picture of a screen.
    if (!in || uint64_t(std::streamoff(in.tellg())) > 2 * kMaxPictureBytes || !in.seekg(0)) {
        DeleteObject();
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadPictureData(bytes.data(), bytes.size());
}

bool CBitmap::LoadPictureData(const void* data, size_t size) {
    // PNG through cairo's own reader, as every PNG of the program has always been read.
    if (LoadPngData(data, size)) return true;
    if (!PictureHeaderFits(static_cast<const uint8_t*>(data), size)) {
        DeleteObject();
        return false;
    }
    Adopt(DecodePicture(static_cast<const uint8_t*>(data), size));
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
