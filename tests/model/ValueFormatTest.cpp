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
        {L"V", 999.0, 999.0, L"", L""},
        {L"V", 1000.0, 1.0, L"k", L"к"},    // the number stays within 1..999
        {L"W", 1000.5, 1.0005, L"k", L"к"},
        {L"V", 1e6, 1.0, L"M", L"М"},
        {L"\u041EM", 4.88163e-15, 0.0, L"", L""},  // below the smallest prefix: 0 in the base unit
        {L"m", -3.4e-12, 0.0, L"", L""},
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

// What a user reads: one unit text in the program's language, the number in 1..999 after
// rounding, the given decimals, never an exponent.
TEST(FormatQuantity, TableOfValues) {
    const struct {
        double value;
        const wchar_t* unit;
        int decimals;
        bool trim;
        const wchar_t *ru, *en;
    } cases[] = {
        {33000, L"m", 2, false, L"33.00 км", L"33.00 km"},
        {57.736, L"V", 2, true, L"57.74 В", L"57.74 V"},
        {57.7, L"V", 2, true, L"57.7 В", L"57.7 V"},
        {-0.5, L"V", 2, true, L"-500 мВ", L"-500 mV"},
        {999.996, L"V", 2, true, L"1 кВ", L"1 kV"},      // rounds up to 1000: the next prefix
        {999.994, L"V", 2, true, L"999.99 В", L"999.99 V"},
        {4.88163e-15, L"Ohm", 2, true, L"0 Ом", L"0 Ohm"}, // below 1 n: 0 in the base unit
        {3.42808e-12, L"m", 2, true, L"0 м", L"0 m"},
        {2.5e-9, L"H", 2, true, L"2.5 нГн", L"2.5 nH"},
        {0.0025, L"A", 2, false, L"2.50 мА", L"2.50 mA"},
        {1.5e-6, L"F", 2, true, L"1.5 мкФ", L"1.5 \u00B5F"},
        {123456789.0, L"%", 2, true, L"123456789 %", L"123456789 %"},  // no prefix, no exponent
        {1e-7, L"%", 2, true, L"0 %", L"0 %"},
        {0.0, L"A", 2, true, L"0 А", L"0 A"},
        {-0.0001, L"", 2, true, L"0", L"0"},               // no "-0"
        {50, L"Hz", 1, false, L"50.0 Гц", L"50.0 Hz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatQuantity(c.value, c.unit, c.decimals, c.trim, true), CString(c.ru)) << c.value;
        EXPECT_EQ(FormatQuantity(c.value, c.unit, c.decimals, c.trim, false), CString(c.en)) << c.value;
        const CString n = ScaleValue(c.value, c.unit, c.decimals, c.trim, true).number;
        EXPECT_LT(n.Find(L'e'), 0) << c.value;
    }
    EXPECT_EQ(FormatFixed(2.375, 2, false), CString(L"2.38"));
    EXPECT_EQ(FormatFixed(-2.5, 0, false), CString(L"-3"));
    EXPECT_EQ(FormatFixed(1e20, 2, true), CString(L"100000000000000000000"));
}
