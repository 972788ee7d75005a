#pragma once
// Number texts of descriptions and COMTRADE files, independent of the C locale.
#include <charconv>
#include <cstdint>
#include <string>

#include "platform/CString.h"

namespace orvinel {

// Leading decimal integer with an optional sign ("12abc" is 12, "" and "abc" are 0); values
// beyond the int range are clamped.
int ParseInt(const CString& text);
// Leading decimal digits as an unsigned 32-bit number, taken modulo 2^32; no digits give 0.
uint32_t ParseUInt32(const CString& text);
// Leading decimal number ("0.001", "1e-3", "-2"); no number gives 0.
double ParseDouble(const CString& text);

inline void AppendInt(std::string& out, long long value) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

// "%f": six digits after the point.
void AppendFixed(std::string& out, double value, int digits = 6);
// "%f" when that text reads back as the same value, else the shortest text that does: a
// scaling factor must survive the trip through the file.
void AppendRoundTrip(std::string& out, double value);

}  // namespace orvinel
