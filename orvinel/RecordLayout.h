#pragma once
// Where things are in a terminal record: header fields, channel lists and block geometry,
// worked out once and bounds-checked against the record's length.
#include <cstdint>
#include <cstring>
#include <vector>

#include "orvinel/ComtradeConverter.h"

struct ComtradeConverter::Layout {
    int variant = 0;
    int64_t analogCount = 0;
    int64_t digitalCount = 0;
    std::vector<int> analogIds;
    std::vector<int> digitalIds;
    int64_t dataStart = 0;
    int64_t samplesPerBlock = 0;  // N
    int bytesPerValue = 2;        // W
    bool status = false;          // one bit-mapped word per analog channel and block
    int64_t blockSize = 0;
    int64_t blocks = 0;           // whole blocks in the data area
    int64_t analogBytes = 0;      // analog part of a block
    uint8_t ringBlocks = 0;
    uint8_t ringStart = 0;
    uint32_t clockHz = 0;
    uint32_t triggerSeconds = 0;
    uint16_t triggerMs = 0;

    const unsigned char* Block(const unsigned char* record, int64_t index) const {
        return record + dataStart + index * blockSize;
    }
    static uint32_t Divisor(const unsigned char* block) {
        return uint32_t(block[0]) | uint32_t(block[1]) << 8 | uint32_t(block[2]) << 16 | uint32_t(block[3]) << 24;
    }
};

namespace orvinel {

inline uint16_t ReadU16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t ReadU32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace orvinel
