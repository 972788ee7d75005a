#include "model/ValueFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "model/Channel.h"

namespace {

struct Prefix {
    double factor;
    const wchar_t *latin, *cyr;
};
const Prefix kPrefixes[] = {
    {1e-9, L"n", L"н"}, {1e-6, L"\u00B5", L"мк"}, {1e-3, L"m", L"м"}, {1, L"", L""},     {1e3, L"k", L"к"},
    {1e6, L"M", L"М"},  {1e9, L"G", L"Г"},        {1e12, L"T", L"Т"}, {1e15, L"P", L"П"},
};
constexpr int kPrefixCount = int(sizeof(kPrefixes) / sizeof(kPrefixes[0]));

bool Prefixable(const CString& unit) {
    static const wchar_t* const kUnits[] = {L"V", L"A", L"VA", L"W", L"\u041EM", L"Ohm", L"OHM",
                                            L"var", L"F", L"H", L"GN", L"Hz", L"m"};
    for (const wchar_t* u : kUnits)
        if (unit == u) return true;
    return false;
}

// The prefix whose range [factor, 1000 factor) holds a; -1 below the smallest.
int PrefixIndex(double a) {
    int k = -1;
    for (int i = 0; i < kPrefixCount; ++i)
        if (a >= kPrefixes[i].factor) k = i;
    return k;
}

}  // namespace

void SelectUnitPrefix(double& scaled, CString& prefix, CString unit, bool cyrillic, double value) {
    scaled = value;
    prefix.Empty();
    const double a = std::fabs(value);
    if (!Prefixable(unit) || a == 0 || std::isnan(a)) return;
    const int k = PrefixIndex(a);
    if (k < 0) {
        scaled = 0;
        return;
    }
    scaled = value / kPrefixes[k].factor;
    prefix = cyrillic ? kPrefixes[k].cyr : kPrefixes[k].latin;
}

CString FormatFixed(double value, int decimals, bool trim) {
    if (!std::isfinite(value)) {
        CString s;
        s.Format(L"%g", value);
        return s;
    }
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;
    const double scale = std::pow(10.0, decimals);
    double r = std::round(value * scale) / scale;
    if (r == 0) r = 0;  // no "-0"
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, r);
    std::string t(buf);
    if (trim && t.find('.') != std::string::npos) {
        while (!t.empty() && t.back() == '0') t.pop_back();
        if (!t.empty() && t.back() == '.') t.pop_back();
        if (t == "-0") t = "0";
    }
    return CString(std::wstring(t.begin(), t.end()));
}

ScaledValue ScaleValue(double value, const CString& unit, int decimals, bool trim, bool cyrillic) {
    ScaledValue out;
    const double a = std::fabs(value);
    if (!Prefixable(unit) || a == 0 || !std::isfinite(value)) {
        out.number = FormatFixed(value, decimals, trim);
        return out;
    }
    int k = PrefixIndex(a);
    if (k < 0) {
        out.number = FormatFixed(0, decimals, trim);
        return out;
    }
    const double scale = std::pow(10.0, std::max(decimals, 0));
    // A number that rounds up to 1000 takes the next prefix.
    if (k + 1 < kPrefixCount && std::round(a / kPrefixes[k].factor * scale) / scale >= 1000) ++k;
    out.number = FormatFixed(value / kPrefixes[k].factor, decimals, trim);
    out.prefix = cyrillic ? kPrefixes[k].cyr : kPrefixes[k].latin;
    return out;
}

CString LocalUnitText(const CString& latinUnit, bool cyrillic) {
    return cyrillic ? GetUnitDisplayText(latinUnit) : latinUnit;
}

CString FormatQuantity(double value, const CString& unit, int decimals, bool trim, bool cyrillic) {
    const ScaledValue v = ScaleValue(value, unit, decimals, trim, cyrillic);
    const CString u = v.prefix + LocalUnitText(unit, cyrillic);
    return u.IsEmpty() ? v.number : v.number + L" " + u;
}
