#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>

#include "formats/ComtradeDat.h"
#include "model/TenvorikException.h"

namespace {

// The arrays a read fills, for A analog and D status channels.
struct Sinks {
    std::vector<SampleStore> analog, status;
    TimeTable times;
    DatReadTarget target;
    Sinks(size_t A, size_t D, double scale = 1.0, double offset = 0.0) : analog(A), status(D) {
        for (auto& a : analog) target.analog.push_back({&a, scale, offset});
        for (auto& s : status) target.status.push_back(&s);
        target.times = &times;
    }
};

// "" when the read succeeded, else the exception's message.
CString Read(DatKind kind, const std::string& bytes, Sinks& s, DatReadResult* result = nullptr,
             const DatProgress& progress = {}) {
    try {
        DatReadResult r = ReadComtradeDat(kind, bytes.data(), bytes.size(), s.target, progress, L"/r/x.dat");
        if (result) *result = r;
    } catch (CTenvorikException* e) {
        CString m = e->GetErrorMessage();
        e->Delete();
        return m;
    }
    return CString();
}

const CString kFormatError = L"Неправильный формат файла - /r/x.dat";

// One binary record: number, stamp, 16-bit values, then the status area as given.
std::string Record(uint32_t number, int32_t stamp, std::vector<int16_t> values, std::vector<uint8_t> status) {
    std::string r(8 + 2 * values.size() + status.size(), '\0');
    std::memcpy(r.data(), &number, 4);
    std::memcpy(r.data() + 4, &stamp, 4);
    std::memcpy(r.data() + 8, values.data(), 2 * values.size());
    std::memcpy(r.data() + 8 + 2 * values.size(), status.data(), status.size());
    return r;
}

}  // namespace

TEST(ComtradeDat, AsciiValuesTimesAndDerivedRate) {
    Sinks s(2, 2, 0.5, 1.0);
    s.target.timeMultiplier = 2.0;
    std::string text = "1,0,12.7,-4,0,2\r\n\r\n2, 500 ,1e1,,1,0\n  3,1000,0,0,0,0";
    ASSERT_EQ(Read(DatKind::Ascii, text, s), L"");
    EXPECT_DOUBLE_EQ(s.analog[0][0], 0.5 * 12.7 + 1.0);  // decimal values are not truncated
    EXPECT_DOUBLE_EQ(s.analog[1][0], -1.0);
    EXPECT_DOUBLE_EQ(s.analog[0][1], 6.0);
    EXPECT_DOUBLE_EQ(s.analog[1][1], 1.0);  // an empty field between commas reads 0
    EXPECT_EQ(s.status[1][0], 1.0);          // any non-zero state is 1
    EXPECT_EQ(s.status[0][1], 1.0);
    EXPECT_EQ(s.times, (std::vector<int64_t>{0, 1000, 2000}));
    EXPECT_DOUBLE_EQ(s.target.measuredRate, 1000.0);

    // With a rate from the configuration nothing is derived.
    Sinks r(0, 1);
    r.target.samplingFrequency = 1000;
    ASSERT_EQ(Read(DatKind::Ascii, "1,0,1\n2,7,0\n", r), L"");
    EXPECT_EQ(r.times, (std::vector<int64_t>{0, 7}));
    EXPECT_EQ(r.target.measuredRate, 0.0);
}

TEST(ComtradeDat, AsciiFaultsGiveTheFormatMessage) {
    const struct { const char* text; int64_t expected; } cases[] = {
        {"1,0,5,1\n2,1000,6\n3,2000,7,1\n", -1},  // a record cut short before others
        {"1,0,5,1\n2,1000", -1},                   // the only whole record cannot give a rate
        {"1,0,5,1\n", -1},                         // one record cannot give a rate
        {"1,0,5,1\n2,0,6,1\n", -1},                // nor two at the same time
        {"\r\n \r\n", -1},                         // no records
    };
    for (const auto& c : cases) {
        Sinks s(1, 1);
        s.target.expectedSamples = c.expected;
        EXPECT_EQ(Read(DatKind::Ascii, c.text, s), kFormatError) << c.text;
    }
    // Lines far too short for a record of many channels are refused before any array grows.
    {
        Sinks s(500, 500);
        std::string lines;
        for (int i = 0; i < 20000; ++i) lines += "1,0\n";
        EXPECT_EQ(Read(DatKind::Ascii, lines, s), kFormatError);
        EXPECT_TRUE(s.analog[0].empty());
    }
}

TEST(ComtradeDat, BinaryLayouts) {
    // 9 status channels take one status word; numbers from 1 or from 0 read alike.
    for (uint32_t first : {1u, 0u}) {
        Sinks s(1, 9, 2.0, 0.5);
        s.target.samplingFrequency = 1000;
        std::string f;
        for (uint32_t i = 0; i < 5; ++i) f += Record(first + i, 12345, {int16_t(i == 2 ? -32767 : i)}, {0x01, 0x01});
        ASSERT_EQ(Read(DatKind::Binary, f, s), L"") << first;
        ASSERT_EQ(s.analog[0].size(), 5u);
        EXPECT_DOUBLE_EQ(s.analog[0][2], 2.0 * -32767 + 0.5);
        EXPECT_EQ(s.status[0][4], 1.0);
        EXPECT_EQ(s.status[8][4], 1.0);
        EXPECT_EQ(s.status[1][4], 0.0);
        // The configuration's rate decides the times; the stamps in the file do not matter.
        EXPECT_EQ(s.times[3], 3000);
    }
    // 3 status channels whose numbers start at 0 keep the standard record of 2 status bytes.
    {
        Sinks s(1, 3);
        std::string f;
        for (uint32_t i = 0; i < 4; ++i) f += Record(i, int32_t(i * 250), {7}, {0x04, 0x00});
        ASSERT_EQ(Read(DatKind::Binary, f, s), L"");
        EXPECT_EQ(s.status[2][3], 1.0);
        EXPECT_EQ(s.times[1], 250);
        EXPECT_DOUBLE_EQ(s.target.measuredRate, 4000.0);
    }
    // A file written with a status area cut to one byte is read too.
    {
        Sinks s(1, 3);
        std::string f;
        for (uint32_t i = 0; i < 4; ++i) f += Record(i + 1, int32_t(i * 100), {int16_t(i)}, {0x02});
        ASSERT_EQ(Read(DatKind::Binary, f, s), L"");
        EXPECT_EQ(s.status[1][0], 1.0);
        EXPECT_DOUBLE_EQ(s.analog[0][3], 3.0);
    }
}

TEST(ComtradeDat, BinaryFaultsGiveTheFormatMessage) {
    std::string good;
    for (uint32_t i = 0; i < 4; ++i) good += Record(i + 1, int32_t(i * 100), {1, 2}, {0, 0});
    std::string wide32;
    for (uint32_t i = 0; i < 4; ++i) {
        std::string r(16, '\0');
        uint32_t n = i;  // numbers from 0
        std::memcpy(r.data(), &n, 4);
        wide32 += r;
    }
    std::string unordered;
    for (uint32_t i : {1, 2, 7, 4}) unordered += Record(i, 0, {1, 2}, {0, 0});
    const struct { DatKind kind; std::string bytes; int64_t expected; } cases[] = {
        {DatKind::Binary, unordered, -1},                        // numbers that do not run on
        {DatKind::Binary, std::string(11, '\x01'), -1},          // shorter than one record
        {DatKind::Binary32, wide32, -1},                         // binary32 numbers start at 1
    };
    for (const auto& c : cases) {
        Sinks s(c.kind == DatKind::Binary32 ? 2 : 2, c.kind == DatKind::Binary32 ? 0 : 1);
        s.target.expectedSamples = c.expected;
        EXPECT_EQ(Read(c.kind, c.bytes, s), kFormatError) << c.bytes.size();
    }
}

TEST(ComtradeDat, WrittenDataReadsBack) {
    std::vector<double> ia{0.5, -1.5, 1e9, NAN, 2.0}, k1{0, 1, 1, NAN, 0}, k2{1, 0, 0, 0, 1};
    DatWriteSource src;
    const SampleStore iaStore(ia), k1Store(k1), k2Store(k2);
    src.analog = {&iaStore};
    src.scale = {0.5};
    src.offset = {0.0};
    src.status = {&k1Store, &k2Store};
    src.times = {0, 200, 400, 600, 800};
    src.timeMultiplier = 2.0;  // stamps are written divided by it

    std::string bin = WriteBinaryDat(src, false);
    ASSERT_EQ(bin.size(), 5u * (8 + 2 + 2));
    int32_t stamp;
    std::memcpy(&stamp, bin.data() + 12 + 4, 4);
    EXPECT_EQ(stamp, 100);

    std::string ascii = WriteAsciiDat(src);
    EXPECT_EQ(ascii.substr(0, ascii.find("\r\n", 20) + 2), "1,0,1,0,1\r\n2,100,-3,1,0\r\n");
    // The missing code is written as every other field, with no space before it.
    EXPECT_NE(ascii.find("4,300,99999,1,0\r\n"), std::string::npos);
    int16_t code;
    std::memcpy(&code, bin.data() + 3 * 12 + 8, 2);
    EXPECT_EQ(code, INT16_MIN);
    // A value below the range stops one code above the missing one.
    const SampleStore low{-1e9};
    DatWriteSource one;
    one.analog = {&low};
    one.scale = {1.0};
    one.offset = {0.0};
    one.times = {0};
    for (bool wide : {false, true}) {
        Sinks s(1, 0);
        s.target.samplingFrequency = 1000;
        ASSERT_EQ(Read(wide ? DatKind::Binary32 : DatKind::Binary, WriteBinaryDat(one, wide), s), L"");
        EXPECT_EQ(s.analog[0][0], wide ? -1e9 : -32767.0);
    }

    for (auto [kind, bytes, big] :
         {std::tuple{DatKind::Binary, bin, 32767.0 * 0.5}, std::tuple{DatKind::Binary32, WriteBinaryDat(src, true), 1e9},
          std::tuple{DatKind::Ascii, ascii, 1e9}}) {
        Sinks s(1, 2, 0.5, 0.0);
        s.target.timeMultiplier = 2.0;
        ASSERT_EQ(Read(kind, bytes, s), L"");
        EXPECT_EQ(s.analog[0][2], big);  // saturated
        EXPECT_TRUE(std::isnan(s.analog[0][3])) << int(kind);  // missing, through its code
        EXPECT_EQ(s.analog[0][4], 2.0);
        EXPECT_EQ(s.status[0], (std::vector<double>{0, 1, 1, 1, 0}));             // NaN is not 0
        EXPECT_EQ(s.status[1], k2);
        EXPECT_EQ(s.times, src.times);
    }
}

TEST(ComtradeDat, LargeFilesReadInPartsAndCancel) {
    // Big enough to be split among workers: every record must land in its own row.
    const size_t n = 200000;
    DatWriteSource src;
    std::vector<double> ua(n), k(n);
    for (size_t i = 0; i < n; ++i) {
        ua[i] = double(int(i % 20001) - 10000);
        k[i] = (i / 7) % 2;
        src.times.push_back(int64_t(i) * 250);
    }
    const SampleStore uaStore(ua), kStore(k);
    src.analog = {&uaStore};
    src.scale = {1.0};
    src.offset = {0.0};
    src.status = {&kStore};
    for (DatKind kind : {DatKind::Ascii, DatKind::Binary}) {
        std::string bytes = kind == DatKind::Ascii ? WriteAsciiDat(src) : WriteBinaryDat(src, false);
        Sinks s(1, 1);
        s.target.expectedSamples = int64_t(n);
        std::atomic<uint32_t> done{0}, total{0};
        std::atomic<bool> cancel{false};
        ASSERT_EQ(Read(kind, bytes, s, nullptr, {&done, &total, [&] { return cancel.load(); }}), L"");
        EXPECT_EQ(s.analog[0], ua);
        EXPECT_EQ(s.status[0], k);
        EXPECT_EQ(s.times, src.times);
        EXPECT_EQ(total.load(), uint32_t(bytes.size() * 5));
        EXPECT_GT(done.load(), 0u);

        cancel = true;
        Sinks c(1, 1);
        DatReadResult r = DatReadResult::Complete;
        ASSERT_EQ(Read(kind, bytes, c, &r, {&done, &total, [&] { return cancel.load(); }}), L"");
        EXPECT_EQ(r, DatReadResult::Cancelled);
    }
}

TEST(ComtradeDat, CountsOfTheFileAgainstTheConfiguration) {
    // ASCII lines and binary records of one analog and one status channel.
    const std::string lines = "1,0,5,1\n2,1000,6,0\n3,2000,7,1\n";
    std::string records;
    for (uint32_t i = 0; i < 3; ++i) records += Record(i + 1, int32_t(i * 1000), {int16_t(5 + i)}, {0, 0});
    const struct {
        DatKind kind;
        std::string bytes;
        int64_t expected;
        size_t read;
        int64_t inFile;
        bool partial;
    } cases[] = {
        {DatKind::Ascii, lines, 3, 3, 3, false},
        {DatKind::Ascii, lines, 4, 3, 3, false},                        // one row short
        {DatKind::Ascii, lines, 2, 2, 3, false},                        // extra rows ignored
        {DatKind::Ascii, lines + "4,3000,8", -1, 3, 3, true},           // last line cut
        {DatKind::Ascii, lines + "4,3000,8", 5, 3, 3, true},
        {DatKind::Binary, records, 4, 3, 3, false},
        {DatKind::Binary, records, 2, 2, 3, false},
        {DatKind::Binary, records + records.substr(0, 5), 4, 3, 3, true},  // cut last record
        {DatKind::Binary, records.substr(0, records.size() - 3), -1, 2, 2, true},
    };
    for (const auto& c : cases) {
        Sinks s(1, 1);
        s.target.expectedSamples = c.expected;
        ASSERT_EQ(Read(c.kind, c.bytes, s), L"") << c.bytes.size();
        EXPECT_EQ(s.analog[0].size(), c.read) << c.bytes.size();
        EXPECT_EQ(s.status[0].size(), c.read);
        EXPECT_EQ(s.times.size(), c.read);
        EXPECT_EQ(s.target.fileSamples, c.inFile) << c.bytes.size();
        EXPECT_EQ(s.target.partialRecord, c.partial) << c.bytes.size();
        EXPECT_EQ(s.analog[0][c.read - 1], double(4 + c.read));
    }
}

TEST(ComtradeDat, TimesFromRatesStampsAndSegments) {
    // 100 samples at 2000 per second, then 200 at 1000: each segment at its own rate.
    std::string bin, ascii, blank;
    for (uint32_t i = 0; i < 300; ++i) {
        bin += Record(i + 1, int32_t(7 * i), {1}, {0, 0});
        ascii += std::to_string(i + 1) + "," + std::to_string(7 * i) + ",1,0\n";
        blank += std::to_string(i + 1) + ",,1,0\n";
    }
    const std::vector<DatRateSegment> twoRates{{2000, 100}, {1000, 300}};
    const struct {
        DatKind kind;
        const std::string& bytes;
        std::vector<DatRateSegment> segments;
        int32_t rate;
        int64_t at100, last;
    } cases[] = {
        {DatKind::Binary, bin, twoRates, 1333, 50000, 249000},
        {DatKind::Binary, bin, {{1000, 300}}, 1000, 100000, 299000},         // one rate as before
        {DatKind::Binary, bin, {{0, 300}}, 0, 1400, 4186},                   // no rate: stamps x 2
        {DatKind::Binary, bin, {{2000, 100}, {0, 300}}, 1000, 1400, 4186},   // a segment without
        {DatKind::Ascii, ascii, twoRates, 1333, 1400, 4186},                 // ASCII keeps stamps
        {DatKind::Ascii, blank, twoRates, 1333, 50000, 249000},              // unless blank
        {DatKind::Ascii, blank, {{1000, 300}}, 1000, 100000, 299000},
    };
    for (const auto& c : cases) {
        Sinks s(1, 1);
        s.target.segments = c.segments;
        s.target.samplingFrequency = c.rate;
        s.target.timeMultiplier = 2.0;  // applies to stamps only
        ASSERT_EQ(Read(c.kind, c.bytes, s), L"") << int(c.kind) << " " << c.rate;
        ASSERT_EQ(s.times.size(), 300u);
        EXPECT_EQ(s.times[100], c.at100) << int(c.kind) << " " << c.rate;
        EXPECT_EQ(s.times[299], c.last) << int(c.kind) << " " << c.rate;
    }
}

TEST(ComtradeDat, MissingValueCodesReadAsMissing) {
    const struct { DatKind kind; std::string bytes; } cases[] = {
        {DatKind::Ascii, "1,0,99999,1\n2,1000,99998,0\n3,2000,99999.0,1\n"},
        {DatKind::Binary, Record(1, 0, {-32768}, {0, 0}) + Record(2, 1000, {-32767}, {0, 0}) + Record(3, 2000, {-32768}, {0, 0})},
    };
    for (const auto& c : cases) {
        Sinks s(1, 1, 2.0, 1.0);
        s.target.samplingFrequency = 1000;
        ASSERT_EQ(Read(c.kind, c.bytes, s), L"");
        EXPECT_TRUE(std::isnan(s.analog[0][0]));
        EXPECT_FALSE(std::isnan(s.analog[0][1]));
        EXPECT_TRUE(std::isnan(s.analog[0][2]));
    }
    std::string wide;
    for (int32_t v : {INT32_MIN, INT32_MIN + 1}) {
        std::string r(12, '\0');
        uint32_t n = uint32_t(wide.size() / 12 + 1);
        std::memcpy(r.data(), &n, 4);
        std::memcpy(r.data() + 8, &v, 4);
        wide += r;
    }
    Sinks s(1, 0);
    s.target.samplingFrequency = 1000;
    ASSERT_EQ(Read(DatKind::Binary32, wide, s), L"");
    EXPECT_TRUE(std::isnan(s.analog[0][0]));
    EXPECT_EQ(s.analog[0][1], double(INT32_MIN + 1));
}

TEST(ComtradeDat, AsciiLineEndsOfEveryKindInALargeFile) {
    // Large enough to be read in parts by several workers: each record lands in its own row,
    // whatever ends its line, and the status bits of rows that meet at a part's edge are all kept.
    const size_t n = 70000;
    const char* const mixed[] = {"\r\n", "\n", "\r", "\n\n", "\r\n \t\r\n", "\r\r", "\n\r"};
    const struct {
        const char* name;
        bool uniform;
        const char* end;
    } cases[] = {{"CR LF", true, "\r\n"}, {"LF", true, "\n"}, {"CR", true, "\r"}, {"mixed, blank lines", false, ""}};
    auto bit = [](size_t i, size_t j) { return (i * 7 + j * 3) % 5 < 2 || i % 64 == 63; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        for (size_t i = 0; i < n; ++i) {
            text += std::to_string(i + 1) + "," + std::to_string(i * 250) + "," + std::to_string(int(i % 3001) - 1500);
            // The last record alone needs codes wider than 16 bits.
            text += "," + std::to_string(i + 1 == n ? 40000 : int(i % 17));
            for (size_t j = 0; j < 3; ++j) text += bit(i, j) ? ",1" : ",0";
            text += c.uniform ? c.end : mixed[i % 7];
        }
        ASSERT_GT(text.size(), size_t(1) << 20);
        Sinks s(2, 3);
        s.target.expectedSamples = int64_t(n);
        ASSERT_EQ(Read(DatKind::Ascii, text, s), L"");
        ASSERT_EQ(s.analog[0].size(), n);
        ASSERT_EQ(s.times.size(), n);
        EXPECT_EQ(s.analog[0].GetEncoding(), SampleStore::Encoding::Code16);
        EXPECT_EQ(s.analog[1].GetEncoding(), SampleStore::Encoding::Code32);
        size_t wrong = 0;
        for (size_t i = 0; i < n; ++i) {
            wrong += s.analog[0][i] != double(int(i % 3001) - 1500);
            wrong += s.analog[1][i] != double(i + 1 == n ? 40000 : int(i % 17));
            wrong += s.times[i] != int64_t(i) * 250;
            for (size_t j = 0; j < 3; ++j) wrong += s.status[j][i] != (bit(i, j) ? 1.0 : 0.0);
        }
        EXPECT_EQ(wrong, 0u);
    }
}

TEST(ComtradeDat, AsciiStatusFieldsOfEveryForm) {
    // A state is set when its field reads as a number other than 0, by the integer rules of the
    // reader: a "+" stops the number, a "-" only turns its sign.
    const struct {
        const char* field;
        double expected;
    } cases[] = {{"1", 1}, {"0", 0}, {"-1", 1}, {"+1", 0}, {" 1 ", 1}, {"1x", 1}, {"", 0},
                 {"2", 1}, {"00", 0}, {"-0", 0}, {"\t1", 1}, {"0.5", 0}, {"12345678901234567890", 1}};
    std::string text;
    for (size_t i = 0; i < std::size(cases); ++i)
        text += std::to_string(i + 1) + "," + std::to_string(i * 1000) + ",7," + cases[i].field + ",1\r\n";
    Sinks s(1, 2);
    ASSERT_EQ(Read(DatKind::Ascii, text, s), L"");
    ASSERT_EQ(s.status[0].size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(s.status[0][i], cases[i].expected) << '"' << cases[i].field << '"';
        EXPECT_EQ(s.status[1][i], 1.0) << '"' << cases[i].field << '"';
    }
}
