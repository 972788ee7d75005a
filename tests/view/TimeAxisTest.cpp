// The time axis as a user reads it: labels at round values whatever the zoom (10 000 ms, not
// 8 192 ms), each a different time, none running into the next; a short record zoomed in
// (a 12 ms ".osc") labels each tick with its own time.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ViewFixture.h"
#include "model/TimeText.h"
#include "view/TimeAxis.h"

using namespace viewtest;
using namespace oscview;

namespace {

// Value of a label text: "-12", "8 000", "1.5" -> microseconds (ms unit) or the number.
double LabelNumber(CString t) {
    t.Remove(L' ');
    return std::wcstod(t.GetString(), nullptr);
}

void ExpectReadableAxis(const std::vector<AxisTick>& ticks, int unit, const char* what) {
    std::vector<const AxisTick*> labelled;
    for (const AxisTick& t : ticks)
        if (!t.label.IsEmpty()) labelled.push_back(&t);
    ASSERT_GE(labelled.size(), 2u) << what;
    std::set<std::wstring> texts;
    for (size_t k = 0; k < labelled.size(); ++k) {
        texts.insert(labelled[k]->label.GetString());
        EXPECT_EQ(labelled[k]->length, 10) << what;
        if (k == 0) continue;
        // Labels stand well apart and increase.
        EXPECT_GE(labelled[k]->x - labelled[k - 1]->x, 60) << what;
        if (unit != kTimeOfDay) {
            EXPECT_GT(LabelNumber(labelled[k]->label), LabelNumber(labelled[k - 1]->label)) << what;
        }
    }
    EXPECT_EQ(texts.size(), labelled.size()) << what << ": every label its own value";
    // Round values: the labels' steps are equal and 1, 2 or 5 times a power of ten.
    if (unit == kMilliseconds || unit == kSamples || unit == kMicroseconds) {
        const double step = LabelNumber(labelled[1]->label) - LabelNumber(labelled[0]->label);
        const double p = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        const double m = step / p;
        EXPECT_TRUE(std::fabs(m - 1) < 1e-6 || std::fabs(m - 2) < 1e-6 || std::fabs(m - 5) < 1e-6) << what << " step " << step;
        for (const AxisTick* t : labelled) {
            const double q = LabelNumber(t->label) / step;
            EXPECT_NEAR(q, std::round(q), 1e-6) << what << " label " << platform::WideToUtf8(t->label.GetString());
        }
    }
}

}  // namespace

TEST(TimeAxis, LongRecordsAreLabelledAtRoundValues) {
    // 2 million samples at 2400 Hz, the zero time at sample 1000, at every zoom from the whole
    // record on 1000 pixels down to a few samples.
    for (double pixelsPerSample : {1000.0 / 2000000, 0.01, 0.0390625, 1.0, 25.0, 200.0}) {
        AxisGeometry g;
        g.left = 100;
        g.right = 1100;
        g.firstSample = 12345;
        g.pixelsPerSample = pixelsPerSample;
        g.unit = kMilliseconds;
        g.value = [](int64_t s) { return int64_t(std::llround(double(s) * 1e6 / 2400)) - int64_t(std::llround(1000 * 1e6 / 2400)); };
        g.textWidth = [](const CString& t) { return 7 * t.GetLength(); };
        const auto ticks = ComputeAxisTicks(g);
        for (const AxisTick& t : ticks) {
            EXPECT_GE(t.x, g.left);
            EXPECT_LE(t.x, g.right);
        }
        ExpectReadableAxis(ticks, kMilliseconds, ("ms at " + std::to_string(pixelsPerSample)).c_str());
        g.unit = kSamples;
        g.value = [](int64_t s) { return s - 1000 + 1; };
        ExpectReadableAxis(ComputeAxisTicks(g), kSamples, ("samples at " + std::to_string(pixelsPerSample)).c_str());
    }
    // The label text of a long record: whole milliseconds in groups, no power of two.
    EXPECT_EQ(AxisLabelText(kMilliseconds, 10000000, 5000000), CString(L"10 000"));
    EXPECT_EQ(AxisLabelText(kMilliseconds, 1500, 500), CString(L"1.5"));
    EXPECT_EQ(AxisLabelText(kSeconds, 2500000, 500000), CString(L"2.5"));
    EXPECT_EQ(AxisLabelText(kSeconds, 0, 500000), CString(L"0"));
}

TEST(TimeAxis, AShortRecordZoomedInLabelsEachTickWithItsOwnTime) {
    // An ".osc" of 12 ms at 1 kHz whose zero time is its last sample: drawn 80 pixels a sample.
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 13);
    AddChannels(rig.doc, {Analog(rig.doc, "U", std::vector<double>(13, 1.0))});
    rig.doc.GetOscillogram().m_timeReferenceSample = 12;
    rig.doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 3.2);
    rig.Open(1200, 400);
    for (int unit : {kMilliseconds, kMicroseconds, kSeconds, kSamples}) {
        rig.view->m_timeUnit = unit;
        CBitmap& pic = rig.Render();
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        const auto ticks = rig.view->TimeAxisTicks(&dc, rig.view->m_clientWidth);
        ExpectReadableAxis(ticks, unit, ("unit " + std::to_string(unit)).c_str());
        // The first label is the record's start, -12 ms, and no other label repeats it.
        for (const AxisTick& t : ticks) {
            if (t.label.IsEmpty()) continue;
            if (unit == kMilliseconds) {
                EXPECT_EQ(t.label, CString(L"-12"));
            }
            break;
        }
        // Each label is ink on the picture under its tick.
        for (const AxisTick& t : ticks) {
            if (t.label.IsEmpty()) continue;
            int ink = 0;
            for (int y = 400 - 20; y < 400 - 5; ++y)
                for (int x = t.x - 6; x <= t.x + 6; ++x) ink += GetBValue(pic.GetPixel(x, y)) < 200 || GetRValue(pic.GetPixel(x, y)) < 100;
            EXPECT_GT(ink, 0) << unit << " " << platform::WideToUtf8(t.label.GetString());
        }
    }
}
