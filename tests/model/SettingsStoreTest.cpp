#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "FileSizeLimit.h"
#include "TestUtil.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

namespace {

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

std::string Data(const std::string& name) { return testutil::ReadFile(std::string(TV_SOURCE_DIR) + "/tests/model/data/" + name); }

}  // namespace

TEST(SettingsStore, SavedFileMatchesTheExpectedBytes) {
    SettingsStore store;
    SettingsNode& osc = store.GetCategory(L"Oscillogram");
    osc.SetInt(L"DiscretisationFrequensy", 1000);
    osc.SetInt(L"Codepage", 1);
    store.GetCategory(L"CalculatedChannels").SetString(L"Channel0", L"Iдиф,IA-IB");
    SettingsNode& view = store.GetCategory(L"View");
    view.SetDouble(L"XScale", 2.5);
    view.SetString(L"note", L"\"a\" & <b>");
    view.GetSubCategory(L"Sub").GetSubCategory(L"0").SetInt(L"visible", 1);

    testutil::TempDir dir;
    const std::string path = dir.File("store.set");
    ASSERT_TRUE(store.Save(W(path)));
    EXPECT_EQ(testutil::ReadFile(path), Data("store_small.set"));

    // An empty store is the single root element.
    ASSERT_TRUE(SettingsStore().Save(W(path)));
    EXPECT_EQ(testutil::ReadFile(path),
              platform::WideToUtf16Le(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<settings/>\r\n", true));
}

TEST(SettingsStore, EveryValueTypeRoundTrips) {
    SettingsStore store;
    SettingsNode& c = store.GetCategory(L"Канал Ua \"ввод\" <1> & 2");
    c.SetInt(L"Int", -2147483647 - 1);
    c.SetInt(L"IntMax", INT_MAX);
    c.SetDouble(L"Double", -12345.125);
    c.SetDouble(L"Tiny", 1e-7);
    c.SetString(L"Текст", L"a \"b\" & <c> &amp; &lt;\r\nвторая строка\tтаб");
    c.SetString(L"Empty", L"");
    c.GetSubCategory(L"Подкатегория").GetSubCategory(L"0").SetString(L"x", L"y");
    store.GetCategory(L"empty");

    testutil::TempDir dir;
    const CString path = W(dir.File("rt.set"));
    ASSERT_TRUE(store.Save(path));
    SettingsStore back;
    CString error;
    ASSERT_TRUE(back.Load(path, &error)) << platform::WideToUtf8(error.view());
    ASSERT_EQ(back.GetCategoryCount(), 2);
    SettingsNode& r = back.GetCategory(L"Канал Ua \"ввод\" <1> & 2");
    EXPECT_EQ(r.GetInt(L"Int", 0), INT_MIN);
    EXPECT_EQ(r.GetInt(L"IntMax", 0), INT_MAX);
    EXPECT_EQ(r.GetDouble(L"Double", 0), -12345.125);
    EXPECT_EQ(r.GetString(L"Tiny", L""), L"0.0000001");
    EXPECT_EQ(r.GetDouble(L"Tiny", 0), 1e-7);
    EXPECT_EQ(r.GetString(L"Текст", L""), c.GetString(L"Текст", L"?"));
    EXPECT_TRUE(r.HasValue(L"Empty"));
    EXPECT_EQ(r.GetString(L"Empty", L"default"), L"");
    EXPECT_EQ(r.GetSubCategory(L"Подкатегория").GetSubCategory(L"0").GetString(L"x", L""), L"y");
    // Every category read from XML also holds its own name.
    EXPECT_EQ(r.GetValueCount(), c.GetValueCount() + 1);
    EXPECT_EQ(r.GetString(L"name", L""), L"Канал Ua \"ввод\" <1> & 2");
    EXPECT_EQ(back.GetCategory(L"empty").GetValueCount(), 1);
}

// A value is written as the six decimals of "%f" where they read back the same, and else with
// the decimals it needs; always plain decimals, which older readers of the file take.
TEST(SettingsStore, DoublesReadBackExactly) {
    const struct { double value; const wchar_t* text; } cases[] = {
        {2.5, L"2.500000"},
        {-12345.125, L"-12345.125000"},
        {0.1, L"0.100000"},
        {73323.453100023, L"73323.453100023"},
        {1.0 / 3.0, L"0.3333333333333333"},
        {-2.5e-9, L"-0.0000000025"},
        {1e-7, L"0.0000001"},
    };
    for (const auto& c : cases) {
        SettingsNode n;
        n.SetDouble(L"v", c.value);
        EXPECT_EQ(n.GetString(L"v", L""), c.text) << c.value;
        EXPECT_EQ(n.GetDouble(L"v", 0), c.value) << platform::WideToUtf8(c.text);
    }
}

TEST(SettingsStore, TypedGetters) {
    SettingsNode n;
    const struct { const wchar_t* text; int i; double d; } cases[] = {
        {L"12abc", 12, 12.0}, {L"abc", 0, 0.0}, {L"  -7", -7, -7.0}, {L"+3.75", 3, 3.75}, {L"", 0, 0.0},
        {L"99999999999", INT_MAX, 99999999999.0}, {L"-99999999999", INT_MIN, -99999999999.0}, {L"1e3", 1, 1000.0},
    };
    for (const auto& c : cases) {
        n.SetString(L"k", c.text);
        EXPECT_EQ(n.GetInt(L"k", 42), c.i) << c.text;
        EXPECT_EQ(n.GetDouble(L"k", 42.0), c.d) << c.text;
    }
    EXPECT_EQ(n.GetInt(L"absent", 42), 42);
    EXPECT_EQ(n.GetDouble(L"absent", 4.5), 4.5);
    EXPECT_EQ(n.GetString(L"absent", L"def"), L"def");
    EXPECT_FALSE(n.HasValue(L"absent"));
    n.SetDouble(L"d", 1e-7);
    EXPECT_EQ(n.GetString(L"d", L""), L"0.0000001");
    n.SetDouble(L"d", -0.5);
    EXPECT_EQ(n.GetString(L"d", L""), L"-0.500000");
    n.SetInt(L"i", -5);
    EXPECT_EQ(n.GetString(L"i", L""), L"-5");
    // Keys differing in case are two keys; upper case sorts first.
    n.SetInt(L"K", 1);
    EXPECT_EQ(n.GetValues().begin()->first, L"K");
}

TEST(SettingsStore, CategoryReferencesSurviveInsertionsAndClearEmptiesBoth) {
    SettingsStore store;
    SettingsNode& first = store.GetCategory(L"m");
    for (int i = 0; i < 200; ++i) store.GetCategory(CString(std::to_wstring(i)));
    first.SetInt(L"v", 1);
    EXPECT_EQ(store.GetCategory(L"m").GetInt(L"v", 0), 1);
    SettingsNode& sub = first.GetSubCategory(L"s");
    sub.SetInt(L"x", 1);
    first.Clear();
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_EQ(first.GetSubCategoryCount(), 0);
}

TEST(SettingsStore, XmlLoadReplacesTheStoreAndMergesChildrenOfOneName) {
    testutil::TempDir dir;
    const std::string path = dir.File("x.set");
    testutil::WriteFile(path, platform::WideToUtf16Le(
                                  L"<?xml version=\"1.0\"?>\r\n<root ignored=\"1\">\r\n"
                                  L"<category name=\"A\" a=\"1\"><x name=\"S\" p=\"1\"/><y name=\"S\" q=\"2\"/><z/></category>\r\n"
                                  L"<other name=\"A\" b=\"2\"/>\r\n<category c=\"3\"/>\r\n</root>\r\n",
                                  true));
    SettingsStore store;
    store.GetCategory(L"old").SetInt(L"v", 1);
    ASSERT_TRUE(store.Load(W(path)));
    ASSERT_EQ(store.GetCategoryCount(), 2);
    SettingsNode& a = store.GetCategory(L"A");
    EXPECT_EQ(a.GetString(L"a", L""), L"1");
    EXPECT_EQ(a.GetString(L"b", L""), L"2");
    EXPECT_EQ(a.GetSubCategoryCount(), 2);
    EXPECT_EQ(a.GetSubCategory(L"S").GetString(L"p", L""), L"1");
    EXPECT_EQ(a.GetSubCategory(L"S").GetString(L"q", L""), L"2");
    EXPECT_TRUE(a.GetSubCategory(L"").IsEmpty());
    EXPECT_EQ(store.GetCategory(L"").GetString(L"c", L""), L"3");

    // A root with attributes and no children empties the store.
    testutil::WriteFile(path, platform::WideToUtf16Le(L"<settings a=\"1\"/>", true));
    ASSERT_TRUE(store.Load(W(path)));
    EXPECT_EQ(store.GetCategoryCount(), 0);
}

TEST(SettingsStore, IniTextOfOlderFiles) {
    testutil::TempDir dir;
    const std::string path = dir.File("old.ini");
    // Code page 1251: "Канал" is CA E0 ED E0 EB.
    testutil::WriteFile(path,
                        "before=ignored\r\n[Oscillogram]\r\nCodepage=1\r\nEmpty=\r\n=NoKey\r\nno equals sign\r\n"
                        "[\xCA\xE0\xED\xE0\xEB]\nkey = value \r\n"
                        "a=b=c\r\n[]\r\nin empty=1\r\n[Unclosed\r\nu=1\r\n[Last]\nlast=no line end");
    SettingsStore store;
    store.GetCategory(L"Oscillogram").SetInt(L"Kept", 7);
    ASSERT_TRUE(store.Load(W(path)));
    SettingsNode& osc = store.GetCategory(L"Oscillogram");
    EXPECT_EQ(osc.GetValueCount(), 2);
    EXPECT_EQ(osc.GetInt(L"Codepage", 0), 1);
    EXPECT_EQ(osc.GetInt(L"Kept", 0), 7);
    SettingsNode& ch = store.GetCategory(L"Канал");
    EXPECT_EQ(ch.GetString(L"key ", L""), L" value ");
    EXPECT_EQ(ch.GetString(L"a", L""), L"b=c");
    EXPECT_EQ(store.GetCategory(L"").GetString(L"in empty", L""), L"1");
    // Without "]" the name runs to the end of the line, its line break included.
    EXPECT_EQ(store.GetCategory(L"Unclosed\n").GetString(L"u", L""), L"1");
    EXPECT_EQ(store.GetCategory(L"Last").GetString(L"last", L""), L"no line end");
    EXPECT_EQ(store.GetCategoryCount(), 5);

    // A missing file loads nothing and is no error.
    SettingsStore none;
    EXPECT_TRUE(none.Load(W(dir.File("missing.set"))));
    EXPECT_TRUE(none.IsEmpty());
}

TEST(SettingsStore, DamagedFileKeepsWhatWasReadAndSaysSo) {
    SettingsStore store;
    store.GetCategory(L"A").SetInt(L"v", 1);
    store.GetCategory(L"B").SetInt(L"v", 2);
    store.GetCategory(L"C").SetInt(L"v", 3);
    testutil::TempDir dir;
    const std::string path = dir.File("d.set");
    ASSERT_TRUE(store.Save(W(path)));
    const std::string full = testutil::ReadFile(path);
    // Cut inside the "B" category's element.
    const std::string cut = platform::WideToUtf16Le(L"name=\"B\"", false);
    testutil::WriteFile(path, full.substr(0, full.find(cut) + 4));
    SettingsStore back;
    back.GetCategory(L"old");
    CString error;
    EXPECT_FALSE(back.Load(W(path), &error));
    EXPECT_EQ(error, L"Неправильный формат XML файла '");
    EXPECT_EQ(back.GetCategoryCount(), 1);
    EXPECT_EQ(back.GetCategory(L"A").GetInt(L"v", 0), 1);

    // Damaged before the first element: nothing read, still reported.
    testutil::WriteFile(path, full.substr(0, 20));
    SettingsStore early;
    EXPECT_FALSE(early.Load(W(path)));
    EXPECT_TRUE(early.IsEmpty());
}

TEST(SettingsStore, FailedSaveIsReportedAndLeavesTheOldFileWhole) {
    testutil::TempDir dir;
    const std::string path = dir.File("keep.set");
    testutil::WriteFile(path, "old contents");
    SettingsStore store;
    for (int i = 0; i < 50; ++i) store.GetCategory(CString(L"Category" + std::to_wstring(i))).SetInt(L"v", i);
    CString error;
    {
        testutil::FileSizeLimit limit(64);
        EXPECT_FALSE(store.Save(W(path), &error));
    }
    EXPECT_NE(error.Find(L"keep.set"), -1);
    EXPECT_EQ(testutil::ReadFile(path), "old contents");
    // Nothing is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);

    EXPECT_FALSE(store.Save(W(dir.File("no/such/folder/x.set")), &error));
    EXPECT_FALSE(error.IsEmpty());
}
