#pragma once
// The COMTRADE data file (".dat"): "ASCII" text, "BINARY" (16-bit values) and "binary32"
// records. The readers fill the sample arrays they are given in place, so that a large
// record is never held twice; the writers produce the file's bytes.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/CString.h"

enum class DatKind { Ascii, Binary, Binary32 };

// "ASCII", "BINARY", "binary32"; false for anything else.
bool DatKindFromType(const CString& type, DatKind& kind);

// Progress shared with the loading dialog: total is set to five times the file size (in
// units that fit 32 bits), done advances as the file is consumed; cancel is polled.
struct DatProgress {
    std::atomic<uint32_t>* done = nullptr;
    std::atomic<uint32_t>* total = nullptr;
    std::function<bool()> cancelled;  // polled between blocks of records
};

struct DatAnalogSink {
    std::vector<double>* samples = nullptr;
    double scale = 1.0;   // a x unit-prefix multiplier
    double offset = 0.0;  // b
};

struct DatReadTarget {
    std::vector<DatAnalogSink> analog;
    std::vector<std::vector<double>*> status;
    std::vector<int64_t>* times = nullptr;  // microseconds, one per record
    int32_t samplingFrequency = 0;          // from the configuration; 0: times come from the file
    double timeMultiplier = 1.0;
    int64_t expectedSamples = -1;           // the configuration's sample count; -1: not checked
    double measuredRate = 0.0;              // out: samples per second from the first two times
                                            // when samplingFrequency is 0
};

enum class DatReadResult { Complete, Cancelled };

// Reads a whole data file held in memory. Every fault of the file (a truncated record, a
// record size that fits no layout, fewer or more records than the configuration gives,
// no records, a rate that cannot be derived) throws CTenvorikException (330) with `path`
// as detail; the sinks may then hold partial data and are to be discarded by the caller.
DatReadResult ReadComtradeDat(DatKind kind, const char* data, size_t size, DatReadTarget& target,
                              const DatProgress& progress, const CString& path);

struct DatWriteSource {
    std::vector<const std::vector<double>*> analog;
    std::vector<double> scale, offset;  // per analog channel: a x multiplier, b
    std::vector<const std::vector<double>*> status;
    std::vector<int64_t> times;         // microseconds, one per sample written
    double timeMultiplier = 1.0;        // times are written divided by it
};

std::string WriteAsciiDat(const DatWriteSource& src);
std::string WriteBinaryDat(const DatWriteSource& src, bool wide32);

// The value code of a sample: (s - b) / (a x m), rounded; 0 for a zero scale or NaN,
// saturated to the layout's range.
int64_t SampleCode(double s, double scale, double offset, int64_t lo, int64_t hi);
