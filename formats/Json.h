#pragma once
// The few pieces of JSON text that the test tools print.
#include <cstdint>
#include <string>

#include "platform/CString.h"

namespace json {
// A quoted, escaped UTF-8 string.
void Str(std::string& out, const CString& s);
// The shortest text that reads back to the same double; null for NaN and infinities.
void Num(std::string& out, double v);
void Num(std::string& out, int64_t v);
}  // namespace json
