// A terminal record (".sto") opens in the program through its description (".dst").
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TestUtil.h"

namespace {

uint16_t CheckWord(uint32_t sizeXorSum) {
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < 4; ++i) {
        crc ^= uint8_t(sizeXorSum >> (8 * i));
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return uint16_t((crc << 8) | (crc >> 8));
}

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

// One two-byte channel (id 1) of 16 samples a block, 20 blocks at 1000 Hz, the ring of 4
// blocks starting at its third; the record's control sum is 4242.
std::string Record() {
    std::string body = {char(1), char(0), char(1)};
    for (int b = 0; b < 20; ++b) {
        Put(body, 4, 4);
        for (int s = 0; s < 16; ++s) Put(body, uint64_t((b * 16 + s) * 10), 2);
    }
    uint32_t size = uint32_t(26 + body.size());
    std::string header;
    Put(header, size, 4);
    Put(header, 0, 4);
    Put(header, CheckWord(size ^ 4242u), 2);
    Put(header, 4, 1);
    Put(header, 2, 1);
    Put(header, 0, 4);
    Put(header, 4000, 4);
    Put(header, 1700000000, 4);
    Put(header, 500, 2);
    return header + body;
}

std::string Description(int controlSum) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DesDescr><StationName>Подстанция</StationName><RecDev>T</RecDev>"
           "<ControlSum>" + std::to_string(controlSum) +
           "</ControlSum><MatterUnits><MatterUnit><ArmObjectType>38</ArmObjectType><MatterDescrInd>0</MatterDescrInd>"
           "<MsMadData><Size>16</Size><Offset>1</Offset><NameDes>Ток фазы А</NameDes><Cft>100</Cft><U>A</U>"
           "<Freq>50</Freq></MsMadData></MatterUnit></MatterUnits></DesDescr>";
}

std::string RunProgram(const testutil::TempDir& dir, const std::vector<std::string>& args, int& rc, std::string& err) {
    const std::string report = dir.File("report.txt");
    ::mkdir(dir.File("tmp").c_str(), 0700);
    std::vector<std::string> argv{std::string(TV_BIN_DIR) + "/Tenvorik"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = testutil::Run(argv, testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TMPDIR=" + dir.File("tmp")}));
    rc = r.exitCode;
    err = r.err;
    return testutil::ReadFile(report);
}

TEST(StoOpen, RecordWithItsDescriptionBesideItOpens) {
    testutil::TempDir dir;
    testutil::WriteFile(dir.File("rec.sto"), Record());
    testutil::WriteFile(dir.File("other.dst"), Description(1));
    testutil::WriteFile(dir.File("rec.dst"), Description(4242));
    int rc = -1;
    std::string err;
    std::string text = RunProgram(dir, {dir.File("rec.sto")}, rc, err);
    ASSERT_EQ(rc, 0) << err;
    EXPECT_NE(text.find("title=Tenvorik - rec.sto\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    // The working folder is gone once the record is read.
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("tmp")));
}

TEST(StoOpen, DescriptionNamedOnTheCommandLineMustFit) {
    testutil::TempDir dir;
    std::filesystem::create_directory(dir.File("descriptions"));
    testutil::WriteFile(dir.File("rec.sto"), Record());
    testutil::WriteFile(dir.File("descriptions/good.dst"), Description(4242));
    testutil::WriteFile(dir.File("descriptions/bad.dst"), Description(1));
    int rc = -1;
    std::string err;
    std::string text = RunProgram(dir, {dir.File("rec.sto"), "-Dst", dir.File("descriptions")}, rc, err);
    ASSERT_EQ(rc, 0) << err;
    EXPECT_NE(text.find("title=Tenvorik - rec.sto\n"), std::string::npos) << text;

    text = RunProgram(dir, {dir.File("rec.sto"), "-Dst", dir.File("descriptions/bad.dst")}, rc, err);
    ASSERT_EQ(rc, 0) << err;
    EXPECT_NE(text.find("несоответствие загруженной осциллограммы и ее описания."), std::string::npos) << text;
    EXPECT_NE(text.find("title=Tenvorik\n"), std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("tmp")));
}

}  // namespace
