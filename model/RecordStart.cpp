#include "model/RecordStart.h"

#include <algorithm>
#include <cwchar>

bool ParseComtradeDate(const CString& text, const CStringA* revision, int& day, int& month, int& year) {
    int a = 0, b = 0, y = 0;
    if (std::swscanf(text.GetString(), L"%d/%d/%d", &a, &b, &y) != 3) return false;
    const auto fits = [](int d, int m) { return m >= 1 && m <= 12 && d >= 1 && d <= 31; };
    bool dayFirst;
    if (!revision) dayFirst = a > 12;
    else if (revision->IsEmpty()) dayFirst = !fits(b, a) && (fits(a, b) || a > 12);
    else dayFirst = fits(a, b) || (!fits(b, a) && a > 12);
    day = dayFirst ? a : b;
    month = dayFirst ? b : a;
    year = y < 100 ? y + 2000 : y;
    return true;
}

long long DaysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

namespace {

void CivilFromDays(long long z, long long& y, long long& m, long long& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

}  // namespace

bool MoveRecordStart(COscillogram& o, int64_t microseconds) {
    int day, month, year;
    if (!ParseComtradeDate(o.m_startDate, &o.m_revision, day, month, year)) return false;
    int a = 0, b = 0, y = 0, yearFrom = 0, yearTo = 0;
    if (std::swscanf(o.m_startDate.GetString(), L"%d/%d/%n%d%n", &a, &b, &yearFrom, &y, &yearTo) != 3) return false;
    const bool dayFirst = !(a == month && b == day && a != b);
    const bool shortYear = yearTo - yearFrom <= 2;
    int h = 0, mi = 0, s = 0, consumed = 0;
    if (std::swscanf(o.m_startTime.GetString(), L"%d:%d:%d%n", &h, &mi, &s, &consumed) != 3) return false;
    // The fraction is read to the microsecond; digits below it are kept as written.
    const wchar_t* p = o.m_startTime.GetString() + consumed;
    long long micro = 0;
    int digits = 0;
    CString below;
    if (*p == L'.')
        for (++p; *p >= L'0' && *p <= L'9'; ++p, ++digits) {
            if (digits < 6) micro = micro * 10 + (*p - L'0');
            else below += *p;
        }
    for (int k = std::min(digits, 6); k < 6; ++k) micro *= 10;
    const long long seconds = DaysFromCivil(year, month, day) * 86400 + h * 3600LL + mi * 60LL + s;
    const long long total = seconds * 1000000 + micro + microseconds;
    const long long secs = total >= 0 ? total / 1000000 : -((-total + 999999) / 1000000);
    const long long us = total - secs * 1000000;
    long long yy, mm, dd;
    CivilFromDays(secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400), yy, mm, dd);
    const long long sod = secs - DaysFromCivil(yy, mm, dd) * 86400;
    if (yy < 1 || yy > 9999 || (shortYear && (yy < 2000 || yy > 2099))) return false;
    CString date, time;
    const long long first = dayFirst ? dd : mm, second = dayFirst ? mm : dd;
    if (shortYear) date.Format(L"%02lld/%02lld/%02lld", first, second, yy % 100);
    else date.Format(L"%02lld/%02lld/%04lld", first, second, yy);
    time.Format(L"%02lld:%02lld:%02lld.%06lld", sod / 3600, sod / 60 % 60, sod % 60, us);
    o.m_startDate = date;
    o.m_startTime = time + below;
    return true;
}
