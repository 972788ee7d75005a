#pragma once
// Small numeric and text functions shared across the program.
#include <cstdint>

#include "platform/CString.h"

// Rounds to the nearest integer, halves toward plus infinity (2.5 -> 3, -2.5 -> -2). Every
// pixel, window and code computation of the model rounds this way. Values beyond the type's
// range, and NaN, saturate (NaN gives 0) instead of being undefined.
int RoundToInt(double x);
int64_t RoundToInt64(double x);

CString FormatInt(int value);        // "%i"
CString FormatDouble(double value);  // "%g"

// Removes a trailing ".cfg", ".osc", ".sto", ".zip" or ".cff" in any case; every file that
// belongs to a record is named from this stem.
CString StripOscillogramExt(const CString& path);
// The last four characters of a path, lower-cased: how a file's type is decided.
CString FileTypeOf(const CString& path);
