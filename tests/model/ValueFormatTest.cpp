#include <gtest/gtest.h>

#include <cmath>

#include "model/ValueFormat.h"

TEST(SelectUnitPrefix, TableOfValues) {
    const struct {
        const wchar_t* unit;
        double value, scaled;
        const wchar_t *latin, *cyr;
    } cases[] = {
        {L"V", 0.0, 0.0, L"", L""},
        {L"A", -0.0025, -2.5, L"m", L"м"},
        {L"V", 1.0, 1.0, L"", L""},
        {L"V", 1000.0, 1000.0, L"", L""},
        {L"W", 1000.5, 1.0005, L"k", L"к"},
        {L"V", 1e6, 1000.0, L"k", L"к"},
        {L"F", 1e-7, 100.0, L"n", L"н"},
        {L"A", 1e-6, 1.0, L"\u00B5", L"мк"},
        {L"A", 1e-3, 1.0, L"m", L"м"},
        {L"m", 250000, 250, L"k", L"к"},
        {L"Hz", 2.5e9, 2.5, L"G", L"Г"},
        {L"\u041EM", 3e13, 30, L"T", L"Т"},
        {L"VA", -4e15 * 10, -40, L"P", L"П"},
        {L"ohm", 0.001, 0.001, L"", L""},   // another letter case is no known unit
        {L"kV", 25000, 25000, L"", L""},    // already prefixed
        {L"", 0.5, 0.5, L"", L""},
    };
    for (const auto& c : cases) {
        for (bool cyr : {false, true}) {
            double scaled = -1;
            CString prefix = L"junk";
            SelectUnitPrefix(scaled, prefix, c.unit, cyr, c.value);
            EXPECT_NEAR(scaled, c.scaled, 1e-12 * std::fabs(c.scaled) + 1e-15) << c.value;
            EXPECT_EQ(prefix, CString(cyr ? c.cyr : c.latin)) << c.value;
        }
    }
    double s = 0;
    CString p;
    SelectUnitPrefix(s, p, L"A", true, std::nan(""));
    EXPECT_TRUE(std::isnan(s));
    EXPECT_EQ(p, L"");
}
