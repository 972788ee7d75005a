#include "app/StartupCommand.h"

StartupCommand ParseStartupCommand(const std::vector<CString>& args) {
    StartupCommand cmd;
    std::vector<bool> taken(args.size(), false);
    for (size_t i = 2; i + 1 < args.size(); ++i) {
        if (args[i].CompareNoCase(L"-Dst") == 0) {
            cmd.dstArgument = args[i + 1];
            taken[i + 1] = true;
        }
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const CString& a = args[i];
        if (a == L"-Find") cmd.openFileFinder = true;
        if (taken[i] || a.IsEmpty() || a[0] == L'-') continue;
        if (cmd.fileToOpen.IsEmpty()) cmd.fileToOpen = a;
    }
    return cmd;
}
