// Terminal records converted to COMTRADE 1999 files, compared byte for byte.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "StoFixture.h"
#include "TestUtil.h"
#include "orvinel/ComtradeConverter.h"
#include "orvinel/OrvinelResources.h"
#include "platform/Encoding.h"

namespace {

std::string Cp(const std::wstring& text) { return platform::WideToAnsi(text); }
CString Wide(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

struct Result {
    bool ok = false;
    CString error;
    std::string cfg, dat, hdr;
    std::vector<unsigned char> record;  // the record after the conversion
};

Result Convert(ComtradeConverter& c, const std::string& bytes, const std::string& dir) {
    Result r;
    r.record.assign(bytes.begin(), bytes.end());
    r.ok = c.ConvertSto2Comtrade(Wide(dir), L"rec", r.record.data(), 24, 2, r.error);
    if (r.ok) {
        r.cfg = testutil::ReadFile(dir + "/rec.cfg");
        r.dat = testutil::ReadFile(dir + "/rec.dat");
        r.hdr = testutil::ReadFile(dir + "/rec.hdr");
    }
    return r;
}

Result Convert(const sto::Description& d, const std::string& bytes, const std::string& dir, int tz = 10800,
               const wchar_t* device = L"") {
    ComtradeConverter c(int(bytes.size()), false);
    EXPECT_TRUE(c.ReadFromXmlBuffer(d.Wide().c_str(), false));
    c.TimeZoneOffsetHours = tz;
    c.deviceModel = device;
    return Convert(c, bytes, dir);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2)
        lines.push_back(text.substr(start, pos - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Two one-byte analog channels and a start signal, three ring blocks starting at block 1.
sto::Description RingDescription() {
    sto::Description d;
    d.station = "ПС Северная";
    d.recDev = "Терминал";
    d.units = {{38, 0, {{2, 1, "Ia", "1000", "A", true, "50", "600"}, {2, 2, "Ub", "10", "kV", true, "50", "110"}}},
               {40, -1, {{1, 5, "Пуск", "1", "", true, "0", ""}}}};
    return d;
}

sto::Record RingRecord() {
    sto::Record r;
    r.variant = 0;
    r.analogIds = {1, 2};
    r.digitalIds = {5};
    r.width = 1;
    r.ringBlocks = 3;
    r.ringStart = 1;
    for (int b = 0; b < 3; ++b)
        r.blocks.push_back({4, {b * 4, b * 4 + 1, b * 4 + 2, b * 4 + 3, 250 + b, 0, 1, 2}, {uint8_t(b == 0 ? 0x80 : 0)}});
    r.trailing = "\x01\x02";  // shorter than a block
    return r;
}

TEST(Conversion, RingRecordWritesTheThreeFilesExactly) {
    testutil::TempDir dir;
    sto::Record rec = RingRecord();
    Result r = Convert(RingDescription(), rec.Bytes(), dir.path());
    ASSERT_TRUE(r.ok) << platform::WideToUtf8(r.error.view());
    EXPECT_TRUE(r.error.IsEmpty());
    const std::string cfg = Cp(L"ПС Северная,Терминал версия 12345,1999\r\n") +
                            "3,2A,1D\r\n"
                            "1,Ia,,,A,0.001000,0.000000,0,-1,1,600.000,1.0,S\r\n"
                            "2,Ub,,,kV,0.100000,0.000000,0,-1,1,110.000,1.0,S\r\n" +
                            Cp(L"1,Пуск,,,1\r\n") +
                            "50\r\n"
                            "1\r\n"
                            "1000.000000,12\r\n"
                            "15/11/2023,01:13:20.238000\r\n"
                            "15/11/2023,01:13:20.250000\r\n"
                            "ASCII\r\n"
                            "1.0\r\n";
    EXPECT_EQ(r.cfg, cfg);
    const std::string dat =
        "1,0,4,251,0\r\n2,1000,5,0,0\r\n3,2000,6,1,0\r\n4,3000,7,2,0\r\n"
        "5,4000,8,252,0\r\n6,5000,9,0,0\r\n7,6000,10,1,0\r\n8,7000,11,2,0\r\n"
        "9,8000,0,250,1\r\n10,9000,1,0,1\r\n11,10000,2,1,1\r\n12,11000,3,2,1";
    EXPECT_EQ(r.dat, dat);
    EXPECT_EQ(r.hdr, Cp(std::wstring(OrvinelResString(23009).str()) + L"\r\n" +
                        std::wstring(OrvinelResString(23010).str()) + L".\r\n\r\n"));
    // The caller's record now holds its ring in time order: blocks 1, 2, 0.
    std::string ordered = rec.Bytes();
    sto::Record inOrder = rec;
    inOrder.blocks = {rec.blocks[1], rec.blocks[2], rec.blocks[0]};
    EXPECT_EQ(std::string(r.record.begin(), r.record.end()), inOrder.Bytes());
    // Nothing else is left in the folder.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) files += entry.is_regular_file();
    EXPECT_EQ(files, 3u);
}

TEST(Conversion, RateSegmentsAndTheTimeOfEverySample) {
    testutil::TempDir dir;
    sto::Description d;
    d.units = {{38, -1, {{8, 300, "U", "1", "V"}, {8, 1000, "x", "1", "V"}, {8, 1001, "y", "1", "V"}}},
               {41, -1, {{1, 301, "Trip", "1", "", true}}}};
    sto::Record rec;
    rec.variant = 2;
    rec.analogIds = {300};
    rec.digitalIds = {301};
    rec.width = 1;
    rec.clockHz = 120000;
    for (uint32_t divisor : {100u, 100u, 50u}) rec.blocks.push_back({divisor, std::vector<int64_t>(24, 7), {1}});
    Result r = Convert(d, rec.Bytes(), dir.path(), 0);
    ASSERT_TRUE(r.ok) << platform::WideToUtf8(r.error.view());
    std::vector<std::string> cfg = Lines(r.cfg);
    ASSERT_EQ(cfg.size(), 12u);
    EXPECT_EQ(cfg[3], "1,Trip,,,1");
    EXPECT_EQ(cfg[4], "50");
    EXPECT_EQ(cfg[5], "2");
    EXPECT_EQ(cfg[6], "1200.000000,48");
    EXPECT_EQ(cfg[7], "2400.000000,72");
    // One ring block of 24 samples at 1200 Hz before the trigger.
    EXPECT_EQ(cfg[8], "14/11/2023,22:13:20.230000");
    EXPECT_EQ(cfg[9], "14/11/2023,22:13:20.250000");

    std::vector<std::string> dat = Lines(r.dat);
    ASSERT_EQ(dat.size(), 72u);
    EXPECT_EQ(dat[1], "2,833,7,1");
    EXPECT_EQ(dat[46], "47,38333,7,1");
    EXPECT_EQ(dat[47], "48,39167,7,1");
    // From the first sample of the 2400 Hz block on, samples are 416.67 us apart.
    EXPECT_EQ(dat[48], "49,40000,7,1");
    EXPECT_EQ(dat[49], "50,40417,7,1");
    EXPECT_EQ(dat[71], "72,49583,7,1");
}

TEST(Conversion, StatusWordsAndValueWidths) {
    testutil::TempDir dir;
    {
        sto::Description d;
        d.units = {{38, -1, {{16, 10, "Sw1", "1", "Status"}, {16, 11, "Sw2", "1", "Status"}}}};
        sto::Record rec;
        rec.variant = 3;
        rec.headerN = 20;  // more samples than a word has bits: the rest read 0
        rec.analogIds = {10, 11};
        rec.blocks = {{4, {0x8001, 0x0006}, {}}};
        Result r = Convert(d, rec.Bytes(), dir.path());
        ASSERT_TRUE(r.ok) << platform::WideToUtf8(r.error.view());
        EXPECT_EQ(Lines(r.cfg)[2], "1,Sw1,,,Status,1.000000,0.000000,0,-32767,32767,1.000,1.0,S");
        std::vector<std::string> dat = Lines(r.dat);
        ASSERT_EQ(dat.size(), 20u);
        for (int s = 0; s < 20; ++s) {
            int bit1 = (s == 0 || s == 15) ? 1 : 0, bit2 = (s == 1 || s == 2) ? 1 : 0;
            EXPECT_EQ(dat[size_t(s)], std::to_string(s + 1) + "," + std::to_string(s * 1000) + "," +
                                          std::to_string(bit1) + "," + std::to_string(bit2));
        }
    }
    struct Width {
        int size, width;
        std::vector<int64_t> raw;
        const char* values;  // the .dat values of samples 1 and 2
        const char* limits;  // min,max in the .cfg
    };
    const Width widths[] = {
        {8, 1, {0xFF, 0x7F}, "255|127", "-127,127"},
        {12, 2, {0xFFFF, 0x0800}, "-1|2048", "-2047,2047"},
        {16, 2, {0x8000, 0x7FFF}, "-32768|32767", "-32767,32767"},
        {24, 3, {0xFFFFFF, 0x7FFFFF}, "-1|8388607", "-8388607,8388607"},
        {32, 4, {0xFFFFFFFF, 0x80000000}, "-1|-2147483648", "0,0"},
        {31, 4, {0x3FFFFFFF, 0}, "1073741823|0", "-1073741823,1073741823"},
    };
    for (const Width& w : widths) {
        SCOPED_TRACE(w.size);
        sto::Description d;
        d.units = {{38, -1, {{w.size, 3, "X", "1", "V"}}}};
        sto::Record rec;
        rec.variant = 3;
        rec.headerN = 2;
        rec.analogIds = {3};
        rec.width = w.width;
        rec.blocks = {{4, w.raw, {}}};
        Result r = Convert(d, rec.Bytes(), dir.path());
        ASSERT_TRUE(r.ok) << platform::WideToUtf8(r.error.view());
        std::string values(w.values);
        std::string first = values.substr(0, values.find('|')), second = values.substr(values.find('|') + 1);
        EXPECT_EQ(r.dat, "1,0," + first + "\r\n2,1000," + second);
        EXPECT_NE(Lines(r.cfg)[2].find(std::string(",0,") + w.limits + ",1.000,"), std::string::npos) << Lines(r.cfg)[2];
    }
}

TEST(Conversion, ChannelLinesTakeScalingFromTheDescription) {
    testutil::TempDir dir;
    sto::Description d;
    d.units = {{38, 5,
                {{16, 1, "IA1", "1000", "A", true, "50", "600"},
                 {16, 2, "IB1", "0", "A", true, "50", "5"},
                 {16, 3, "F", "3", "Hz", true, "50", ""},
                 {16, 4, "Calc", "7", "X", true, "50", ""},
                 {16, 1, "dup", "1", "A", true, "50", "9"},
                 {16, 99, "spare", "1", "V", true, "60", ""}}}};
    d.freqInputs = {"F"};
    d.extra =
        "<NameRaschVhToParams><RaschVhName>Calc<MsRaschVhCoeff>0.25</MsRaschVhCoeff><MsRaschVhPhase>B</MsRaschVhPhase>"
        "<MsRaschVhUnit>kA</MsRaschVhUnit></RaschVhName></NameRaschVhToParams>";
    sto::Record rec;
    rec.variant = 2;
    rec.analogIds = {1, 2, 3, 4};
    rec.blocks = {{4, std::vector<int64_t>(4 * 6 * 16, 0), {}}};
    Result r = Convert(d, rec.Bytes(), dir.path(), 10800, L"TOR300_2024");
    ASSERT_TRUE(r.ok) << platform::WideToUtf8(r.error.view());
    std::vector<std::string> cfg = Lines(r.cfg);
    EXPECT_EQ(cfg[1], "4,4A,0D");
    EXPECT_EQ(cfg[2], "1,IA1,,,A,0.001000,0.000000,0,-32767,32767,600.000,1.0,S");
    EXPECT_EQ(cfg[3], "2,IB1,,,A,0.000000,0.000000,0,-32767,32767,600.000,1.0,S");  // primary of its group's main
    EXPECT_EQ(cfg[4], "3,F,,system,Hz,0.3333333333333333,0.000000,0,-32767,32767,1.000,1.0,S");
    EXPECT_EQ(cfg[5], "4,Calc,B,,kA,0.250000,0.000000,0,-32767,32767,1.000,1.0,S");
    EXPECT_EQ(cfg[6], "60");

    // Without the device model every channel keeps its own primary value; with two frequency
    // inputs no channel is the system one.
    d.freqInputs = {"F", "G"};
    r = Convert(d, rec.Bytes(), dir.path());
    ASSERT_TRUE(r.ok);
    cfg = Lines(r.cfg);
    EXPECT_EQ(cfg[3], "2,IB1,,,A,0.000000,0.000000,0,-32767,32767,5.000,1.0,S");
    EXPECT_EQ(cfg[4], "3,F,,,Hz,0.3333333333333333,0.000000,0,-32767,32767,1.000,1.0,S");
}

TEST(Conversion, TriggerSpanAndEmptyBlocks) {
    testutil::TempDir dir;
    // A start signal alone: no analog values, one state byte a block.
    sto::Description d;
    d.units = {{38, -1, {}}, {40, -1, {{1, 5, "Пуск", "1", "", true, "0", ""}}}};
    struct Case {
        uint8_t ringBlocks;
        uint32_t seconds;
        uint16_t ms;
        const char* first;
        const char* trigger;
    };
    const Case cases[] = {
        {1, 100, 250, "01/01/1970,00:01:40.150000", "01/01/1970,00:01:40.250000"},
        {23, 100, 250, "01/01/1970,00:01:37.950000", "01/01/1970,00:01:40.250000"},
        {23, 1, 0, "01/01/1970,00:00:00.700000", "01/01/1970,00:00:01.000000"},  // before the epoch: held at 0 s
    };
    for (const Case& c : cases) {
        sto::Record rec;
        rec.variant = 3;
        rec.headerN = 10;
        rec.clockHz = 1000;
        rec.triggerSeconds = c.seconds;
        rec.triggerMs = c.ms;
        rec.ringBlocks = c.ringBlocks;
        rec.digitalIds = {5};
        rec.blocks.assign(c.ringBlocks, {10, {}, {0}});
        Result r = Convert(d, rec.Bytes(), dir.path(), 0);
        ASSERT_TRUE(r.ok) << platform::WideToUtf8(r.error.view());
        std::vector<std::string> cfg = Lines(r.cfg);
        ASSERT_EQ(cfg.size(), 10u);
        EXPECT_EQ(cfg[1], "1,0A,1D");
        EXPECT_EQ(cfg[6], c.first);
        EXPECT_EQ(cfg[7], c.trigger);
    }
    // Samples per block taken from an empty description: no samples, the rate lines end at 0.
    sto::Record rec;
    rec.variant = 0;
    rec.ringBlocks = 2;
    rec.digitalIds = {5};
    rec.blocks = {{10, {}, {0}}, {20, {}, {1}}};
    Result r = Convert(d, rec.Bytes(), dir.path(), 0);
    ASSERT_TRUE(r.ok);
    std::vector<std::string> cfg = Lines(r.cfg);
    EXPECT_EQ(cfg[4], "2");
    EXPECT_EQ(cfg[5], "400.000000,0");
    EXPECT_EQ(cfg[6], "200.000000,0");
    EXPECT_EQ(cfg[7], cfg[8]);
    EXPECT_EQ(r.dat, "");

    // Without a single channel there is nothing to convert.
    rec.digitalIds.clear();
    rec.blocks = {{10, {}, {}}, {20, {}, {}}};
    r = Convert(d, rec.Bytes(), dir.path(), 0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, OrvinelResString(23001));
}

class Recording : public ComtradeConverter {
public:
    using ComtradeConverter::ComtradeConverter;
    std::vector<std::wstring> calls;

protected:
    void SetProgressInfoAbout(CString t) override { calls.push_back(L"about:" + t.str()); }
    void SetProgressInfoAboutFast(CString t) override { calls.push_back(L"fast:" + t.str()); }
    void SetProgressBarPos(int p) override { calls.push_back(L"pos:" + std::to_wstring(p)); }
    void SetProgressBarStep(CString t) override { calls.push_back(L"step:" + t.str()); }
};

TEST(Conversion, ProgressReportsOnlyWhenAskedFor) {
    testutil::TempDir dir;
    std::string bytes = RingRecord().Bytes();
    for (bool progress : {false, true}) {
        Recording c(int(bytes.size()), progress);
        ASSERT_TRUE(c.ReadFromXmlBuffer(RingDescription().Wide().c_str(), false));
        ASSERT_TRUE(Convert(c, bytes, dir.path()).ok);
        if (!progress) {
            EXPECT_TRUE(c.calls.empty());
            continue;
        }
        // Block values start at 35, 48 and 61 of 72 bytes; the position is taken 2 bytes earlier.
        std::vector<std::wstring> expected = {L"pos:0",  L"fast:Конверсия осциллограммы...",
                                              L"pos:45", L"step:45%",
                                              L"pos:63", L"step:63%",
                                              L"pos:81", L"step:81%",
                                              L"about:Конверсия осциллограммы завершена...",
                                              L"step:100%", L"pos:101", L"step:"};
        EXPECT_EQ(c.calls, expected);
    }
}

TEST(Conversion, HostileRecordsFailWithTheirMessageAndWriteNothing) {
    sto::Description d = RingDescription();
    const std::string good = RingRecord().Bytes();
    auto at = [&](std::initializer_list<std::pair<size_t, uint8_t>> patch) {
        std::string b = good;
        for (auto [offset, value] : patch) b[offset] = char(value);
        return b;
    };
    sto::Record v3 = RingRecord();
    v3.variant = 3;
    v3.headerN = 4;
    sto::Record hugeBlocks = v3;
    hugeBlocks.headerN = 65535;
    sto::Record manyLists = v3;
    manyLists.variant = 2;
    std::string lists = manyLists.Bytes();
    lists[28] = char(0xFF);
    lists[29] = char(0xFF);
    sto::Description noOsc = d;
    noOsc.units.erase(noOsc.units.begin());
    sto::Description badSize = d;
    badSize.units[0].entries[0].size = 0;
    sto::Description bigSize = d;
    bigSize.units[0].entries[1].size = 40;
    sto::Description negative = d;
    negative.units[0].entries[0].size = -8;
    sto::Description noAnalog = d;
    noAnalog.units[0].entries[1].offset = 77;
    sto::Description hiddenDigital = d;
    hiddenDigital.units.insert(hiddenDigital.units.begin() + 1, {39, -1, {{1, 9, "a", "1", "", true}, {1, 5, "b", "1", "", false}}});
    hiddenDigital.units.push_back({45, -1, {{1, 5, "c", "1", "", true}}});

    // Blocks that declare far more samples than their bytes carry: digital states only, and
    // one status word per channel.
    sto::Record digitalOnly;
    digitalOnly.variant = 3;
    digitalOnly.headerN = 65535;
    digitalOnly.digitalIds = {5};
    for (int b = 0; b < 40; ++b) digitalOnly.blocks.push_back({4, {}, {uint8_t(b & 1)}});
    sto::Record statusWords = digitalOnly;
    statusWords.analogIds = {1};
    for (auto& b : statusWords.blocks) b.values = {0x5555};
    sto::Description statusUnit = d;
    statusUnit.units[0].entries = {{16, 1, "Ia", "1", "Status", true, "50", ""}};

    sto::Record noChannels = RingRecord();
    noChannels.analogIds.clear();
    noChannels.digitalIds.clear();
    for (auto& b : noChannels.blocks) b = {4, {}, {}};

    struct Case {
        const char* what;
        sto::Description description;
        std::string bytes;
        unsigned message;
    };
    const Case cases[] = {
        {"31 bytes", d, good.substr(0, 31), 23011},
        {"unknown version", d, at({{26, 0xFF}, {27, 1}}), 23000},
        {"variant 3 shorter than its counts", d, v3.Bytes().substr(0, 34), 23011},
        {"lists past the record", d, at({{26, 200}, {27, 200}}), 23011},
        {"uint16 counts past the record", d, lists, 23011},
        {"no oscillogram unit", noOsc, good, 23001},
        {"clock 0", d, at({{16, 0}, {17, 0}, {18, 0}, {19, 0}}), 23001},
        {"divisor 0", d, at({{44, 0}}), 23001},
        {"ring start past the ring", d, at({{11, 3}}), 23001},
        {"no ring", d, at({{10, 0}, {11, 0}}), 23001},
        {"ring past the record", d, at({{10, 4}}), 23011},
        {"blocks larger than the record", d, hugeBlocks.Bytes(), 23011},
        {"width 0", badSize, good, 23002},
        {"width 40", bigSize, good, 23002},
        {"negative width", negative, good, 23002},
        {"analog id not described", noAnalog, good, 23002},
        {"digital id hidden by an earlier unit", hiddenDigital, good, 23002},
        {"samples beyond the digital data", d, digitalOnly.Bytes(), 23011},
        {"samples beyond the status words", statusUnit, statusWords.Bytes(), 23011},
        {"no channels", d, noChannels.Bytes(), 23001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testutil::TempDir dir;
        testutil::WriteFile(dir.File("rec.cfg"), "old");
        Result r = Convert(c.description, c.bytes, dir.path());
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, OrvinelResString(c.message));
        EXPECT_EQ(testutil::ReadFile(dir.File("rec.cfg")), "old");
        EXPECT_FALSE(std::filesystem::exists(dir.File("rec.dat")));
        size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
        EXPECT_EQ(files, 1u);
        EXPECT_EQ(std::string(r.record.begin(), r.record.end()), c.bytes);  // untouched before writing
    }
}

// Every header byte set to telling values, and every truncation: no crash, no read outside
// the record (the sanitizer build watches), and a failure never leaves files.
TEST(Conversion, MutatedRecordsNeverReadOutside) {
    // Hundreds of conversions: a memory-backed folder keeps the flushes of the writers cheap.
    const char* oldTmp = getenv("TMPDIR");
    std::string keep = oldTmp ? oldTmp : "";
    if (std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
    testutil::TempDir dir;
    if (keep.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", keep.c_str(), 1);
    sto::Record v2 = RingRecord();
    v2.variant = 2;
    sto::Record v3 = RingRecord();
    v3.variant = 3;
    v3.headerN = 4;
    for (const std::string& base : {RingRecord().Bytes(), v2.Bytes(), v3.Bytes()}) {
        std::vector<std::string> inputs;
        for (size_t length = 0; length < base.size(); ++length) inputs.push_back(base.substr(0, length));
        for (size_t pos = 10; pos < std::min<size_t>(base.size(), 52); ++pos)
            for (uint8_t value : {0x00, 0x01, 0x02, 0x03, 0x7F, 0x80, 0xFE, 0xFF}) {
                std::string b = base;
                b[pos] = char(value);
                inputs.push_back(b);
            }
        for (const std::string& bytes : inputs) {
            ComtradeConverter c(int(bytes.size()), true);
            ASSERT_TRUE(c.ReadFromXmlBuffer(RingDescription().Wide().c_str(), false));
            std::vector<unsigned char> exact(bytes.begin(), bytes.end());
            CString error;
            bool ok = c.ConvertSto2Comtrade(Wide(dir.path()), L"m", exact.data(), 24, 2, error);
            EXPECT_EQ(ok, error.IsEmpty());
            if (!ok) {
                EXPECT_FALSE(std::filesystem::exists(dir.File("m.cfg")));
            }
            std::filesystem::remove(dir.File("m.cfg"));
            std::filesystem::remove(dir.File("m.dat"));
            std::filesystem::remove(dir.File("m.hdr"));
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Conversion, UnwritableFolderReportsTheConfigurationFile) {
    testutil::TempDir dir;
    Result r = Convert(RingDescription(), RingRecord().Bytes(), dir.File("missing"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, OrvinelResString(23004));
}

}  // namespace
