// The program's answer to the toolkit's assertions: one line each on the error stream, never
// a dialog, and in a smoke run kept for the report.
#include <gtest/gtest.h>

#include <wx/debug.h>

#include "app/AssertionHandler.h"

TEST(AssertionHandler, DescribesAnAssertionOnOneLine) {
    struct Case {
        const char *file, *function, *condition, *message, *expected;
        int line;
    };
    const Case cases[] = {
        {"../src/common/menucmn.cpp", "wxMenuItemBase", "id >= 0 && id < SHRT_MAX", "invalid itemid value",
         "../src/common/menucmn.cpp(256) in wxMenuItemBase: id >= 0 && id < SHRT_MAX: invalid itemid value", 256},
        {"a.cpp", "", "x", "", "a.cpp(1): x", 1},
        {"a.cpp", "f", "x", "two\nlines\r", "a.cpp(7) in f: x: two lines ", 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(assertions::Describe(c.file, c.line, c.function, c.condition, c.message), c.expected);
}

TEST(AssertionHandler, ASmokeRunKeepsTheToolkitsAssertionsInsteadOfShowingThem) {
    wxAssertHandler_t before = wxSetAssertHandler(nullptr);
    wxSetAssertHandler(before);
    assertions::Install(true);
    const size_t had = assertions::Met().size();
    // An assertion as the toolkit raises one: it returns here, with no dialog to answer.
    wxFAIL_MSG("smoke check");
    const std::vector<std::string> met = assertions::Met();
    ASSERT_EQ(met.size(), had + 1);
    EXPECT_NE(met.back().find("smoke check"), std::string::npos) << met.back();
    EXPECT_NE(met.back().find("AssertionHandlerTest.cpp"), std::string::npos) << met.back();
    // An ordinary run only writes them out.
    assertions::Install(false);
    wxFAIL_MSG("ordinary");
    EXPECT_EQ(assertions::Met().size(), had + 1);
    wxSetAssertHandler(before);
}
