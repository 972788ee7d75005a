#include "halvex/helpers/Guid.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>

bool UuidCreate(GUID* guid) {
    if (!guid) return false;
    unsigned char b[16];
    size_t got = 0;
    while (got < sizeof b) {
        ssize_t n = getrandom(b + got, sizeof b - got, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::memset(guid, 0, sizeof *guid);
            return false;
        }
        got += size_t(n);
    }
    b[6] = uint8_t((b[6] & 0x0F) | 0x40);  // version 4
    b[8] = uint8_t((b[8] & 0x3F) | 0x80);  // the standard variant
    guid->Data1 = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    guid->Data2 = uint16_t(b[4] << 8 | b[5]);
    guid->Data3 = uint16_t(b[6] << 8 | b[7]);
    std::memcpy(guid->Data4, b + 8, 8);
    return true;
}
