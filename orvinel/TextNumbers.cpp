#include "orvinel/TextNumbers.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace orvinel {

namespace {

size_t SkipBlanks(const std::wstring& s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == L' ' || s[i] == L'\t' || s[i] == L'\r' || s[i] == L'\n')) ++i;
    return i;
}

}  // namespace

int ParseInt(const CString& text) {
    const std::wstring& s = text.str();
    size_t i = SkipBlanks(s);
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
    long long value = 0;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
        value = value * 10 + (s[i] - L'0');
        if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return int(value);
}

uint32_t ParseUInt32(const CString& text) {
    const std::wstring& s = text.str();
    uint32_t value = 0;
    for (size_t i = SkipBlanks(s); i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i)
        value = value * 10u + uint32_t(s[i] - L'0');
    return value;
}

double ParseDouble(const CString& text) {
    const std::wstring& s = text.str();
    size_t i = SkipBlanks(s);
    std::string ascii;
    if (i < s.size() && s[i] == L'+') ++i;
    for (; i < s.size() && s[i] < 128 && ascii.size() < 400; ++i) ascii += char(s[i]);
    double value = 0;
    auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (r.ec != std::errc()) return 0;
    return value;
}

void AppendFixed(std::string& out, double value, int digits) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, digits);
    if (r.ec != std::errc()) {
        int n = std::snprintf(buf, sizeof buf, "%.*e", digits, value);
        out.append(buf, size_t(n > 0 ? n : 0));
        return;
    }
    out.append(buf, r.ptr);
}

void AppendRoundTrip(std::string& out, double value) {
    std::string fixed;
    AppendFixed(fixed, value);
    double back = 0;
    auto r = std::from_chars(fixed.data(), fixed.data() + fixed.size(), back);
    if (!std::isfinite(value) || (r.ec == std::errc() && back == value)) {
        out += fixed;
        return;
    }
    char buf[64];
    auto s = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, s.ptr);
}

}  // namespace orvinel
