#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "ModelFixture.h"
#include "model/AppOptions.h"

using namespace modeltest;

TEST(SampleRates, NominalRates) {
    DocumentModel doc;
    COscillogram& o = doc.GetOscillogram();
    const struct { double net; bool snap; double measured; uint32_t nominal; } cases[] = {
        {50, true, 14400, 19200}, {50, true, 14399.9, 9600}, {50, true, 22000.1, 22000}, {50, true, 4799.7, 4800},
        {50, true, 160, 200},     {50, true, 159.9, 150},    {50, true, 1000, 1200},     {50, true, 999.9, 800},
        {60, true, 3840, 3840},   {60, true, 3500, 3840},    {60, true, 4551, 5760},     {60, true, 23000, 23040},
        {60, true, 200, 240},     {50, false, 2399.6, 2400}, {50, false, 4801, 4800},    {49.5, true, 2400, 2400},
        {49.5, false, 990, 1000}, {0, true, 4800.4, 4800},   {-50, false, 4800, 4800},   {NAN, true, 4800, 4800},
        {50, true, -100, 0},      {50, false, NAN, 0},
    };
    for (const auto& c : cases) {
        o.m_netFrequency = c.net;
        EXPECT_EQ(doc.GetNominalSampleRate(c.snap, c.measured), c.nominal) << c.net << " " << c.measured;
    }
}

TEST(SampleRates, FrequencyTableFollowsRateSegments) {
    DocumentModel doc;
    COscillogram& o = doc.GetOscillogram();
    o.m_netFrequency = 50;
    o.m_samplingFrequency = 4800;
    o.m_times.resize(10);
    o.m_rates = {{4800, 3}, {2400, 6}, {1200, 100}};
    doc.BuildSampleFrequencyTable();
    const double expected[] = {50, 50, 50, 50, 25, 25, 25, 12.5, 12.5, 12.5};
    ASSERT_EQ(o.m_sampleFrequency.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(o.m_sampleFrequency[size_t(i)], expected[i]) << i;
    // A measured rate is rounded to whole samples per period first.
    o.m_samplingFrequency = 4801;
    o.m_rates = {{4801, 9}};
    doc.BuildSampleFrequencyTable();
    EXPECT_DOUBLE_EQ(o.m_sampleFrequency[9], 4801.0 / 4800 * 50);
    // No segments: the table keeps its size and values; a rate of 0 gives the net frequency.
    o.m_rates.clear();
    o.m_times.resize(12);
    doc.BuildSampleFrequencyTable();
    EXPECT_EQ(o.m_sampleFrequency.size(), 12u);
    EXPECT_EQ(o.m_sampleFrequency[11], 0.0);
    o.m_samplingFrequency = 0;
    o.m_rates = {{0, 20}};
    doc.BuildSampleFrequencyTable();
    EXPECT_EQ(o.m_sampleFrequency[5], 50.0);
}

TEST(SampleRates, SampleTimesAcrossSegmentsAndPastTheEnd) {
    DocumentModel doc;
    COscillogram& o = doc.GetOscillogram();
    o.m_samplingFrequency = 1000;
    o.m_times = {0, 1000, 2000, 2500, 3000, 3500};
    EXPECT_EQ(doc.GetSampleTime(0), 0);
    EXPECT_EQ(doc.GetSampleTime(4), 3000);
    EXPECT_EQ(doc.GetSampleTime(6 + 9), 3500 + 10000);
    o.m_samplingFrequency = 3000;  // rounded to whole microseconds, halves up
    EXPECT_EQ(doc.GetSampleTime(6), 3500 + 333);
    EXPECT_EQ(doc.GetSampleTime(7), 3500 + 667);
    o.m_samplingFrequency = 0;
    EXPECT_EQ(doc.GetSampleTime(7), 3500);
    o.m_samplingFrequency = 1;  // far past the end of a long record: saturated, not wrapped
    o.m_times = {INT64_MAX - 10};
    EXPECT_EQ(doc.GetSampleTime(4000000000u), INT64_MAX);
    o.m_times.clear();  // no table: the rate alone
    o.m_samplingFrequency = 1000;
    EXPECT_EQ(doc.GetSampleTime(3), 3000);
}

TEST(RecordTexts, DatesAndDurations) {
    const struct { const wchar_t* in; const wchar_t* out; } dates[] = {
        {L"13/05/21", L"13.05.2021"}, {L"05/13/2021", L"13.05.2021"}, {L"05/06/2021", L"06.05.2021"},
        {L"13-05-2021", L""},         {L"", L""},
    };
    for (const auto& d : dates) EXPECT_EQ(NormalizeComtradeDate(d.in), CString(d.out)) << d.in;

    DocumentModel doc;
    SetUpRecord(doc, 1000, 2001);
    COscillogram& o = doc.GetOscillogram();
    o.m_startDate = L"13/05/21";
    o.m_startTime = L"10:20:30.000123";
    o.m_triggerDate = L"05/13/2021";
    o.m_triggerTime = L"10:20:30.1";
    EXPECT_EQ(doc.GetRecordStartDateTime(), L"13/05/21, 10:20:30.000123");
    EXPECT_EQ(doc.GetStartDateTimeText(), L"13.05.2021, 10:20:30.000123");
    EXPECT_EQ(doc.GetTriggerDateTimeText(), L"13.05.2021, 10:20:30.1");
    EXPECT_EQ(doc.GetRecordStartText(false), L"13.05.2021, 10:20:30.000123");  // no time code
    EXPECT_EQ(doc.GetDurationText(), L"");  // no channel yet
    CChannel pasted = Analog(&doc, "P", {1, 2});
    pasted.m_flags |= CHF_OWN_TIMEBASE;
    o.AddChannel(-1, pasted);
    EXPECT_EQ(doc.GetDurationText(), L"");
    o.AddChannel(-1, Analog(&doc, "A", std::vector<double>(2001, 0.0)));
    EXPECT_EQ(doc.GetDurationText(), L"2 c.");
    EXPECT_EQ(doc.GetDurationMicrosecondsText(), L"2e+06");
}

TEST(RecordTexts, DatesByRevision) {
    // 1991 writes month/day/yy, 1999 and 2013 day/month/yyyy; a date that fits only the other
    // order is read so, and one that fits neither takes a first number above 12 as the day.
    const struct { const char* revision; const wchar_t* in; const wchar_t* out; } cases[] = {
        {"", L"06/03/21", L"03.06.2021"},         {"1999", L"03/06/2021", L"03.06.2021"},
        {"2013", L"03/06/2021", L"03.06.2021"},   {"", L"12/11/1999", L"11.12.1999"},
        {"1999", L"12/11/1999", L"12.11.1999"},   {"", L"13/05/21", L"13.05.2021"},
        {"1999", L"05/13/2021", L"13.05.2021"},   {"2013", L"31/12/2020", L"31.12.2020"},
        {"", L"01/31/2020", L"31.01.2020"},       {"1999", L"40/41/2020", L"40.41.2020"},
        {"2013", L"2021-06-03", L""},
    };
    for (const auto& c : cases) {
        DocumentModel doc;
        COscillogram& o = doc.GetOscillogram();
        o.m_revision = c.revision;
        o.m_startDate = o.m_triggerDate = c.in;
        o.m_startTime = L"10:00:00.5";
        o.m_triggerTime = L"10:00:01.5";
        EXPECT_EQ(NormalizeComtradeDate(c.in, CStringA(c.revision)), CString(c.out)) << c.revision << " " << c.in;
        EXPECT_EQ(doc.GetNormalizedStartDate(), CString(c.out));
        EXPECT_EQ(doc.GetNormalizedTriggerDate(), CString(c.out));
        EXPECT_EQ(doc.GetRecordStartText(false), CString(c.out) + L", 10:00:00.5");
        if (!*c.out) continue;
        // With a time code the same day and month, in the dotted form.
        setenv("TZ", "UTC", 1);
        tzset();
        o.m_localTimeCode = L"0";
        CString dotted = CString(c.out);
        dotted.Replace(L"/", L".");
        if (dotted.Left(2) != L"40") {
            EXPECT_EQ(doc.GetRecordStartText(true).Left(10), dotted) << c.in;
        }
    }
}

namespace {
struct LocalDoc : DocumentModel {
    bool utc = false;
    bool IsUtcForComtrade2013() const override { return utc; }
};
}  // namespace

TEST(RecordTexts, StartTextWithTimeCode) {
    setenv("TZ", "Europe/Moscow", 1);  // the machine's own zone plays no part
    tzset();
    LocalDoc doc;
    COscillogram& o = doc.GetOscillogram();
    o.m_startDate = L"31/12/2020";
    o.m_startTime = L"23:30:05.005";
    // The stamps are at the first code's offset; the figures are shown at UTC or at the
    // second (local) code's offset, and the label names the offset they are at.
    struct Case {
        const wchar_t *timeCode, *localCode;
        bool utc;
        const wchar_t* text;
    } cases[] = {
        {L"+3", L"+3", true, L"31.12.2020, 20:30:05.005 (UTC)"},
        {L"+3", L"+3", false, L"31.12.2020, 23:30:05.005 (UTC+3)"},
        {L"-5h30", L"+1", true, L"01.01.2021, 05:00:05.005 (UTC)"},
        {L"-5h30", L"+1", false, L"01.01.2021, 06:00:05.005 (UTC+1)"},
        {L"+0", L"0", false, L"31.12.2020, 23:30:05.005 (UTC)"},
        {L"0", L"-3", false, L"31.12.2020, 20:30:05.005 (UTC-3)"},
        {L"", L" +1h30 ", false, L"01.01.2021, 01:00:05.005 (UTC+1:30)"},
        {L"", L"+5", true, L"31.12.2020, 23:30:05.005 (UTC)"},
        // A local code that is no offset: the stamps as written, at the offset they carry.
        {L"+3", L"x", false, L"31.12.2020, 23:30:05.005 (UTC+3)"},
        {L"", L"x", false, L"31.12.2020, 23:30:05.005 (Местное время)"},
        {L"+3h75", L"+3", true, L"31.12.2020, 23:30:05.005 (UTC)"},
    };
    for (const Case& c : cases) {
        o.m_timeCode = c.timeCode;
        o.m_localTimeCode = c.localCode;
        doc.utc = c.utc;
        EXPECT_EQ(doc.GetRecordStartText(false), CString(c.text)) << c.timeCode << "," << c.localCode << " " << c.utc;
    }
    o.m_timeCode = L"";
    o.m_localTimeCode = L"+5";
    o.m_startTime = L"23:30:05";  // no fraction: the plain text
    EXPECT_EQ(doc.GetRecordStartText(false), L"31.12.2020, 23:30:05");
    setenv("TZ", "UTC", 1);
    tzset();

    // A document without its own answer follows the application's option.
    DocumentModel plain;
    plain.GetOscillogram().m_startDate = L"31/12/2020";
    plain.GetOscillogram().m_startTime = L"23:30:05.5";
    plain.GetOscillogram().m_localTimeCode = L"+1";
    const bool saved = TheAppOptions().utcForComtrade2013;
    TheAppOptions().utcForComtrade2013 = false;
    EXPECT_EQ(plain.GetRecordStartText(false), L"01.01.2021, 00:30:05.5 (UTC+1)");
    TheAppOptions().utcForComtrade2013 = true;
    EXPECT_EQ(plain.GetRecordStartText(false), L"31.12.2020, 23:30:05.5 (UTC)");
    TheAppOptions().utcForComtrade2013 = saved;
}
