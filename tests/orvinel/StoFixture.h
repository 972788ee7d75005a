#pragma once
// Terminal records and descriptions built byte by byte for the converter tests.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sto {

struct Block {
    uint32_t divisor = 4;
    std::vector<int64_t> values;  // channel-major: channel c, sample s at c * N + s (Status: one word per channel)
    std::vector<uint8_t> states;  // one byte per digital channel
};

struct Record {
    int variant = 0;         // 0, 2 or 3
    uint16_t headerN = 0;    // samples per block written into a variant-3 header
    uint8_t ringBlocks = 1;
    uint8_t ringStart = 0;
    uint32_t clockHz = 4000;
    uint32_t triggerSeconds = 1700000000;
    uint16_t triggerMs = 250;
    std::vector<int> analogIds;
    std::vector<int> digitalIds;
    int width = 2;           // bytes per analog value
    std::vector<Block> blocks;
    uint32_t controlSum = 12345;
    std::string trailing;    // bytes after the last whole block

    std::string Bytes() const;
};

struct Entry {
    Entry(int size_, int offset_, std::string name_, std::string cft_ = "1", std::string unit_ = "A",
          bool oscill_ = true, std::string freq_ = "50", std::string fktr_ = "")
        : size(size_), offset(offset_), name(std::move(name_)), cft(std::move(cft_)), unit(std::move(unit_)),
          oscill(oscill_), freq(std::move(freq_)), fktr(std::move(fktr_)) {}
    int size = 16;
    int offset = 0;
    std::string name;        // UTF-8
    std::string cft = "1";
    std::string unit = "A";
    bool oscill = true;
    std::string freq = "50";
    std::string fktr;        // empty: element left out
};

struct Unit {
    int kind = 38;
    int descrInd = -1;
    std::vector<Entry> entries;
};

struct Description {
    std::string station = "Station";
    std::string recDev = "Device";
    std::string controlSum = "12345";
    std::vector<Unit> units;
    std::vector<std::string> freqInputs;
    std::string extra;       // further XML put under the root

    std::string Xml() const;  // UTF-8
    std::wstring Wide() const;
};

}  // namespace sto
