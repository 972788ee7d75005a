#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FormulaFixture.h"

using formulatest::TestCalculator;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct ValueCase {
    const wchar_t* text;
    int kind;
    double real;
    double re = kNaN, im = kNaN;  // complex part, checked when not NaN
};

bool Same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    if (std::isinf(a) || std::isinf(b)) return a == b;
    return std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b));
}

class FormulaEvaluator : public ::testing::Test {
protected:
    void SetUp() override { rec.Add(L"A", {5.0, 6.0}, {{3.0, 4.0}, {1.0, 1.0}}); }
    void Check(const ValueCase& k, unsigned sample = 0) {
        SCOPED_TRACE(CStringA(k.text).GetString());
        FormulaValue v;
        try {
            v = calc.Eval(k.text, sample);
        } catch (CException* e) {
            ADD_FAILURE() << CStringA(e->GetErrorMessage()).GetString();
            e->Delete();
            return;
        }
        EXPECT_EQ(v.kind, k.kind);
        EXPECT_PRED2(Same, v.real, k.real);
        if (!std::isnan(k.re)) {
            EXPECT_PRED2(Same, v.complex.real(), k.re);
        }
        if (!std::isnan(k.im)) {
            EXPECT_PRED2(Same, v.complex.imag(), k.im);
        }
        if (!(v.kind & FV_CHANNEL)) {
            EXPECT_EQ(v.channel, nullptr);
        }
    }
    formulatest::FormulaRecord rec;
    TestCalculator& calc = rec.calc;
    CChannel& a() { return rec.chans.at(L"A"); }
};

TEST_F(FormulaEvaluator, Arithmetic) {
    const ValueCase cases[] = {
        {L"2 + 3 * 4", 3, 14, 14, 0},
        {L"(2 + 3) * 4", 3, 20},
        {L"1 - 2 - 3", 3, -4},
        {L"8 / 2 / 2", 3, 2},
        {L"2 * -3", 3, -6},
        {L"-2 ^ 2", 1, 4},
        {L"+7", 3, 7},
        {L"2 ^ 3", 1, 8},
        {L"2 ^ 0", 1, 1},
        {L"2 ^ -1", 1, 0.5},
        {L"2 ^ -2 * 3", 1, 0.75},
        {L"10 ^ -3", 1, 0.001},
        {L"2 ^ 3 ^ 2", 1, 512},  // powers group from the right
        {L"(2 ^ 3) ^ 2", 1, 64},
        {L"2 ^ 1024", 1, kInf},
        {L"1 ^ 100000000000000000000", 1, 1},
        {L"0 ^ -1", 1, kInf},
        {L"pi", 3, M_PI, M_PI, 0},
        {L"null", 0, 0},
        {L"null + 1", 0, 1},
        {L"1 2", 3, 1},             // reading stops after one value
        {L"3 [kV]", 3, 3},
        {L"2 * 3 [A] + 1", 3, 7},
        {L"1 / 0", 3, kInf, kNaN, kNaN},
        {L"0 / 0", 3, kNaN},
        {L"((((((1))))))", 3, 1},
        {L"A", 7, 5, 3, 4},
        {L"A + 0", 3, 5, 3, 4},
        {L"-A", 3, -5, -3, -4},
        {L"A * A", 3, 25, -7, 24},
        {L"A / A", 3, 1, 1, 0},
        {L"A ^ 2", 1, 25, 3, 4},
        {L"cosui: ((-1, 2) + 5)", 1, 1},  // the extra value of the left list stays
    };
    for (const auto& k : cases) Check(k);
    Check({L"A * 2", 3, 12, 2, 2}, 1);
}

TEST_F(FormulaEvaluator, ComplexDivisionByZeroIsNaN) {
    a().SetPhasorSeries({{0.0, 0.0}});
    Check({L"1 / A", 3, 0.2, kNaN, kNaN});
    FormulaValue v = calc.Eval(L"1 / A");
    EXPECT_TRUE(std::isnan(v.complex.real()) && std::isnan(v.complex.imag()));
}

TEST_F(FormulaEvaluator, Errors) {
    calc.FormulaNames() = {L"F"};
    const std::wstring syntax = L"F: Синтаксическая ошибка в формуле";
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"", syntax},
        {L"()", syntax},
        {L"1, 2", syntax},
        {L"(A, 1) + 2", syntax},
        {L"2 ^ 0.5", syntax},
        {L"2 ^ (0 / 0)", syntax},
        {L"2 ^ (1 / 0)", syntax},
        {L"1 +", syntax},
        {L"(1", syntax},
        {L"(1 2) * 4", syntax},
        {L"* 2", syntax},
        {L"-()", syntax},
        {L"() + 1", syntax},
        {L"1 + ()", syntax},
        {L"sin: -30", syntax},
        {L"[V]", syntax},
        {L"sin: ()", L"Неправильное число переменных: 'F'"},
        {L"sin: (1, 2)", L"Неправильное число переменных: 'F'"},
        {L"rms: 5", L"Аргумент функции должен быть каналом: 'F'"},
        {L"rms: (A, A)", L"Неправильное число переменных: 'F'"},
        {L"rms: (A + 0)", L"Аргумент функции должен быть каналом: 'F'"},
        {L"rms: (-A)", L"Аргумент функции должен быть каналом: 'F'"},
        {L"rms: null", L"Аргумент функции должен быть каналом: 'F'"},
        {L"grssumcur: (A, 1, 2)", L"Неправильное число переменных: 'F'"},
        // The first error in reading order is the one reported.
        {L"2 ^ 0.5 + sin: (1, 2)", syntax},
        {L"sin: (1, 2) + 2 ^ 0.5", L"Неправильное число переменных: 'F'"},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(calc.Error(text), message) << CStringA(text).GetString();

    // The calculator stays usable after an error, with its tokens unchanged.
    calc.Tokenize(L"2 ^ A");
    calc.SetSampleIndex(0);
    EXPECT_EQ(calc.Evaluate().real, 32.0);
    a().m_samples.Set(0, 0.5);
    EXPECT_THROW(
        try { calc.Evaluate(); } catch (CException* e) {
            e->Delete();
            throw 1;
        },
        int);
    a().m_samples.Set(0, -1);
    EXPECT_EQ(calc.Evaluate().real, 0.5);
}

TEST_F(FormulaEvaluator, ParseOnceEvaluatePerSample) {
    a().m_samples = {1, 2, 3, 4};
    a().SetPhasorSeries(std::vector<Complex>(4, Complex(0, 0)));
    calc.Tokenize(L"A * 10 + 1");
    double sum = 0;
    for (unsigned s = 0; s < 4; ++s) {
        calc.SetSampleIndex(s);
        sum += calc.Evaluate().real;
    }
    EXPECT_EQ(sum, 104.0);
    // Past the end of the record a channel reads 0.
    calc.SetSampleIndex(100);
    EXPECT_EQ(calc.Evaluate().real, 1.0);
}

TEST_F(FormulaEvaluator, CopiesEvaluateAlike) {
    calc.Tokenize(L"A * 3");
    Calculator copy;
    copy = calc;
    EXPECT_EQ(copy.Evaluate().real, 15.0);
    Calculator constructed(calc);
    EXPECT_EQ(constructed.Evaluate().real, 15.0);
}

TEST(FormulaVariables, SetVariableEvaluatesWithEarlierOnes) {
    Calculator c;
    c.SetChannelMode(false);
    c.SetVariable(L"R", L"2");
    c.SetVariable(L"X", L"r * 3 + pi * 0");
    EXPECT_EQ(c.Variables().at(L"r"), 2.0);
    EXPECT_EQ(c.Variables().at(L"x"), 6.0);
    c.Tokenize(L"R ^ 2 + X");
    EXPECT_EQ(c.Evaluate().real, 10.0);
    try {
        c.SetVariable(L"Y", L"2 ^");
        FAIL();
    } catch (CException* e) {
        EXPECT_EQ(e->GetErrorMessage(), CString(L"2 ^: Синтаксическая ошибка в формуле"));
        e->Delete();
    }
    EXPECT_EQ(c.Variables().count(L"y"), 0u);
}

}  // namespace
