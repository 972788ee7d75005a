#include "model/TimeText.h"

#include <algorithm>
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

CString FormatDate(int day, int month, int year) {
    CString s;
    s.Format(L"%02d.%02d.%04d", day, month, year);
    return s;
}

bool ParseDate(const CString& text, int& day, int& month, int& year) {
    int pos = 0;
    double d, m, y;
    if (!NextNumber(text, pos, false, d) || !NextNumber(text, pos, false, m) || !NextNumber(text, pos, false, y))
        return false;
    if (y < 100) y += 2000;
    if (m < 1 || m > 12 || d < 1 || y < 1 || y > 9999) return false;
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int mi = int(m), yi = int(y);
    const bool leap = (yi % 4 == 0 && yi % 100 != 0) || yi % 400 == 0;
    if (d > kDays[mi - 1] || (mi == 2 && d == 29 && !leap)) return false;
    day = int(d), month = mi, year = yi;
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
    out = FormatDate(int(a), int(b), int(c));
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

int TimeDecimals(int unit, double periodUs) {
    if (unit != kMilliseconds && unit != kSeconds) return 0;
    const int most = unit == kMilliseconds ? 3 : 6;  // the times are whole microseconds
    if (!(periodUs > 0) || !std::isfinite(periodUs)) return unit == kMilliseconds ? 0 : 3;
    const double period = periodUs / (unit == kMilliseconds ? 1e3 : 1e6);
    for (int d = 0; d < most; ++d) {
        const double scaled = period * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * scaled || scaled >= 10) return d;
    }
    return most;
}

CString FormatTimeNumber(int64_t microseconds, int unit, int decimals) {
    const int places = unit == kMilliseconds ? 3 : unit == kSeconds ? 6 : 0;
    decimals = std::clamp(decimals, 0, places);
    int64_t divisor = 1;
    for (int i = decimals; i < places; ++i) divisor *= 10;
    const int64_t q = DivRoundHalfUp(microseconds, divisor);
    if (decimals == 0) return Int64Text(q);
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const uint64_t a = q < 0 ? uint64_t(0) - uint64_t(q) : uint64_t(q);
    std::wstring fraction = std::to_wstring(a % uint64_t(scale));
    fraction.insert(0, size_t(decimals) - fraction.size(), L'0');
    return CString((q < 0 ? L"-" : L"") + std::to_wstring(a / uint64_t(scale)) + L"." + fraction);
}

int64_t RoundAxisStep(double least, int* mantissa) {
    least = std::max(least, 1.0);
    int64_t power = 1;
    while (true) {
        for (int m : {1, 2, 5}) {
            if (double(m * power) >= least || power > int64_t(1) << 58) {
                if (mantissa) *mantissa = m;
                return m * power;
            }
        }
        power *= 10;
    }
}

int AxisDecimals(int unit, int64_t stepUs) {
    const int places = unit == kMilliseconds ? 3 : unit == kSeconds ? 6 : 0;
    int d = places;
    while (d > 0 && stepUs % 10 == 0) stepUs /= 10, --d;
    return d;
}

}  // namespace oscview
