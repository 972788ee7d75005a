#pragma once
// Texts of times and sample numbers in the oscillogram view: the time axis, the cursor
// read-outs and the cursor-difference panel. Plain functions of numbers and texts.
#include <cstdint>

#include "platform/CString.h"

namespace oscview {

// Time units of the view ("RulerState").
enum TimeUnit : int { kMicroseconds = 0, kMilliseconds = 1, kSeconds = 2, kTimeOfDay = 3, kSamples = 4 };

// Rounding half up of x / d for a 64-bit count: floor(x / d + 1/2), exact for any count.
int64_t DivRoundHalfUp(int64_t x, int64_t d);

// A 64-bit integer in decimal.
CString Int64Text(int64_t v);

// An integer in groups of three digits separated by a blank: -2345678 -> "-2 345 678".
CString FormatGroupedInt(int64_t v);

// Seconds since midnight of a start-time text "hh:mm:ss.fff": each field starts at the next
// digit; false when a field has none.
bool ParseStartSeconds(const CString& text, double& seconds);

// The one form of a date the program shows, whatever the locale: day first, "03.06.2021".
CString FormatDate(int day, int month, int year);

// A date the user typed in that form (any separators, a two-digit year in 2000..2099); false
// for a text that names no day of the calendar.
bool ParseDate(const CString& text, int& day, int& month, int& year);

// A start-date text "a/b/y" as "dd.mm.yyyy" (a two-digit year gets 2000; b over 12 means the
// text was day first). False when the text does not hold three numbers.
bool FormatStartDate(const CString& text, CString& out);

// Time of day of `seconds` since midnight: "hh:mm:ss.mmm", hours modulo 24, the milliseconds
// rounded half up with their carry into the seconds.
CString FormatTimeOfDay(double seconds);

// A span of microseconds as "hh:mm:ss.mmm" with unwrapped hours.
CString FormatSpan(int64_t microseconds);

// Seconds "%.3f" of a count of microseconds, exact past 2^53 is not needed: 64-bit in, double out.
CString FormatSeconds(int64_t microseconds);

// The value of a time-axis label: `dt` microseconds from the zero-time sample, `ds` samples
// from it; `start` the seconds of the record's start (time-of-day unit only, may be absent).
CString FormatAxisValue(int unit, int64_t dt, int64_t ds, bool hasStart, double start, int64_t sinceFirst);

// Digits after the point that show every sample of a record sampled every `periodUs`
// microseconds apart, in `unit` (milliseconds or seconds): the fewest that give the period
// exactly, or else two significant digits of it (2400 Hz: 0.42 ms, so 383.75 ms). Without a
// period: whole milliseconds, thousandths of a second. Microseconds and samples take none.
int TimeDecimals(int unit, double periodUs);

// A count of microseconds in `unit` (milliseconds or seconds, else microseconds) with
// `decimals` digits after the point, rounded half up (never cut): 383749.6 us -> "383.75".
CString FormatTimeNumber(int64_t microseconds, int unit, int decimals);

// The sample period of a record of `rate` samples per second, in microseconds; 0 for none.
inline double SamplePeriodUs(double rate) { return rate > 0 ? 1e6 / rate : 0.0; }

// A round step of the time axis: the smallest 1, 2 or 5 times a power of ten not below
// `least` (itself not below 1). Its first digit comes back in `mantissa`.
int64_t RoundAxisStep(double least, int* mantissa = nullptr);

// Digits after the point of labels `stepUs` apart in `unit` (0 for whole milliseconds).
int AxisDecimals(int unit, int64_t stepUs);

}  // namespace oscview
