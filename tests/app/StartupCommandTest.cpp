#include <gtest/gtest.h>

#include "app/StartupCommand.h"

namespace {

StartupCommand Parse(std::initializer_list<const wchar_t*> args) {
    std::vector<CString> v;
    for (const wchar_t* a : args) v.emplace_back(a);
    return ParseStartupCommand(v);
}

}  // namespace

TEST(StartupCommand, RecordAndDescriptionFolder) {
    struct Case {
        std::initializer_list<const wchar_t*> args;
        const wchar_t* file;
        const wchar_t* dst;
    };
    const Case cases[] = {
        {{L"Tenvorik"}, L"", L""},
        {{L"Tenvorik", L"/r/a.cfg"}, L"/r/a.cfg", L""},
        {{L"Tenvorik", L"/r/a.sto", L"-Dst", L"/d"}, L"/r/a.sto", L"/d"},
        {{L"Tenvorik", L"/r/a.sto", L"-dST", L"/d"}, L"/r/a.sto", L"/d"},
        // a later -Dst replaces an earlier one
        {{L"Tenvorik", L"/r/a.sto", L"-Dst", L"/d1", L"-Dst", L"/d2"}, L"/r/a.sto", L"/d2"},
        // -Dst as the last argument has nothing to take
        {{L"Tenvorik", L"/r/a.sto", L"-Dst"}, L"/r/a.sto", L""},
        // -Dst in the first two positions does not count, and its value is not the record
        {{L"Tenvorik", L"-Dst", L"/d"}, L"/d", L""},
        // the value of -Dst is never taken for the record
        {{L"Tenvorik", L"-x", L"-Dst", L"/d", L"/r/b.cfg"}, L"/r/b.cfg", L"/d"},
    };
    for (const Case& c : cases) {
        StartupCommand cmd = Parse(c.args);
        EXPECT_EQ(cmd.fileToOpen, c.file) << *(c.args.begin() + (c.args.size() > 1 ? 1 : 0));
        EXPECT_EQ(cmd.dstArgument, c.dst);
        EXPECT_FALSE(cmd.openFileFinder);
    }
}

TEST(StartupCommand, FindOpensTheFileFinderWherever) {
    EXPECT_TRUE(Parse({L"Tenvorik", L"-Find"}).openFileFinder);
    StartupCommand cmd = Parse({L"Tenvorik", L"/r/a.cfg", L"-Find", L"-Dst", L"/d"});
    EXPECT_TRUE(cmd.openFileFinder);
    EXPECT_EQ(cmd.fileToOpen, L"/r/a.cfg");
    EXPECT_EQ(cmd.dstArgument, L"/d");
    // only the option itself, not a record whose name holds the word
    EXPECT_FALSE(Parse({L"Tenvorik", L"/r/x -Find y.cfg"}).openFileFinder);
    EXPECT_FALSE(Parse({L"Tenvorik", L"-find"}).openFileFinder);
}
