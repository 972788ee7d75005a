// Pictures in every format a mimic screen's pictures come in: BMP and GIF written byte by byte
// here, JPEG and TIFF made with gdk-pixbuf's own saver where it has one. Each loads with its
// pixels, through the bitmap and through GDI+ images from a file; what is no picture of ours
// is refused.
#include <gtest/gtest.h>

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/GdiPlus.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, unsigned v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// The four corners of every test picture, as 0xRRGGBB: top left, top right, bottom left,
// bottom right.
constexpr uint32_t kCorners[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// A 24-bit BMP of 2 x 2 pixels; rows go bottom up, each padded to four bytes.
Bytes Bmp() {
    Bytes b = {'B', 'M'};
    const uint32_t rowBytes = 8, pixelBytes = rowBytes * 2;
    Put32(b, 14 + 40 + pixelBytes);
    Put32(b, 0);
    Put32(b, 14 + 40);
    Put32(b, 40);
    Put32(b, 2);
    Put32(b, 2);
    Put16(b, 1);
    Put16(b, 24);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    for (int row : {1, 0}) {
        for (int x = 0; x < 2; ++x) {
            const uint32_t c = kCorners[row * 2 + x];
            b.push_back(uint8_t(c)), b.push_back(uint8_t(c >> 8)), b.push_back(uint8_t(c >> 16));
        }
        b.push_back(0), b.push_back(0);  // 6 bytes of pixels, padded to 8
    }
    return b;
}

// A GIF of 2 x 2 pixels with a four-colour table, colour `transparent` see-through when it is
// not -1. The LZW stream sends a clear code before every pixel, so the codes stay three bits
// wide and need no dictionary.
Bytes Gif(int transparent = -1) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, 2);
    Put16(b, 2);
    b.push_back(0x81);  // global colour table of 4 entries
    b.push_back(0);
    b.push_back(0);
    for (uint32_t c : kCorners) b.push_back(uint8_t(c >> 16)), b.push_back(uint8_t(c >> 8)), b.push_back(uint8_t(c));
    if (transparent >= 0) {
        const uint8_t control[] = {0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparent), 0};
        b.insert(b.end(), control, control + sizeof control);
    }
    b.push_back(0x2C);
    Put16(b, 0), Put16(b, 0), Put16(b, 2), Put16(b, 2);
    b.push_back(0);
    b.push_back(2);  // minimum code size: clear is 4, end is 5
    const int codes[] = {4, 0, 4, 1, 4, 2, 4, 3, 5};
    Bytes data;
    uint32_t acc = 0;
    int bits = 0;
    for (int c : codes) {
        acc |= uint32_t(c) << bits;
        bits += 3;
        while (bits >= 8) data.push_back(uint8_t(acc)), acc >>= 8, bits -= 8;
    }
    if (bits) data.push_back(uint8_t(acc));
    b.push_back(uint8_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

// A picture of 16 x 16 whose four quarters have the corners' colours, saved by gdk-pixbuf;
// empty when it has no saver for `format`.
Bytes Saved(const char* format) {
    GdkPixbuf* p = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 16, 16);
    const int stride = gdk_pixbuf_get_rowstride(p);
    guchar* px = gdk_pixbuf_get_pixels(p);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t c = kCorners[(y / 8) * 2 + x / 8];
            guchar* at = px + y * stride + x * 3;
            at[0] = guchar(c >> 16), at[1] = guchar(c >> 8), at[2] = guchar(c);
        }
    gchar* buffer = nullptr;
    gsize size = 0;
    Bytes out;
    if (gdk_pixbuf_save_to_buffer(p, &buffer, &size, format, nullptr, nullptr)) out.assign(buffer, buffer + size);
    g_free(buffer);
    g_object_unref(p);
    return out;
}

uint32_t Rgb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

void Write(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

TEST(PictureFormats, EachFormatLoadsWithItsPixels) {
    testutil::TempDir dir;
    struct Case {
        const char* name;
        Bytes bytes;
        int size;       // width and height
        int tolerance;  // JPEG is lossy
    };
    std::vector<Case> cases = {{"bmp", Bmp(), 2, 0}, {"gif", Gif(), 2, 0}, {"png", Saved("png"), 16, 0}};
    for (const char* format : {"jpeg", "tiff"}) {
        Bytes saved = Saved(format);
        if (saved.empty()) {
            std::printf("no %s saver: not checked\n", format);
            continue;
        }
        cases.push_back({format, std::move(saved), 16, std::string(format) == "jpeg" ? 40 : 0});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CBitmap picture;
        ASSERT_TRUE(picture.LoadPictureData(c.bytes.data(), c.bytes.size()));
        EXPECT_EQ(picture.GetSize(), CSize(c.size, c.size));
        EXPECT_FALSE(picture.HasAlpha());
        const int far = c.size - 1 - (c.size > 2 ? 2 : 0), near = c.size > 2 ? 2 : 0;
        EXPECT_TRUE(Near(Rgb(picture.GetPixel(near, near)), kCorners[0], c.tolerance));
        EXPECT_TRUE(Near(Rgb(picture.GetPixel(far, near)), kCorners[1], c.tolerance));
        EXPECT_TRUE(Near(Rgb(picture.GetPixel(near, far)), kCorners[2], c.tolerance));
        EXPECT_TRUE(Near(Rgb(picture.GetPixel(far, far)), kCorners[3], c.tolerance));

        // A file of the format, under a name that does not tell it, through GDI+ as a mimic
        // screen loads its pictures.
        const std::string path = dir.path() + "/picture-" + c.name + ".img";
        Write(path, c.bytes);
        std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromFile(platform::Utf8ToWide(path).c_str()));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
        EXPECT_EQ(image->GetWidth(), UINT(c.size));
        CBitmap fromFile;
        EXPECT_TRUE(fromFile.LoadPictureFile(path));
        EXPECT_EQ(Rgb(fromFile.GetPixel(0, 0)), Rgb(picture.GetPixel(0, 0)));
    }
}

TEST(PictureFormats, TransparentPixelsKeepTheirAlpha) {
    const Bytes gif = Gif(3);  // the bottom right pixel is see-through
    CBitmap picture;
    ASSERT_TRUE(picture.LoadPictureData(gif.data(), gif.size()));
    EXPECT_TRUE(picture.HasAlpha());
    const auto* px = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(picture.Surface()));
    const int stride = cairo_image_surface_get_stride(picture.Surface()) / 4;
    EXPECT_EQ(px[0], 0xFFFF0000u);
    EXPECT_EQ(px[stride + 1], 0u);
}

TEST(PictureFormats, WhatIsNoPictureOfOursIsRefused) {
    testutil::TempDir dir;
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'><rect width='4' "
                            "height='4' fill='red'/></svg>";
    Bytes truncated = Bmp();
    truncated.resize(20);
    const std::pair<const char*, Bytes> refused[] = {
        {"vector picture", Bytes(svg.begin(), svg.end())},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o'}},
        {"cut short", truncated},
        {"empty", Bytes{}},
    };
    for (const auto& [what, bytes] : refused) {
        CBitmap picture;
        EXPECT_FALSE(picture.LoadPictureData(bytes.data(), bytes.size())) << what;
        EXPECT_EQ(picture.Surface(), nullptr) << what;
        const std::string path = dir.path() + "/refused.img";
        Write(path, bytes);
        Gdiplus::Bitmap image(platform::Utf8ToWide(path).c_str());
        EXPECT_EQ(image.GetLastStatus(), Gdiplus::UnknownImageFormat) << what;
    }
    Gdiplus::Bitmap missing(L"/no/such/picture.bmp");
    EXPECT_EQ(missing.GetLastStatus(), Gdiplus::FileNotFound);
    CBitmap none;
    EXPECT_FALSE(none.LoadPictureFile(dir.path() + "/none.gif"));
}
