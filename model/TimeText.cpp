#include "model/TimeText.h"

#include <cmath>
#include <cwctype>
#include <string>

namespace oscview {

int64_t DivRoundHalfUp(int64_t x, int64_t d) {
    // floor((2x + d) / 2d) without overflow for the counts a record can hold.
    int64_t q = x / d, r = x % d;
    if (r < 0) r += d, --q;
    return 2 * r >= d ? q + 1 : q;
}

CString Int64Text(int64_t v) { return CString(std::to_wstring(v).c_str()); }

CString FormatGroupedInt(int64_t v) {
    if (v == 0) return L"0";
    uint64_t a = v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v);
    CString groups;
    while (a >= 1000) {
        CString g;
        g.Format(L" %03i", int(a % 1000));
        groups = g + groups;
        a /= 1000;
    }
    CString lead;
    lead.Format(L"%i", int(a));
    return (v < 0 ? CString(L"-") : CString()) + lead + groups;
}

namespace {

// The next number of a text from position `pos`: skips to the first digit, reads the digits
// (with a fraction when `real`), and leaves pos after them. False when no digit is left.
bool NextNumber(const CString& text, int& pos, bool real, double& value) {
    const int n = text.GetLength();
    while (pos < n && !iswdigit(text[pos])) ++pos;
    if (pos >= n) return false;
    double v = 0;
    while (pos < n && iswdigit(text[pos])) v = v * 10 + (text[pos++] - L'0');
    if (real && pos < n && text[pos] == L'.') {
        ++pos;
        double scale = 0.1;
        while (pos < n && iswdigit(text[pos])) v += (text[pos++] - L'0') * scale, scale /= 10;
    }
    value = v;
    return true;
}

}  // namespace

bool ParseStartSeconds(const CString& text, double& seconds) {
    int pos = 0;
    double h, m, s;
    if (!NextNumber(text, pos, false, h) || !NextNumber(text, pos, false, m) || !NextNumber(text, pos, true, s))
        return false;
    seconds = h * 3600 + m * 60 + s;
    return true;
}

bool FormatStartDate(const CString& text, CString& out) {
    int pos = 0;
    double a, b, c;
    if (!NextNumber(text, pos, false, a) || !NextNumber(text, pos, false, b) || !NextNumber(text, pos, false, c))
        return false;
    if (a > 99999999 || b > 99999999 || c > 99999999) return false;
    if (c < 100) c += 2000;
    if (b > 12) std::swap(a, b);
    out.Format(L"%02d/%02d/%04d", int(a), int(b), int(c));
    return true;
}

namespace {

// Hours, minutes, seconds and milliseconds of a whole count of milliseconds (not negative).
CString Hms(int64_t ms, bool wrapHours) {
    int64_t h = ms / 3600000;
    if (wrapHours) h %= 24;
    CString s;
    s.Format(L"%02d:%02d:%02d.%03d", int(h), int(ms / 60000 % 60), int(ms / 1000 % 60), int(ms % 1000));
    return s;
}

}  // namespace

CString FormatTimeOfDay(double seconds) {
    if (!std::isfinite(seconds)) return CString();
    // Whole milliseconds first, so that 59.9996 s carries into the next minute.
    double ms = std::floor(seconds * 1000.0 + 0.5);
    ms = std::fmod(ms, 86400000.0);
    if (ms < 0) ms += 86400000.0;
    return Hms(int64_t(ms), true);
}

CString FormatSpan(int64_t microseconds) {
    int64_t ms = DivRoundHalfUp(microseconds, 1000);
    CString sign = ms < 0 ? L"-" : L"";
    return sign + Hms(ms < 0 ? -ms : ms, false);
}

CString FormatSeconds(int64_t microseconds) {
    CString s;
    s.Format(L"%.3f", double(microseconds) / 1e6);
    return s;
}

CString FormatAxisValue(int unit, int64_t dt, int64_t ds, bool hasStart, double start, int64_t sinceFirst) {
    switch (unit) {
        case kMilliseconds: return FormatGroupedInt(DivRoundHalfUp(dt, 1000));
        case kSamples: return FormatGroupedInt(ds + 1);
        case kSeconds: {
            double s = double(dt) / 1e6;
            if (std::fabs(s) < 0.0005) return L"0";
            CString t;
            t.Format(L"%.3f", s);
            return t;
        }
        case kTimeOfDay: return hasStart ? FormatTimeOfDay(start + double(sinceFirst) / 1e6) : CString();
        default: return FormatGroupedInt(dt);
    }
}

}  // namespace oscview
