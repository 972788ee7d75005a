#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ModelFixture.h"
#include "model/Numeric.h"

using namespace modeltest;

TEST(TimeTable, UniformTimesAreTheRoundedSteps) {
    for (double rate : {4800.0, 3840.0, 1000.0, 7.0}) {
        const double step = 1000000.0 / rate;
        TimeTable t;
        t.SetUniform(1001, step);
        ASSERT_EQ(t.size(), 1001u);
        EXPECT_EQ(t.ByteSize(), 0u);
        std::vector<int64_t> want(1001);
        for (size_t i = 0; i < want.size(); ++i) want[i] = RoundToInt64(double(i) * step);
        EXPECT_EQ(t, want) << rate;
        // Searches see the same times as in a table.
        const double probe = double(want[700]) - 0.5;
        EXPECT_EQ(std::lower_bound(t.begin() + 1, t.end(), probe, [](int64_t a, double b) { return double(a) < b; }) - t.begin(),
                  700);
        // Writing turns it into a table of the same times.
        TimeTable copy = t;
        copy.Set(3, -1);
        EXPECT_EQ(copy[4], want[4]);
        EXPECT_EQ(copy[3], -1);
        EXPECT_EQ(t[3], want[3]);
    }
}

TEST(TimeTable, FrequencyTableKeepsOneRunPerSegment) {
    DocumentModel doc;
    SetUpRecord(doc, 4800, 1000000);
    COscillogram& o = doc.GetOscillogram();
    o.m_rates = {{4800, 300000}, {2400, 999999}};
    doc.BuildSampleFrequencyTable();
    ASSERT_EQ(o.m_sampleFrequency.size(), 1000000u);
    EXPECT_EQ(o.m_sampleFrequency.RunCount(), 2u);
    EXPECT_EQ(o.m_sampleFrequency[300000], 50.0);
    EXPECT_EQ(o.m_sampleFrequency[300001], 25.0);
    EXPECT_EQ(o.m_sampleFrequency[999999], 25.0);
    EXPECT_EQ(o.m_sampleFrequency[1000000], 0.0);  // past the table

    // Segments that end behind their start: the segment runs to the end.
    o.m_rates = {{4800, 10}, {2400, 5}, {1200, 20}};
    doc.BuildSampleFrequencyTable();
    EXPECT_EQ(o.m_sampleFrequency[10], 50.0);
    EXPECT_EQ(o.m_sampleFrequency[999999], 25.0);
    EXPECT_EQ(o.m_sampleFrequency.RunCount(), 2u);
}
