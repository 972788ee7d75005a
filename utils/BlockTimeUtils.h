#pragma once
// Text of a recorder's instant. Recorders count seconds from 1970-01-01 UTC; the time-zone
// offset is in seconds east of UTC (10800 for UTC+3) and summer time adds one hour.
#include <cstdint>

#include "platform/CString.h"

class BlockTimeUtils {
public:
    // Writes the instant into `buffer` (at most `bufferSize` bytes with the terminating NUL)
    // and returns the same text. With `applyZone` the offset and the summer hour are added;
    // with `microseconds` the fraction has six digits as COMTRADE 1999 writes it
    // ("dd/mm/yyyy,hh:mm:ss.mmm000"), else three. Milliseconds of 1000 or more carry into
    // the seconds.
    static CString ConvertByTimeZone(unsigned long seconds, unsigned short milliseconds, int zoneOffset,
                                     bool summerTime, char* buffer, unsigned int bufferSize, bool applyZone,
                                     bool microseconds);
};
