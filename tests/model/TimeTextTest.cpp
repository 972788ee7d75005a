#include <gtest/gtest.h>

#include "model/TimeText.h"

using namespace oscview;

TEST(TimeText, GroupedIntegersAndHalfUpRounding) {
    const std::pair<int64_t, const wchar_t*> grouped[] = {
        {0, L"0"}, {5000, L"5 000"}, {-2345678, L"-2 345 678"}, {999, L"999"}, {1000001, L"1 000 001"},
        {-1000, L"-1 000"}, {3000000000000LL, L"3 000 000 000 000"}};
    for (auto [v, text] : grouped) EXPECT_EQ(FormatGroupedInt(v), CString(text)) << v;
    const int64_t cases[][3] = {{1500, 1000, 2}, {1499, 1000, 1}, {-1500, 1000, -1}, {-1501, 1000, -2}, {2500000000000LL, 1000, 2500000000}};
    for (auto& c : cases) EXPECT_EQ(DivRoundHalfUp(c[0], c[1]), c[2]) << c[0];
}

TEST(TimeText, AxisValuesInEveryUnit) {
    struct Case {
        int unit;
        int64_t dt, ds;
        double start;
        int64_t sinceFirst;
        const wchar_t* text;
    } cases[] = {
        {kMilliseconds, 1500, 0, 0, 0, L"2"},
        {kMilliseconds, 1499, 0, 0, 0, L"1"},
        {kMilliseconds, -2345678000, 0, 0, 0, L"-2 345 678"},
        // 40 minutes in microseconds does not fit 32 bits.
        {kMicroseconds, 2400000000LL, 0, 0, 0, L"2 400 000 000"},
        {kSamples, 0, 0, 0, 0, L"1"},
        {kSamples, 0, -1, 0, 0, L"0"},
        {kSamples, 0, 12345678, 0, 0, L"12 345 679"},
        {kSeconds, 400, 0, 0, 0, L"0"},
        {kSeconds, 500, 0, 0, 0, L"0.001"},
        {kSeconds, 2400000000LL, 0, 0, 0, L"2400.000"},
        {kTimeOfDay, 0, 0, 23 * 3600 + 59 * 60 + 59.5, 1000000, L"00:00:00.500"},
        {kTimeOfDay, 0, 0, 59.9996, 0, L"00:01:00.000"},
        {kTimeOfDay, 0, 0, 10, 2400000000LL, L"00:40:10.000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatAxisValue(c.unit, c.dt, c.ds, true, c.start, c.sinceFirst), CString(c.text)) << c.unit << " " << c.dt;
}

TEST(TimeText, StartTextsAndSpans) {
    double s = 0;
    EXPECT_TRUE(ParseStartSeconds(L"12:34:56.789", s));
    EXPECT_NEAR(s, 12 * 3600 + 34 * 60 + 56.789, 1e-9);
    EXPECT_FALSE(ParseStartSeconds(L"12:34", s));
    EXPECT_FALSE(ParseStartSeconds(L"no time", s));
    const std::pair<const wchar_t*, const wchar_t*> dates[] = {
        {L"03/25/2015", L"25/03/2015"}, {L"25/03/15", L"25/03/2015"}, {L"05/03/2015", L"05/03/2015"}};
    for (auto [in, out] : dates) {
        CString text;
        EXPECT_TRUE(FormatStartDate(in, text));
        EXPECT_EQ(text, CString(out)) << in;
    }
    CString text;
    EXPECT_FALSE(FormatStartDate(L"25/03", text));
    EXPECT_EQ(FormatSpan(3723500000LL), CString(L"01:02:03.500"));
    EXPECT_EQ(FormatSpan(999999), CString(L"00:00:01.000"));
    EXPECT_EQ(FormatSpan(100LL * 3600 * 1000000), CString(L"100:00:00.000"));
}
