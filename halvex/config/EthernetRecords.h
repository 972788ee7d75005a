#pragma once
// The terminal's Ethernet setting records, their PTPv2 options as display texts, the time
// zone choice and the state word of an Ethernet settings list item.
#include <cstdint>

#include "platform/CString.h"
#include "platform/WinTypes.h"

// Sixteen 32-bit words stored and sent as they are.
struct ETHERNET_WORDS {
    ETHERNET_WORDS() { SetByDefault(); }
    void SetByDefault() {
        for (auto& w : m_nWords) w = 0;
        m_nWords[1] = -1;
    }
    bool operator!=(const ETHERNET_WORDS& other) const {
        for (int i = 0; i < 16; ++i)
            if (m_nWords[i] != other.m_nWords[i]) return true;
        return false;
    }
    int32_t m_nWords[16];
};

// The terminal's second Ethernet setting set; words 6 to 8 hold the PTPv2 options.
struct ETHERNET2 : ETHERNET_WORDS {
    enum { kWordPtpProfile = 6, kWordVlanTagUsed = 7, kWordVlanId = 8 };
};
// The communication module's Ethernet settings.
struct ETHERNET_MSHP : ETHERNET_WORDS {};
static_assert(sizeof(ETHERNET2) == 64 && sizeof(ETHERNET_MSHP) == 64);

struct TIME_ZONE {
    void Clear() { m_nZone = 2147483647, m_nValue = 0; }
    bool operator!=(const TIME_ZONE& o) const { return this != &o && (m_nZone != o.m_nZone || m_nValue != o.m_nValue); }
    int32_t m_nZone = 2147483647;  // no zone chosen
    int32_t m_nValue = 0;
};
static_assert(sizeof(TIME_ZONE) == 8);

class CEthItemState {
public:
    static bool IsCheckOn(DWORD state) { return (state >> 16) & 1u; }
    static bool IsRadionbtnOn(DWORD state) { return state & 1u; }
};

class CSynchTimeDef {
public:
    // "IEEE 802.3 E2E", "IEEE 802.3 P2P", "IPv4 E2E", "IPv4 P2P"; "?" for another value.
    static CString GetPTPv2_Set(const ETHERNET2* eth);
    // The profile of the exact text; 0 for any other.
    static void SetPTPv2_Set(ETHERNET2* eth, const CString& text);
    static bool IsIEEE8023(const ETHERNET2* eth);
    static bool IsIPV4(const ETHERNET2* eth);
    // The VLAN identifier as text; `used` receives whether the tag is used.
    static CString GetPTPv2_VLANtag(const ETHERNET2* eth, bool* used);
    static void SetPTPv2_VLANtag(ETHERNET2* eth, bool used, const CString& id);
};
