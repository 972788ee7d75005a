#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "halvex/config/DescriptorRecords.h"
#include "halvex/config/EthernetRecords.h"
#include "halvex/config/JBusDef.h"
#include "halvex/config/ParamDiag.h"
#include "halvex/config/ProtocolRecords.h"
#include "halvex/config/RecordBytes.h"
#include "halvex/config/UserRoleParams.h"
#include "tests/halvex/support/FakeArmHost.h"

namespace {

// Writes a record's bytes and reads them back into a default record; a block one byte short or
// long is refused and leaves the target as it was.
template <class T>
void RoundTrip(const T& record) {
    std::string bytes = RecordToBytes(record);
    ASSERT_EQ(bytes.size(), sizeof(T));
    T back;
    const std::string before = RecordToBytes(back);
    std::string longer = bytes + "x";
    EXPECT_FALSE(RecordFromBytes(back, bytes.data(), bytes.size() - 1));
    EXPECT_FALSE(RecordFromBytes(back, longer.data(), longer.size()));
    EXPECT_FALSE(RecordFromBytes(back, nullptr, bytes.size()));
    EXPECT_EQ(RecordToBytes(back), before);
    ASSERT_TRUE(RecordFromBytes(back, bytes.data(), bytes.size()));
    EXPECT_EQ(RecordToBytes(back), bytes);
}

std::string Hex(const std::string& bytes) {
    std::string s;
    char buf[4];
    for (unsigned char c : bytes) snprintf(buf, sizeof buf, "%02x", c), s += buf;
    return s;
}

}  // namespace

TEST(ProtocolRecords, PackedLayoutsAndRoundTrips) {
    IEC_PROTOCOL k3(3), k1(1), k2(2);
    EXPECT_EQ(Hex(RecordToBytes(k3)), "0301010101" "03000300" "b4000000" "fd00" "00" "2c010000");
    EXPECT_EQ(Hex(RecordToBytes(k1)).substr(0, 10), "0101020201");
    EXPECT_EQ(Hex(RecordToBytes(k2)).substr(0, 10), "0201010201");
    EXPECT_EQ(k3 != k1, 1);
    IEC_PROTOCOL copy(1);
    copy = k3;
    EXPECT_EQ(copy != k3, 0);
    copy.m_nValue16 = 301;
    EXPECT_EQ(copy != k3, 1);
    copy.SetByDefault(3);
    EXPECT_EQ(copy != k3, 0);
    RoundTrip(k3);

    IEC_PROTOCOL_4 p4;
    EXPECT_EQ(Hex(RecordToBytes(p4)), "040203ff0300" "b4000000" "2c010000" "1e000000" "0f000000" "0a000000"
                                      "14000000" "0c000000" "08000000" "10270000");
    IEC_PROTOCOL_4 other;
    other.m_nValue9 = 1;  // the last half-word counts too
    EXPECT_EQ(other != p4, 1);
    other.m_nBytes[1] = 9;
    other.SetByDefault();
    EXPECT_EQ(other != p4, 0);
    RoundTrip(p4);

    JBUS_CAPTION caption;
    EXPECT_EQ(Hex(RecordToBytes(caption)), "0000000100000000");
    RoundTrip(caption);
    JBUS_ITEM_TO_BLOCK toBlock;
    EXPECT_EQ(toBlock.m_nValue2, -1);
    toBlock.m_nBytes[24] = 7;
    RoundTrip(toBlock);
    SELECTED_RESERVED_PROTOCOL reserved;
    SELECTED_RESERVED_MSHP_PROTOCOL reservedMshp;
    EXPECT_EQ(reserved.m_nValue, 128);
    EXPECT_EQ(reservedMshp.m_nValue, 32);
    RoundTrip(reserved);
    RoundTrip(reservedMshp);
    ETHERNET2 eth;
    eth.m_nWords[6] = 3;
    RoundTrip(eth);
    RoundTrip(ETHERNET_MSHP());
    RoundTrip(TIME_ZONE());
    RoundTrip(PROJ_61850_BIN());
}

TEST(ProtocolRecords, Defaults) {
    PROTOCOL_RSTP r;
    EXPECT_EQ(r.m_nBridgePriority, 32768);
    EXPECT_EQ(r.m_nHelloTime + r.m_nForwardDelay + r.m_nMaxAge + r.m_nTxHoldCount, 2 + 15 + 20 + 6);
    EXPECT_EQ(r.m_ports[1].m_nPortPriority, 128);
    EXPECT_EQ(r.m_ports[1].m_nPathCost, 200000);
    PROTOCOL_SYNCH_TIME s;
    EXPECT_EQ(s.m_nValues[3], 60);
    PROTOCOL_PRP a, b;
    b.m_nWords[0] = 1, b.m_nWords[1] = 2, b.m_nWords[2] = 3;
    a = b;
    EXPECT_EQ(a.m_nWords[0] * 100 + a.m_nWords[1] * 10 + a.m_nWords[2], 103);
}

TEST(ProtocolRecords, ModbusMapReferences) {
    PROTOCOL_MODBUS_RTU_TCP map;
    auto r = map.rtu(2, 100);
    ASSERT_TRUE(r.first && r.second);
    EXPECT_EQ(*r.second, eArmObjNone);
    *r.first = L"Ia";
    *r.second = eArmObjAnalogInput;
    EXPECT_EQ(*map.rtu(2, 100).first, L"Ia");
    EXPECT_EQ(*map.tcp(2, 100).first, L"");
    *map.tcp(4, 65534).first = L"last";
    // Areas and indices outside the map give no reference.
    for (auto [area, index] : std::vector<std::pair<int, int>>{{0, 1}, {5, 1}, {1, -1}, {1, 65535}, {1, 1 << 30}}) {
        EXPECT_FALSE(map.rtu(area, index).first) << area << "," << index;
        EXPECT_FALSE(map.tcp(area, index).second) << area << "," << index;
    }
    map.m_rtuHeader.m_nValue2 = 5;
    map.m_tcpHeader.m_nValue2 = 6;
    map.Clear(eACS_ModbusRTU);
    EXPECT_EQ(*map.rtu(2, 100).first, L"");
    EXPECT_EQ(*map.rtu(2, 100).second, eArmObjNone);
    EXPECT_EQ(map.m_rtuHeader.m_nValue2, 0);
    EXPECT_EQ(map.m_rtuHeader.m_nValue1, -1);
    EXPECT_EQ(*map.tcp(4, 65534).first, L"last");
    map.Clear(ACSTypes(1));
    EXPECT_EQ(*map.tcp(4, 65534).first, L"");
    EXPECT_EQ(map.m_tcpHeader.m_nValue2, 0);
}

TEST(ProtocolRecords, Iec61850Items) {
    PROTOCOL_IEC_61850_8_1 p;
    p.Create(2);
    EXPECT_EQ(p.GetItemCount(), 2);
    EXPECT_FALSE(p.GetItem(2));
    EXPECT_FALSE(p.GetItem(-1));
    PROTOCOL_IEC_61850_8_1::ITEM item{L"LD0/GGIO1", L"x", eArmObjDiscretInput};
    EXPECT_TRUE(p.SetItem(item, 1));
    PROTOCOL_IEC_61850_8_1::ITEM unnamed{L"", L"y", eArmObjGooseIn};
    EXPECT_TRUE(p.SetItem(unnamed, 1));
    EXPECT_EQ(unnamed.m_sFirst, L"LD0/GGIO1");  // the caller's item takes the stored name too
    EXPECT_EQ(p.GetItem(1)->m_sFirst, L"LD0/GGIO1");
    EXPECT_EQ(p.GetItem(1)->m_sSecond, L"y");
    EXPECT_FALSE(p.SetItem(item, 2));
    EXPECT_FALSE(p.SetItem(item, -1));  // never before the first item
    p.SetByDef();
    EXPECT_EQ(p.GetItem(1)->m_sFirst, L"LD0/GGIO1");
    EXPECT_EQ(p.GetItem(1)->m_sSecond, L"");
    EXPECT_EQ(p.GetItem(1)->m_eType, eArmObjNone);
}

TEST(ProtocolRecords, JBusRecords) {
    JBS_ITEM named;
    named.m_sName = L"Q1";
    JBS_BITS bits(5, named);
    bits.m_items[0].m_sName = L"Q0";
    EXPECT_EQ(bits.GetParamChain(), L"[0]Q0; [5]Q1");
    EXPECT_EQ(JBS_BITS(16, named).GetParamChain(), L"");
    EXPECT_EQ(JBS_BITS().m_items.size(), 16u);

    PROTOCOL_JBUS a, b;
    EXPECT_EQ(a.m_mapSetLists.size(), 9u);
    EXPECT_TRUE(a == b);
    a.m_caption.m_nBytes[0] = 5;  // the caption is not compared
    EXPECT_TRUE(a == b);
    a.m_mapSetLists[3].m_items[2] = named;
    a.m_sText[4] = L"t";
    a.m_vGroups.emplace_back();
    EXPECT_TRUE(a != b);
    a.ClearGr();
    EXPECT_EQ(a.m_mapSetLists.size(), 9u);
    EXPECT_TRUE(a.m_mapSetLists[3].m_items[2] == JBS_ITEM());
    EXPECT_FALSE(a == b);  // the texts stay
    a.ClearAll();
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.m_caption.m_nBytes[0], 0);
    EXPECT_EQ(a.m_caption.m_nBytes[3], 1);

    JBUS_FLAGS f(0x0A);
    EXPECT_FALSE(f.m_bFlag0);
    EXPECT_TRUE(f.m_bFlag1);
    EXPECT_FALSE(f.m_bFlag2);
    EXPECT_TRUE(f.m_bFlag3);
}

TEST(ProtocolRecords, ParameterChecksumAndAdapterData) {
    const uint16_t words[] = {0x0061, 0x0062, 0x0063};
    EXPECT_EQ(FIO_PROTO_PARAM_LIST::CalcCrc32(words, 3), 0x60296037u);
    EXPECT_EQ(FIO_PROTO_PARAM_LIST::CalcCrc32(words, 0), 0xFFFFFFFFu);
    EXPECT_EQ(FIO_PROTO_PARAM_LIST::CalcCrc32(nullptr, 3), 0xFFFFFFFFu);
    FIO_PROTO_PARAM_LIST list;
    list.m_vParams = {1};
    list.m_nValues[12] = 4;
    EXPECT_FALSE(list.IsEmpty());
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.m_nValues[12], 0);

    const BYTE data[] = {1, 2, 3};
    COMMUNIC_ADAPTER_DATA a;
    EXPECT_TRUE(a.IsEmpty());
    a.Set(data, 3);
    COMMUNIC_ADAPTER_DATA b(a), c;
    c = a;
    a.Set(data, 1);
    a.Clear();
    ASSERT_EQ(b.GetLength(), 3);
    ASSERT_EQ(c.GetLength(), 3);
    EXPECT_EQ(b.GetData()[2], 3);
    EXPECT_EQ(c.GetData()[2], 3);
    EXPECT_NE(b.GetData(), c.GetData());
    c.Set(nullptr, 4);
    EXPECT_TRUE(c.IsEmpty());
}

TEST(JBusDef, Vocabulary) {
    CJBusDef d;
    const wchar_t* formats[] = {L"A", L"B", L"C", L"D", L"E", L"X", L"BCD", L"binary", L"Signed32", L"Unsigned32"};
    for (int v = 1; v <= 10; ++v) {
        EXPECT_EQ(d.ConvertFormat(EJBusFormat(v)), formats[v - 1]);
        EXPECT_EQ(int(d.ConvertFormat(CString(formats[v - 1]))), v);
    }
    EXPECT_EQ(d.ConvertFormat(EJBusFormat(11)), L"???");
    EXPECT_EQ(d.ConvertFormat(EJBusFormat(0)), L"???");
    EXPECT_EQ(d.ConvertFormat(CString(L"bcd")), eJBusFormatA);
    const wchar_t* units[] = {L"0.001", L"0.01", L"0.1", L"1", L"10", L"100", L"1000"};
    for (int v = -3; v <= 3; ++v) {
        EXPECT_EQ(d.ConvertUnit(EJBusUnit(v)), units[v + 3]);
        EXPECT_EQ(int(d.ConvertUnit(CString(units[v + 3]))), v);
    }
    EXPECT_EQ(d.ConvertUnit(CString(L"1e3")), eJBusUnitOne);
    EXPECT_EQ(d.ConvertUnit(EJBusUnit(4)), L"???");
    EXPECT_EQ(d.GetSetListName(EJbusSetList(0)), L"Контрольное слово");
    EXPECT_EQ(d.GetSetListName(EJbusSetList(8)), L"I31-38");
    EXPECT_EQ(d.GetSetListName(EJbusSetList(9)), L"???");
    struct Spec { int v; const wchar_t* name; };
    for (const Spec& s : {Spec{1, L"Контрольное слово"}, Spec{2, L"Зона событий 1"}, Spec{8, L"Есть событие"},
                          Spec{9, L"KTS1-16"}, Spec{16, L"I31-38"}, Spec{17, L"Идентификация изготовителя (код)"},
                          Spec{18, L"Идентификация изготовителя (строка)"}, Spec{22, L"Код типа блока в контрольном слове (код)"},
                          Spec{27, L"Тип применения (строка)"}, Spec{28, L"Тип интерфейса связи (код)"},
                          Spec{30, L"Резервный бит"}, Spec{31, L"???"}, Spec{0, L"???"}})
        EXPECT_EQ(d.GetSpecParamName(EJBusTypeExtention(s.v)), s.name) << s.v;
    CJBusDef copy(d);
    EXPECT_EQ(copy.ConvertFormat(eJBusFormatBCD), L"BCD");
}

TEST(EthernetRecords, PtpSettings) {
    ETHERNET2 eth;
    EXPECT_EQ(eth.m_nWords[1], -1);
    const wchar_t* texts[] = {L"IEEE 802.3 E2E", L"IEEE 802.3 P2P", L"IPv4 E2E", L"IPv4 P2P"};
    for (int p = 0; p < 4; ++p) {
        CSynchTimeDef::SetPTPv2_Set(&eth, texts[p]);
        EXPECT_EQ(eth.m_nWords[6], p);
        EXPECT_EQ(CSynchTimeDef::GetPTPv2_Set(&eth), texts[p]);
        EXPECT_EQ(CSynchTimeDef::IsIEEE8023(&eth), p < 2);
        EXPECT_EQ(CSynchTimeDef::IsIPV4(&eth), p >= 2);
    }
    CSynchTimeDef::SetPTPv2_Set(&eth, L"ipv4 p2p");
    EXPECT_EQ(eth.m_nWords[6], 0);
    eth.m_nWords[6] = 7;
    EXPECT_EQ(CSynchTimeDef::GetPTPv2_Set(&eth), L"?");
    EXPECT_FALSE(CSynchTimeDef::IsIEEE8023(&eth));
    EXPECT_FALSE(CSynchTimeDef::IsIPV4(&eth));
    CSynchTimeDef::SetPTPv2_VLANtag(&eth, true, L"100");
    bool used = false;
    EXPECT_EQ(CSynchTimeDef::GetPTPv2_VLANtag(&eth, &used), L"100");
    EXPECT_TRUE(used);
    EXPECT_EQ(eth.m_nWords[7], 1);

    ETHERNET_MSHP m, n;
    EXPECT_FALSE(m != n);
    m.m_nWords[15] = 1;
    EXPECT_TRUE(m != n);
    m.SetByDefault();
    EXPECT_FALSE(m != n);
    TIME_ZONE z, y;
    EXPECT_FALSE(z != y);
    z.m_nZone = 3;
    EXPECT_TRUE(z != y);
    z.Clear();
    EXPECT_EQ(z.m_nZone, 2147483647);
    EXPECT_TRUE(CEthItemState::IsCheckOn(0x10000));
    EXPECT_FALSE(CEthItemState::IsCheckOn(0x1));
    EXPECT_TRUE(CEthItemState::IsRadionbtnOn(0x1));
}

TEST(DescriptorRecords, ComplexValuesAndDefaults) {
    COMPLEX_VALUE v{L"3", L"-4"};
    EXPECT_EQ(v.GetStringValue(eViewRectangular, 2), L"3-j4");
    EXPECT_EQ(v.GetStringValue(eViewPolar, 1), L"5.0;-53.13");
    EXPECT_EQ(v.GetStringValue(EViewChannelType(3), 1), L"");
    COMPLEX_VALUE w{L"1", L"+2"};
    EXPECT_EQ(w.GetStringValue(eViewRectangular, 0), L"1+j2");
    EXPECT_EQ(COMPLEX_VALUE().GetStringValue(eViewPolar, 2), L"");
    EXPECT_TRUE(COMPLEX_VALUE().IsEmpty());
    EXPECT_TRUE(v != w);
    EXPECT_TRUE(v == (COMPLEX_VALUE{L"3", L"-4"}));

    EXPECT_EQ(TRANSLATE().m_sLanguage, L"English");
    EXPECT_EQ(TRANSLATE().m_nCodePage, 1252);
    EXPECT_EQ(SIZEMENU().m_nSize1 * 100 + SIZEMENU().m_nSize2, 2108);
    EXPECT_EQ(LOCALEIDENTIFIERS(L"ru").m_nCharSet, 204);
    EXPECT_EQ(AdminParams().m_sAccessCode, L"9317");
    EXPECT_EQ(TechProgParams().m_sAccessCode, L"9317");
    Tenvorik_VEC_DIAG_PARAMETERS diag;
    diag.m_sText = L"x";
    diag.m_nValue = 3;
    diag.Empty();
    EXPECT_EQ(diag.m_nValue, 0);
}

TEST(DescriptorRecords, DeviceMenu) {
    DEVICEMENU menu;
    menu.m_arrCtrlSignals[1] = {L"", L"", L"third"};
    EXPECT_EQ(menu.getCtrlSignal(2), L"third");
    EXPECT_EQ(menu.getCtrlSignal(4), L"");
    EXPECT_TRUE(menu.getCtrlSignals(0) == &menu.m_arrName);
    EXPECT_FALSE(menu.getCtrlSignals(-1));

    menu.push();
    EXPECT_EQ(menu.m_vItems[0].m_sText4, L"232");
    EXPECT_EQ(menu.m_vItems[0].m_nFrameId, -1);
    menu.m_vItems[0].m_sKey = L"k1";
    menu.m_vItems[0].m_nFrameId = 7;
    menu.push();
    menu.m_vItems[1].m_sKey = L"k2";
    menu.push();
    menu.m_vItems[2].m_sKey = L"k1";  // another frame's item with a shared key
    menu.m_vItems[2].m_nFrameId = 9;
    menu.m_vFrameEntries = {{L"main", 0, 7}, {L"none", 0, 2147483647}};
    std::vector<DEVICEMENU::menu_tag> out(4);
    menu.getChildFrames(L"main", out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].m_nFrameId, 9);
    menu.getChildFrames(L"none", out);
    EXPECT_TRUE(out.empty());
    menu.getChildFrames(L"MAIN", out);
    EXPECT_TRUE(out.empty());

    DEVICEMENU copy = menu;
    EXPECT_TRUE(copy == menu);
    copy.m_vItems[1].m_nShort[3] = 1;
    EXPECT_FALSE(copy == menu);
    copy = menu;
    copy.m_sTexts10[9] = L"x";
    EXPECT_FALSE(copy == menu);
    copy = menu;
    copy.push();
    EXPECT_FALSE(copy == menu);
    copy.clear();
    EXPECT_TRUE(copy.m_vItems.empty() && copy.m_vFrameEntries.empty());
    DEVICEMENU::SetNameMaxWidth(17);
    EXPECT_EQ(DEVICEMENU::GetNameMaxWidth(), 17);
}

TEST(DescriptorRecords, DiagnosticParameter) {
    testutil::FakeArmHost host;
    PARAM_DIAG p;
    p.m_sAux3 = L"UINT16";
    EXPECT_EQ(p.GetTypeMatch(&host), L"UINT16");
    EXPECT_EQ(host.typeMatchQueries, 0);
    EXPECT_EQ(p.GetObjectIconID(eTblLevelFirst), 7356);
    EXPECT_EQ(p.GetObjectIconID(eTblLevelDeeper), 7356);
    EXPECT_FALSE(p.IsArmObjLocked());
    EXPECT_EQ(p.GetTypeName(false), L"Сигнал самодиагностики");
}
