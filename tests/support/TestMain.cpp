// The one main of every test program: pins the fonts that text is measured in, lets a suite
// that needs a display step aside cleanly where there is none.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "TestUtil.h"

int main(int argc, char** argv) {
    // Before anything asks fontconfig: the desktop's own faces (and its "Arial") differ from
    // machine to machine, and the programs the tests start inherit the same faces. A file named
    // in the environment is kept, to compare with.
    setenv("FONTCONFIG_FILE", TV_SOURCE_DIR "/tests/support/fonts.conf", 0);
    ::testing::InitGoogleTest(&argc, argv);
#ifdef TV_NEEDS_DISPLAY
    // Listing the tests needs no display; running them does.
    if (!::testing::GTEST_FLAG(list_tests) && !testutil::HasDisplay()) {
        std::printf("%s: skipped, these tests need a display (run them under xvfb-run)\n", argv[0]);
        return testutil::kSkipExitCode;
    }
#endif
    return RUN_ALL_TESTS();
}
