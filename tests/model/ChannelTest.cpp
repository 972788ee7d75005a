#include <gtest/gtest.h>

#include <cmath>

#include "ModelFixture.h"
#include "model/Channel.h"
#include "model/Resources.h"

using namespace modeltest;

TEST(Channel, ValueAccessAppliesAdcDcAndInversionInThatOrder) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 40);
    CChannel ch = Analog(&doc, "I", std::vector<double>(40, 0.0));
    ch.m_a = 0.5;
    ch.m_b = 1.0;
    for (int i = 0; i < 40; ++i) ch.m_samples.Set(size_t(i), 11.0);  // code (11-1)/0.5 = 20
    ch.m_samples.Set(3, std::nan(""));
    ch.m_dc = 4.0;
    ch.m_displayMul = 2.0;
    const struct { uint32_t flags; double expected; } cases[] = {
        {CHF_DEFAULT, 22.0},
        {CHF_INVERT, -22.0},
        {CHF_ADC_COUNTS, 20.0},
        {CHF_ADC_COUNTS | CHF_INVERT, -20.0},
        {CHF_ADC_COUNTS | CHF_REMOVE_DC | CHF_INVERT, -(20.0 - 8.0)},
        {CHF_REMOVE_DC, 22.0 - 8.0},
    };
    for (const auto& c : cases) {
        ch.m_flags = c.flags;
        EXPECT_DOUBLE_EQ(ch.GetValue(0), c.expected) << std::hex << c.flags;
        EXPECT_EQ(ch.GetValue(3), 0.0) << "NaN sample";
        EXPECT_EQ(ch.GetValue(40), 0.0) << "past the end";
        EXPECT_EQ(ch.GetValue(uint32_t(-1)), 0.0);
    }
    ch.m_a = 0.0;  // no multiplier: no code, and no division by zero
    EXPECT_EQ(ch.GetAdcCode(0), 0);
}

TEST(Channel, DiscreteInversionSwapsZeroAndAnyOtherValue) {
    DocumentModel doc;
    CChannel ch = Discrete(&doc, "D", {0.0, 1.0, 2.0});
    ch.m_flags |= CHF_INVERT;
    EXPECT_EQ(ch.GetValue(0), 1.0);
    EXPECT_EQ(ch.GetValue(1), 0.0);
    EXPECT_EQ(ch.GetValue(2), 0.0);
}

TEST(Channel, FormulasReadPrimaryRecordsAsSecondaryValues) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 40);
    CChannel ch = Analog(&doc, "U", std::vector<double>(40, 2000.0));
    ch.m_filePrimary = true;
    ch.m_primary = 100.0;
    ch.m_secondary = 1.0;
    for (bool primaryShown : {true, false}) {
        ch.m_primaryMode = primaryShown;
        ch.Recalc();
        EXPECT_DOUBLE_EQ(ch.GetFormulaValue(5), 20.0) << primaryShown;
    }
    EXPECT_DOUBLE_EQ(ch.GetValue(5), 20.0);  // shown as secondary
    ch.m_filePrimary = false;
    EXPECT_DOUBLE_EQ(ch.GetFormulaValue(5), ch.GetValue(5));
    // A zero side of the ratio leaves the values as stored.
    ch.m_filePrimary = true;
    ch.m_primaryMode = false;
    ch.m_primary = 0.0;
    ch.Recalc();
    EXPECT_DOUBLE_EQ(ch.GetValue(5), 2000.0);
}

TEST(Channel, OwnSampleTimesRunOnPastTheEnd) {
    DocumentModel doc;
    SetUpRecord(doc, 2000, 10);
    CChannel ch = Analog(&doc, "P", {1, 2, 3});
    EXPECT_EQ(ch.GetSampleTime(4), 2000.0);  // the record's own times
    EXPECT_EQ(ch.GetSampleTime(12), 6000.0);  // extrapolated by the record's rate
    ch.m_ownTimes = {100, 1100, 2100};
    ch.m_ownRate = 1000.0;
    EXPECT_EQ(ch.GetSampleTime(1), 1100.0);
    EXPECT_EQ(ch.GetSampleTime(3), 3100.0);
    EXPECT_EQ(ch.GetSampleTime(5), 5100.0);
    ch.m_ownRate = 0.0;  // the record's rate then
    EXPECT_EQ(ch.GetSampleTime(3), 2600.0);
    doc.GetOscillogram().m_samplingFrequency = 0;  // no rate at all: the last time
    EXPECT_EQ(ch.GetSampleTime(7), 2100.0);
}

TEST(Channel, OscDescriptions) {
    DocumentModel doc;
    const struct { bool discrete; const char* text; const char* name; const char* phase; const char* circuit;
                   const char* unit; uint32_t state; } cases[] = {
        {false, "01A,Ua,A,kV", "Ua", "A", "", "kV", 0},
        {false, "01A,Ib,B,line,A", "Ib", "B", "line", "A", 0},
        {false, "01A,X,Y", "", "", "", "", 0},
        {false, "01A,X,Y,Z,W,V", "", "", "", "", 0},
        {false, "01A,,A,V", "", "A", "", "V", 0},
        {true, "01D,Trip,1", "Trip", "", "", "", 1},
        {true, "01D,,0", "", "", "", "", 0},
    };
    const CStringA reserve(LoadResString(3442));
    for (const auto& c : cases) {
        CChannel ch(c.discrete, c.text, &doc);
        EXPECT_EQ(ch.m_fileName, *c.name ? CStringA(c.name) : reserve) << c.text;
        EXPECT_EQ(ch.m_name, CString(ch.m_fileName)) << c.text;
        EXPECT_EQ(ch.m_phase, CStringA(c.phase)) << c.text;
        EXPECT_EQ(ch.m_circuit, CStringA(c.circuit)) << c.text;
        EXPECT_EQ(ch.m_unit, CStringA(c.unit)) << c.text;
        EXPECT_EQ(ch.m_normalState, c.state) << c.text;
        EXPECT_EQ(ch.m_flags, CHF_DEFAULT);
        EXPECT_FALSE(ch.m_filePrimary);
        EXPECT_FALSE(ch.m_primaryMode);
    }
    EXPECT_EQ(LoadResString(3442), L"Резерв.");
    // A revised record puts phase and circuit component before the normal state.
    doc.GetOscillogram().m_revision = "1999";
    CChannel d(true, "02D,Start,A,bay,1", &doc);
    EXPECT_EQ(d.m_fileName, "Start");
    EXPECT_EQ(d.m_normalState, 1u);
    CChannel k(false, "01A,Ua,A,kV", &doc);
    EXPECT_EQ(k.m_prefixMul, 1000.0);
    EXPECT_EQ(k.m_displayUnit, L"V");
}

TEST(Channel, ProgramMadeChannels) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 40);
    CChannel u(L"Uab", L"В", std::vector<double>(40, 1.0), &doc);
    EXPECT_EQ(u.m_unit, "V");
    EXPECT_EQ(u.m_displayUnit, L"В");
    EXPECT_TRUE(u.m_flags & CHF_CALCULATED);
    EXPECT_TRUE(u.m_primaryMode);
    EXPECT_EQ(u.GetPhasorCount(), 40u);
    EXPECT_EQ(u.GetCurveCount(), 40u);
    EXPECT_EQ(u.GetStoredHarmonic(39), Complex());
    u.m_primary = 100.0;
    EXPECT_FALSE(u.IsScaledByRatio());
    CChannel i(L"I", L"А", std::vector<double>(40, 1.0), &doc);
    EXPECT_EQ(i.m_unit, "A");

    CChannel z(L"Z", L"Ohm", std::vector<double>(40, 1.0), std::vector<Complex>(40, Complex(3, 4)), &doc);
    z.m_flags |= CHF_INVERT;
    z.Recalc();
    EXPECT_EQ(z.GetStoredHarmonic(7), Complex(-3, -4));  // phasors are the complex values, scaled

    CChannel d(L"Trip", std::vector<int32_t>{0, 5, 0, -1}, &doc, RGB(1, 2, 3));
    EXPECT_EQ(d.m_samples, (std::vector<double>{0, 1, 0, 1}));
    EXPECT_TRUE(d.m_flags & CHF_CALCULATED);
    EXPECT_EQ(d.m_color, RGB(1, 2, 3));

    CChannel rec = Analog(&doc, "Ia", {1});
    rec.m_filePrimary = true;
    rec.m_primaryMode = false;
    rec.m_primary = 100.0;
    EXPECT_TRUE(rec.IsScaledByRatio());
}

TEST(Channel, DisplayNameFollowsAliasAndCodePage) {
    DocumentModel doc;
    CChannel ch(&doc);
    ch.m_fileName = CStringA(std::string("\x92\xAE\xAA", 3));  // "Ток" in code page 866
    ch.UpdateDisplayName(false);
    EXPECT_EQ(ch.GetName(), L"Ток");
    ch.UpdateDisplayName(true);
    EXPECT_EQ(ch.GetName(), CString(ch.m_fileName));
    doc.m_codePage = 0;
    ch.SetAlias(L"Alias");
    EXPECT_EQ(ch.GetName(), L"Alias");
    ch.SetAlias(L"");
    EXPECT_EQ(ch.GetName(), L"Ток");
}
