#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FormulaFixture.h"

using formulatest::TestCalculator;

namespace {

const std::wstring kSyntax = L"F: Синтаксическая ошибка в формуле";

class FormulaRobustness : public ::testing::Test {
protected:
    void SetUp() override {
        // Samples: a value, NaN, +inf, -inf, 0; the phasors as odd.
        std::vector<double> samples = {1.0, std::nan(""), HUGE_VAL, -HUGE_VAL, 0.0};
        std::vector<std::complex<double>> phasors = {{1, 1}, {std::nan(""), 0}, {HUGE_VAL, -HUGE_VAL}, {0, 0}, {0, 0}};
        rec.Add(L"A", samples, phasors);
        rec.Add(L"B", samples, phasors).m_displayMul = 0.0;
        calc.FormulaNames() = {L"F"};
        calc.samplesPerPeriod = 2;
    }
    formulatest::FormulaRecord rec{100};
    TestCalculator& calc = rec.calc;
};

std::wstring Repeat(const std::wstring& s, int n) {
    std::wstring r;
    r.reserve(s.size() * size_t(n));
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

TEST_F(FormulaRobustness, DeepNestingIsRefusedNotOverflowed) {
    const int deep = 50000;
    EXPECT_EQ(calc.Error(Repeat(L"(", deep) + L"1" + Repeat(L")", deep)), kSyntax);
    EXPECT_EQ(calc.Error(Repeat(L"sin:(", deep) + L"1" + Repeat(L")", deep)), kSyntax);
    EXPECT_EQ(calc.Error(Repeat(L"-(", deep) + L"1" + Repeat(L")", deep)), kSyntax);
    EXPECT_EQ(calc.Error(Repeat(L"2^", deep) + L"1"), kSyntax);
    EXPECT_EQ(calc.Error(Repeat(L"(", deep)), kSyntax);
    // Nesting that people actually write is fine.
    const int fine = Calculator::kMaxNesting - 1;
    EXPECT_EQ(calc.Eval(Repeat(L"(", fine) + L"7" + Repeat(L")", fine)).real, 7.0);
    EXPECT_EQ(calc.Eval(Repeat(L"1^", fine) + L"1").real, 1.0);
}

TEST_F(FormulaRobustness, EveryCharacterAfterAValidFormulaFinishes) {
    // Whatever byte follows a valid formula (a NUL read from a file among them), tokenizing
    // ends with a value or the formula's error.
    for (unsigned b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        for (const std::wstring& head : {std::wstring(L"A"), std::wstring(L"A + 1"), std::wstring(L"mod: (A)")}) {
            std::wstring err = calc.Error(head + wchar_t(b));
            EXPECT_FALSE(err.empty());
            if (err != L"<none>") {
                EXPECT_NE(err.find(L"F"), std::wstring::npos) << CStringA(CString(err)).GetString();
            }
        }
    }
    // Characters the language does not know are refused as syntax errors.
    for (wchar_t c : {L'\0', L'\x01', L'\x1f', L'#', L'$', L'@', L'\x7f', L'\u2603'}) {
        SCOPED_TRACE(int(c));
        EXPECT_EQ(calc.Error(std::wstring(L"A") + c), kSyntax);
        EXPECT_EQ(calc.Error(std::wstring(1, c) + L"A"), kSyntax);
    }
}

TEST_F(FormulaRobustness, VeryLongFormulas) {
    const int terms = 50000;
    EXPECT_EQ(calc.Eval(L"1" + Repeat(L" + 1", terms - 1)).real, double(terms));
    EXPECT_EQ(calc.Eval(L"A" + Repeat(L" * A", terms - 1)).real, 1.0);
    EXPECT_EQ(calc.Error(L"(" + Repeat(L"1, ", terms) + L"1)"), kSyntax);
    EXPECT_EQ(calc.Error(L"(" + Repeat(L",", terms) + L")"), kSyntax);
    EXPECT_EQ(calc.Eval(L"frequency: (" + Repeat(L"A, ", terms) + L"1)").kind, FV_REAL);
    std::wstring name(terms, L'x');
    EXPECT_EQ(calc.Eval(L"\"" + name + L"\" + 2").real, 2.0);  // a name of no channel gives no token
}

TEST_F(FormulaRobustness, NonFiniteValuesStayDefined) {
    // Sample 1 is NaN (read as 0, its phasor NaN), sample 2 +inf, sample 3 -inf, and B is shown
    // with a multiplier of 0; nothing may throw or trap.
    const wchar_t* formulas[] = {
        L"A ^ 2", L"A / 0", L"mod: A", L"arg: A", L"absig: (A, B)", L"cosui: (A, B)", L"pk: A",
        L"i1: (A, B, A)", L"zl: (A, A, B, 0)", L"zf: (A, A, B, B, 1, 1, 1, 1, 1, 1, 0)",
        L"zk: (A, A, B, B, 1, 1, 1, 1, 1)", L"coeffamppriv: (A, 1, 0)", L"grsposlia: (A, B, A, A, A)",
        L"grstriangleib: (A, B, A, A)", L"tormmaxcur: (A, B, A, B, A, B, A, B, A, B, A, B, A, B, A, B, A, B, A, B, A, B, A, B)",
        L"fourie: (A, A)", L"rms: A", L"a0: A", L"fault: B", L"coeffpriv: (B, 2)", L"exp: A", L"sqrt: A", L"tg: A", L"ctg: A",
    };
    for (const wchar_t* f : formulas) {
        for (unsigned s = 0; s < 6; ++s) {
            std::wstring err = calc.Error(f, s);
            EXPECT_TRUE(err == L"<none>" || err == kSyntax) << CStringA(f).GetString() << " at " << s;
        }
    }
    // A non-finite exponent has no whole value.
    EXPECT_EQ(calc.Error(L"2 ^ A", 2), kSyntax);
    EXPECT_EQ(calc.Error(L"2 ^ A", 3), kSyntax);
}

// Random sequences of the language's pieces, valid or not: every one either evaluates or
// raises the program's exception, and the calculator goes on working afterwards.
TEST_F(FormulaRobustness, RandomTokenSequences) {
    const std::vector<std::wstring> pieces = {
        L"+", L"-", L"*", L"/", L"^", L"(", L")", L"(", L")", L",", L",", L" ", L"A", L"B", L"\"A\"", L"\"",
        L"x", L"1", L"0", L"2.5", L"1.2.3", L"0.0", L"999999999999999999999", L"pi", L"null", L"[kV]", L"[", L"]",
        L"\t", L"ü", L"Ж", L"_", L"sin:", L"cos:", L"tg:", L"ctg:", L"sqrt:", L"exp:", L"re:", L"im:", L"mod:",
        L"arg:", L"cosui:", L"absig:", L"rms:", L"fourie:", L"a0:", L"fault:", L"frequency:", L"ib:", L"3i0:",
        L"i1:", L"i2:", L"ua:", L"ub:", L"uc:", L"ulf:", L"ull:", L"3u0:", L"u1f:", L"u2f:", L"u1l:", L"u2l:",
        L"uncn:", L"pk:", L"pf:", L"pf3wm:", L"pf2wm:", L"zf:", L"zk:", L"zl:", L"coeffpriv:", L"coefftt:",
        L"coeffpowerpriv:", L"coeffamppriv:", L"grsposlia:", L"grsposlib:", L"grsposlic:", L"grstriangleia:",
        L"grstriangleib:", L"grstriangleic:", L"grssumcur:", L"tormsumcur:", L"tormsubcur:", L"tormmaxcur:",
        L"chan:", L"uniik:", L"F",
    };
    std::mt19937 rng(20261210);
    int values = 0, errors = 0;
    for (int round = 0; round < 20000; ++round) {
        std::wstring text;
        int len = int(rng() % 40);
        for (int i = 0; i < len; ++i) text += pieces[rng() % pieces.size()];
        try {
            calc.Tokenize(text);
            for (unsigned s = 0; s < 6; ++s) {
                calc.SetSampleIndex(s);
                calc.Evaluate();
            }
            ++values;
        } catch (CException* e) {
            EXPECT_FALSE(e->GetErrorMessage().IsEmpty());
            e->Delete();
            ++errors;
        }
    }
    EXPECT_GT(values, 100);
    EXPECT_GT(errors, 100);
    EXPECT_EQ(calc.Eval(L"2 + 2").real, 4.0);
}

}  // namespace
