#pragma once
// Replaces a file's contents without ever leaving it half written: the bytes go to a new file
// beside it, which is flushed to disk and renamed over the target only when complete.
#include <string>

#include "platform/CString.h"

// False, with the cause and the path in `error`, when anything fails; the old file, if any,
// is then untouched and the temporary file removed.
bool WriteFileAtomically(const CString& path, const std::string& bytes, CString* error);
