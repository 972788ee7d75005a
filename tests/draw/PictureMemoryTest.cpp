// A picture whose header points past its own end cannot be read; refusing it must not cost the
// memory the header claims.
#include <gtest/gtest.h>

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

}  // namespace

TEST(PictureMemory, ABmpThatPointsPastItsEndIsRefusedWithoutTheMemoryItClaims) {
    if (!testutil::LargestAllocation().Available()) GTEST_SKIP() << "allocations are seen only under a sanitizer";
    {
        CBitmap sound;
        ASSERT_TRUE(sound.LoadPictureData(Bmp().data(), Bmp().size()));
        EXPECT_EQ(sound.GetSize().cx, 2);
    }
    testutil::TempDir dir;
    const struct {
        size_t field;
        uint32_t value;
    } cases[] = {
        {10, 0xFFD8FF36u},  // the pixels 4 GB on
        {10, 71},           // one byte past the end
        {14, 0xFFFFFFF0u},  // an information block of 4 GB
    };
    for (const auto& c : cases) {
        Bytes b = Bmp();
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
