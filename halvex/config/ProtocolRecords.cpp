#include "halvex/config/ProtocolRecords.h"

#include <cstring>

void IEC_PROTOCOL::SetByDefault(BYTE kind) {
    m_nKind = kind;
    m_nByte1 = 1;
    m_nByte2 = kind == 1 ? 2 : 1;
    m_nByte3 = kind == 1 ? 2 : kind == 3 ? 1 : 2;
    m_nByte4 = 1;
    m_nValue5 = 0x00030003;
    m_nValue9 = 180;
    m_nValue13 = 253;
    m_nByte15 = 0;
    m_nValue16 = 300;
}

int IEC_PROTOCOL::operator!=(const IEC_PROTOCOL& other) const {
    return std::memcmp(this, &other, sizeof *this) != 0 ? 1 : 0;
}

void IEC_PROTOCOL_4::SetByDefault() {
    m_nBytes[1] = 2;
    m_nBytes[2] = 3;
    m_nBytes[4] = 3;
    m_nValue1 = 180;
    m_nValue2 = 300;
    m_nT0 = 30, m_nT1 = 15, m_nT2 = 10, m_nT3 = 20;
    m_nK = 12, m_nW = 8;
    m_nValue9 = 10000;
}

int IEC_PROTOCOL_4::operator!=(const IEC_PROTOCOL_4& other) const {
    return std::memcmp(this, &other, sizeof *this) != 0 ? 1 : 0;
}

void JBUS_CAPTION::Clear() {
    std::memset(m_nBytes, 0, sizeof m_nBytes);
    m_nBytes[3] = 1;
}

void JBUS_ITEM_TO_BLOCK::Clear() {
    m_nValue1 = 0;
    m_nValue2 = -1;
    std::memset(m_nBytes, 0, sizeof m_nBytes);
    m_nValue3 = m_nValue4 = -1;
}

bool JBUS_ITEM_TO_BLOCK::operator==(const JBUS_ITEM_TO_BLOCK& other) const {
    return std::memcmp(this, &other, sizeof *this) == 0;
}

// --- Modbus map ------------------------------------------------------------------------------

PROTOCOL_MODBUS_RTU_TCP::Ref PROTOCOL_MODBUS_RTU_TCP::Reach(int area, int index, bool rtuSide) {
    // A reference past the map would reach memory of no entry.
    if (area < 1 || area > 4 || index < 0 || index >= kEntries) return {nullptr, nullptr};
    PROTOCOL_OBJ_REF& r = rtuSide ? m_entries[index][size_t(area - 1)].rtu : m_entries[index][size_t(area - 1)].tcp;
    return {&r.m_sName, &r.m_eType};
}

PROTOCOL_MODBUS_RTU_TCP::Ref PROTOCOL_MODBUS_RTU_TCP::rtu(int area, int index) { return Reach(area, index, true); }
PROTOCOL_MODBUS_RTU_TCP::Ref PROTOCOL_MODBUS_RTU_TCP::tcp(int area, int index) { return Reach(area, index, false); }

void PROTOCOL_MODBUS_RTU_TCP::Clear(ACSTypes which) {
    bool rtuSide = which == eACS_ModbusRTU;
    (rtuSide ? m_rtuHeader : m_tcpHeader) = MODBUS_HEADER();
    for (auto& [index, areas] : m_entries)
        for (AREA& a : areas) (rtuSide ? a.rtu : a.tcp) = PROTOCOL_OBJ_REF();
}

// --- IEC 61850 --------------------------------------------------------------------------------

void PROTOCOL_IEC_61850_8_1::Create(int count) { m_items.assign(size_t(count > 0 ? count : 0), ITEM()); }

PROTOCOL_IEC_61850_8_1::ITEM* PROTOCOL_IEC_61850_8_1::GetItem(int index) {
    return index >= 0 && index < GetItemCount() ? &m_items[size_t(index)] : nullptr;
}

bool PROTOCOL_IEC_61850_8_1::SetItem(ITEM& item, int index) {
    if (index < 0 || index >= GetItemCount()) return false;
    ITEM& stored = m_items[size_t(index)];
    if (item.m_sFirst.IsEmpty()) item.m_sFirst = stored.m_sFirst;
    stored = item;
    return true;
}

void PROTOCOL_IEC_61850_8_1::SetByDef() {
    for (ITEM& i : m_items) {
        i.m_sSecond.Empty();
        i.m_eType = eArmObjNone;
    }
}

// --- J-Bus --------------------------------------------------------------------------------------

CString JBS_BITS::GetParamChain() const {
    CString chain;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].m_sName.IsEmpty()) continue;
        CString one;
        one.Format(L"[%d]%s", int(i), m_items[i].m_sName.GetString());
        if (!chain.IsEmpty()) chain += L"; ";
        chain += one;
    }
    return chain;
}

PROTOCOL_JBUS::PROTOCOL_JBUS() {
    ClearAll();
    for (int key = 0; key <= 8; ++key) m_mapSetLists[key] = JBS_BITS();
}

void PROTOCOL_JBUS::ClearAll() {
    m_caption.Clear();
    ClearGr();
    for (auto& t : m_sText) t.Empty();
}

void PROTOCOL_JBUS::ClearGr() {
    m_vGroups.clear();
    m_vItems.clear();
    for (auto& [key, bits] : m_mapSetLists)
        for (JBS_ITEM& item : bits.m_items) item.Clear();
}

bool PROTOCOL_JBUS::operator==(const PROTOCOL_JBUS& o) const {
    if (this == &o) return true;
    if (m_vGroups != o.m_vGroups || m_vItems != o.m_vItems || m_mapSetLists != o.m_mapSetLists) return false;
    for (int i = 0; i < 5; ++i)
        if (m_sText[i] != o.m_sText[i]) return false;
    return true;
}

// --- parameter lists and adapters ----------------------------------------------------------

uint32_t FIO_PROTO_PARAM_LIST::CalcCrc32(const uint16_t* words, int count) {
    uint32_t reg = 0xFFFFFFFFu;
    for (int i = 0; words && i < count; ++i) {
        reg ^= words[i];
        for (int b = 0; b < 16; ++b) reg = (reg & 1u) ? (reg >> 1) ^ 0xA0000001u : reg >> 1;
    }
    return (reg << 16) | (reg >> 16);
}

void COMMUNIC_ADAPTER_DATA::Set(const BYTE* data, int length) {
    if (!data || length <= 0)
        m_data.clear();
    else
        m_data.assign(data, data + length);
}
