#include <gtest/gtest.h>

#include "TestUtil.h"
#include "app/AppProfile.h"

TEST(AppProfile, DefaultsThenRoundTrip) {
    testutil::TempDir dir;
    auto profile = platform::Profile::AtPath(CString(dir.File("Tenvorik.ini").c_str()));
    AppOptions o;
    LoadAppOptions(profile, o);
    EXPECT_EQ(o.leftMargin, 2000);
    EXPECT_EQ(o.topMargin, 2000);
    EXPECT_EQ(o.rightMargin, 2000);
    EXPECT_EQ(o.bottomMargin, 2000);
    EXPECT_EQ(o.pageOrientation, 1);
    EXPECT_EQ(o.dstFolder, L"");
    EXPECT_TRUE(o.utcForComtrade2013);
    EXPECT_EQ(o.textLanguage, platform::TextLanguage::System);

    o.leftMargin = 1500;
    o.bottomMargin = 0;
    o.pageOrientation = 2;
    o.dstFolder = L"/дст/описания";
    o.utcForComtrade2013 = false;
    o.textLanguage = platform::TextLanguage::English;
    SaveAppOptions(profile, o);

    auto again = platform::Profile::AtPath(CString(dir.File("Tenvorik.ini").c_str()));
    AppOptions r;
    LoadAppOptions(again, r);
    EXPECT_EQ(r.leftMargin, 1500);
    EXPECT_EQ(r.bottomMargin, 0);
    EXPECT_EQ(r.rightMargin, 2000);
    EXPECT_EQ(r.pageOrientation, 2);
    EXPECT_EQ(r.dstFolder, L"/дст/описания");
    EXPECT_FALSE(r.utcForComtrade2013);
    EXPECT_EQ(again.GetProfileInt(L"Settings Parameters", L"UTC for Comtrade2013", 7), 0);
    EXPECT_EQ(r.textLanguage, platform::TextLanguage::English);
    EXPECT_EQ(again.GetProfileString(L"Settings Parameters", L"Language"), L"en");
    // Read on its own before any text is, as the program does at start.
    EXPECT_EQ(LoadTextLanguage(again), platform::TextLanguage::English);
}

TEST(AppProfile, RecentFilesKeepOrderAndShrink) {
    testutil::TempDir dir;
    auto profile = platform::Profile::AtPath(CString(dir.File("Tenvorik.ini").c_str()));
    EXPECT_TRUE(LoadRecentFiles(profile).empty());
    std::vector<CString> files;
    for (int i = 0; i < 10; ++i) {
        CString f;
        f.Format(L"/r/rec %d.cfg", i);
        files.push_back(f);
    }
    SaveRecentFiles(profile, files);
    EXPECT_EQ(LoadRecentFiles(profile), files);
    SaveRecentFiles(profile, {CString(L"/r/one.cfg")});
    auto again = platform::Profile::AtPath(CString(dir.File("Tenvorik.ini").c_str()));
    EXPECT_EQ(LoadRecentFiles(again), std::vector<CString>{CString(L"/r/one.cfg")});
}

TEST(AppProfile, PageSetupKeepsTheHundredthsOfAMarginLeftAsItWas) {
    struct Case {
        int stored, shown, expected;
    } cases[] = {
        {2050, 20, 2050},  // untouched: 20.50 mm stays 20.50 mm
        {2000, 20, 2000},
        {2050, 21, 2100},  // changed: the dialog's millimetres
        {2050, 0, 0},
        {99, 0, 99},
    };
    for (const Case& c : cases) EXPECT_EQ(MarginAfterPageSetup(c.stored, c.shown), c.expected) << c.stored << " " << c.shown;
}
