#include <gtest/gtest.h>

#include "app/FileDialogNames.h"

using namespace filedlg;

TEST(FileDialogNames, FiltersByKindAndExtension) {
    EXPECT_EQ(FilterStringId(true, L"/r/a.osc"), 328u);
    EXPECT_EQ(FilterStringId(false, L"/r/a.OSC"), 394u);
    EXPECT_EQ(FilterStringId(false, L"/r/a.zip"), 399u);
    EXPECT_EQ(FilterStringId(false, L"/r/a.cfg"), 569u);
    EXPECT_EQ(FilterStringId(false, L"/r/a.sto"), 569u);
    EXPECT_EQ(FilterStringId(false, L""), 569u);
    // the save dialog always offers the zip packing, last
    EXPECT_EQ(FilterStringIds(true, L"/r/a.cfg"), (std::vector<unsigned>{328}));
    EXPECT_EQ(FilterStringIds(false, L"/r/a.osc"), (std::vector<unsigned>{394, 399}));
    EXPECT_EQ(FilterStringIds(false, L"/r/a.zip"), (std::vector<unsigned>{399}));
    EXPECT_EQ(FilterStringIds(false, L"/r/a.cfg"), (std::vector<unsigned>{569, 399}));
    EXPECT_EQ(SaveExtensions(L"a.osc"), (std::vector<CString>{L".cfg", L".osc", L".zip"}));
    EXPECT_EQ(SaveExtensions(L"a.ZIP"), (std::vector<CString>{L".zip"}));
    EXPECT_EQ(SaveExtensions(L"a.cff"), (std::vector<CString>{L".cfg", L".cff", L".zip"}));
}

TEST(FileDialogNames, ProposedName) {
    EXPECT_EQ(ProposedSaveName(L"/r/rec.osc"), L"/r/rec");
    EXPECT_EQ(ProposedSaveName(L"/r/rec.STO"), L"/r/rec");
    EXPECT_EQ(ProposedSaveName(L"/r/v1.2/rec.cfg"), L"/r/v1.2/rec");
    EXPECT_EQ(ProposedSaveName(L"/r/rec"), L"/r/rec");
    // a name without a folder stays a bare title rather than doubling itself
    EXPECT_EQ(ProposedSaveName(L"rec.cfg"), L"rec");
    EXPECT_EQ(ProposedSaveName(L""), L"");
}

TEST(FileDialogNames, SavedNameTakesTheSelectedFilterExtension) {
    const std::vector<CString> osc{L".cfg", L".osc", L".zip"}, cfg{L".cfg", L".cff", L".zip"}, zip{L".zip"};
    struct Case {
        const wchar_t* chosen;
        const std::vector<CString>* exts;
        int filter;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"/r/rec", &osc, 0, L"/r/rec.cfg"},        // no extension typed: the filter's
        {L"/r/rec", &osc, 1, L"/r/rec.osc"},
        {L"/r/rec.cfg", &cfg, 1, L"/r/rec.cff"},    // another save extension is replaced
        {L"/r/rec.CFF", &cfg, 1, L"/r/rec.CFF"},    // the selected one is kept as typed
        {L"/r/rec.cff", &cfg, 0, L"/r/rec.cfg"},
        {L"/r/rec.dat", &cfg, 0, L"/r/rec.dat.cfg"},
        {L"/r/rec.zip", &zip, 0, L"/r/rec.zip"},
        {L"/r/rec", &cfg, 2, L"/r/rec.zip"},        // the packing chosen in a record's dialog
        {L"/r/rec.cfg", &cfg, 2, L"/r/rec.zip"},
        {L"/r/rec", &cfg, 5, L"/r/rec"},            // no filter known: untouched
        {L"/r/rec", &cfg, -1, L"/r/rec"},
    };
    for (const Case& c : cases) EXPECT_EQ(FixSaveName(c.chosen, *c.exts, c.filter), c.expected) << c.chosen;
}

TEST(FileDialogNames, SplitFilter) {
    auto parts = SplitFilter(L"A (*.cfg)|*.cfg|B|*.cff;*.osc");
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1].first, L"B");
    EXPECT_EQ(parts[1].second, L"*.cff;*.osc");
    EXPECT_TRUE(SplitFilter(L"").empty());
}
