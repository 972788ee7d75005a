#include "halvex/helpers/Ai_CRC.h"

#include <array>
#include <cstddef>

namespace {

// The standard pair of tables: the high and the low byte of the reflected step.
struct Tables {
    std::array<BYTE, 256> hi{}, lo{};
    Tables() {
        for (int i = 0; i < 256; ++i) {
            unsigned crc = unsigned(i);
            for (int b = 0; b < 8; ++b) crc = crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1;
            hi[std::size_t(i)] = BYTE(crc & 0xFF);
            lo[std::size_t(i)] = BYTE(crc >> 8);
        }
    }
};

const Tables& T() {
    static const Tables t;
    return t;
}

}  // namespace

WORD CAi_CRC::CalcCRC_FromStreem(BYTE data, WORD crc) {
    // In the swapped form the high byte holds the CRC's low byte.
    BYTE first = BYTE(crc >> 8), second = BYTE(crc & 0xFF);
    unsigned idx = first ^ data;
    first = BYTE(second ^ T().hi[idx]);
    second = T().lo[idx];
    return WORD(first << 8 | second);
}

WORD CAi_CRC::CalcCRC(const BYTE* data, int length) {
    WORD crc = 0xFFFF;
    for (int i = 0; data && i < length; ++i) crc = CalcCRC_FromStreem(data[i], crc);
    return crc;
}

WORD CAi_CRC::SetCRCTo(BYTE* first, BYTE* second, const BYTE* data, int length) {
    WORD crc = CalcCRC(data, length);
    if (first) *first = BYTE(crc >> 8);
    if (second) *second = BYTE(crc & 0xFF);
    return crc;
}
