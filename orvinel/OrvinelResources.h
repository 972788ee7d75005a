#pragma once
// The converter library's own string table: Russian built in, English from
// "Orvinel_ResEng.so" beside the library when it is there.
#include "platform/CString.h"
#include "platform/StringTable.h"

platform::StringTable& OrvinelStrings();
CString OrvinelResString(unsigned id);
