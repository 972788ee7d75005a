#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <limits>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/CString.h"

namespace {

struct FormatCase {
    const wchar_t* expected;
    CString actual;
};

CString F(const wchar_t* fmt) {
    CString s;
    s.Format(fmt);
    return s;
}
template <class... A>
CString F(const wchar_t* fmt, const A&... a) {
    CString s;
    s.Format(fmt, a...);
    return s;
}

}  // namespace

TEST(CStringFormat, TableOfFormats) {
    const CString wide = L"Канал";
    const CStringA narrow = "abc";
    const FormatCase cases[] = {
        {L"42", F(L"%i", 42)},
        {L"-7", F(L"%d", -7)},
        {L"  5|5  |00005", F(L"%3d|%-3d|%05d", 5, 5, 5)},
        {L"4294967295", F(L"%u", -1)},
        {L"ffffffff", F(L"%x", -1)},
        {L"FF", F(L"%X", 255)},
        {L"123456789012", F(L"%I64d", 123456789012LL)},
        {L"123456789012", F(L"%lld", 123456789012LL)},
        {L"Канал", F(L"%s", wide)},
        {L"Канал", F(L"%s", L"Канал")},
        {L"abc", F(L"%S", narrow)},
        {L"abc", F(L"%s", "abc")},
        {L"[  Кан]", F(L"[%5.3s]", wide)},
        {L"[Кан  ]", F(L"[%-5.3s]", wide)},
        {L"0.100000", F(L"%f", 0.1)},
        {L"0.1", F(L"%g", 0.1)},
        {L"1e+20", F(L"%g", 1e20)},
        {L"3.14", F(L"%.2f", 3.14159)},
        {L"   3.1", F(L"%*.*f", 6, 1, 3.14159)},
        {L"1.234568e+03", F(L"%e", 1234.5678)},
        {L"0.30000000000000004", F(L"%.17g", 0.1 + 0.2)},
        {L"-0", F(L"%g", -0.0)},
        {L"inf", F(L"%g", std::numeric_limits<double>::infinity())},
        {L"x", F(L"%c", L'x')},
        {L"Ж", F(L"%c", L'Ж')},
        {L"100%", F(L"%d%%", 100)},
        {L"2.5", F(L"%g", 2.5f)},
        {L"", F(L"")},
        {L"a=;b=0", F(L"a=%s;b=%d")},  // missing arguments read as empty and 0, never a crash
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, CString(c.expected)) << c.expected;
}

TEST(CStringFormat, NarrowFormatTakesWideTextThroughTheAnsiCodePage) {
    CStringA s;
    s.Format("%s/%S/%d", "x", CString(L"Ток"), 3);
    EXPECT_EQ(s, CStringA("x/\xD2\xEE\xEA/3"));
    s.AppendFormat(" %.1f", 2.25);
    EXPECT_EQ(s, CStringA("x/\xD2\xEE\xEA/3 2.2"));
}

TEST(CString, ExtractionClampsLikeTheFramework) {
    CString s = L"abcdef";
    EXPECT_EQ(s.Mid(2), L"cdef");
    EXPECT_EQ(s.Mid(2, 2), L"cd");
    EXPECT_EQ(s.Mid(10), L"");
    EXPECT_EQ(s.Mid(-3, 2), L"ab");
    EXPECT_EQ(s.Left(10), L"abcdef");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Right(2), L"ef");
    EXPECT_EQ(s.Right(99), L"abcdef");
}

TEST(CString, SearchAndModify) {
    CString s = L"a,b,,c";
    EXPECT_EQ(s.Find(L','), 1);
    EXPECT_EQ(s.Find(L',', 2), 3);
    EXPECT_EQ(s.Find(L"x"), -1);
    EXPECT_EQ(s.Find(L',', 100), -1);
    EXPECT_EQ(s.ReverseFind(L','), 4);
    EXPECT_EQ(s.Replace(L",", L";;"), 3);
    EXPECT_EQ(s, L"a;;b;;;;c");
    EXPECT_EQ(s.Remove(L';'), 6);
    EXPECT_EQ(s, L"abc");
    CString t = L"  \tx y \r\n";
    t.Trim();
    EXPECT_EQ(t, L"x y");
    CString u = L"--x--";
    u.TrimLeft(L'-');
    EXPECT_EQ(u, L"x--");
}

TEST(CString, TokenizeSkipsEmptyTokens) {
    CString s = L",a,,b c,";
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = s.Tokenize(L", ", pos); pos != -1; t = s.Tokenize(L", ", pos)) tokens.push_back(t);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0], L"a");
    EXPECT_EQ(tokens[1], L"b");
    EXPECT_EQ(tokens[2], L"c");
}

TEST(CString, CaseKnowsCyrillic) {
    CString s = L"Ток ФАЗЫ Ё ABC";
    EXPECT_EQ(CString(s).MakeLower(), L"ток фазы ё abc");
    EXPECT_EQ(CString(s).MakeUpper(), L"ТОК ФАЗЫ Ё ABC");
    EXPECT_EQ(CString(L"ток").CompareNoCase(L"ТОК"), 0);
    EXPECT_LT(CString(L"ab").CompareNoCase(L"ABC"), 0);
    EXPECT_GT(CString(L"abd").CompareNoCase(L"ABC"), 0);
    CStringA a("\xD2\xEE\xEA");  // "Ток" in code page 1251
    EXPECT_EQ(a.MakeUpper(), CStringA("\xD2\xCE\xCA"));
}

TEST(CString, WideAndNarrowConvertThroughCodePage1251) {
    CStringA a = CString(L"Ua Ток №");
    EXPECT_EQ(a, CStringA("Ua \xD2\xEE\xEA \xB9"));
    CString w = a;
    EXPECT_EQ(w, L"Ua Ток №");
    EXPECT_EQ(CStringA(CString(L"漢")), CStringA("?"));
}

TEST(CString, PairsAndTuplesOrderByText) {
    // Texts built apart have different addresses; their order must come from their letters.
    std::vector<std::pair<CString, int>> v{{CString(L"b"), 1}, {CString(L"a"), 2}, {CString(L"c"), 0}};
    std::sort(v.begin(), v.end());
    EXPECT_EQ(v[0].first, L"a");
    EXPECT_EQ(v[1].first, L"b");
    EXPECT_EQ(v[2].first, L"c");
    std::map<std::tuple<CString, int>, int> m;
    m[{CString(L"x"), 1}] = 1;
    EXPECT_EQ(m.count({CString(L"x"), 1}), 1u);
}
