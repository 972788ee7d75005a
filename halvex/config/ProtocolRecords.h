#pragma once
// Settings of a terminal's communication protocols: byte-packed link records the host stores
// and sends as they are, redundancy and time settings, the Modbus register map, IEC 61850
// items, J-Bus records, parameter lists with their checksum, and adapter data.
#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "halvex/helpers/ArmObjectType.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

#pragma pack(push, 1)
// IEC 60870-5-101 and -103 link settings (20 bytes); fields by their offset.
struct IEC_PROTOCOL {
    explicit IEC_PROTOCOL(BYTE kind = 1) { SetByDefault(kind); }
    void SetByDefault(BYTE kind);
    IEC_PROTOCOL(const IEC_PROTOCOL& other) = default;
    IEC_PROTOCOL& operator=(const IEC_PROTOCOL& other) = default;
    // 1 when any byte differs, else 0.
    int operator!=(const IEC_PROTOCOL& other) const;

    BYTE m_nKind;
    BYTE m_nByte1, m_nByte2, m_nByte3, m_nByte4;
    int32_t m_nValue5;
    int32_t m_nValue9;
    int16_t m_nValue13;
    BYTE m_nByte15;
    int32_t m_nValue16;
};

// IEC 60870-5-104 settings (42 bytes).
struct IEC_PROTOCOL_4 {
    IEC_PROTOCOL_4() { SetByDefault(); }
    void SetByDefault();
    IEC_PROTOCOL_4(const IEC_PROTOCOL_4& other) = default;
    IEC_PROTOCOL_4& operator=(const IEC_PROTOCOL_4& other) = default;
    int operator!=(const IEC_PROTOCOL_4& other) const;

    BYTE m_nBytes[6] = {4, 2, 3, 0xFF, 3, 0};
    int32_t m_nValue1, m_nValue2;  // 180, 300
    int32_t m_nT0, m_nT1, m_nT2, m_nT3;  // seconds
    int32_t m_nK, m_nW;
    int32_t m_nValue9;  // 10000
};

// J-Bus caption (8 bytes, zero but for its fourth byte).
struct JBUS_CAPTION {
    JBUS_CAPTION() { Clear(); }
    void Clear();
    BYTE m_nBytes[8];
};

struct JBUS_ITEM_TO_BLOCK {
    JBUS_ITEM_TO_BLOCK() { Clear(); }
    void Clear();
    bool operator==(const JBUS_ITEM_TO_BLOCK& other) const;
    int32_t m_nValue1;  // 0
    int32_t m_nValue2;  // -1
    BYTE m_nBytes[25];
    int32_t m_nValue3;  // -1
    int32_t m_nValue4;  // -1
};

struct SELECTED_RESERVED_PROTOCOL {
    int32_t m_nProtocol = 0;
    int32_t m_nValue = 128;
    BYTE m_nBytes[20] = {};
};

struct SELECTED_RESERVED_MSHP_PROTOCOL {
    int32_t m_nProtocol = 0;
    int32_t m_nValue = 32;
    BYTE m_nBytes[20] = {};
};
#pragma pack(pop)
static_assert(sizeof(IEC_PROTOCOL) == 20);
static_assert(sizeof(IEC_PROTOCOL_4) == 42);
static_assert(sizeof(JBUS_CAPTION) == 8);
static_assert(sizeof(JBUS_ITEM_TO_BLOCK) == 41);
static_assert(sizeof(SELECTED_RESERVED_PROTOCOL) == 28);
static_assert(sizeof(SELECTED_RESERVED_MSHP_PROTOCOL) == 28);

struct PROTOCOL_RSTP_PORT {
    int32_t m_nValue1 = 0, m_nValue2 = 0;
    int32_t m_nPortPriority = 128;
    int32_t m_nPathCost = 200000;
};

// IEEE 802.1D-2004 defaults.
struct PROTOCOL_RSTP {
    int32_t m_nEnable = 0;
    int32_t m_nBridgePriority = 32768;
    int32_t m_nHelloTime = 2;
    int32_t m_nForwardDelay = 15;
    int32_t m_nMaxAge = 20;
    int32_t m_nTxHoldCount = 6;
    PROTOCOL_RSTP_PORT m_ports[2];
};

struct PROTOCOL_SYNCH_TIME {
    int32_t m_nValues[4] = {0, 60, 60, 60};
};

struct PROTOCOL_RAY_MODE {
    int32_t m_nValues[2] = {0, 0};
};

struct PROTOCOL_PRP {
    PROTOCOL_PRP() = default;
    PROTOCOL_PRP(const PROTOCOL_PRP& other) = default;
    // Takes the first and the third word; the second stays.
    PROTOCOL_PRP& operator=(const PROTOCOL_PRP& other) {
        m_nWords[0] = other.m_nWords[0];
        m_nWords[2] = other.m_nWords[2];
        return *this;
    }
    int32_t m_nWords[3] = {0, 0, 0};
};

// An object reference of a protocol map; type 56 (no object) and an empty name when unset.
struct PROTOCOL_OBJ_REF {
    EArmObjectType m_eType = eArmObjNone;
    CString m_sName;
};

struct MODBUS_HEADER {
    int16_t m_nValue1 = -1;
    int32_t m_nValue2 = 0;
    BYTE m_nByte = 0;
    int32_t m_nValue3 = 0, m_nValue4 = 0;
};

enum ACSTypes : int32_t { eACS_ModbusRTU = 5 };

// The Modbus RTU and TCP register map: 65535 entries of four areas, each with an RTU and a
// TCP object reference. Entries are kept only once reached.
class PROTOCOL_MODBUS_RTU_TCP {
public:
    static constexpr int kEntries = 65535;
    using Ref = std::pair<CString*, EArmObjectType*>;  // name and type; both null for no reference

    // The reference of `area` (1 to 4) of entry `index` (0 to 65534); no reference outside.
    Ref rtu(int area, int index);
    Ref tcp(int area, int index);
    // 5: the RTU header and references; any other value: the TCP ones.
    void Clear(ACSTypes which);
    // How many entries were reached (each holds all four areas).
    size_t ReachedEntries() const { return m_entries.size(); }

    MODBUS_HEADER m_rtuHeader, m_tcpHeader;
    int32_t m_nValue = 0;

private:
    struct AREA {
        PROTOCOL_OBJ_REF rtu, tcp;
    };
    Ref Reach(int area, int index, bool rtuSide);
    std::map<int, std::array<AREA, 4>> m_entries;
};

class PROTOCOL_IEC_61850_8_1 {
public:
    struct ITEM {
        CString m_sFirst, m_sSecond;
        EArmObjectType m_eType = eArmObjNone;
    };
    void Create(int count);
    int GetItemCount() const { return int(m_items.size()); }
    // Null for an index outside the list.
    ITEM* GetItem(int index);
    // Stores `item` at `index`; an item without a first text takes the stored one's (and so
    // does the caller's). False for an index outside the list.
    bool SetItem(ITEM& item, int index);
    void SetByDef();

private:
    std::vector<ITEM> m_items;
};

// --- J-Bus ---------------------------------------------------------------------------------

struct JBS_ITEM {
    void Clear() { *this = JBS_ITEM(); }
    bool operator==(const JBS_ITEM& o) const {
        return m_sName == o.m_sName && m_eType == o.m_eType && m_nValue1 == o.m_nValue1 && m_nByte == o.m_nByte &&
               m_nValue2 == o.m_nValue2 && m_nValue3 == o.m_nValue3;
    }
    bool operator!=(const JBS_ITEM& o) const { return !(*this == o); }

    CString m_sName;
    EArmObjectType m_eType = eArmObjNone;
    int32_t m_nValue1 = 0;
    BYTE m_nByte = 0;
    int32_t m_nValue2 = 1;
    int32_t m_nValue3 = 0;
};

// The 16 bits of one register.
struct JBS_BITS {
    JBS_BITS() : m_items(16) {}
    JBS_BITS(int position, const JBS_ITEM& item) : m_items(16) {
        if (position >= 0 && position < 16) m_items[size_t(position)] = item;
    }
    bool operator==(const JBS_BITS& o) const { return m_items == o.m_items; }
    // "[position]name" of every named bit, joined by "; ".
    CString GetParamChain() const;

    std::vector<JBS_ITEM> m_items;
};

class PROTOCOL_JBUS {
public:
    PROTOCOL_JBUS();
    void ClearAll();
    // Empties both lists and resets every bit of every set list (the set lists stay).
    void ClearGr();
    bool operator==(const PROTOCOL_JBUS& other) const;
    bool operator!=(const PROTOCOL_JBUS& other) const { return !(*this == other); }

    JBUS_CAPTION m_caption;
    std::vector<JBUS_ITEM_TO_BLOCK> m_vGroups;
    std::vector<JBS_ITEM> m_vItems;
    std::map<int, JBS_BITS> m_mapSetLists;  // by set-list number, 0 to 8
    CString m_sText[5];
};

// --- parameter lists and adapters ----------------------------------------------------------

struct FIO_PROTO_PARAM_LIST {
    void Clear() {
        for (auto& v : m_nValues) v = 0;
        m_vParams.clear();
    }
    bool IsEmpty() const { return m_vParams.empty(); }
    // CRC-32 over 16-bit words (reflected polynomial 0xA0000001, start 0xFFFFFFFF, no final
    // XOR), with the halves of the result swapped.
    static uint32_t CalcCrc32(const uint16_t* words, int count);

    int32_t m_nValues[13] = {};
    std::vector<uint16_t> m_vParams;
};

class COMMUNIC_ADAPTER_DATA {
public:
    // Copies `length` bytes; null or 0 leaves it empty.
    void Set(const BYTE* data, int length);
    void Clear() { m_data.clear(); }
    bool IsEmpty() const { return m_data.empty(); }
    const BYTE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    int GetLength() const { return int(m_data.size()); }

private:
    std::vector<BYTE> m_data;  // copies, and assignments, are deep
};
