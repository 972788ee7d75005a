// Large per-sample arrays sized without zero-filling: what is written reads back, growth keeps
// what was there, and 32-bit codes that fit 16 bits narrow without a change of value.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "model/BulkAllocator.h"
#include "model/SampleStore.h"

TEST(BulkAllocator, SmallAndMappedBlocksKeepWhatIsWritten) {
    // Below and above the size that is mapped with huge pages asked for.
    for (size_t n : {size_t(10), tv::kBulkMapBytes / sizeof(double) - 1, tv::kBulkMapBytes / sizeof(double) * 3 + 7}) {
        tv::BulkVector<double> v;
        v.resize(n);
        for (size_t i = 0; i < n; ++i) v[i] = double(i) * 0.5;
        v.resize(n + n / 2 + 1);  // grows into a new block: the written part moves with it
        for (size_t i = n; i < v.size(); ++i) v[i] = -1.0;
        EXPECT_EQ(v[0], 0.0) << n;
        EXPECT_EQ(v[n - 1], double(n - 1) * 0.5) << n;
        EXPECT_EQ(v[n], -1.0) << n;
        tv::BulkVector<double> copy = v;
        EXPECT_EQ(copy, v) << n;
        // Values given explicitly are written.
        tv::BulkVector<int32_t> filled(n, 7);
        EXPECT_EQ(std::accumulate(filled.begin(), filled.end(), int64_t(0)), int64_t(n) * 7) << n;
    }
}

TEST(BulkAllocator, CodesNarrowOnlyWhenEveryCodeFits) {
    const struct {
        const char* name;
        std::vector<int32_t> codes;
        bool missing;
        bool narrows;
    } cases[] = {
        {"within 16 bits", {0, 1, -1, 32767, -32767, 1200}, true, true},
        {"missing samples", {5, INT32_MIN, -7, INT32_MIN}, true, true},
        {"the lowest 16-bit code", {5, -32768}, true, false},
        {"the lowest code unmarked", {5, -32768}, false, false},
        {"beyond 16 bits", {5, 32768}, true, false},
        {"none missing, all fit", {3, -3, 100}, false, true},
    };
    const double scale = 0.25, offset = -1.5;
    for (const auto& c : cases) {
        SampleStore s;
        int32_t* out = s.ResetCodes32(c.codes.size(), scale, offset, c.missing);
        for (size_t i = 0; i < c.codes.size(); ++i) out[i] = c.codes[i];
        const std::vector<double> before = s.ToVector();
        const uint64_t version = s.Version();
        EXPECT_EQ(s.NarrowCodes(), c.narrows) << c.name;
        EXPECT_EQ(s.GetEncoding(), c.narrows ? SampleStore::Encoding::Code16 : SampleStore::Encoding::Code32) << c.name;
        EXPECT_EQ(s.Version() != version, c.narrows) << c.name;
        ASSERT_EQ(s.size(), before.size()) << c.name;
        for (size_t i = 0; i < before.size(); ++i) {
            if (std::isnan(before[i])) EXPECT_TRUE(std::isnan(s[i])) << c.name << " " << i;
            else EXPECT_EQ(s[i], before[i]) << c.name << " " << i;
        }
    }
    // Nothing but 32-bit codes narrows.
    SampleStore d{1.0, 2.0};
    EXPECT_FALSE(d.NarrowCodes());
}

TEST(BulkAllocator, EveryWriteChangesTheVersion) {
    SampleStore s{1.0, 2.0, 3.0};
    const void* identity = s.Identity();
    uint64_t v = s.Version();
    s.Set(1, 5.0);  // in place: the data stays the store's own
    EXPECT_EQ(s.Identity(), identity);
    EXPECT_NE(s.Version(), v);
    v = s.Version();
    SampleStore copy = s;
    EXPECT_EQ(copy.Version(), v);  // a copy holds the same values
    s.push_back(4.0);
    EXPECT_NE(s.Version(), v);
    v = s.Version();
    s.Truncate(2);
    EXPECT_NE(s.Version(), v);
    v = s.Version();
    s.clear();
    EXPECT_NE(s.Version(), v);
}
