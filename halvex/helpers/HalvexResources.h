#pragma once
// The library's string resources: Russian built in, English from "Halvex_ResEng.so" beside
// libHalvex.so when it is there. The English library serves this module only; the program
// and the converter keep their own tables.
#include "platform/CString.h"
#include "platform/StringTable.h"

platform::StringTable& HalvexStrings();
CString HalvexLoadString(unsigned id);
