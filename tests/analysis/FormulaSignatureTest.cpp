#include <gtest/gtest.h>

#include "FormulaFixture.h"
#include "analysis/FormulaUnit.h"

namespace {

// Every function of the language: its keyword, the arguments it takes, which of them must be
// channels, the kind of its result, and the unit of its result when every argument is the
// channel X (unit "u").
struct Signature {
    const wchar_t* keyword;
    int args;  // -1: any number
    std::vector<int> channels;
    int kind;
    const wchar_t* unit;
};

const Signature kSignatures[] = {
    {L"sin:", 1, {}, 1, L""},
    {L"cos:", 1, {}, 1, L""},
    {L"tg:", 1, {}, 1, L""},
    {L"ctg:", 1, {}, 1, L""},
    {L"sqrt:", 1, {}, 1, L""},
    {L"exp:", 1, {}, 1, L""},
    {L"re:", 1, {}, 1, L"u"},
    {L"im:", 1, {}, 1, L"u"},
    {L"mod:", 1, {}, 3, L"u"},
    {L"arg:", 1, {}, 1, L""},
    {L"cosui:", 2, {}, 1, L""},
    {L"absig:", 2, {}, 1, L""},
    {L"rms:", 1, {0}, 1, L"u"},
    {L"fourie:", 2, {0}, 1, L""},
    {L"a0:", 1, {0}, 1, L"u"},
    {L"fault:", 1, {0}, 1, L""},
    {L"frequency:", -1, {}, 1, L"Hz"},
    {L"ib:", 3, {}, 3, L"A"},
    {L"3i0:", 3, {}, 3, L"A"},
    {L"i1:", 3, {}, 3, L"A"},
    {L"i2:", 3, {}, 3, L"A"},
    {L"ulf:", 2, {}, 3, L"V"},
    {L"ull:", 2, {}, 3, L"V"},
    {L"ua:", 5, {0, 1, 2}, 3, L"V"},
    {L"ub:", 5, {0, 1, 2}, 3, L"V"},
    {L"uc:", 5, {0, 1, 2}, 3, L"V"},
    {L"3u0:", 3, {}, 3, L"V"},
    {L"u1f:", 3, {}, 3, L"V"},
    {L"u2f:", 3, {}, 3, L"V"},
    {L"u1l:", 2, {}, 3, L"V"},
    {L"u2l:", 2, {}, 3, L"V"},
    {L"uncn:", 5, {}, 3, L"V"},
    {L"pk:", 1, {}, 1, L""},
    {L"pf:", 2, {}, 2, L"W"},
    {L"pf3wm:", 6, {}, 2, L"W"},
    {L"pf2wm:", 4, {}, 2, L"W"},
    {L"zf:", 11, {0, 1}, 2, L"Ohm"},
    {L"zk:", 9, {0, 1}, 2, L"Ohm"},
    {L"zl:", 4, {0, 1, 2}, 3, L"Ohm"},
    {L"coeffpriv:", 2, {0}, 3, L"u"},
    {L"coefftt:", 3, {0}, 3, L"u"},
    {L"coeffpowerpriv:", 4, {0}, 3, L"ном"},
    {L"coeffamppriv:", 3, {0}, 3, L"ном"},
    {L"grsposlia:", 5, {0, 1, 2}, 3, L"u"},
    {L"grsposlib:", 5, {0, 1, 2}, 3, L"u"},
    {L"grsposlic:", 5, {0, 1, 2}, 3, L"u"},
    {L"grstriangleia:", 4, {0, 1, 2}, 3, L"u"},
    {L"grstriangleib:", 4, {0, 1, 2}, 3, L"u"},
    {L"grstriangleic:", 4, {0, 1, 2}, 3, L"u"},
    {L"grssumcur:", 24, {0}, 3, L"u"},
    {L"tormsumcur:", 25, {1}, 3, L"u"},
    {L"tormsubcur:", 3, {0, 1}, 3, L"u"},
    {L"tormmaxcur:", 24, {0}, 3, L"u"},
    {L"chan:", 1, {0}, 3, L"u"},
    {L"uniik:", 2, {0, 1}, 3, L"V"},
};

// "keyword (a0, a1, ...)" with X for every argument but `number`, which is 1.
std::wstring Call(const Signature& s, int count, int number = -1) {
    std::wstring text = std::wstring(s.keyword) + L" (";
    for (int k = 0; k < count; ++k) text += std::wstring(k ? L", " : L"") + (k == number ? L"1" : L"X");
    return text + L")";
}

TEST(FormulaSignatures, CountsChannelsKindsAndUnits) {
    formulatest::FormulaRecord rec;
    rec.Add(L"X", {10}, {{3, 4}}, L"u");
    auto& calc = rec.calc;
    calc.FormulaNames() = {L"F"};
    const std::wstring count = L"Неправильное число переменных: 'F'";
    const std::wstring channel = L"Аргумент функции должен быть каналом: 'F'";
    int seen = 0;
    for (const Signature& s : kSignatures) {
        SCOPED_TRACE(CStringA(s.keyword).GetString());
        ++seen;
        const int n = s.args < 0 ? 2 : s.args;
        FormulaValue v = calc.Eval(Call(s, n));
        EXPECT_EQ(v.kind, s.kind);
        EXPECT_EQ(v.channel, nullptr);
        EXPECT_EQ(InferFormulaUnit(calc.Tokens(), calc.GetTokenCursor()).str(), s.unit);
        if (s.args >= 0) {
            EXPECT_EQ(calc.Error(Call(s, n - 1)), count);
            EXPECT_EQ(calc.Error(Call(s, n + 1)), count);
        }
        for (int k = 0; k < n; ++k) {
            bool required = std::find(s.channels.begin(), s.channels.end(), k) != s.channels.end();
            EXPECT_EQ(calc.Error(Call(s, n, k)), required ? channel : L"<none>") << "argument " << k;
        }
    }
    // Every function token of the table has a row.
    int functions = 0;
    for (const auto& e : FormulaTokenTable::kEntries) functions += IsFormulaFunction(e.id) ? 1 : 0;
    EXPECT_EQ(seen, functions);
}

}  // namespace
