#pragma once
// Identities of scheme elements, buses and controls: the system's GUID record and the RPC
// calls on it, made from the system's random source.
#include <cstdint>

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using UUID = GUID;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

// A new random (version 4) GUID; false, with the nil GUID, when the random source fails.
bool UuidCreate(GUID* guid);
