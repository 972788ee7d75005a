// What a channel derives from its samples is computed when asked and kept only where a reader
// needs it again; whichever way a value is reached, it is the same to the bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "ModelFixture.h"

using namespace modeltest;

namespace {

std::vector<double> Wave(size_t n, double rate, double f, double amplitude, double dc) {
    std::vector<double> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = dc + amplitude * std::sin(2 * M_PI * f * double(i) / rate + 0.3) + 0.1 * std::sin(double(i * i % 97));
    return v;
}

bool SameBits(const Complex& a, const Complex& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every phasor read on its own (in order, backwards, at random) equals the kept series.
void ExpectPhasorsMatchSeries(const CChannel& ch) {
    CChannel kept = ch;
    kept.KeepPhasorSeries();
    ASSERT_TRUE(kept.HasPhasorSeries());
    const uint32_t n = ch.GetPhasorCount();
    ASSERT_EQ(kept.GetPhasorCount(), n);
    std::vector<uint32_t> order(n);
    for (uint32_t i = 0; i < n; ++i) order[i] = i;
    std::vector<uint32_t> backwards(order.rbegin(), order.rend()), shuffled = order;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));
    for (const auto* walk : {&order, &backwards, &shuffled})
        for (uint32_t i : *walk) ASSERT_TRUE(SameBits(ch.GetStoredHarmonic(i), kept.GetStoredHarmonic(i))) << i;
}

}  // namespace

TEST(DerivedValues, PhasorsOnDemandEqualTheSeries) {
    const size_t n = 1000;
    const int rate = 1000;
    // Plain windows; a value that is not finite; inverted with a ratio; a pasted channel at
    // its own rate; a record that tracks a measured frequency.
    for (int variant = 0; variant < 5; ++variant) {
        SCOPED_TRACE(variant);
        DocumentModel doc;
        SetUpRecord(doc, rate, n);
        COscillogram& o = doc.GetOscillogram();
        o.AddChannel(-1, Analog(&doc, "U", Wave(n, rate, 50, 100, 3), L"V"));
        CChannel& u = o.m_channels[0];
        if (variant == 1) u.m_samples.Set(400, INFINITY);
        if (variant == 2) {
            u.m_flags |= CHF_INVERT | CHF_REMOVE_DC;
            u.m_primaryMode = true;
            u.m_primary = 110, u.m_secondary = 0.1;
        }
        if (variant == 3) u.m_ownRate = 1200;
        if (variant == 4) {
            o.AddChannel(-1, Analog(&doc, "F", std::vector<double>(n, 49.5), L"Hz"));
            o.RebuildFrequencyChannels();
            ASSERT_NE(o.m_channels[0].GetTrackingChannel(), nullptr);
        }
        o.m_channels[0].Recalc();
        ExpectPhasorsMatchSeries(o.m_channels[0]);
    }
}

TEST(DerivedValues, ProgramMadeComplexValuesGiveThePhasors) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 5);
    CChannel z(L"Z", L"Ohm", {1, 2, 3, 4, 5}, {{1, 2}, {3, 4}, {5, 6}}, &doc);
    z.m_flags |= CHF_INVERT;
    z.Recalc();
    EXPECT_EQ(z.GetStoredHarmonic(1), Complex(-3, -4));
    EXPECT_EQ(z.GetStoredHarmonic(4), Complex(-0.0, -0.0));  // past the complex values
    EXPECT_EQ(z.GetStoredHarmonic(5), Complex());             // past the samples
    ExpectPhasorsMatchSeries(z);
}

TEST(DerivedValues, OnlyWindowedCurvesAreStored) {
    const size_t n = 2000;
    DocumentModel doc;
    SetUpRecord(doc, 1000, n);
    CChannel u = Analog(&doc, "U", Wave(n, 1000, 50, 10, 0));
    const size_t sampleBytes = u.m_samples.ByteSize();
    u.Recalc();
    EXPECT_EQ(u.GetDataBytes(), sampleBytes);  // the instant curve is the values
    for (uint32_t i = 0; i < n; i += 97) EXPECT_EQ(u.GetCurveValue(i), u.GetValue(i));
    u.m_flags = (u.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_RMS;
    u.Recalc();
    EXPECT_EQ(u.GetDataBytes(), sampleBytes + n * sizeof(double));
    EXPECT_NEAR(u.GetCurveValue(1500), 10 / std::sqrt(2.0), 0.1);
    u.m_flags = (u.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_INSTANT;
    u.Recalc();
    EXPECT_EQ(u.GetDataBytes(), sampleBytes);
    EXPECT_EQ(u.GetCurveValue(uint32_t(n)), 0.0);

    // Status channels made by the program keep a bit a sample and count their "on" samples
    // from the bits, inverted or not.
    std::vector<int32_t> states(n, 0);
    for (size_t i = 700; i < 1300; ++i) states[i] = 1;
    CChannel d(L"D", states, &doc, RGB(0, 0, 0));
    EXPECT_EQ(d.m_samples.GetEncoding(), SampleStore::Encoding::Bits);
    EXPECT_EQ(d.GetDataBytes(), (n + 63) / 64 * sizeof(uint64_t));
    EXPECT_EQ(d.CountCurveOn(0, n), 600u);
    EXPECT_EQ(d.CountCurveOn(650, 750), 50u);
    d.m_flags |= CHF_INVERT;
    d.Recalc();
    EXPECT_EQ(d.CountCurveOn(650, 750), 50u);
    EXPECT_EQ(d.CountCurveOn(0, n + 100), n - 600);  // past the curve nothing is on
    EXPECT_EQ(d.GetCurveValue(0), 1.0);
}

TEST(DerivedValues, CopiesShareTheSamplesAndWhatIsKept) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 500);
    CChannel u = Analog(&doc, "U", Wave(500, 1000, 50, 10, 0));
    u.Recalc();
    u.KeepPhasorSeries();
    CChannel copy = u;
    EXPECT_TRUE(copy.m_samples.SharesWith(u.m_samples));
    EXPECT_EQ(copy.GetRecalcStamp(), u.GetRecalcStamp());
    // A change of the ratio recalculates the copy alone and drops only its kept phasors.
    copy.m_primaryMode = true;
    copy.m_primary = 100;
    copy.Recalc();
    EXPECT_TRUE(copy.m_samples.SharesWith(u.m_samples));
    EXPECT_FALSE(copy.HasPhasorSeries());
    EXPECT_TRUE(u.HasPhasorSeries());
    EXPECT_NE(copy.GetRecalcStamp(), u.GetRecalcStamp());
    EXPECT_DOUBLE_EQ(std::abs(copy.GetStoredHarmonic(300)), 100 * std::abs(u.GetStoredHarmonic(300)));
}

TEST(DerivedValues, ValuesReadTogetherEqualValuesReadOneByOne) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 300);
    std::vector<double> v = Wave(300, 1000, 50, 1000, 7);
    v[17] = NAN;
    const uint32_t flagSets[] = {0, CHF_INVERT, CHF_REMOVE_DC, CHF_ADC_COUNTS, CHF_REMOVE_DC | CHF_INVERT | CHF_ADC_COUNTS};
    for (bool discrete : {false, true}) {
        for (uint32_t flags : flagSets) {
            CChannel ch = discrete ? Discrete(&doc, "D", std::vector<double>(300, 1.0)) : Analog(&doc, "U", v);
            ch.m_a = 0.37, ch.m_b = -2, ch.m_primaryMode = true, ch.m_primary = 3;
            ch.m_flags |= flags;
            ch.Recalc();
            std::vector<double> together(310), curve(310);
            ch.ReadValues(0, 310, together.data(), false);
            ch.ReadCurve(0, 310, curve.data());
            for (uint32_t i = 0; i < 310; ++i) {
                const double one = ch.GetValue(i), c = ch.GetCurveValue(i);
                EXPECT_EQ(std::memcmp(&together[i], &one, sizeof one), 0) << flags << " " << i;
                EXPECT_TRUE(std::memcmp(&curve[i], &c, sizeof c) == 0 || (std::isnan(c) && std::isnan(curve[i])))
                    << flags << " " << i;
            }
            EXPECT_TRUE(discrete || std::isnan(ch.GetCurveValue(17)));  // a gap in the curve
        }
    }
}
