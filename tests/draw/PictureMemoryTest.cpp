// A picture whose header points past its own end cannot be read; refusing it must not cost the
// memory the header claims. The BMP is written byte by byte here, the icon by gdk-pixbuf's saver.
#include <gtest/gtest.h>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "LargestAllocation.h"
#include "TestUtil.h"
#include "platform/CString.h"
#include "platform/Encoding.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/GdiPlus.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32At(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A 24-bit BMP of 2 x 2 grey pixels.
Bytes Bmp() {
    Bytes b(14 + 40 + 16, 0);
    b[0] = 'B', b[1] = 'M';
    Put32At(b, 2, uint32_t(b.size()));
    Put32At(b, 10, 14 + 40);
    Put32At(b, 14, 40);
    Put32At(b, 18, 2);
    Put32At(b, 22, 2);
    b[26] = 1;
    b[28] = 24;
    for (size_t i = 54; i < b.size(); ++i) b[i] = 0x80;
    return b;
}

// A 4 x 4 icon as gdk-pixbuf's own saver writes it: one directory entry, its picture at byte 22.
Bytes Ico() {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 4, 4);
    gdk_pixbuf_fill(pixbuf, 0x3366ccff);
    gchar* buffer = nullptr;
    gsize size = 0;
    Bytes b;
    if (gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "ico", nullptr, nullptr)) b.assign(buffer, buffer + size);
    g_free(buffer);
    g_object_unref(pixbuf);
    return b;
}

}  // namespace

TEST(PictureMemory, ABmpThatPointsPastItsEndIsRefusedWithoutTheMemoryItClaims) {
    if (!testutil::LargestAllocation().Available()) GTEST_SKIP() << "allocations are seen only under a sanitizer";
    {
        CBitmap sound;
        ASSERT_TRUE(sound.LoadPictureData(Bmp().data(), Bmp().size()));
        EXPECT_EQ(sound.GetSize().cx, 2);
        const Bytes ico = Ico();
        ASSERT_GT(ico.size(), 22u);
        ASSERT_TRUE(sound.LoadPictureData(ico.data(), ico.size()));
        EXPECT_EQ(sound.GetSize().cx, 4);
    }
    testutil::TempDir dir;
    const struct {
        bool icon;
        size_t field;
        uint32_t value;
    } cases[] = {
        {false, 10, 0xFFD8FF36u},  // the pixels 4 GB on
        {false, 10, 71},           // one byte past the end
        {false, 14, 0xFFFFFFF0u},  // an information block of 4 GB
        {true, 18, 0x66CC3316u},   // the icon's picture 1.7 GB on
        {true, 22 + 32, 0xFFFFD8FFu},  // a colour table of 4 billion colours in the icon's picture
    };
    for (const auto& c : cases) {
        Bytes b = c.icon ? Ico() : Bmp();
        Put32At(b, c.field, c.value);
        testutil::LargestAllocation watch;
        CBitmap bitmap;
        EXPECT_FALSE(bitmap.LoadPictureData(b.data(), b.size())) << c.value;
        const std::string path = dir.File("damaged.bmp");
        testutil::WriteFile(path, std::string(b.begin(), b.end()));
        std::unique_ptr<Gdiplus::Image> image(
            Gdiplus::Image::FromFile(CString(platform::Utf8ToWide(path)).GetString()));
        EXPECT_TRUE(!image || image->GetLastStatus() != Gdiplus::Ok) << c.value;
        EXPECT_LT(watch.Bytes(), 64u << 20) << c.value;
    }
}
