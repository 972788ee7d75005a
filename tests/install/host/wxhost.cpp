// A wxWidgets host of Halvex built against the installed tree (pkg-config halvex and
// wx-config): it hands the library the installed wxWidgets services of platform/ui/.
#include <cstdio>

#include "halvex/helpers/HalvexModule.h"
#include "platform/ui/WxUiServices.h"

int main() {
    platform::WxUiServices ui;
    HalvexSetUiServices(&ui);
    const CString text(L"Подстанция «Северная»");
    const bool same = platform::FromWx(platform::ToWx(text)) == text;
    HalvexSetUiServices(nullptr);
    if (!same) {
        std::fprintf(stderr, "wxhost: a text did not come back from wxWidgets whole\n");
        return 1;
    }
    std::printf("wxhost: all well\n");
    return 0;
}
