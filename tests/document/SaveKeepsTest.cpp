#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

// Records saved the way the program's "save as" saves them, through the tool that other checks
// run, and the saved files read as text.

using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

std::string Tool() { return std::string(TV_BIN_DIR) + "/recdump"; }

testutil::RunResult SaveAs(const std::string& in, const std::string& out) { return testutil::Run({Tool(), "--save", out, in}); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A 2013 record with the time-code and time-quality lines, a status channel with its phase and
// circuit component, and a missing sample. Every line is written as the program writes it, so
// that the saved files compare line by line.
const std::string kCfg2013 =
    "S,R,2013\r\n"
    "3,2A,1D\r\n"
    "1,UA,A,Bay1,kV,0.5,0,0,20,26,1,1,P\r\n"
    "2,IA,B,Bay1,A,0.25,0,0,40,43,100,5,S\r\n"
    "1,Trip,C,Bay1 breaker,0\r\n"
    "50\r\n"
    "1\r\n"
    "1000,4\r\n"
    "01/02/2020,10:00:00.000000\r\n"
    "01/02/2020,10:00:00.001000\r\n"
    "ASCII\r\n"
    "1\r\n"
    "-5h30,-5h30\r\n"
    "B,3\r\n";
const std::string kDat2013 =
    "1,0,20,40,0\r\n"
    "2,1000,24,99999,1\r\n"
    "3,2000,26,42,0\r\n"
    "4,3000,22,43,1\r\n";

// No fixed rate: the times are the data file's stamps, unevenly spaced.
const std::string kCfgStamps =
    "S,R,1999\r\n"
    "1,1A,0D\r\n"
    "1,UA,A,,kV,1,0,0,1,4,1,1,P\r\n"
    "50\r\n"
    "0\r\n"
    "0,4\r\n"
    "01/02/2020,10:00:00.000000\r\n"
    "01/02/2020,10:00:00.000000\r\n"
    "ASCII\r\n"
    "1\r\n";
const std::string kDatStamps =
    "1,0,1\r\n"
    "2,700,2\r\n"
    "3,2500,3\r\n"
    "4,2600,4\r\n";

std::string WriteRecord(const TempDir& dir, const std::string& name, const std::string& cfg, const std::string& dat) {
    WriteFile(dir.File(name + ".cfg"), cfg);
    WriteFile(dir.File(name + ".dat"), dat);
    return dir.File(name + ".cfg");
}

}  // namespace

TEST(SaveKeeps, UnchangedRecordsWriteBackWhatTheyRead) {
    TempDir dir;
    const struct {
        const char* name;
        std::string cfg, dat;
    } cases[] = {
        {"utc", kCfg2013, kDat2013},
        {"stamps", kCfgStamps, kDatStamps},
    };
    for (const auto& c : cases) {
        const std::string in = WriteRecord(dir, c.name, c.cfg, c.dat);
        const std::string out = dir.File(std::string(c.name) + "_saved.cfg");
        auto r = SaveAs(in, out);
        ASSERT_EQ(r.exitCode, 0) << c.name << r.err;
        EXPECT_EQ(Lines(ReadFile(out)), Lines(c.cfg)) << c.name;
        EXPECT_EQ(Lines(ReadFile(dir.File(std::string(c.name) + "_saved.dat"))), Lines(c.dat)) << c.name;
    }
}

TEST(SaveKeeps, SavedRecordsOpenWithTheirTimesAndUtcOffset) {
    fixtures::DocUi ui;
    TempDir dir;
    const std::string in = WriteRecord(dir, "stamps", kCfgStamps, kDatStamps);
    ASSERT_EQ(SaveAs(in, dir.File("copy.cfg")).exitCode, 0);
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(CString(platform::Utf8ToWide(dir.File("copy.cfg")))));
    const COscillogram& osc = doc.m_oscillogram;
    ASSERT_EQ(osc.GetSampleCount(), 4);
    EXPECT_EQ(osc.m_times[2], 2500);
    EXPECT_EQ(osc.m_times[3], 2600);

    const std::string utc = WriteRecord(dir, "utc", kCfg2013, kDat2013);
    ASSERT_EQ(SaveAs(utc, dir.File("utc_copy.cfg")).exitCode, 0);
    CTenvorikDoc again;
    ASSERT_TRUE(again.OnOpenDocument(CString(platform::Utf8ToWide(dir.File("utc_copy.cfg")))));
    EXPECT_EQ(again.m_oscillogram.m_localTimeCode, CString(L"-5h30"));
    EXPECT_EQ(again.m_oscillogram.m_channels[2].m_circuit, CStringA("Bay1 breaker"));
}

TEST(SaveKeeps, ProtectedTargetIsRefusedAndLeftAsItWas) {
    TempDir dir;
    const std::string in = WriteRecord(dir, "rec", kCfg2013, kDat2013);
    const std::string target = dir.File("kept.cfg");
    WriteFile(target, "old configuration");
    WriteFile(dir.File("kept.dat"), "old data");
    ASSERT_EQ(chmod(target.c_str(), 0444), 0);
    auto r = SaveAs(in, target);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Нет доступа к файлу: " + target), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(target), "old configuration");
    EXPECT_EQ(ReadFile(dir.File("kept.dat")), "old data");
    struct stat st{};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST(SaveKeeps, OscFromAnotherFormatIsRefusedAndNothingIsEmptied) {
    TempDir dir;
    const std::string in = WriteRecord(dir, "rec", kCfg2013, kDat2013);
    WriteFile(dir.File("old.osc"), "an older record");
    for (const std::string name : {"old.osc", "new.osc"}) {
        auto r = SaveAs(in, dir.File(name));
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_NE(r.err.find("только осциллограмма, открытая из файла .osc"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFile(dir.File("old.osc")), "an older record");
    struct stat st{};
    EXPECT_NE(stat(dir.File("new.osc").c_str(), &st), 0);
}

TEST(SaveKeeps, Float32RecordIsRefusedSayingWhy) {
    TempDir dir;
    std::string cfg = kCfg2013;
    cfg.replace(cfg.find("ASCII"), 5, "FLOAT32");
    const std::string in = WriteRecord(dir, "float", cfg, kDat2013);
    auto r = testutil::Run({Tool(), in});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("не открыт: его данные записаны в формате FLOAT32, который программа не читает."),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("float.cfg"), std::string::npos) << r.err;
}

TEST(SaveKeeps, MemoryThatRunsOutIsNamedInTheRefusal) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
    // A data file of 1 GB (sparse: it takes no disk) cannot be mapped within 400 MB of address
    // space; the program itself starts within it.
    TempDir dir;
    const std::string in = WriteRecord(dir, "big", kCfgStamps, "");
    std::filesystem::resize_file(dir.File("big.dat"), uint64_t(1) << 30);
    auto r = testutil::Run({"/bin/sh", "-c", "ulimit -v 400000 && exec \"$0\" \"$1\"", Tool(), in});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Недостаточно памяти, чтобы открыть файл " + in), std::string::npos) << r.err;
#endif
}

TEST(SaveKeeps, RecordOpensWhenNoThreadCanStart) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
    // Two channels of 200,000 samples: enough for the loading to spread over threads. With a
    // stack size larger than the address space allowed, no thread starts; the record opens all
    // the same on the one thread there is.
    TempDir dir;
    const int n = 200000;
    std::string cfg = "S,R,1999\r\n2,2A,0D\r\n1,UA,A,,kV,1,0,0,-9,9,1,1,P\r\n2,UB,B,,kV,1,0,0,-9,9,1,1,P\r\n50\r\n1\r\n"
                      "1000," + std::to_string(n) + "\r\n01/02/2020,10:00:00.000000\r\n01/02/2020,10:00:00.000000\r\nBINARY\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < n; ++i) {
        const int32_t number = i + 1, stamp = i * 1000;
        const int16_t a = int16_t(i % 10), b = int16_t(-(i % 7));
        dat.append(reinterpret_cast<const char*>(&number), 4).append(reinterpret_cast<const char*>(&stamp), 4);
        dat.append(reinterpret_cast<const char*>(&a), 2).append(reinterpret_cast<const char*>(&b), 2);
    }
    const std::string in = WriteRecord(dir, "long", cfg, dat);
    auto r = testutil::Run({"/bin/sh", "-c", "ulimit -s 1000000 && ulimit -v 400000 && exec \"$0\" \"$1\"", Tool(), in});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("200000"), std::string::npos);
#endif
}
