#pragma once
// The record's start date as COMTRADE writes it, and moving the start it names.
#include <cstdint>

#include "model/Oscillogram.h"
#include "platform/CString.h"

// Reads "a/b/y" into day, month and year. The 1991 revision (no revision year) writes the
// month first and the later ones the day first; a date that fits only the other order is read
// so, and one that fits neither takes its first number for the day when it is above 12.
// Without a revision the first number is the day only when it is above 12.
bool ParseComtradeDate(const CString& text, const CStringA* revision, int& day, int& month, int& year);

// Days from 1970-01-01 of a proleptic Gregorian date (month and day may overflow, as the C
// library's conversion lets them).
long long DaysFromCivil(long long y, long long m, long long d);

// Moves the record's start date and time by `microseconds` (earlier when negative), written in
// the layout they were read in; false, with nothing changed, when they cannot be read.
bool MoveRecordStart(COscillogram& o, int64_t microseconds);
