#include "model/Numeric.h"

#include <cmath>
#include <limits>

namespace {
template <class T>
T RoundTo(double x) {
    if (std::isnan(x)) return 0;
    double fl = std::floor(x);
    double r = std::fabs(fl - x) < 0.5 ? fl : std::ceil(x);
    if (r >= double(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    if (r <= double(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    return static_cast<T>(r);
}
}  // namespace

int RoundToInt(double x) { return RoundTo<int>(x); }
int64_t RoundToInt64(double x) { return RoundTo<int64_t>(x); }

CString FormatInt(int value) {
    CString s;
    s.Format(L"%i", value);
    return s;
}

CString FormatDouble(double value) {
    CString s;
    s.Format(L"%g", value);
    return s;
}

CString FileTypeOf(const CString& path) { return path.Right(4).MakeLower(); }

CString StripOscillogramExt(const CString& path) {
    CString ext = FileTypeOf(path);
    for (const wchar_t* e : {L".cfg", L".osc", L".sto", L".zip", L".cff"})
        if (ext == e) return path.Left(path.GetLength() - 4);
    return path;
}
