// The analog values of an ASCII record kept as codes: every value reads back with the bits of
// scale x the field's number + offset, as the doubles it was kept as before; a channel with a
// fraction is kept as doubles, one beyond 16 bits as 32-bit codes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

#include "formats/ComtradeCfg.h"
#include "formats/ComtradeDat.h"
#include "model/TenvorikException.h"

namespace {

struct Sinks {
    std::vector<SampleStore> analog, status;
    TimeTable times;
    DatReadTarget target;
    Sinks(size_t A, size_t D, double scale, double offset) : analog(A), status(D) {
        for (auto& a : analog) target.analog.push_back({&a, scale, offset});
        for (auto& s : status) target.status.push_back(&s);
        target.times = &times;
    }
};

bool SameBits(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What the value of a field was as a double: the missing value aside, scale x number + offset.
double Expected(const std::string& field, double scale, double offset) {
    const double x = comtrade::ParseDouble(field);
    return x == double(kAsciiMissing) ? std::numeric_limits<double>::quiet_NaN() : scale * x + offset;
}

}  // namespace

TEST(ComtradeDatCodes, AsciiValuesReadBackAsTheirNumbers) {
    using E = SampleStore::Encoding;
    const struct {
        const char* name;
        std::vector<std::string> fields;  // one channel's field in each of the records
        E encoding;
    } cases[] = {
        {"small whole numbers", {"0", "-5", "+17", " 32767", "-32767 ", "007"}, E::Code16},
        {"the missing value", {"12", "99999", "-3", "99999.0", "1", "2"}, E::Code16},
        {"numbers written otherwise", {"12.0", "1e3", "0x10", "+-5", "", "5 "}, E::Code16},
        {"beyond 16 bits", {"32768", "-32768", "70000", "-2147483647", "2147483647", "0"}, E::Code32},
        {"fractions", {"1", "2.5", "3", "4", "5", "6"}, E::Double},
        {"minus zero", {"1", "-0", "3", "4", "5", "6"}, E::Double},
        {"beyond 32 bits", {"1", "2", "2147483648", "4", "5", "6"}, E::Double},
        {"not a number", {"1", "2", "nan", "4", "5", "6"}, E::Double},
    };
    const double scale = 0.005 * 1000, offset = -3.25;
    for (const auto& c : cases) {
        // A second channel of plain codes beside it keeps its codes whatever the first holds.
        Sinks s(2, 1, scale, offset);
        std::string text;
        for (size_t i = 0; i < c.fields.size(); ++i)
            text += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + c.fields[i] + "," +
                    std::to_string(int(i) * 3 - 7) + ",1\r\n";
        try {
            ASSERT_EQ(ReadComtradeDat(DatKind::Ascii, text.data(), text.size(), s.target, {}, L"/r/x.dat"),
                      DatReadResult::Complete)
                << c.name;
        } catch (CTenvorikException* e) {
            e->Delete();
            FAIL() << c.name;
        }
        ASSERT_EQ(s.analog[0].size(), c.fields.size()) << c.name;
        EXPECT_EQ(s.analog[0].GetEncoding(), c.encoding) << c.name;
        EXPECT_EQ(s.analog[1].GetEncoding(), E::Code16) << c.name;
        for (size_t i = 0; i < c.fields.size(); ++i) {
            EXPECT_TRUE(SameBits(s.analog[0][i], Expected(c.fields[i], scale, offset))) << c.name << " " << i;
            EXPECT_TRUE(SameBits(s.analog[1][i], Expected(std::to_string(int(i) * 3 - 7), scale, offset)));
            EXPECT_EQ(s.status[0][i], 1.0);
        }
    }
}

TEST(ComtradeDatCodes, AsciiTextIsHandedBackAsItIsRead) {
    // A file large enough for the parallel reader: every byte range handed back lies within
    // the file, and every value is read all the same.
    Sinks s(3, 2, 1.0, 0.0);
    std::string text;
    const size_t rows = 60000;
    for (size_t i = 0; i < rows; ++i)
        text += std::to_string(i + 1) + "," + std::to_string(i * 250) + "," + std::to_string(int(i % 1000) - 500) +
                ",2.5," + std::to_string(i % 70000) + "," + (i % 3 ? "1" : "0") + ",0\r\n";
    ASSERT_GT(text.size(), size_t(1) << 20);
    size_t handedBack = 0;
    bool inside = true;
    std::mutex m;
    s.target.releaseData = [&](size_t b, size_t e) {
        std::lock_guard<std::mutex> lock(m);
        inside &= b <= e && e <= text.size();
        handedBack = std::max(handedBack, e);
    };
    ASSERT_EQ(ReadComtradeDat(DatKind::Ascii, text.data(), text.size(), s.target, {}, L"/r/x.dat"),
              DatReadResult::Complete);
    EXPECT_TRUE(inside);
    EXPECT_GT(handedBack, text.size() / 2);
    ASSERT_EQ(s.analog[0].size(), rows);
    EXPECT_EQ(s.analog[0].GetEncoding(), SampleStore::Encoding::Code16);
    EXPECT_EQ(s.analog[1].GetEncoding(), SampleStore::Encoding::Double);
    EXPECT_EQ(s.analog[2].GetEncoding(), SampleStore::Encoding::Code32);
    for (size_t i = 0; i < rows; i += 997) {
        EXPECT_EQ(s.analog[0][i], double(int(i % 1000) - 500)) << i;
        EXPECT_EQ(s.analog[1][i], 2.5) << i;
        EXPECT_EQ(s.analog[2][i], double(i % 70000)) << i;
        EXPECT_EQ(s.status[0][i], i % 3 ? 1.0 : 0.0) << i;
        EXPECT_EQ(s.times[i], int64_t(i) * 250) << i;
    }
}
