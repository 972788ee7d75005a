#pragma once
// Starting programs. A command line is split into arguments by the Windows rules (blanks
// separate, double quotes group, backslashes escape quotes), as peers write them.
#include "platform/CString.h"
#include "platform/WinTypes.h"

class CAi_RunApp {
public:
    // Starts `application` (or the first argument of `commandLine`, looked for on PATH, when
    // empty) with the arguments of `commandLine`. `environment` holds "NAME=value" entries
    // each ended by L'\0' (the process's own when null or empty), `folder` the start folder.
    // With `wait` the call waits for the end and stores the exit code. 1 when started; 0, after
    // telling the user, when not. `show` is the window state, which has no meaning here.
    int RunApplication(const CString& application, const CString& commandLine, int wait, WORD show,
                       DWORD* exitCode = nullptr, const CString* environment = nullptr, const CString* folder = nullptr);
    // Starts the command line and waits for its end; false, silently, when it cannot start.
    bool RunApplication2(const CString& commandLine, bool show);
    // Starts the program with the administrator's rights through pkexec. The call returns once
    // pkexec has decided, that is once the user has answered its password dialog: true when
    // the program runs (it is not waited for); false when the password was refused or the
    // dialog dismissed, or the program cannot run (pkexec's own ends, 126 and 127), with no
    // message; false, after telling the user, when pkexec is not installed or cannot start.
    bool RunApplicationElevated(const CString& file);
};
