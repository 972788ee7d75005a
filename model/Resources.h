#pragma once
// The program's string resources: Russian built in, English from "Tenvorik_ResEng.so" beside
// the program when it is there.
#include "platform/CString.h"
#include "platform/StringTable.h"

platform::StringTable& TenvorikStrings();
CString LoadResString(unsigned id);
