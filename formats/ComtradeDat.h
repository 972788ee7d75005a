#pragma once
// The COMTRADE data file (".dat"): "ASCII" text, "BINARY" (16-bit values) and "binary32"
// records. The readers fill the sample stores they are given in place, so that a large
// record is never held twice: binary values stay the file's codes with their scale and offset
// applied on read, status values become bits; the writers produce the file's bytes.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/SampleStore.h"
#include "model/TimeTable.h"
#include "platform/CString.h"

enum class DatKind { Ascii, Binary, Binary32 };

// "ASCII", "BINARY", "binary32" in any case; false for anything else.
bool DatKindFromType(const CString& type, DatKind& kind);

// Progress shared with the loading dialog: total is set to five times the file size (in
// units that fit 32 bits), done advances as the file is consumed; cancel is polled.
struct DatProgress {
    std::atomic<uint32_t>* done = nullptr;
    std::atomic<uint32_t>* total = nullptr;
    std::function<bool()> cancelled;  // polled between blocks of records
};

struct DatAnalogSink {
    SampleStore* samples = nullptr;
    double scale = 1.0;   // a x unit-prefix multiplier
    double offset = 0.0;  // b
};

// The missing-value codes of the three layouts: such a sample is read as NaN and a NaN is
// written back as the code.
constexpr int64_t kAsciiMissing = 99999;
constexpr int16_t kBinaryMissing = INT16_MIN;
constexpr int32_t kBinary32Missing = INT32_MIN;

struct DatRateSegment {
    double rate = 0.0;        // samples per second
    int64_t lastSample = 0;   // number (from 1) of the segment's last sample
};

struct DatReadTarget {
    std::vector<DatAnalogSink> analog;
    std::vector<SampleStore*> status;
    TimeTable* times = nullptr;             // microseconds, one per record
    int32_t samplingFrequency = 0;          // from the configuration; 0: times come from the file
    // The configuration's rate segments. With more than one, each segment's samples are timed
    // at its own rate, from the sample after the previous segment's last; the file's stamps
    // are used when a segment has no rate.
    std::vector<DatRateSegment> segments;
    double timeMultiplier = 1.0;
    int64_t expectedSamples = -1;           // the configuration's sample count; -1: not checked
    double measuredRate = 0.0;              // out: samples per second from the first two times
                                            // when samplingFrequency is 0
    int64_t fileSamples = 0;                // out: whole records the file holds
    bool partialRecord = false;             // out: bytes of a cut last record were left unread
    // When set, the reader hands back the bytes [begin, end) of the data it has read (a mapped
    // file gives the pages back to the system); it may read them again later.
    std::function<void(size_t begin, size_t end)> releaseData;
};

enum class DatReadResult { Complete, Cancelled };

// Reads a whole data file held in memory. Records past the configuration's count are left
// unread and a cut last record is dropped; fewer records than the count are read as they are
// (`fileSamples` tells the caller). A file that yields no record, an ASCII line too short for
// its record before the end, a record size that fits no layout, or a rate that cannot be
// derived throws CTenvorikException (330) with `path` as detail; the sinks may then hold
// partial data and are to be discarded by the caller.
DatReadResult ReadComtradeDat(DatKind kind, const char* data, size_t size, DatReadTarget& target,
                              const DatProgress& progress, const CString& path);

struct DatWriteSource {
    std::vector<const SampleStore*> analog;
    std::vector<double> scale, offset;  // per analog channel: a x multiplier, b
    std::vector<const SampleStore*> status;
    std::vector<int64_t> times;         // microseconds, one per sample written
    double timeMultiplier = 1.0;        // times are written divided by it
};

std::string WriteAsciiDat(const DatWriteSource& src);
std::string WriteBinaryDat(const DatWriteSource& src, bool wide32);

// The value code of a sample: (s - b) / (a x m), rounded; 0 for a zero scale or NaN,
// saturated to the layout's range. The writers give NaN its missing code and keep other
// values off it.
int64_t SampleCode(double s, double scale, double offset, int64_t lo, int64_t hi);
