#pragma once
// Pieces of the "OSC2" record format (".osc"): 128-byte records with big-endian numbers.
#include <cstdint>
#include <utility>

#include "platform/CString.h"

constexpr size_t kOscRecordSize = 128;

// A calendar moment to the millisecond.
struct OscTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The time-stamp record's first 16 bytes in place: the 16-bit fields at 2, 12 and 14 to host
// order, bytes 5 to 11 from packed BCD to binary.
void ConvertOscDateRecord(unsigned char* record16);

// A scale block in place: its four arrays (gain numerators, zero offsets, gain divisors,
// second zero offsets) to host order.
void OscBlockToHost(unsigned char* block128);

// The time stamp of a converted time-stamp record and the moment of the record's first
// sample, F frames per data record at `rate` samples per second.
std::pair<OscTime, OscTime> OscStampToTimes(const unsigned char* stamp, int frames, double rate);

// Wide text in code page 1251.
CStringA WideToCp1251(const CString& text);

class COscillogram;
class DocumentModel;
struct LoadProgress;

// Reads a whole "OSC2" file into an empty record: header, scaling, channels of `doc`, samples,
// times, rate segments and the time stamp. `progress` follows the data records and stops the
// reading once cancelled. Throws the format error (330, naming `path`) for what is not a
// record of this format.
void ParseOscRecord(COscillogram& osc, DocumentModel* doc, LoadProgress& progress, const unsigned char* data,
                    size_t size, const CString& path);
