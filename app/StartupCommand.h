#pragma once
// What the program's command line asks for at start-up.
#include <vector>

#include "platform/CString.h"

struct StartupCommand {
    // The record to open; empty when none was named.
    CString fileToOpen;
    // The text after "-Dst": a description file, or a folder of description files.
    CString dstArgument;
    // "-Find" was given: the file finder opens once the main window is up.
    bool openFileFinder = false;
};

// `args` is the whole argument vector, the program itself first. The record is the first
// argument that is not an option ("-..."). "-Dst" (any case) counts only from the third
// argument on and needs a following argument, which it takes; a later "-Dst" replaces an
// earlier one.
StartupCommand ParseStartupCommand(const std::vector<CString>& args);
