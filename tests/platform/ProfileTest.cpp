#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "platform/Profile.h"

using namespace platform;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

// Points the profile folder at a fresh temporary folder for one test.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_had = old != nullptr;
        if (old) m_old = old;
        setenv("XDG_CONFIG_HOME", m_dir.path().c_str(), 1);
    }
    void TearDown() override {
        if (m_had)
            setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    std::string File(const std::string& name) { return m_dir.File("Korvelund/" + name); }
    TempDir m_dir;
    bool m_had = false;
    std::string m_old;
};

}  // namespace

TEST_F(ProfileTest, ValuesRoundTripThroughTheFile) {
    const CString awkward[] = {
        L"", L"plain", L"  leading and trailing  ", L"line1\nline2\r\nline3", L"tab\there",
        L"back\\slash\\n not a break", L"a=b=c", L"[not a section]", L"; not a comment",
        L"Папка записей: /home/пользователь/осциллограммы", CString(L"nul\0inside", 10), L"\x1F\x7F",
    };
    {
        Profile p(L"Tenvorik");
        EXPECT_EQ(WideToUtf8(p.GetFilePath().view()), File("Tenvorik.ini"));
        for (size_t i = 0; i < std::size(awkward); ++i) {
            CString key;
            key.Format(L"key %d = [x]", int(i));
            EXPECT_TRUE(p.WriteProfileString(L"Settings [Parameters]", key, awkward[i]));
        }
        EXPECT_TRUE(p.WriteProfileInt(L"Print Parameters", L"Page Orientation", 2));
        EXPECT_TRUE(p.WriteProfileInt(L"Print Parameters", L"Left", -2000));
    }
    Profile q(L"Tenvorik");  // a new start of the program reads the file
    for (size_t i = 0; i < std::size(awkward); ++i) {
        CString key;
        key.Format(L"key %d = [x]", int(i));
        EXPECT_EQ(q.GetProfileString(L"Settings [Parameters]", key), awkward[i]) << i;
    }
    EXPECT_EQ(q.GetProfileInt(L"Print Parameters", L"Page Orientation", 1), 2);
    EXPECT_EQ(q.GetProfileInt(L"Print Parameters", L"Left", 0), -2000);
    // Names are matched ignoring case, as in the registry.
    EXPECT_EQ(q.GetProfileInt(L"print parameters", L"PAGE ORIENTATION", 1), 2);
    // Defaults for what is missing or is no number.
    EXPECT_EQ(q.GetProfileInt(L"Print Parameters", L"Top", 2000), 2000);
    EXPECT_EQ(q.GetProfileInt(L"Settings [Parameters]", L"key 1 = [x]", 7), 7);
    EXPECT_EQ(q.GetProfileString(L"Nowhere", L"Dst folder", L"def"), L"def");
}

TEST_F(ProfileTest, RemovingKeysAndSectionsAndReadingAHandWrittenFile) {
    Profile p(L"Tenvorik");
    p.WriteProfileString(L"FileFinder", L"Path", L"/data");
    p.WriteProfileString(L"FileFinder", L"SortMode", L"1");
    p.WriteProfileString(L"ApplicationLook", L"ApplicationLook", L"215");
    p.WriteProfileString(L"FileFinder", L"Path", nullptr);
    EXPECT_EQ(p.GetProfileString(L"FileFinder", L"Path", L"gone"), L"gone");
    EXPECT_EQ(p.GetProfileString(L"FileFinder", L"SortMode"), L"1");
    p.WriteProfileString(L"FileFinder", nullptr, nullptr);
    EXPECT_EQ(p.GetProfileString(L"FileFinder", L"SortMode", L"gone"), L"gone");
    EXPECT_EQ(p.GetProfileInt(L"ApplicationLook", L"ApplicationLook", 0), 215);

    // A file edited by hand: comments, CR LF, blanks, a line outside any section.
    WriteFile(File("Tenvorik.ini"),
              "stray=1\r\n; comment\r\n\r\n[Circle Diagram]\r\nProperties Height=250\r\n"
              "# another\r\n[circle diagram]\r\nWidth= 40\r\nbroken line\r\n");
    p.Reload();
    EXPECT_EQ(p.GetProfileInt(L"Circle Diagram", L"Properties Height", 200), 250);
    EXPECT_EQ(p.GetProfileInt(L"Circle Diagram", L"Width", 0), 40);
    EXPECT_EQ(p.GetProfileString(L"Circle Diagram", L"broken line", L"none"), L"none");
}

TEST(ProfileParse, ALargeProfileRoundTripsEveryKey) {
    // 40,000 keys in four sections, as a profile grows over years of recent files and layouts.
    std::vector<Profile::Section> sections;
    for (int s = 0; s < 4; ++s) {
        Profile::Section section;
        section.name.Format(L"Раздел %d", s);
        for (int k = 0; k < 10000; ++k) {
            Profile::Entry e;
            e.key.Format(L"Key %d-%d", s, k);
            e.value.Format(L"значение %d\n%d", k, s);
            section.entries.push_back(e);
        }
        sections.push_back(std::move(section));
    }
    const std::string text = Profile::Serialize(sections);
    EXPECT_GT(text.size(), 350000u);
    std::vector<Profile::Section> back = Profile::Parse(text);
    ASSERT_EQ(back.size(), sections.size());
    for (size_t s = 0; s < sections.size(); ++s) {
        EXPECT_EQ(back[s].name, sections[s].name);
        ASSERT_EQ(back[s].entries.size(), sections[s].entries.size());
        for (size_t k = 0; k < sections[s].entries.size(); ++k) {
            ASSERT_EQ(back[s].entries[k].key, sections[s].entries[k].key) << s << " " << k;
            ASSERT_EQ(back[s].entries[k].value, sections[s].entries[k].value) << s << " " << k;
        }
    }
    // A section named again, in another case, goes on where it was; a key named again keeps
    // its place and first spelling and takes the later value.
    back = Profile::Parse(text + "[раздел 1]\nKEY 1-5=new\nextra=1\n");
    ASSERT_EQ(back.size(), 4u);
    ASSERT_EQ(back[1].entries.size(), 10001u);
    EXPECT_EQ(back[1].entries[5].key, L"Key 1-5");
    EXPECT_EQ(back[1].entries[5].value, L"new");
    EXPECT_EQ(back[1].entries.back().key, L"extra");
}

TEST_F(ProfileTest, WritesFromThreadsAndInstancesAreAllKept) {
    Profile a(L"Tenvorik"), b(L"Tenvorik");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 3; ++i) {
                CString key;
                key.Format(L"k%d_%d", t, i);
                a.WriteProfileInt(L"Threads", key, t * 100 + i);
            }
        });
    for (auto& th : threads) th.join();
    // A second instance that read the file earlier does not drop the first one's values.
    EXPECT_EQ(b.GetProfileInt(L"Threads", L"k0_0", -1), 0);
    b.WriteProfileInt(L"Other", L"x", 1);
    Profile c(L"Tenvorik");
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 3; ++i) {
            CString key;
            key.Format(L"k%d_%d", t, i);
            EXPECT_EQ(c.GetProfileInt(L"Threads", key, -1), t * 100 + i);
        }
    EXPECT_EQ(c.GetProfileInt(L"Other", L"x", 0), 1);
}

TEST_F(ProfileTest, ProgramProfileUsesTheFrameworkCalls) {
    SetProfileProgram(L"Tenvorik");
    EXPECT_TRUE(WriteProfileString(L"Settings Parameters", L"Dst folder", L"/dst"));
    EXPECT_TRUE(WriteProfileInt(L"Settings Parameters", L"UTC for Comtrade2013", 0));
    EXPECT_EQ(GetProfileString(L"Settings Parameters", L"Dst folder"), L"/dst");
    EXPECT_EQ(GetProfileInt(L"Settings Parameters", L"UTC for Comtrade2013", 1), 0);
    EXPECT_NE(ReadFile(File("Tenvorik.ini")).find("Dst folder=/dst"), std::string::npos);
}
