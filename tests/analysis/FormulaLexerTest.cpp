#include <gtest/gtest.h>

#include "FormulaFixture.h"
#include "analysis/FormulaToken.h"

using formulatest::TestCalculator;

namespace {

std::vector<int> Ids(const Calculator& c) {
    std::vector<int> ids;
    for (const auto& t : c.Tokens()) ids.push_back(t.id);
    return ids;
}

struct LexCase {
    const wchar_t* text;
    std::vector<int> ids;
};

class FormulaLexer : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"a", L"Ia", L"3I0", L"c", L"xel", L"i", L"abc", L"e3", L"Фаза А", L"Uф"})
            rec.Add(name, {1.0});
    }
    formulatest::FormulaRecord rec;
    TestCalculator& calc = rec.calc;
};

TEST_F(FormulaLexer, TokenSequences) {
    const LexCase cases[] = {
        {L"", {FT_END}},
        {L"    ", {FT_END}},
        {L"2.5", {FT_NUMBER, FT_END}},
        {L"12abc", {FT_NUMBER, FT_CHANNEL, FT_END}},
        {L"1e3", {FT_NUMBER, FT_CHANNEL, FT_END}},
        {L"3i", {FT_NUMBER, FT_CHANNEL, FT_END}},
        {L"3i0:(a,a,a)", {FT_3I0, FT_OPEN_BRACKET, FT_CHANNEL, FT_COMMA, FT_CHANNEL, FT_COMMA, FT_CHANNEL,
                          FT_CLOSE_BRACKET, FT_END}},
        {L"5 [kV]", {FT_NUMBER, FT_DIMENSION, FT_END}},
        {L"pixel", {FT_PI, FT_CHANNEL, FT_END}},
        {L"SIN: 30", {FT_SIN, FT_NUMBER, FT_END}},
        {L"Ua:Ub:Uc:ULF:ull:", {FT_UA, FT_UB, FT_UC, FT_ULF, FT_ULL, FT_END}},
        {L"ib:(a,,c)", {FT_IB, FT_OPEN_BRACKET, FT_CHANNEL, FT_COMMA, FT_NULL_VALUE, FT_COMMA, FT_CHANNEL,
                        FT_CLOSE_BRACKET, FT_END}},
        {L"(a,)", {FT_OPEN_BRACKET, FT_CHANNEL, FT_COMMA, FT_NULL_VALUE, FT_CLOSE_BRACKET, FT_END}},
        {L"(,a)", {FT_OPEN_BRACKET, FT_COMMA, FT_CHANNEL, FT_CLOSE_BRACKET, FT_END}},
        {L"\"3I0\" + Ia", {FT_CHANNEL, FT_PLUS, FT_CHANNEL, FT_END}},
        {L"\"Фаза А\"*Uф", {FT_CHANNEL, FT_MUL, FT_CHANNEL, FT_END}},
        {L"unknown + 1", {FT_PLUS, FT_NUMBER, FT_END}},  // a name with no channel gives no token
        {L"Null", {FT_NULL_VALUE, FT_END}},
        {L"coefftt: coeffpowerpriv: tormmaxcur: uniik: chan:", {FT_COEFFTRANSPRIV, FT_COEFFPOWERPRIV,
                                                               FT_TORMMAXCUR, FT_UNIIK, FT_CHAN, FT_END}},
    };
    for (const auto& k : cases) {
        calc.Tokenize(k.text);
        EXPECT_EQ(Ids(calc), k.ids) << "formula: " << CStringA(k.text).GetString();
    }
}

TEST_F(FormulaLexer, KeepsTypedTextWhereItMatters) {
    calc.Tokenize(L"5 [kV] + MOD: 2.25 [Ohm]");
    ASSERT_EQ(calc.Tokens().size(), 7u);
    EXPECT_EQ(calc.Tokens()[0].number, 5.0);
    EXPECT_EQ(calc.Tokens()[1].unit, CString(L"kV"));
    EXPECT_EQ(calc.Tokens()[4].number, 2.25);
    EXPECT_EQ(calc.Tokens()[5].unit, CString(L"Ohm"));
    EXPECT_EQ(calc.GetFormulaText(), CString(L"5 [kV] + MOD: 2.25 [Ohm]"));

    // A unit's case is kept even when the brackets hold keyword-like text.
    calc.Tokenize(L"1[SIN:PI]");
    EXPECT_EQ(calc.Tokens()[1].unit, CString(L"SIN:PI"));

    // Names reach the owner in the case they were typed, quoted or not.
    struct Recorder : TestCalculator {
        std::vector<std::wstring> asked;
        const CChannel* GetChannelIndex(const CString& name) override {
            asked.push_back(name.str());
            return nullptr;
        }
    } rec;
    rec.Tokenize(L"Ia + \"My Chan\" + IB");
    EXPECT_EQ(rec.asked, (std::vector<std::wstring>{L"Ia", L"My Chan", L"IB"}));
}

TEST_F(FormulaLexer, NumbersAreExact) {
    const std::pair<const wchar_t*, double> cases[] = {
        {L"0.1", 0.1},
        {L"1.", 1.0},
        {L"007", 7.0},
        {L"123456789012345678901234567890", 123456789012345678901234567890.0},
        {L"3.141592653589793", 3.141592653589793},
    };
    for (const auto& [text, value] : cases) {
        calc.Tokenize(text);
        EXPECT_EQ(calc.Tokens()[0].number, value) << CStringA(text).GetString();
    }
    // Far more digits than a double holds: infinity, never undefined.
    calc.Tokenize(std::wstring(400, L'9').c_str());
    EXPECT_EQ(calc.Tokens()[0].number, HUGE_VAL);
    calc.Tokenize((L"0." + std::wstring(400, L'0') + L"1").c_str());
    EXPECT_EQ(calc.Tokens()[0].number, 0.0);
}

TEST_F(FormulaLexer, ErrorsCarryTheirMessages) {
    calc.FormulaNames() = {L"Before", L"Current", L"Later"};
    calc.SetFormulaIndex(1);
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"5 [kV", L" не определен 'Current'"},
        {L"5 [", L" не определен 'Current'"},
        {L"[]", L" не определен 'Current'"},
        {L"2.5.1", L" не определен 'Current'"},
        {L"a\t+ 1", L"Current: Синтаксическая ошибка в формуле"},
        {L".5", L"Current: Синтаксическая ошибка в формуле"},
        {L"a ; c", L"Current: Синтаксическая ошибка в формуле"},
        {L"a + current", L"Current: 'current' -  не определен"},
        {L"a + \"LATER\"", L"Current: 'LATER' -  не определен"},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(calc.Error(text), message) << CStringA(text).GetString();
    // A channel computed before this one may be used.
    rec.Add(L"Before", {1.0});
    EXPECT_EQ(calc.Error(L"Before * 2"), L"<none>");
    // A tab inside a quoted name is part of the name.
    rec.Add(L"x\ty", {1.0});
    EXPECT_EQ(calc.Error(L"\"x\ty\""), L"<none>");
}

TEST_F(FormulaLexer, VariableMode) {
    Calculator v;
    v.SetChannelMode(false);
    v.Variables()[L"x"] = 2.0;
    v.Tokenize(L"x * pi");
    ASSERT_EQ(Ids(v), (std::vector<int>{FT_VARIABLE, FT_MUL, FT_PI, FT_END}));
    EXPECT_DOUBLE_EQ(v.Evaluate().real, 2 * M_PI);
    // Names of block parameters are not case-sensitive.
    v.Tokenize(L"X + 1");
    EXPECT_EQ(v.Evaluate().real, 3.0);
    try {
        v.Tokenize(L"y + 1");
        FAIL();
    } catch (CException* e) {
        EXPECT_EQ(e->GetErrorMessage(), CString(L"y + 1: Переменная не найдена"));
        e->Delete();
    }
    try {
        v.Tokenize(L"x\t");
        FAIL();
    } catch (CException* e) {
        EXPECT_EQ(e->GetErrorMessage(), CString(L"x\t: Синтаксическая ошибка в формуле"));
        e->Delete();
    }
}

TEST(FormulaTokenTable, IdsNamesAndOrder) {
    ASSERT_EQ(FormulaTokenTable::kSize, 70);
    std::vector<int> seen(70, 0);
    for (int pos = 0; pos < FormulaTokenTable::kSize; ++pos) {
        const auto& e = FormulaTokenTable::kEntries[pos];
        ++seen.at(size_t(e.id));
        static const int kMoved[] = {32, 33, 34, 30, 31};
        int expectedId = pos >= 30 && pos <= 34 ? kMoved[pos - 30] : pos;
        EXPECT_EQ(e.id, expectedId) << pos;
        bool empty = e.keyword[0] == 0;
        EXPECT_EQ(empty, e.id >= 65) << pos;
    }
    for (int n : seen) EXPECT_EQ(n, 1);
    EXPECT_STREQ(FormulaTokenTable::ById(FT_COEFFTRANSPRIV)->keyword, L"coefftt:");
    EXPECT_STREQ(FormulaTokenTable::ById(FT_NULL_VALUE)->name, "NULL_VALUE");
    EXPECT_STREQ(FormulaTokenTable::ById(FT_3U0)->name, "3U0:");
    EXPECT_EQ(FormulaTokenTable::ById(70), nullptr);
}

}  // namespace
