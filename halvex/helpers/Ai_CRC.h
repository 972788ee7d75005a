#pragma once
// CRC-16/MODBUS (reflected polynomial 0xA001, start 0xFFFF, no final XOR) in the form the
// terminals exchange it: the result's high byte is the CRC's low byte, the one sent first.
#include "platform/WinTypes.h"

class CAi_CRC {
public:
    static WORD CalcCRC(const BYTE* data, int length);
    // The same; `first` receives the byte sent first, `second` the other.
    static WORD SetCRCTo(BYTE* first, BYTE* second, const BYTE* data, int length);
    // One more byte on a running value in the swapped form (start with 0xFFFF).
    static WORD CalcCRC_FromStreem(BYTE data, WORD crc);
};
