#include <gtest/gtest.h>

#include <filesystem>

#include "TestUtil.h"
#include "halvex/controls/model/ComboLogic.h"
#include "platform/Encoding.h"

using namespace halvex;
using testutil::TempDir;

namespace {
std::string Utf16(const std::wstring& s) { return platform::WideToUtf16Le(s, true); }
CString Path(const std::string& p) { return CString(platform::Utf8ToWide(p).c_str()); }
std::string Lines(int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i) s += (s.empty() ? "" : "\r\n") + ("t" + std::to_string(i)) + "|" + std::to_string(1000 + i);
    return s;
}
}  // namespace

TEST(RememberedTexts, LoadKeepsMostRecentAndMarksChanged) {
    TempDir dir;
    const std::string file = dir.File("texts.txt");
    testutil::WriteFile(file, Lines(1, 20));  // ANSI, oldest first
    RememberedTexts r;
    r.Load(Path(file), 15);
    EXPECT_EQ(r.Count(), 15);
    EXPECT_TRUE(r.IsChanged());
    EXPECT_EQ(r.MostRecentFirst().front(), L"t20");
    EXPECT_EQ(r.MostRecentFirst().back(), L"t6");
    int64_t time = 0;
    EXPECT_EQ(r.Find(eFindOldest, CString(), &time), L"t6");
    EXPECT_EQ(time, 1006);
    EXPECT_EQ(r.Find(eFindGiven, L"t1", &time), L"");
    EXPECT_EQ(time, 0);
    ASSERT_TRUE(r.Save(Path(file)));
    EXPECT_FALSE(r.IsChanged());
    const std::string expected = Utf16(platform::Utf8ToWide(Lines(6, 20)));
    EXPECT_EQ(testutil::ReadFile(file), expected);
}

TEST(RememberedTexts, ChoosingPushesOutTheOldestAndSurvivesARoundTrip) {
    TempDir dir;
    const std::string file = dir.File("texts.txt");
    testutil::WriteFile(file, "");
    RememberedTexts r;
    r.Load(Path(file), 3);
    EXPECT_EQ(r.Count(), 0);
    r.Choose(L"a|b", 10);  // a text with the separator in it
    r.Choose(L"b", 20);
    r.Choose(L"c", 30);
    r.Choose(L"a|b", 40);  // renewed, not added
    r.Choose(L"d", 50);    // pushes out the oldest: "b"
    r.Choose(CString(), 60);
    EXPECT_EQ(r.MostRecentFirst(), (std::vector<CString>{L"d", L"a|b", L"c"}));
    // times past 2038 keep their 64 bits
    r.Choose(L"late", int64_t(1) << 33);
    ASSERT_TRUE(r.Save(Path(file)));
    RememberedTexts back;
    back.Load(Path(file), 3);
    EXPECT_EQ(back.MostRecentFirst(), (std::vector<CString>{L"late", L"d", L"a|b"}));
    int64_t time = 0;
    back.Find(eFindMostRecent, CString(), &time);
    EXPECT_EQ(time, int64_t(1) << 33);
    EXPECT_FALSE(back.IsChanged());
}

TEST(RememberedTexts, MissingPathDamagedFileAndFailedWrite) {
    TempDir dir;
    RememberedTexts r;
    r.Load(Path(dir.File("none.txt")), 15);
    r.Choose(L"x", 1);
    EXPECT_TRUE(r.Save(Path(dir.File("none.txt"))));
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.txt")));  // not created
    // binary bytes read as nothing and the file stays as it was
    const std::string junk("\x01\x02\x00\xff\xfe garbage\x07", 14);
    testutil::WriteFile(dir.File("junk.txt"), junk);
    RememberedTexts d;
    d.Load(Path(dir.File("junk.txt")), 15);
    EXPECT_EQ(d.Count(), 0);
    EXPECT_FALSE(d.IsChanged());
    EXPECT_TRUE(d.Save(Path(dir.File("junk.txt"))));
    EXPECT_EQ(testutil::ReadFile(dir.File("junk.txt")), junk);
    // a UTF-16 file with lines that carry no time reads them with time 0
    testutil::WriteFile(dir.File("u.txt"), Utf16(L"один\r\n\r\n  два|5  \r\n~"));
    RememberedTexts u;
    u.Load(Path(dir.File("u.txt")), 15);
    EXPECT_EQ(u.MostRecentFirst(), (std::vector<CString>{L"два", L"один"}));
}

TEST(ComboLogic, CompletionDropDownAndDisabledItems) {
    const std::vector<CString> items{L"Alpha", L"beta", L"Bravo", L"Бета"};
    EXPECT_EQ(FindItemStartingWith(items, L"b"), 1);
    EXPECT_EQ(FindItemStartingWith(items, L"BR"), 2);
    EXPECT_EQ(FindItemStartingWith(items, L"бе"), 3);
    EXPECT_EQ(FindItemStartingWith(items, L"x"), -1);
    EXPECT_EQ(FindItemStartingWith(items, L""), -1);
    EXPECT_EQ(FindItemExact(items, L"BETA"), 1);
    EXPECT_EQ(FindItemExact(items, L"Bet"), -1);
    EXPECT_EQ(DropDownHeight(10, 3, 20), 10 * 4 + 20);
    EXPECT_EQ(DropDownHeight(10, 30, 20), 10 * 8 + 20);
    std::vector<int> off;
    EXPECT_EQ(SetDisabledItem(off, 4, 4, 1), 0);
    EXPECT_EQ(SetDisabledItem(off, 4, 2, 1), 1);
    EXPECT_EQ(SetDisabledItem(off, 4, 2, 1), 1);
    EXPECT_EQ(off, (std::vector<int>{2}));
    EXPECT_EQ(SetDisabledItem(off, 4, 1, 0), 1);
    EXPECT_EQ(off, (std::vector<int>{2}));
    EXPECT_EQ(SkipDisabled(off, 4, 2, -120), 3);
    EXPECT_EQ(SkipDisabled(off, 4, 2, 120), 1);
    EXPECT_EQ(SkipDisabled(off, 4, 1, 120), 1);
    EXPECT_EQ(SkipDisabled({3}, 4, 3, -120), 3);  // the last item: nowhere further
}
