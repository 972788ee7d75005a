#pragma once
// Reading the clipboard tree of channels on the paste side.
#include <cstdint>
#include <vector>

#include "model/SampleStore.h"

class XmlNode;

// The time base of the record a "channels" tree was copied from, which every pasted channel
// keeps until the merge puts it on the host's.
struct PastedTimeBase {
    CowVector<int64_t> times;          // microseconds of every sample, shared by the channels
    CowVector<double> netFrequency;    // net frequency of every sample (0 where none was given)
    double rate = 0;                   // samples per second ("discr_frequency")
};

// Reads "num_values", "times", "net_frequency" and "discr_frequency". The count comes from
// the clipboard and is never trusted: it is cut to the times the text holds.
PastedTimeBase ReadPastedTimeBase(const XmlNode& channels);
