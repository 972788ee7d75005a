#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "model/SampleStore.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(SampleStore, CompactFormsReadBackTheValuesTheyStandFor) {
    const double scale = 0.005 * 1000, offset = -3.25;
    const std::vector<int32_t> codes{0, 1, -1, 32767, -32768, 12345};
    SampleStore s16, s32;
    int16_t* c16 = s16.ResetCodes16(codes.size(), scale, offset);
    int32_t* c32 = s32.ResetCodes32(codes.size(), scale, offset);
    for (size_t i = 0; i < codes.size(); ++i) c16[i] = int16_t(codes[i]), c32[i] = codes[i] * 1000;
    ASSERT_EQ(s16.size(), codes.size());
    EXPECT_EQ(s16.GetEncoding(), SampleStore::Encoding::Code16);
    std::vector<double> read(codes.size());
    s32.Read(0, codes.size(), read.data());
    for (size_t i = 0; i < codes.size(); ++i) {
        // The same expression the reader of doubles evaluates, so the same bits.
        EXPECT_TRUE(SameBits(s16[i], scale * double(int16_t(codes[i])) + offset)) << i;
        EXPECT_TRUE(SameBits(read[i], scale * double(codes[i] * 1000) + offset)) << i;
    }
    // With missing samples marked, the lowest code reads as NaN and no other does.
    SampleStore m;
    int16_t* mc = m.ResetCodes16(2, 1.0, 0.0, true);
    mc[0] = INT16_MIN, mc[1] = INT16_MIN + 1;
    EXPECT_TRUE(std::isnan(m[0]));
    EXPECT_EQ(m[1], -32767.0);
    EXPECT_EQ(m.ByteSize(), 2 * sizeof(int16_t));
}

TEST(SampleStore, BitsCountAcrossWords) {
    const size_t n = 200;
    std::vector<double> v(n, 0.0);
    for (size_t i : {0, 5, 63, 64, 65, 127, 128, 190, 199}) v[i] = 1.0;
    SampleStore s(v);
    s.Compact();
    ASSERT_EQ(s.GetEncoding(), SampleStore::Encoding::Bits);
    EXPECT_EQ(s, v);
    EXPECT_EQ(s.ByteSize(), 4 * sizeof(uint64_t));
    for (size_t b : {0, 1, 63, 64, 100}) {
        for (size_t e : {b, b + 1, size_t(64), size_t(129), n, n + 10}) {
            size_t want = 0;
            for (size_t i = b; i < std::min(e, n); ++i) want += v[i] != 0.0;
            EXPECT_EQ(s.CountNonZero(b, e), want) << b << " " << e;
        }
    }
}

TEST(SampleStore, OnlyExactZerosAndOnesBecomeBits) {
    struct Case {
        std::vector<double> values;
        SampleStore::Encoding kept;
    } cases[] = {
        {{0, 1, 1, 0}, SampleStore::Encoding::Bits},
        {{0, 1, 0.5}, SampleStore::Encoding::Double},
        {{0, -0.0, 1}, SampleStore::Encoding::Double},  // -0.0 reads back as -0.0
        {{0, NAN}, SampleStore::Encoding::Double},
        {{}, SampleStore::Encoding::Double},
    };
    for (const Case& c : cases) {
        SampleStore s(c.values);
        s.Compact();
        EXPECT_EQ(s.GetEncoding(), c.kept) << c.values.size();
        ASSERT_EQ(s.size(), c.values.size());
        for (size_t i = 0; i < c.values.size(); ++i) EXPECT_TRUE(SameBits(s[i], c.values[i])) << i;
    }
}

TEST(SampleStore, CopiesShareUntilOneWrites) {
    SampleStore a;
    int16_t* codes = a.ResetCodes16(3, 2.0, 1.0);
    codes[0] = 1, codes[1] = 2, codes[2] = 3;
    SampleStore b = a;
    EXPECT_TRUE(b.SharesWith(a));
    EXPECT_EQ(b.Identity(), a.Identity());
    b.Set(1, 100.0);
    EXPECT_FALSE(b.SharesWith(a));
    EXPECT_EQ(a, (std::vector<double>{3, 5, 7}));  // the copy's write leaves the original alone
    EXPECT_EQ(b, (std::vector<double>{3, 100, 7}));
    EXPECT_EQ(b.GetEncoding(), SampleStore::Encoding::Double);

    SampleStore c = b;
    c.push_back(9);
    c.Insert(0, 2, -1);
    EXPECT_EQ(c, (std::vector<double>{-1, -1, 3, 100, 7, 9}));
    EXPECT_EQ(b.size(), 3u);
    c.reserve(100);  // no unsharing of a shared store for room
    SampleStore d = c;
    d.reserve(1000);
    EXPECT_TRUE(d.SharesWith(c));

    CowVector<int> x{1, 2, 3};
    CowVector<int> y = x;
    EXPECT_TRUE(y.SharesWith(x));
    y.Set(0, 7);
    EXPECT_EQ(x, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(y, (std::vector<int>{7, 2, 3}));
}
