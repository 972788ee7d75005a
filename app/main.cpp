#include <cstdlib>

#include "app/AssertionHandler.h"
#include "app/TenvorikApp.h"

wxIMPLEMENT_APP_NO_MAIN(CTenvorikApp);

int main(int argc, char** argv) {
    // Scroll bars that stay on show instead of appearing only under the mouse: the view's
    // horizontal bar is how a user sees where in the record the view is. A user's own choice
    // in the environment is kept.
    setenv("GTK_OVERLAY_SCROLLING", "0", 0);
    // The program draws nothing with OpenGL: without this, the toolkit loads the system's
    // OpenGL driver when it opens the display only to choose its visuals, and that is most of
    // the toolkit's start-up. A user's own choice in the environment is kept.
    setenv("GDK_GL", "disable", 0);
    // Before the toolkit starts, so that none of its assertions ever shows a dialog.
    const char* smoke = std::getenv("TENVORIK_SMOKE");
    const bool smokeRun = smoke && *smoke;
    assertions::Install(smokeRun);
    const int code = wxEntry(argc, argv);
    // A smoke run that met an assertion fails, whatever else went right.
    if (smokeRun && !assertions::Met().empty()) return assertions::kSmokeAssertionExitCode;
    return code;
}
