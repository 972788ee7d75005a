#include "utils/BlockTimeUtils.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>

namespace {

// Proleptic Gregorian date of a day count from 1970-01-01 (H. Hinnant's civil_from_days).
void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2) ++y;
}

}  // namespace

CString BlockTimeUtils::ConvertByTimeZone(unsigned long seconds, unsigned short milliseconds, int zoneOffset,
                                          bool summerTime, char* buffer, unsigned int bufferSize, bool applyZone,
                                          bool microseconds) {
    long long t = (long long)seconds + milliseconds / 1000;
    unsigned ms = milliseconds % 1000u;
    if (applyZone) t += (long long)zoneOffset + (summerTime ? 3600 : 0);
    long long days = t >= 0 ? t / 86400 : -((-t + 86399) / 86400);
    long long rest = t - days * 86400;
    long long year;
    unsigned month, day;
    CivilFromDays(days, year, month, day);
    char text[64];
    std::snprintf(text, sizeof text, microseconds ? "%02u/%02u/%04lld,%02u:%02u:%02u.%03u000" : "%02u/%02u/%04lld,%02u:%02u:%02u.%03u",
                  day, month, year, unsigned(rest / 3600), unsigned(rest / 60 % 60), unsigned(rest % 60), ms);
    if (buffer && bufferSize > 0) {
        size_t n = std::min<size_t>(std::strlen(text), bufferSize - 1);
        std::memcpy(buffer, text, n);
        buffer[n] = '\0';
    }
    return CString(text);
}
