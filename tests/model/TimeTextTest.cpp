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
        {L"03/25/2015", L"25.03.2015"}, {L"25/03/15", L"25.03.2015"}, {L"05/03/2015", L"05.03.2015"}};
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

// Times to the resolution the sample rate gives, rounded half up and never cut: at 2400 Hz the
// arrow keys step 0.42 ms, and 383.75 ms reads 383.75, not 383.
TEST(TimeText, TimesToTheSampleRatesResolution) {
    struct Case {
        double rate;  // samples per second; 0 for a record without one
        int unit;
        int64_t us;
        const wchar_t* text;
    } cases[] = {
        {2400, kMilliseconds, 383750, L"383.75"},
        {2400, kMilliseconds, 382917, L"382.92"},   // sample 919: 382.9166 ms, rounded up
        {2400, kMilliseconds, 382500, L"382.50"},
        {2400, kMilliseconds, 417, L"0.42"},
        {2400, kMilliseconds, -383750, L"-383.75"},
        {2400, kMilliseconds, -417, L"-0.42"},
        {2400, kSeconds, 383750, L"0.38375"},
        {1000, kMilliseconds, 1500, L"2"},           // whole samples: 1 ms needs no digit...
        {1000, kMilliseconds, 2000, L"2"},
        {4000, kMilliseconds, 1500, L"1.50"},        // ...0.25 ms needs two
        {4000, kMilliseconds, 2499999750, L"2499999.75"},
        {5000, kMilliseconds, 1200, L"1.2"},
        {600, kMilliseconds, 1667, L"1.7"},          // 1.67 ms: two significant digits
        {12000, kMilliseconds, 83, L"0.083"},
        {1000000, kMilliseconds, 1, L"0.001"},       // times are whole microseconds
        {1000, kSeconds, -2000, L"-0.002"},
        {50, kSeconds, 20000, L"0.02"},
        {1, kSeconds, 3000000, L"3"},
        {0, kMilliseconds, 1500, L"2"},              // no rate: whole milliseconds as before
        {0, kSeconds, -1500000, L"-1.500"},
        {2400, kMicroseconds, 383750, L"383750"},
    };
    for (const Case& c : cases) {
        const int d = TimeDecimals(c.unit, SamplePeriodUs(c.rate));
        const CString got = FormatTimeNumber(c.us, c.unit, d);
        EXPECT_EQ(got, CString(c.text)) << c.rate << " Hz, " << c.us << " us";
    }
}

TEST(TimeText, AxisStepsAreRoundValues) {
    const std::pair<double, int64_t> steps[] = {{0, 1},       {1, 1},       {1.1, 2},          {2, 2},
                                                {2.5, 5},     {7, 10},      {8192, 10000},     {32768, 50000},
                                                {150001, 200000}, {4e9, 5000000000LL}};
    for (auto [least, step] : steps) EXPECT_EQ(RoundAxisStep(least), step) << least;
    EXPECT_EQ(AxisDecimals(kMilliseconds, 200), 1);
    EXPECT_EQ(AxisDecimals(kMilliseconds, 50), 2);
    EXPECT_EQ(AxisDecimals(kMilliseconds, 5000), 0);
    EXPECT_EQ(AxisDecimals(kSeconds, 200000), 1);
    EXPECT_EQ(AxisDecimals(kSeconds, 2), 6);
}

// One date form everywhere, whatever the locale: day first with dots.
TEST(TimeText, OneDateFormAndTypedDates) {
    EXPECT_EQ(FormatDate(3, 6, 2021), CString(L"03.06.2021"));
    EXPECT_EQ(FormatDate(31, 12, 1999), CString(L"31.12.1999"));
    struct Case {
        const wchar_t* text;
        bool ok;
        int d, m, y;
    } cases[] = {
        {L"03.06.2021", true, 3, 6, 2021}, {L"3.6.21", true, 3, 6, 2021},   {L"29.02.2024", true, 29, 2, 2024},
        {L"29.02.2023", false, 0, 0, 0},   {L"31.04.2021", false, 0, 0, 0}, {L"00.01.2021", false, 0, 0, 0},
        {L"01.13.2021", false, 0, 0, 0},   {L"12/25/2021", false, 0, 0, 0}, {L"", false, 0, 0, 0},
        {L"03.06", false, 0, 0, 0},        {L" 1 / 2 / 2020", true, 1, 2, 2020},
    };
    for (const Case& c : cases) {
        int d = 0, m = 0, y = 0;
        EXPECT_EQ(ParseDate(c.text, d, m, y), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(d, c.d);
            EXPECT_EQ(m, c.m);
            EXPECT_EQ(y, c.y);
            EXPECT_EQ(FormatDate(d, m, y).GetLength(), 10);
        }
    }
}
