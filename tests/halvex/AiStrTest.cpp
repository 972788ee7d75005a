#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "halvex/helpers/Ai_Str.h"
#include "platform/Encoding.h"

TEST(AiStr, LowerCaseKnowsTheRussianAlphabet) {
    EXPECT_EQ(CAi_Str::CharToLower(L'\x0401'), L'\x0451');  // Ё -> ё
    EXPECT_EQ(CAi_Str::CharToLower(L'\x0451'), L'\x0451');
    EXPECT_EQ(CAi_Str::CharToLower(L'Я'), L'я');
    EXPECT_EQ(CAi_Str::CharToLower(L'Q'), L'q');
    EXPECT_EQ(CAi_Str::CharToLower(L'Ü'), L'Ü');  // outside both ranges: unchanged
    EXPECT_EQ(CAi_Str::StringToLower(L"ТОК Фазы A, Ёж"), L"ток фазы a, ёж");
}

TEST(AiStr, NumbersFromText) {
    struct IntCase { const wchar_t* text; bool hex; int value; };
    const IntCase ints[] = {
        {L"5\x00A0" L"678", false, 5678}, {L"abc", false, 0}, {L"ff", true, 255}, {L"0xFF", true, 255},
        {L"", false, 0}, {L"\x00A0", false, 0}, {L"  -42abc", false, -42}, {L"+7", false, 7},
        {L"99999999999", false, 2147483647}, {L"-99999999999", false, -2147483647 - 1},
        {L"ffffffff", true, -1}, {L"12.9", false, 12}, {L"0x", true, 0}, {L"g1", true, 0},
    };
    for (const auto& c : ints) EXPECT_EQ(CAi_Str::ToInt(c.text, c.hex), c.value) << c.text;

    EXPECT_DOUBLE_EQ(CAi_Str::ToFloat(L" 2.5e3xyz"), 2500.0);
    EXPECT_DOUBLE_EQ(CAi_Str::ToFloat(L"-0.125"), -0.125);
    EXPECT_DOUBLE_EQ(CAi_Str::ToFloat(L"+.5"), 0.5);
    EXPECT_DOUBLE_EQ(CAi_Str::ToFloat(L"1,5"), 1.0);  // "." is the only decimal point
    EXPECT_EQ(CAi_Str::ToFloat(L"abc"), 0.0);
    EXPECT_EQ(CAi_Str::ToFloat(L""), 0.0);
    EXPECT_TRUE(std::isinf(CAi_Str::ToFloat(L"1e999")));

    EXPECT_EQ(CAi_Str::GetIntFromBinStr(L"10 1"), 5u);
    EXPECT_EQ(CAi_Str::GetIntFromBinStr(L""), 0u);
    EXPECT_EQ(CAi_Str::GetIntFromBinStr(L"1x1"), 5u);
    EXPECT_EQ(CAi_Str::FromOctal(0x25), 25);
    EXPECT_EQ(CAi_Str::GetPrecision(L"1.250"), 3);
    EXPECT_EQ(CAi_Str::GetPrecision(L"125"), -1);
    EXPECT_EQ(CAi_Str::To16x16(L"1.5"), 98304);
    EXPECT_EQ(CAi_Str::To16x16(L"-0.5"), -32768);
    EXPECT_EQ(CAi_Str::To16x16(L"x"), 0);
    EXPECT_EQ(CAi_Str::To16x16(1e12f), 2147483647);  // saturates instead of overflowing
    EXPECT_EQ(CAi_Str::From16x16(98304, 3), L"1.5");
}

TEST(AiStr, NumbersToText) {
    struct Case { CString actual; const wchar_t* expected; };
    const Case cases[] = {
        {CAi_Str::ToString(2.5, 3, true), L"2.5"},
        {CAi_Str::ToString(2.0, 0, false), L"2.0"},
        {CAi_Str::ToString(-0.0001, 2, true), L"0"},
        {CAi_Str::ToString(2.0, 3, true), L"2.0"},
        {CAi_Str::ToString(2.0, 3, false), L"2.000"},
        {CAi_Str::ToString(0.0, 0, true), L"0"},
        {CAi_Str::ToString(1.25, -1, true), L""},
        {CAi_Str::ToString(std::numeric_limits<double>::infinity(), 2, true), L"inf"},
        {CAi_Str::ToString(-17), L"-17"},
        {CAi_Str::ToString(4294967295u), L"4294967295"},
        {CAi_Str::ToString(3000000000ul), L"3000000000"},
        {CAi_Str::AddFloatZeroEndIfNeed(L"5"), L"5.0"},
        {CAi_Str::AddFloatZeroEndIfNeed(L"5."), L"5.0"},
        {CAi_Str::AddFloatZeroEndIfNeed(L"5.000"), L"5.0"},
        {CAi_Str::AddFloatZeroEndIfNeed(L"5.250"), L"5.250"},
        {CAi_Str::AddFloatZeroEndIfNeed(L"007.5"), L"7.5"},
        {CAi_Str::AddFloatZeroEndIfNeed(L"0.5"), L"0.5"},
        {CAi_Str::AddFloatZeroEndIfNeed(L"000"), L"0.0"},
        {CAi_Str::IPToString(192, 168, 1, 0), L"192.168.1.0"},
        {CAi_Str::IPToString(0xC0A80102ul), L"192.168.1.2"},
        {CAi_Str::FlagToYesNo(3), L"Да"},
        {CAi_Str::FlagToYesNo(0), L"Нет"},
        {CAi_Str::ReplaceForbiddenSymbols(L"a/b\\c:d*e?f\"g<h>i|j,k'l"), L"a_b_c_d_e_f_g_h_i_j,k'l"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << platform::WideToUtf8(c.expected);
}

TEST(AiStr, SplittingAndIpAddresses) {
    std::vector<CString> pieces;
    EXPECT_TRUE(CAi_Str::CutString(L";a ; \tb\t;~;", L";", &pieces, L"~"));
    EXPECT_EQ(pieces, (std::vector<CString>{L"", L"a", L"b", L"", L""}));  // empty first and last fields kept
    EXPECT_TRUE(CAi_Str::CutString(L"a;;b", L";", &pieces));
    EXPECT_EQ(pieces, (std::vector<CString>{L"a", L"b"}));  // the tokenizer joins adjacent separators
    EXPECT_FALSE(CAi_Str::CutString(L"", L";", &pieces));
    EXPECT_TRUE(pieces.empty());
    EXPECT_FALSE(CAi_Str::CutString(L"a", L"", &pieces));
    std::vector<int> numbers;
    EXPECT_TRUE(CAi_Str::CutString(L"1, 2,x", L",", &numbers));
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 0}));
    EXPECT_FALSE(CAi_Str::CutString(L"", L",", &numbers));

    BYTE a = 9, b = 9, c = 9, d = 9;
    CAi_Str::StringToIP(L"192.168.1", a, b, c, d);
    EXPECT_EQ((std::vector<int>{a, b, c, d}), (std::vector<int>{192, 168, 1, 0}));
    CAi_Str::StringToIP(L" 10 . 300 .2.3.4", a, b, c, d);
    EXPECT_EQ((std::vector<int>{a, b, c, d}), (std::vector<int>{10, 300 & 0xFF, 2, 3}));
    EXPECT_EQ(CAi_Str::StringToIP(L"192.168.1.2"), 0xC0A80102u);
    EXPECT_EQ(CAi_Str::StringToIP(L""), 0u);

    CString q = L"text";
    EXPECT_EQ(CAi_Str::TakeStringInQuotes(&q), L"\"text\"");
    EXPECT_EQ(q, L"\"text\"");
    q = L"\"";
    EXPECT_EQ(CAi_Str::TakeStringInQuotes(&q), L"\"\"");
    std::vector<CString> list;
    EXPECT_EQ(CAi_Str::AddIfNo(nullptr, L"x"), 255);
    EXPECT_EQ(CAi_Str::AddIfNo(&list, L"x"), 1);
    EXPECT_EQ(CAi_Str::AddIfNo(&list, L"x"), 0);
    EXPECT_EQ(CAi_Str::AddIfNo(&list, L"X"), 1);
}

TEST(AiStr, ForbiddenSymbolChecks) {
    int first = 0, second = 0;
    using E = CAi_Str::ETypeErrorSymbol;
    // The table's first two entries (backslash and comma), control characters, a length limit.
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"Имя,1", 2, true, true, L"", true, L"", 10, L"", &first, &second),
              E::eTypeErrorForbidden);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"Имя/1", 2, true, true, L"", true, L"", 10, L""), E::eTypeErrorNone);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"Имя,1", 2, true, true, L",", true, L"", 10, L""), E::eTypeErrorNone);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"a\tb", 2, true, true, L"", true, L"", 10, L""), E::eTypeErrorControl);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"a\tb", 2, false, true, L"", true, L"", 10, L""), E::eTypeErrorNone);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"abcdef", 2, true, true, L"", true, L"", 5, L""), E::eTypeErrorLength);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"日本", 2, true, true, L"", true, L"", 5, L""), E::eTypeErrorNotAnsi);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"a?b", 11, true, false, L"", false, L"", 0, L""), E::eTypeErrorNone);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"«a»", 11, true, false, L"", true, L"", 0, L""), E::eTypeErrorQuotes);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"«a»", 6, true, false, L"", true, L"", 0, L""), E::eTypeErrorNone);
    // The phase field: two characters out of A-Z, 0-9, "+" and "-".
    const CString phase = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-";
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"A+", 0, false, true, L"", false, L"", 2, phase), E::eTypeErrorNone);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"Ab", 0, false, true, L"", false, L"", 2, phase, &first),
              E::eTypeErrorNotAllowed);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"ABC", 0, false, true, L"", false, L"", 2, phase), E::eTypeErrorLength);
    // Caller's own forbidden characters: every one is counted, the scan goes on.
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"a#b#c#", 0, false, false, L"", false, L"#", 0, L"", &first, &second),
              E::eTypeErrorForbidden);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(CAi_Str::CheckForbiddenSymbols(L"", 11, true, true, L"", true, L"", 0, L"", &first, &second),
              E::eTypeErrorNone);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);

    EXPECT_EQ(CAi_Str::GetETypeErrorSymbolToString(E::eTypeErrorForbidden, L"\\ , " + CAi_Str::GetStrOtherQuores(), 0, L""),
              L"Не допускается использование следующих символов \\ , ");
    EXPECT_EQ(CAi_Str::GetETypeErrorSymbolToString(E::eTypeErrorLength, L"", 32, L""), L"Максимальное количество символов: 32");
    EXPECT_EQ(CAi_Str::GetETypeErrorSymbolToString(E::eTypeErrorNotAllowed, L"", 0, L"AB"),
              L"Допускается использование следующих символов AB");
    EXPECT_EQ(CAi_Str::GetETypeErrorSymbolToString(E::eTypeErrorNone, L"x", 0, L"y"), L"");
    EXPECT_EQ(CAi_Str::GetStrOtherQuores().GetLength(), 8);
}

TEST(AiStr, BufferCopies) {
    wchar_t* w = nullptr;
    ASSERT_NE(CAi_Str::ToChar(L"Ток", &w), nullptr);
    EXPECT_STREQ(w, L"Ток");
    CAi_Str::ToChar(L"x", &w);  // the old block is freed
    EXPECT_STREQ(w, L"x");
    delete[] w;
    w = nullptr;
    CAi_Str::ToBuffers(L"abcdef", &w, 4);  // cut to count - 1, terminated
    EXPECT_STREQ(w, L"abc");
    delete[] w;
    char* n = nullptr;
    CAi_Str::ToBuffers(L"Ток", &n, 0);
    EXPECT_STREQ(n, "\xD2\xEE\xEA");
    delete[] n;
    wchar_t wide[8];
    char narrow[8];
    CAi_Str::ToBuffers(L"Фаза A", wide, narrow, 8);
    EXPECT_STREQ(wide, L"Фаза A");
    EXPECT_STREQ(narrow, "\xD4\xE0\xE7\xE0 A");
    bool thrown = false;
    try {
        CAi_Str::ToBuffers(L"x", static_cast<wchar_t**>(nullptr), 4);
    } catch (bool b) {
        thrown = !b;
    }
    EXPECT_TRUE(thrown);
}

TEST(AiStl, FindPosInSortedVector) {
    unsigned pos = 99;
    const std::vector<int> v = {1, 3, 5};
    EXPECT_EQ(CAi_Stl::FindPos(v, 3, pos), CAi_Stl::ePosEnd);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(CAi_Stl::FindPos(v, 4, pos), CAi_Stl::ePosInside);
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(CAi_Stl::FindPos(v, 0, pos), CAi_Stl::ePosInside);
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(CAi_Stl::FindPos(v, 9, pos), CAi_Stl::ePosEnd);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(CAi_Stl::FindPos({}, 1, pos), CAi_Stl::ePosEnd);
    EXPECT_EQ(pos, 0u);
}
