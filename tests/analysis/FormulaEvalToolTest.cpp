#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "TestUtil.h"

namespace {

// A 1999 ASCII record of 8 samples at 1000 per second: Ia = 0, 1, ..., 7 A and Ub = 0.5 V
// per code, codes 10, 20, ...
std::string WriteRecord(const testutil::TempDir& dir) {
    std::string cfg =
        "Station,Rec-1,1999\r\n"
        "2,2A,0D\r\n"
        "1,Ia,A,,A,1,0,0,-1000,1000,1,1,S\r\n"
        "2,Ub,B,,V,0.5,0,0,-1000,1000,1,1,S\r\n"
        "50\r\n1\r\n1000,8\r\n"
        "01/02/2026,10:00:00.000000\r\n01/02/2026,10:00:00.000000\r\n"
        "ASCII\r\n1\r\n";
    std::string dat;
    // Appended piece by piece: an optimised gcc 12 takes a literal-plus-string chain for an overlap.
    for (int i = 0; i < 8; ++i) {
        for (int v : {i + 1, i * 1000, i, 10 * (i + 1)}) {
            dat += std::to_string(v);
            dat += ',';
        }
        dat.back() = '\r';
        dat += '\n';
    }
    testutil::WriteFile(dir.File("rec.cfg"), cfg);
    testutil::WriteFile(dir.File("rec.dat"), dat);
    return dir.File("rec.cfg");
}

std::string Tool() { return std::string(TV_BIN_DIR) + "/formula-eval"; }

TEST(FormulaEvalTool, ValuesKindsUnitsAndErrors) {
    testutil::TempDir dir;
    std::string rec = WriteRecord(dir);

    auto r = testutil::Run({Tool(), "--at", "3,0", rec, "Ia ^ 2", "Ix + 1", "Ia +", "Frequency: ()"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "[{\"formula\":\"Ia ^ 2\",\"kind\":\"real\",\"unit\":\"\",\"real\":[9,0],\"imag\":[]},\n"
              "{\"formula\":\"Ix + 1\",\"error\":\"Имя канала задано неправильно.\"},\n"
              "{\"formula\":\"Ia +\",\"error\":\"Ia +: Синтаксическая ошибка в формуле\"},\n"
              "{\"formula\":\"Frequency: ()\",\"kind\":\"real\",\"unit\":\"Hz\",\"real\":[50,50],\"imag\":[]}]\n");

    // Every sample, complex values, the unit of the channel, and values JSON has no number for.
    r = testutil::Run({Tool(), rec, "Ub * 2 - 0.1", "Ia / 0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("{\"formula\":\"Ub * 2 - 0.1\",\"kind\":\"complex\",\"unit\":\"V\",\"real\":"
                         "[9.9000000000000004,19.899999999999999,29.899999999999999,39.899999999999999,"
                         "49.899999999999999,59.899999999999999,69.900000000000006,79.900000000000006],\"imag\":["),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"real\":[\"NaN\",\"Infinity\",\"Infinity\""), std::string::npos) << r.out;
}

TEST(FormulaEvalTool, CommandLineAndRecordErrors) {
    testutil::TempDir dir;
    std::string rec = WriteRecord(dir);
    EXPECT_EQ(testutil::Run({Tool(), rec}).exitCode, 2);
    EXPECT_EQ(testutil::Run({Tool(), "--at", "1,x", rec, "Ia"}).exitCode, 2);
    EXPECT_EQ(testutil::Run({Tool(), "--at", "8", rec, "Ia"}).exitCode, 2);
    auto r = testutil::Run({Tool(), dir.File("none.cfg"), "Ia"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
