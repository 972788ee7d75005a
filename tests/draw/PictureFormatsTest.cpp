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

namespace {

void Put16Be(Bytes& b, unsigned v) {
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}
void Put32Be(Bytes& b, uint32_t v) {
    Put16Be(b, v >> 16);
    Put16Be(b, v & 0xFFFF);
}

// A PNG chunk with its check sum.
void PngChunk(Bytes& b, const char* type, const Bytes& data) {
    Put32Be(b, uint32_t(data.size()));
    const size_t start = b.size();
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = start; i < b.size(); ++i) {
        crc ^= b[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    Put32Be(b, ~crc);
}

// A PNG that declares `w` x `h` RGB pixels and holds `idat` as its (possibly cut) pixel data.
Bytes PngHeader(uint32_t w, uint32_t h, const Bytes& idat) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    Put32Be(ihdr, w);
    Put32Be(ihdr, h);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    PngChunk(b, "IHDR", ihdr);
    if (!idat.empty()) PngChunk(b, "IDAT", idat);
    return b;
}

// A whole PNG of one black row `w` pixels wide, its pixels in stored (uncompressed) blocks.
Bytes PngRow(uint32_t w) {
    Bytes raw(1 + size_t(w) * 3, 0);  // filter byte, then the row
    Bytes z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) a = (a + v) % 65521, b = (b + a) % 65521;
    for (size_t at = 0; at < raw.size();) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        Put16(z, unsigned(n));
        Put16(z, unsigned(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
    }
    Put32Be(z, (b << 16) | a);
    Bytes png = PngHeader(w, 1, z);
    PngChunk(png, "IEND", {});
    return png;
}

// A 24-bit BMP of `w` x `h` black pixels; without `pixels`, its headers alone.
Bytes BmpOf(uint32_t w, uint32_t h, bool pixels = true) {
    const uint32_t rowBytes = (w * 3 + 3) / 4 * 4;
    Bytes b = {'B', 'M'};
    Put32(b, 14 + 40 + rowBytes * h);
    Put32(b, 0);
    Put32(b, 14 + 40);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h);
    Put16(b, 1);
    Put16(b, 24);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    if (pixels) b.resize(b.size() + size_t(rowBytes) * h, 0);
    return b;
}

// A GIF whose screen is `w` x `h`, with one frame of `fw` x `fh`, cut after its first block.
Bytes GifHeader(unsigned w, unsigned h, unsigned fw, unsigned fh) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, w);
    Put16(b, h);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x2C});
    Put16(b, 0), Put16(b, 0), Put16(b, fw), Put16(b, fh);
    b.insert(b.end(), {0, 2, 2, 0x4C, 0x01});
    return b;
}

// The refusal every picture path gives a picture it will not decode.
void ExpectRefused(const Bytes& bytes, const std::string& what, const testutil::TempDir& dir) {
    CBitmap picture;
    EXPECT_FALSE(picture.LoadPictureData(bytes.data(), bytes.size())) << what;
    EXPECT_EQ(picture.Surface(), nullptr) << what;
    const std::string path = dir.path() + "/claimed.img";
    Write(path, bytes);
    CBitmap fromFile;
    EXPECT_FALSE(fromFile.LoadPictureFile(path)) << what;
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromFile(platform::Utf8ToWide(path).c_str()));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::UnknownImageFormat) << what;
    EXPECT_EQ(image->GetWidth(), 0u) << what;
}

}  // namespace

// A few bytes may declare a picture of gigabytes: its size is asked before anything is
// decoded, and a picture larger than a screen's is refused as a damaged one is.
TEST(PictureFormats, APictureDeclaringAHugeSizeIsRefusedBeforeItIsDecoded) {
    testutil::TempDir dir;
    std::vector<std::pair<std::string, Bytes>> claims = {
        {"PNG cut after its header, 32767 a side", PngHeader(32767, 32767, {0x78, 0x01, 0x00})},
        {"PNG of more bytes than allowed, its sides allowed", PngHeader(8193, 8193, {0x78, 0x01, 0x00})},
        {"GIF screen 65535 a side", GifHeader(65535, 65535, 65535, 65535)},
        {"GIF frame larger than its screen", GifHeader(10, 10, 60000, 60000)},
        {"BMP header of 20000 a side", BmpOf(20000, 20000, false)},
    };
    Bytes jpeg = Saved("jpeg");
    for (size_t i = 0; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // the frame header: height, then width
            jpeg[i + 5] = 0xFD, jpeg[i + 6] = 0xE8, jpeg[i + 7] = 0xFD, jpeg[i + 8] = 0xE8;
            claims.push_back({"JPEG frame of 65000 a side", jpeg});
            break;
        }
    for (const auto& [what, bytes] : claims) {
        SCOPED_TRACE(what);
        EXPECT_LT(bytes.size(), 2000u);
        ExpectRefused(bytes, what, dir);
    }
}

// Whole, readable pictures at the limit and past it: one row as wide as allowed loads in each
// format; one pixel wider is refused.
TEST(PictureFormats, ASideLongerThanAllowedIsRefusedEvenInAWholePicture) {
    testutil::TempDir dir;
    const int side = CBitmap::kMaxPictureSide;
    EXPECT_TRUE(CBitmap::IsPictureSizeAllowed(side, 1));
    EXPECT_FALSE(CBitmap::IsPictureSizeAllowed(side + 1, 1));
    EXPECT_FALSE(CBitmap::IsPictureSizeAllowed(1, side + 1));
    EXPECT_FALSE(CBitmap::IsPictureSizeAllowed(side, side));  // 1 GB of pixels
    EXPECT_TRUE(CBitmap::IsPictureSizeAllowed(8192, 8192));
    EXPECT_FALSE(CBitmap::IsPictureSizeAllowed(8192, 8193));
    EXPECT_FALSE(CBitmap::IsPictureSizeAllowed(0, 1));
    for (auto [format, make] : {std::pair<const char*, Bytes (*)(uint32_t)>{"png", PngRow},
                                {"bmp", [](uint32_t w) { return BmpOf(w, 1); }}}) {
        SCOPED_TRACE(format);
        const Bytes fits = make(uint32_t(side));
        CBitmap picture;
        ASSERT_TRUE(picture.LoadPictureData(fits.data(), fits.size()));
        EXPECT_EQ(picture.GetSize(), CSize(side, 1));
        EXPECT_EQ(Rgb(picture.GetPixel(side - 1, 0)), 0u);
        ExpectRefused(make(uint32_t(side + 1)), std::string(format) + " one pixel too wide", dir);
    }
}

// A damaged GIF padded with spaces is refused as damaged; it is read whole, not fed to the
// incremental loader, which would take seconds over it.
TEST(PictureFormats, ADamagedGifPaddedWithSpacesIsRefused) {
    testutil::TempDir dir;
    Bytes screenOnly = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(screenOnly, 300);
    Put16(screenOnly, 300);
    screenOnly.insert(screenOnly.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF});
    const std::pair<const char*, Bytes> damaged[] = {
        {"screen then spaces", screenOnly},
        {"a cut frame then spaces", GifHeader(300, 300, 300, 300)},
    };
    for (const auto& [what, head] : damaged) {
        Bytes bytes = head;
        bytes.resize(450 * 1024, ' ');
        ExpectRefused(bytes, what, dir);
    }
}
