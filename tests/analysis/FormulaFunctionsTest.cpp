#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

#include "FormulaFixture.h"

using formulatest::TestCalculator;
using C = std::complex<double>;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kS3 = std::sqrt(3.0);
const std::wstring kCount = L"Неправильное число переменных: 'F'";
const std::wstring kChannel = L"Аргумент функции должен быть каналом: 'F'";

C Polar(double deg) { return std::polar(1.0, deg * M_PI / 180.0); }

// `n` more ", 0" arguments.
std::wstring Zeros(int n) {
    std::wstring s;
    for (int i = 0; i < n; ++i) s += L", 0";
    return s;
}

struct Row {
    std::wstring text;
    int kind;
    double real;
    C complex = {kNaN, kNaN};  // checked unless NaN in both parts (use Nan() to expect NaN)
    bool complexNaN = false;
};

Row Nan(std::wstring text, int kind, double real) { return {std::move(text), kind, real, {kNaN, kNaN}, true}; }

bool Same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    if (std::isinf(a) || std::isinf(b)) return a == b;
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

class FormulaFunctions : public ::testing::Test {
protected:
    void SetUp() override {
        // A balanced positive-sequence set, their line voltages, and some plain phasors.
        Set(L"A", 1, Polar(0));
        Set(L"B", 2, Polar(-120));
        Set(L"C", 3, Polar(120));
        Set(L"AB", 0, Polar(0) - Polar(-120));
        Set(L"BC", 0, Polar(-120) - Polar(120));
        Set(L"X", 10, {3, 4});
        Set(L"Z", 0, {0, 0});
        Set(L"D", 0, Polar(-170));
        Set(L"E", 0, Polar(170));
        // Shown as primary values of primary file values with a display multiplier of 2:
        // value 6, formula value 8 (the value by the ratio 4/3), scaled by 1/2.
        CChannel& m2 = Set(L"M2", 3, {2, 4});
        m2.m_displayMul = 2;
        m2.m_filePrimary = true;
        m2.m_primaryMode = true;
        m2.m_primary = 3;
        m2.m_secondary = 4;
        // Primary file values shown as secondary: value and formula value 20, never rescaled
        // by the ratio.
        CChannel& p = Set(L"P", 4, {10, 0});
        p.m_displayMul = 5;
        p.m_filePrimary = true;
        p.m_primary = 3;
        p.m_secondary = 4;
        calc.FormulaNames() = {L"F"};
        calc.frequency = {49.5};
    }
    CChannel& Set(const std::wstring& name, double sample, C phasor) { return rec.Add(name, {sample}, {phasor}); }
    void Check(const std::vector<Row>& rows) {
        for (const Row& r : rows) {
            SCOPED_TRACE(CStringA(r.text.c_str()).GetString());
            FormulaValue v;
            try {
                v = calc.Eval(r.text);
            } catch (CException* e) {
                ADD_FAILURE() << CStringA(e->GetErrorMessage()).GetString();
                e->Delete();
                continue;
            }
            EXPECT_EQ(v.kind, r.kind);
            EXPECT_EQ(v.channel, nullptr);
            EXPECT_PRED2(Same, v.real, r.real);
            if (r.complexNaN) {
                EXPECT_TRUE(std::isnan(v.complex.real()) && std::isnan(v.complex.imag()));
            } else if (!std::isnan(r.complex.real())) {
                EXPECT_PRED2(Same, v.complex.real(), r.complex.real());
                EXPECT_PRED2(Same, v.complex.imag(), r.complex.imag());
            }
        }
    }
    void CheckErrors(const std::vector<std::pair<std::wstring, std::wstring>>& rows) {
        for (const auto& [text, message] : rows) EXPECT_EQ(calc.Error(text), message) << CStringA(text.c_str()).GetString();
    }
    formulatest::FormulaRecord rec;
    TestCalculator& calc = rec.calc;
};

TEST_F(FormulaFunctions, TrigonometryAndScalars) {
    Check({
        {L"sin: 90", 1, 1, {90, 0}},
        {L"cos: 60", 1, 0.5},
        {L"tg: 45", 1, 1},
        {L"ctg: 90", 1, 0},
        {L"ctg: 0", 1, kInf},
        {L"sqrt: 16", 1, 4},
        {L"sqrt: (0 - 1)", 1, kNaN},
        {L"exp: 1", 1, M_E},
        {L"re: X", 1, 3, {3, 4}},
        {L"im: X", 1, 4},
        {L"mod: X", 3, 5, {3, 4}},
        {L"mod: (1 / 0)", 3, kNaN},
        {L"arg: X", 1, std::atan2(4, 3) * 180 / M_PI},
        {L"arg: (0 - 1)", 1, -180},
        {L"cosui: (A, B)", 1, -0.5, {1, 0}},
        {L"absig: (D, E)", 1, -20},
        {L"absig: (E, D)", 1, 20},
        {L"absig: (A, B)", 1, -120},
    });
    // The angle is held at 0 during the first network period.
    calc.samplesPerPeriod = 1;
    Check({{L"arg: X", 1, 0}});
    CheckErrors({{L"sin: (1, 2)", kCount}, {L"cosui: X", kCount}, {L"mod: ()", kCount}});
}

TEST_F(FormulaFunctions, ChannelMeasureArguments) {
    Check({
        {L"fourie: (A, 10 ^ 300)", 1, kNaN},
        {L"fourie: (A, 0 / 0)", 1, kNaN},
        {L"frequency: ()", 1, 49.5},
        {L"frequency: (A, 5)", 1, 49.5},
        {L"frequency: A", 1, 49.5},
    });
    CheckErrors({
        {L"rms: 5", kChannel},
        {L"rms: (A, B)", kCount},
        {L"a0: (A + 1)", kChannel},
        {L"fault: ()", kCount},
        {L"fourie: (5, 2)", kChannel},
        {L"fourie: A", kCount},
    });
}

TEST_F(FormulaFunctions, SymmetricalComponentsAndPhases) {
    const C ab = Polar(0) - Polar(-120), bc = Polar(-120) - Polar(120);
    Check({
        {L"ib: (A, B, C)", 3, 0, Polar(120) - Polar(0) - Polar(-120)},
        {L"ib: (A, null, C)", 0, 2},
        {L"3i0: (A, B, C)", 3, 0, {0, 0}},
        {L"3u0: (X, X, X)", 3, 15, {9, 12}},
        {L"3i0: (A, , C)", 3, 1, Polar(60)},
        {L"i1: (A, B, C)", 3, 1, {1, 0}},
        {L"u1f: (A, B, C)", 3, 1, {1, 0}},
        {L"i2: (A, B, C)", 3, 0, {0, 0}},
        {L"u2f: (A, B, C)", 3, 0, {0, 0}},
        {L"i2: (A, C, B)", 3, 1, {1, 0}},
        {L"u1l: (AB, BC)", 3, 1, {1, 0}},
        {L"u2l: (AB, BC)", 3, 0, {0, 0}},
        {L"ulf: (X, A)", 3, 9, {2, 4}},
        {L"ull: (X, A)", 3, -11, {-4, -4}},
        {L"uncn: (A, B, C, X, A)", 3, std::abs(C{-2 + 2 / kS3, 4 / kS3}), {-2 + 2 / kS3, 4 / kS3}},
        {L"ua: (AB, BC, X, 1, 0)", 3, 0, (2.0 * ab + bc) / 3.0},
        {L"ua: (A, B, X, 0, 3)", 3, (2 + 2 + 3e6 * 10) / 3, (2.0 * Polar(0) + Polar(-120) + 3e6 * C{3, 4}) / 3.0},
        {L"ub: (A, B, X, 1, 1)", 3, 11.0 / 3, (Polar(-120) - Polar(0) + C{3, 4}) / 3.0},
        {L"uc: (A, B, X, 2, 1)", 3, 0, (-Polar(0) - 2.0 * Polar(-120) + 0.5 * C{3, 4}) / 3.0},
    });
    CheckErrors({
        {L"ib: (A, B)", kCount},
        {L"3u0: (A, B, C, A)", kCount},
        {L"u1l: (A, B, C)", kCount},
        {L"uncn: (A, B, C, X)", kCount},
        {L"ua: (A, B, X)", kCount},
        {L"ua: (A + 0, B, X, 1, 1)", kChannel},
        {L"uc: (A, B, 0, 1, 1)", kChannel},
    });
}

TEST_F(FormulaFunctions, Power) {
    Check({
        {L"pk: X", 1, 0.6},
        {L"pk: Z", 1, 1},
        {L"pk: 0.0005", 1, 1},
        {L"pf: (X, A)", 2, 0, {3, -4}},
        {L"pf: (X, B)", 2, 0, std::conj(C{3, 4} * std::conj(Polar(-120)))},
        {L"pf3wm: (X, A, X, A, X, A)", 2, 0, {9, 12}},
        {L"pf3wm: (X, A, null, A, X, A)", 0, 0, {6, 8}},
        {L"pf2wm: (X, A, A, A)", 2, 0, {2, 4}},
        {L"chan: X", 3, 10, {3, 4}},
        {L"uniik: (X, A)", 3, 11, {4, 4}},
    });
    CheckErrors({
        {L"pk: (X, X)", kCount},
        {L"pf: X", kCount},
        {L"pf3wm: (X, A, X, A)", kCount},
        {L"pf2wm: (X, A, X, A, X, A)", kCount},
        {L"chan: 5", kChannel},
        {L"chan: (X, X)", kCount},
        {L"uniik: (X, 1)", kChannel},
    });
}

TEST_F(FormulaFunctions, Impedances) {
    const std::wstring noComp = L"1, 1, 0, 1, 1, 0";
    Check({
        {L"zl: (X, A, Z, 0)", 3, 10, {3, 4}},
        Nan(L"zl: (X, A, A, 0)", 3, kInf),            // equal currents: division by zero
        Nan(L"zl: (X, A, Z, 2)", 3, kInf),            // below the threshold
        {L"zf: (X, A, Z, Z, " + noComp + L", 0)", 2, 10, {3, 4}},
        {L"zf: (X, A, A, Z, 4, 1, 0, 0, 0, 0, 0)", 2, 10, {1.5, 2}},
        {L"zf: (X, A, Z, A, 1, 1, 3, 0, 0, 0, 0)", 2, 10, {1.5, 2}},
        Nan(L"zf: (X, A, Z, Z, " + noComp + L", 5)", 2, kInf),
        // The threshold compares the current in secondary terms: |2+4j| / 2 = 2.236.
        Nan(L"zf: (X, M2, Z, Z, " + noComp + L", 2.3)", 2, 10.0 / 0.0),
        {L"zf: (X, M2, Z, Z, " + noComp + L", 2.2)", 2, 10.0 / 6, {1.1, -0.2}},
        {L"zk: (X, A, A, A, 1, 0, 90, 0, 0)", 2, 10, {3.5, 0.5}},
        {L"zk: (X, A, Z, A, 0, 2, 0, 180, 0)", 2, 10, {-3, -4}},
        Nan(L"zk: (X, Z, Z, Z, 0, 0, 0, 0, 0)", 2, kInf),
    });
    CheckErrors({
        {L"zf: (X, A, Z, Z, " + noComp + L")", kCount},
        {L"zf: (5, A, Z, Z, " + noComp + L", 0)", kChannel},
        {L"zk: (X, 1, Z, Z, 0, 0, 0, 0, 0)", kChannel},
        {L"zk: (X, A, Z, Z, 0, 0, 0, 0)", kCount},
        {L"zl: (X, A, 0, 0)", kChannel},
        {L"zl: (X, A, Z)", kCount},
    });
}

TEST_F(FormulaFunctions, Coefficients) {
    // M2: phasor 2+4j, formula value 8, display multiplier 2. P: shown in secondary values
    // from primary file values (no division), phasor 10, formula value 20.
    Check({
        {L"coeffpriv: (M2, 3)", 3, 12, {3, 6}},
        {L"coeffpriv: (P, 3)", 3, 60, {30, 0}},
        {L"coefftt: (M2, 6, 2)", 3, 12, {3, 6}},
        {L"coefftt: (P, 6, 2)", 3, 60, {30, 0}},
        {L"coeffpowerpriv: (M2, 2, sqrt: 3, 1)", 3, 8, {2, 4}},
        {L"coeffpowerpriv: (P, 2, sqrt: 3, 1)", 3, 40, {20, 0}},
        {L"coeffamppriv: (M2, 4, 2)", 3, 8, {2, 4}},
        {L"coeffamppriv: (M2, 4, 0)", 3, 1.6e7, {4e6, 8e6}},
        // After a function of this family every later channel reads its formula value.
        {L"coeffpriv: (M2, 1) + M2", 3, 12, {3, 6}},
        {L"M2 + coeffpriv: (M2, 1)", 3, 10, {3, 6}},
    });
    CheckErrors({
        {L"coeffpriv: (3, 3)", kChannel},
        {L"coeffpriv: (M2)", kCount},
        {L"coefftt: (M2, 1)", kCount},
        {L"coeffpowerpriv: (M2, 1, 1)", kCount},
        {L"coeffamppriv: (M2 * 1, 1, 1)", kChannel},
    });
}

TEST_F(FormulaFunctions, CurrentCompensation) {
    Check({
        {L"grsposlia: (A, B, C, 0, 0)", 3, 0, {1, 0}},
        {L"grsposlib: (A, B, C, 0, 0)", 3, 0, Polar(-120)},
        {L"grsposlic: (A, B, C, 0, 0)", 3, 0, Polar(120)},
        {L"grsposlia: (A, B, C, 1, 0)", 3, 0, Polar(30)},
        {L"grsposlia: (A, B, C, -1, 0)", 3, 0, Polar(-30)},
        {L"grsposlia: (A, B, C, 11, 0)", 3, 0, Polar(330)},
        {L"grsposlia: (A, B, C, -13, 0)", 3, 0, Polar(-390)},
        {L"grsposlia: (A, C, B, 1, 0)", 3, 0, Polar(-30)},  // negative sequence turns the other way
        {L"grsposlia: (A, B, C, 0, 0.5)", 3, 2, {1, 0}},
        {L"grsposlia: (A, B, C, 2147483647, 0)", 3, 0, Polar(210)},
        {L"grsposlia: (M2, M2, M2, 0, 1)", 3, 4, {1, 2}},
        {L"grstriangleia: (A, B, C, 0)", 3, 1, {1, 0}},
        {L"grstriangleib: (A, B, C, 0)", 3, 2, Polar(-120)},
        {L"grstriangleib: (A, B, C, 1)", 3, -1 / kS3, {0, -1}},
        {L"grstriangleib: (A, B, C, 0.5)", 3, -1 / kS3, {0, -1}},
        {L"grstriangleia: (A, B, C, 1)", 3, -1 / kS3, Polar(30)},
        {L"grstriangleic: (A, B, C, 11)", 3, 1 / kS3, {0, 1}},
        {L"grstriangleia: (A, B, C, 11)", 3, -2 / kS3, Polar(-30)},
        {L"grstriangleic: (A, B, C, 5)", 3, 1, {1, 0}},
        {L"grstriangleic: (M2, M2, M2, 0)", 3, 4, {1, 2}},
        {L"grssumcur: (A, B, C" + Zeros(21) + L")", 3, 6, {0, 0}},
        {L"grssumcur: (M2, X" + Zeros(22) + L")", 3, 9, {2.5, 4}},
        {L"tormsumcur: (2, A, B, C" + Zeros(21) + L")", 3, 6, {2, 0}},
        {L"tormsumcur: (M2, X, A" + Zeros(22) + L")", 3, 8 * 6 / 2.0, {2, 4}},
        {L"tormsubcur: (A, B, 2)", 3, 2 * kS3, {1, 0}},
        {L"tormsubcur: (M2, Z, 1)", 3, std::sqrt(20.0) / 2, {2, 4}},
        {L"tormmaxcur: (X, A" + Zeros(22) + L")", 3, 5, {3, 4}},
        {L"tormmaxcur: (M2, X" + Zeros(22) + L")", 3, 2.5, {2, 4}},
    });
    CheckErrors({
        {L"grsposlia: (A, B, 3, 0, 0)", kChannel},
        {L"grsposlia: (A, B, C, 0)", kCount},
        {L"grstriangleia: (A, B, C)", kCount},
        {L"grstriangleia: (1, B, C, 0)", kChannel},
        {L"grssumcur: (A, B, C)", kCount},
        {L"grssumcur: (1, B, C" + Zeros(21) + L")", kChannel},
        {L"tormsumcur: (2, 5, B" + Zeros(22) + L")", kChannel},
        {L"tormsumcur: (2, A, B, C" + Zeros(20) + L")", kCount},
        {L"tormsubcur: (A, 1, 2)", kChannel},
        {L"tormmaxcur: (A" + Zeros(24) + L")", kCount},
    });
}

}  // namespace
