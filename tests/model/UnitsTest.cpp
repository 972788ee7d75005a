#include <gtest/gtest.h>

#include <cfloat>

#include "ModelFixture.h"
#include "model/Channel.h"

using namespace modeltest;

namespace {
// Units as a recorder writes them, in code page 1251.
CChannel WithUnit(DocumentModel* doc, const wchar_t* unit) {
    CChannel ch(doc);
    ch.m_unit = CStringA(CString(unit));
    ch.ParseUnit();
    return ch;
}
}  // namespace

TEST(Units, PrefixesAndBaseUnits) {
    DocumentModel doc;
    const struct { const wchar_t* unit; double mul; const wchar_t* shown; bool perSecond; bool unknown; } cases[] = {
        {L"A", 1, L"A", false, false},         {L"а", 1, L"A", false, false},
        {L"kV", 1000, L"V", false, false},     {L"кВ", 1000, L"V", false, false},
        {L"mkA", 1e-6, L"A", false, false},    {L"мкА", 1e-6, L"A", false, false},
        {L"µA", 1e-6, L"A", false, false},     {L"uA", 1e-6, L"A", false, false},
        {L"mA", 0.001, L"A", false, false},    {L"мА", 0.001, L"A", false, false},
        {L"nA", 1e-9, L"A", false, false},     {L"НА", 1e-9, L"A", false, false},
        {L"MW", 1e6, L"W", false, false},      {L"МВт", 1e6, L"W", false, false},
        {L"кВт", 1000, L"W", false, false},    {L"GW", 1e9, L"W", false, false},
        {L"ГВт", 1e9, L"W", false, false},     {L"VA", 1, L"VA", false, false},
        {L"В·А", 1, L"VA", false, false},      {L"kVA", 1000, L"VA", false, false},
        {L"var", 1, L"var", false, false},     {L"Mvar", 1e6, L"var", false, false},
        {L"кВАр", 1000, L"var", false, false}, {L"Ом", 1, L"Ohm", false, false},
        {L"OHM", 1, L"Ohm", false, false},     {L"кОм", 1000, L"Ohm", false, false},
        {L"мОм", 0.001, L"Ohm", false, false}, {L"F", 1, L"F", false, false},
        {L"мкФ", 1e-6, L"F", false, false},    {L"Гн", 1, L"H", false, false},
        {L"mH", 0.001, L"H", false, false},    {L"Hz", 1, L"Hz", false, false},
        {L"ГЦ", 1, L"Hz", false, false},       {L"Гц", 1, L"Hz", false, false},
        {L"кГц", 1000, L"Hz", false, false},   {L"Гц/с", 1, L"Hz", true, false},
        {L"DEG", 1, L"DEG", false, false},     {L"гр", 1, L"DEG", false, false},
        {L"°", 1, L"DEG", false, false},       {L"кгр", 1, L"кгр", false, false},
        {L"nom", 1, L"nom", false, false},     {L"ном", 1, L"nom", false, false},
        {L"Ном", 1, L"nom", false, false},     {L"н", 1, L"nom", false, false},
        {L"о.е.", 1, L"p. u.", false, false},  {L"P.U.", 1, L"p. u.", false, false},
        {L"pu", 1, L"p. u.", false, false},    {L"м", 1, L"m", false, false},
        {L"M", 1, L"m", false, false},         {L"км", 1000, L"m", false, false},
        {L"м/с", 1, L"m", true, false},        {L"s", 1, L"s", false, false},
        {L"ms", 0.001, L"s", false, false},    {L"мс", 0.001, L"s", false, false},
        {L"См", 1, L"S", false, false},        {L"kV/s", 1000, L"V", true, false},
        {L"кВ/с", 1000, L"V", true, false},    {L"bar", 1, L"bar", false, true},
    };
    for (const auto& c : cases) {
        CChannel ch = WithUnit(&doc, c.unit);
        EXPECT_DOUBLE_EQ(ch.m_prefixMul, c.mul) << ch.m_unit.GetString();
        EXPECT_EQ(ch.m_displayUnit, CString(c.shown)) << ch.m_unit.GetString();
        EXPECT_EQ(ch.m_unitPerSecond, c.perSecond) << ch.m_unit.GetString();
        EXPECT_EQ(ch.m_unitUnrecognised, c.unknown) << ch.m_unit.GetString();
    }
    for (const wchar_t* none : {L"", L"none", L"NONE"}) EXPECT_TRUE(WithUnit(&doc, none).m_displayUnit.IsEmpty());
}

TEST(Units, DisplayTexts) {
    const struct { const wchar_t* text; const wchar_t* shown; } cases[] = {
        {L"kV", L"кВ"}, {L"ms", L"мс"}, {L"VAr", L"ВАр"}, {L"var", L"вар"}, {L"VA", L"ВА"},
        {L"DEG", L"°"}, {L"Ohm", L"Ом"}, {L"Hz", L"Гц"},   {L"p. u.", L"o. e."}, {L"µA", L"мкА"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetUnitDisplayText(c.text), CString(c.shown)) << c.text;

    DocumentModel doc;
    CChannel ch = WithUnit(&doc, L"kV/s");
    ch.m_displayUnit = L"kV";  // as a recorder's "kV/s" is shown with its prefix
    EXPECT_EQ(ch.GetRateUnitDisplayText(), L"кВ/с");
    ch.m_flags |= CHF_ADC_COUNTS;
    EXPECT_EQ(ch.GetUnitText(), L"");
    CChannel bar = WithUnit(&doc, L"bar");
    EXPECT_EQ(bar.GetRateUnitDisplayText(), L"bar");
}

TEST(Units, FrequencyChannels) {
    DocumentModel doc;
    EXPECT_TRUE(WithUnit(&doc, L"Hz").IsFrequencyUnit());
    EXPECT_TRUE(WithUnit(&doc, L"Гц").IsFrequencyUnit());
    EXPECT_FALSE(WithUnit(&doc, L"kV").IsFrequencyUnit());
    CChannel sys = WithUnit(&doc, L"V");
    sys.m_phase = "system";
    EXPECT_TRUE(sys.IsFrequencyUnit());
    CChannel d = WithUnit(&doc, L"Hz");
    d.m_discrete = 1;
    EXPECT_FALSE(d.IsFrequencyUnit());
}

TEST(Units, PhasesAndColours) {
    DocumentModel doc;
    const struct { const char* phase; const wchar_t* name; ChannelPhase expected; COLORREF color; } cases[] = {
        {"A", L"x", PHASE_A, RGB(192, 192, 0)},   {"b", L"x", PHASE_B, RGB(0, 114, 41)},
        {"C", L"x", PHASE_C, RGB(255, 0, 0)},     {"AB", L"x", PHASE_AB, 0},
        {"bc", L"x", PHASE_BC, 0},                {"CA", L"x", PHASE_CA, 0},
        {"", L"Ia_line", PHASE_A, RGB(192, 192, 0)}, {"", L"Uab", PHASE_AB, 0},
        {"", L"UBC2", PHASE_BC, 0},               {"", L"uca", PHASE_CA, 0},
        {"", L"Ib", PHASE_B, RGB(0, 114, 41)},    {"", L"ic", PHASE_C, RGB(255, 0, 0)},
        {"", L"3I0", PHASE_ZERO, RGB(0, 0, 255)}, {"", L"Un", PHASE_ZERO, RGB(0, 0, 255)},
        {"", L"Iа", PHASE_A, RGB(192, 192, 0)},   {"", L"Freq", PHASE_NONE, 0},
    };
    for (const auto& c : cases) {
        CChannel ch(&doc);
        ch.m_phase = c.phase;
        ch.m_fileName = CStringA(CString(c.name));
        EXPECT_EQ(ch.GetPhase(), c.expected) << c.phase << " " << ch.m_fileName.GetString();
        if (c.color) {
            EXPECT_EQ(ch.GetColor(), c.color) << c.phase;
        }
    }
    // Channels without a phase colour take the palette by position; a discrete one never
    // takes a phase colour; a user's colour wins.
    COscillogram& o = doc.GetOscillogram();
    o.AddChannel(-1, Analog(&doc, "Freq", {}));
    o.AddChannel(-1, Analog(&doc, "Ia", {}));
    o.AddChannel(-1, Discrete(&doc, "Ia trip", {}));
    EXPECT_EQ(o.m_channels[0].GetColor(), RGB(54, 6, 186));
    EXPECT_EQ(o.m_channels[1].GetColor(), RGB(192, 192, 0));
    EXPECT_EQ(o.m_channels[2].GetColor(), RGB(193, 52, 52));
    o.m_channels[2].m_customColorSet = true;
    o.m_channels[2].m_customColor = RGB(1, 2, 3);
    EXPECT_EQ(o.m_channels[2].GetColor(), RGB(1, 2, 3));
    CChannel loose = Analog(&doc, "Freq", {});
    EXPECT_EQ(loose.GetIndex(), -1);
    EXPECT_EQ(loose.GetColor(), COLORREF(0));
}

TEST(Units, VerticalZoomNests) {
    DocumentModel doc;
    CChannel ch(&doc);
    ch.m_min = -10;
    ch.m_max = 10;
    EXPECT_FALSE(ch.SetVerticalZoom(0.5, 0.5));
    EXPECT_FALSE(ch.SetVerticalZoom(-0.1, 0.5));
    EXPECT_FALSE(ch.SetVerticalZoom(0.2, 1.1));
    EXPECT_FALSE(ch.m_zoomed);
    CChannel empty(&doc);  // no finite values: the range is still the empty one
    empty.m_min = DBL_MAX;
    empty.m_max = -DBL_MAX;
    EXPECT_FALSE(empty.SetVerticalZoom(0.2, 0.8));
    EXPECT_FALSE(empty.m_zoomed);
    EXPECT_TRUE(ch.SetVerticalZoom(0.0, 1.0));
    double lo, hi;
    ch.GetDisplayRange(lo, hi);
    EXPECT_EQ(lo, -10);
    EXPECT_EQ(hi, 10);
    EXPECT_TRUE(ch.m_zoomed);
    EXPECT_TRUE(ch.SetVerticalZoom(0.25, 0.5));  // the upper half of the middle: 0..5
    ch.GetDisplayRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 5);
    EXPECT_TRUE(ch.SetVerticalZoom(0.0, 0.5));  // nests: 2.5..5
    ch.GetDisplayRange(lo, hi);
    EXPECT_EQ(lo, 2.5);
    EXPECT_EQ(hi, 5);
    // Zoomed on instantaneous values, shown as RMS: from 0 to the larger magnitude.
    ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_RMS;
    ch.GetDisplayRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 5);
    // Zoomed on RMS values, shown instantaneous: symmetric around zero.
    ch.m_scaleMode = 1;
    ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_INSTANT;
    ch.GetDisplayRange(lo, hi);
    EXPECT_EQ(lo, -7.5);
    EXPECT_EQ(hi, 7.5);
}
