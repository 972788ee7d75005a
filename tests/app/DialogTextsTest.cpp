// Texts and places of the file dialogs: every filter names its patterns without an empty
// entry, and the report's save dialog starts beside the record under its name.
#include <gtest/gtest.h>

#include "app/FileDialogNames.h"
#include "model/Resources.h"

using namespace filedlg;

TEST(DialogTexts, FilterLabelsListTheirPatternsWithoutGaps) {
    for (unsigned id : {328u, 394u, 399u, 569u}) {
        const auto pairs = SplitFilter(LoadResString(id));
        ASSERT_FALSE(pairs.empty()) << id;
        for (const auto& [text, pattern] : pairs) {
            const int open = text.Find(L'('), close = text.ReverseFind(L')');
            ASSERT_TRUE(open >= 0 && close > open) << text.str();
            CString listed = text.Mid(open + 1, close - open - 1);
            listed.Replace(L", ", L";");
            EXPECT_LT(listed.Find(L";;"), 0) << text.str();
            EXPECT_NE(listed.Left(1), L";") << text.str();
            // What the label lists is what the filter matches ("*.*" stands for every file).
            if (listed != L"*.*") {
                EXPECT_EQ(listed, pattern) << text.str();
            }
        }
    }
    EXPECT_EQ(SplitFilter(LoadResString(328))[0].first, L"Осциллограммы (*.cfg, *.cff, *.osc, *.sto)");
}

TEST(DialogTexts, ReportStartsBesideTheRecordUnderItsName) {
    struct Case {
        const wchar_t *record, *folder, *name;
    };
    const Case cases[] = {
        {L"/data/faults/Подстанция 1.cfg", L"/data/faults", L"Подстанция 1.txt"},
        {L"/data/v1.2/rec.sto", L"/data/v1.2", L"rec.txt"},
        {L"/data/noext", L"/data", L"noext.txt"},
        {L"/rec.osc", L"/", L"rec.txt"},
        {L"rec.cff", L"", L"rec.txt"},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        CString folder = L"x", name = L"y";
        ReportSavePlace(c.record, L"txt", folder, name);
        EXPECT_EQ(folder, c.folder) << c.record;
        EXPECT_EQ(name, c.name) << c.record;
    }
}
