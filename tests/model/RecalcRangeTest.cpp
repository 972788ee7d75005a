// The range of an instant curve comes from the least and the greatest sample in the pass that
// sums the DC component: it must be, to the bit, the range a walk over every shown value keeps
// (infinite values left out, the first of equal extremes kept).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "ModelFixture.h"
#include "model/DocumentModel.h"

using namespace modeltest;

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(RecalcRange, InstantCurveRangeIsTheWalkOverEveryShownValue) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        std::vector<double> samples;
        uint32_t flags;  // added to the default ones
        double a, b, primary;  // primary 0: secondary values shown
    } cases[] = {
        {"a sine with an offset", {1.5, 3.25, -2.0, 0.75, 3.25, -2.0, 1.0, 0.5}, 0, 1, 0, 0},
        {"missing samples", {nan, 4.0, nan, -1.0, 2.0, nan, 7.5, 0.1}, 0, 1, 0, 0},
        {"all missing", {nan, nan, nan}, 0, 1, 0, 0},
        {"an infinite sample", {1.0, inf, -3.0, 2.0, -inf, 0.5}, 0, 1, 0, 0},
        {"zeros of both signs", {0.0, -0.0, 0.0, -0.0}, 0, 1, 0, 0},
        {"a zero maximum", {-1.0, -0.0, -2.0, 0.0, -0.5}, 0, 1, 0, 0},
        {"a zero minimum", {3.0, 0.0, 1.0, -0.0}, 0, 1, 0, 0},
        {"inverted", {1.5, 3.25, -2.0, 0.75, 9.0, -4.0}, CHF_INVERT, 1, 0, 0},
        {"DC removed", {10.0, 12.0, 11.0, 13.0, 10.5, 12.5}, CHF_REMOVE_DC, 1, 0, 0},
        {"DC removed and inverted", {10.0, 12.0, 11.0, 13.0, 10.5, 12.5}, CHF_REMOVE_DC | CHF_INVERT, 1, 0, 0},
        {"codes shown", {0.7, 1.9, -3.3, 2.2, 5.0, -0.4}, CHF_ADC_COUNTS, 0.5, 1.0, 0},
        {"codes of a zero scale", {0.7, 1.9, -3.3}, CHF_ADC_COUNTS, 0.0, 1.0, 0},
        {"primary values", {1.5, 3.25, -2.0, 0.75, 3.25, -2.0}, 0, 1, 0, 110},
        {"shown values beyond the doubles", {1e300, -1e300, 5.0, 1e307}, 0, 1, 0, 1e10},
        {"one sample", {42.0}, 0, 1, 0, 0},
        {"none", {}, 0, 1, 0, 0},
    };
    for (const auto& c : cases) {
        DocumentModel doc;
        SetUpRecord(doc, 200, c.samples.size());  // 4 samples a period: whole periods and a rest
        CChannel ch = Analog(&doc, "U", c.samples);
        ch.m_flags |= c.flags;
        ch.m_a = c.a;
        ch.m_b = c.b;
        if (c.primary != 0) {
            ch.m_primaryMode = true;
            ch.m_primary = c.primary;
            ch.m_secondary = 1;
        }
        ch.Recalc();
        double max = -DBL_MAX, min = DBL_MAX;
        for (uint32_t i = 0; i < c.samples.size(); ++i) {
            const double v = ch.GetCurveValue(i);
            if (v > -DBL_MAX && v < DBL_MAX) {
                max = std::max(max, v);
                min = std::min(min, v);
            }
        }
        EXPECT_TRUE(SameBits(ch.m_max, max)) << c.name << ": " << ch.m_max << " against " << max;
        EXPECT_TRUE(SameBits(ch.m_min, min)) << c.name << ": " << ch.m_min << " against " << min;
    }
}

TEST(RecalcRange, OnlyChangedChannelsAreRecalculated) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 100);
    COscillogram& o = doc.GetOscillogram();
    for (int k = 0; k < 3; ++k) o.AddChannel(-1, Analog(&doc, "U", std::vector<double>(100, 1.0 + k)));
    o.RecalcAll(false);
    auto stamp = [&](int k) { return o.m_channels[size_t(k)].GetRecalcStamp(); };
    const uint64_t s0 = stamp(0), s1 = stamp(1), s2 = stamp(2);
    o.UpdateAfterChange();  // nothing changed
    EXPECT_EQ(stamp(0), s0);
    EXPECT_EQ(stamp(1), s1);
    EXPECT_EQ(stamp(2), s2);

    const struct {
        const char* name;
        void (*change)(CChannel&);
    } changes[] = {
        {"a flag", [](CChannel& ch) { ch.m_flags ^= CHF_INVERT; }},
        {"the ratio", [](CChannel& ch) { ch.m_primaryMode = !ch.m_primaryMode, ch.m_primary = 50; }},
        {"a sample written in place", [](CChannel& ch) { ch.m_samples.Set(3, 9.0); }},
        {"the scale", [](CChannel& ch) { ch.m_a = 2.0; }},
    };
    for (const auto& c : changes) {
        const uint64_t before0 = stamp(0), before1 = stamp(1), before2 = stamp(2);
        c.change(o.m_channels[1]);
        o.UpdateAfterChange();
        EXPECT_EQ(stamp(0), before0) << c.name;
        EXPECT_NE(stamp(1), before1) << c.name;
        EXPECT_EQ(stamp(2), before2) << c.name;
    }
    // The record's line frequency changes every channel's periods.
    o.m_netFrequency = 60;
    const uint64_t before0 = stamp(0);
    o.UpdateAfterChange();
    EXPECT_NE(stamp(0), before0);
}
