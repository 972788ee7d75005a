#include <cstdlib>

#include "app/TenvorikApp.h"

wxIMPLEMENT_APP_NO_MAIN(CTenvorikApp);

int main(int argc, char** argv) {
    // Scroll bars that stay on show instead of appearing only under the mouse: the view's
    // horizontal bar is how a user sees where in the record the view is. A user's own choice
    // in the environment is kept.
    setenv("GTK_OVERLAY_SCROLLING", "0", 0);
    return wxEntry(argc, argv);
}
