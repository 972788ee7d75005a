#pragma once
// The user guide that comes with the program, opened in the desktop's browser.
#include <wx/string.h>

// The guide's first page, in the folder "guide" beside the program, where both an installed
// program and a build tree keep it; empty when it is not there.
wxString GuideFile();
// Opens the guide in the desktop's browser; tells the user when it is missing or no browser starts.
bool OpenGuide();
