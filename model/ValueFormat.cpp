#include "model/ValueFormat.h"

#include <cmath>

void SelectUnitPrefix(double& scaled, CString& prefix, CString unit, bool cyrillic, double value) {
    scaled = value;
    prefix.Empty();
    static const wchar_t* const kUnits[] = {L"V", L"A", L"VA", L"W", L"\u041EM", L"Ohm", L"OHM",
                                            L"var", L"F", L"H", L"GN", L"Hz", L"m"};
    bool prefixable = false;
    for (const wchar_t* u : kUnits)
        if (unit == u) prefixable = true;
    const double a = std::fabs(value);
    if (!prefixable || a == 0 || std::isnan(a)) return;
    struct Row {
        bool below;
        double bound, factor;
        const wchar_t *latin, *cyr;
    };
    static const Row kRows[] = {
        {true, 1e-6, 1e9, L"n", L"н"},      {true, 1e-3, 1e6, L"\u00B5", L"мк"}, {true, 1, 1e3, L"m", L"м"},
        {false, 1e15, 0, L"P", L"П"},       {false, 1e12, 0, L"T", L"Т"},       {false, 1e9, 0, L"G", L"Г"},
        {false, 1e6, 0, L"M", L"М"},        {false, 1e3, 0, L"k", L"к"},
    };
    for (const Row& r : kRows) {
        if (r.below ? a < r.bound : a > r.bound) {
            scaled = r.below ? value * r.factor : value / r.bound;
            prefix = cyrillic ? r.cyr : r.latin;
            return;
        }
    }
}
