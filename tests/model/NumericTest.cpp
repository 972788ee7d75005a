#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Numeric.h"
#include "model/TenvorikException.h"

TEST(Numeric, RoundingSendsHalvesTowardPlusInfinity) {
    const struct { double x; int expected; } cases[] = {
        {0.49999, 0}, {0.5, 1}, {-0.5, 0}, {2.5, 3}, {-2.5, -2}, {-2.6, -3}, {-0.49, 0}, {1e12, INT32_MAX},
        {-1e12, INT32_MIN}, {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToInt(c.x), c.expected) << c.x;
    EXPECT_EQ(RoundToInt64(4294967296.5), 4294967297LL);
    EXPECT_EQ(RoundToInt64(-4294967296.5), -4294967296LL);
}

TEST(Numeric, StripOscillogramExt) {
    const struct { const wchar_t* path; const wchar_t* expected; } cases[] = {
        {L"/d/rec.cfg", L"/d/rec"}, {L"/d/REC.CFG", L"/d/REC"}, {L"a.Osc", L"a"}, {L"a.sto", L"a"},
        {L"a.zip", L"a"}, {L"a.cff", L"a"}, {L"record", L"record"}, {L"a.dat", L"a.dat"}, {L"a.set", L"a.set"},
        {L"cfg", L"cfg"}, {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(StripOscillogramExt(c.path), CString(c.expected)) << c.path;
}

TEST(Numeric, NumberTexts) {
    EXPECT_EQ(FormatInt(-12), L"-12");
    EXPECT_EQ(FormatDouble(0.1), L"0.1");
    EXPECT_EQ(FormatDouble(1234567.0), L"1.23457e+06");
}

TEST(TenvorikException, MessageIsResourceTextThenDetail) {
    CTenvorikException* e = new CTenvorikException(330);
    EXPECT_EQ(e->GetErrorMessage(), L"Неправильный формат файла");
    e->Delete();
    e = new CTenvorikException(330, L"/tmp/a.cfg");
    EXPECT_EQ(e->GetErrorMessage(), L"Неправильный формат файла - /tmp/a.cfg");
    wchar_t buf[8];
    EXPECT_TRUE(e->GetErrorMessage(buf, 8));
    EXPECT_EQ(CString(buf), L"Неправи");  // cut to fit, terminated
    e->Delete();
}
