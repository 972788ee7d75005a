#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "halvex/config/BlockCfgInfo.h"
#include "halvex/config/ProjectRecords.h"
#include "halvex/config/RecordBytes.h"

namespace {

// A block of cyber-security users as a terminal sends it.
std::string UserBlock(int16_t count, int16_t word, const std::vector<std::string>& users) {
    std::string b;
    auto put16 = [&](int16_t v) {
        b.push_back(char(v & 0xFF));
        b.push_back(char((v >> 8) & 0xFF));
    };
    put16(count);
    put16(word);
    for (const auto& u : users) {
        put16(int16_t(u.size()));
        b += u;
    }
    return b;
}

int Users(BLOCK_CFG_INFO& info, const std::string& block) {
    return info.SetCyberSecurityUsers(reinterpret_cast<const BYTE*>(block.data()), block.size());
}

}  // namespace

TEST(BlockCfgInfo, HardwareText) {
    BLOCK_CFG_INFO info;
    info.InitCommunicHardwareSettings(L"x;0;0");
    EXPECT_FALSE(info.IsRS0() || info.IsUSB() || info.IsEthernet() || info.IsModbusTCPProtocol());
    EXPECT_TRUE(info.IsFTPProtocol());
    EXPECT_TRUE(info.m_bHardwareRead);

    // Ports: RS1 in its second form (bit 6), USB (10), both Ethernets (11, 12); the high half
    // 0x0003 is positive, so the second flags are bits of 0x0003 XOR the low half.
    info.InitCommunicHardwareSettings(L" ~ ; 11 0001110001000000 ; 100000000000000100010");
    EXPECT_FALSE(info.IsRS0());
    EXPECT_TRUE(info.IsRS1());
    EXPECT_FALSE(info.IsRSPortOnce(3) == false);
    EXPECT_TRUE(info.IsUSB());
    EXPECT_TRUE(info.IsEthernet1());
    EXPECT_TRUE(info.IsEthernet2());
    EXPECT_TRUE(info.m_bPorts[6][0]);
    EXPECT_TRUE(info.m_bPorts[0][1]);   // bit 0 of 0x1C40 ^ 3
    EXPECT_TRUE(info.m_bPorts[6][1]);   // 0x1C43 has bit 6
    EXPECT_FALSE(info.m_bPorts[2][1]);
    EXPECT_TRUE(info.IsRS());           // RS1 on an RS-485 terminal
    info.m_bRS485BlockType = false;
    EXPECT_FALSE(info.IsRS());
    EXPECT_TRUE(info.IsModbusTCPProtocol());
    EXPECT_TRUE(info.IsIEC104Protocol());
    EXPECT_TRUE(info.IsJBusProtocol());
    EXPECT_FALSE(info.IsIEC103Protocol());
    EXPECT_TRUE(info.IsEthACS());
    EXPECT_TRUE(info.IsBackupProtocols());  // two Ethernets are link redundancy
    EXPECT_EQ(info.m_nProtocols, 0x100022);

    // Two items only: three "0" are appended, so the protocols are "0".
    // Adjacent separators make no empty item: ";;1" has two items and is padded.
    BLOCK_CFG_INFO padded;
    padded.InitCommunicHardwareSettings(L";;1");
    EXPECT_TRUE(padded.IsRS0());
    EXPECT_EQ(padded.m_nProtocols, 0);
    BLOCK_CFG_INFO two;
    two.InitCommunicHardwareSettings(L"a;1");
    EXPECT_TRUE(two.IsRS0());
    EXPECT_TRUE(two.IsDisplay());
    EXPECT_EQ(two.m_nProtocols, 0);
    EXPECT_TRUE(two.IsRSPortOnce(0));
    EXPECT_TRUE(two.IsRSPortOnce(7));
    two.InitCommunicHardwareSettings(L"a;100001");  // RS0 in both forms
    EXPECT_FALSE(two.IsRSPortOnce(0));
    two.InitCommunicHardwareSettings(L"0;0;1000000000000000");
    EXPECT_TRUE(two.IsCommunicPlate());
    two.InitCommunicHardwareSettings(L"0;0;1000000000000");
    EXPECT_TRUE(two.IsEthPTPv2());
    EXPECT_TRUE(two.IsEthSynchTime());
    EXPECT_TRUE(two.IsSynchTimeProtocols());
    two.InitCommunicHardwareSettings(L"0;0;100000000");
    EXPECT_FALSE(two.IsEthSynchTime());
    EXPECT_TRUE(two.IsSynchTimeProtocols());

    BLOCK_CFG_INFO m;
    EXPECT_TRUE(m.IsIEC61850_8_1_GOOSE_Protocol());
    EXPECT_TRUE(m.IsIEC61850_9_2_Protocol());
    EXPECT_FALSE(m.IsMshp());
    m.InitCommunicMshpHardwareSettings(L"0;0;1000100000000000000000");
    EXPECT_TRUE(m.IsMshp());
    EXPECT_TRUE(m.IsIEC61850_9_2_Protocol());
    EXPECT_TRUE(m.IsPrpMshpProtocol());
    EXPECT_FALSE(m.IsFTPMshpProtocol());
    m.InitCommunicMshpHardwareSettings(L"0;1;10000000000000");
    EXPECT_TRUE(m.m_bMshpPort);
    EXPECT_TRUE(m.IsFTPMshpProtocol());
    EXPECT_FALSE(m.IsIEC61850_9_2_Protocol());
    m.SetByDefault();
    EXPECT_TRUE(m.IsIEC61850_9_2_Protocol());
    EXPECT_FALSE(m.m_bMshpPort);
    EXPECT_TRUE(m.IsMshp());  // the presence flags stay
}

TEST(BlockCfgInfo, DeviceCodeAndFirmwareGates) {
    BLOCK_CFG_INFO info;
    struct Case { const wchar_t* device; const wchar_t* code; int revision; bool result; int outRevision; };
    const Case cases[] = {
        {L"ABC-07", L"abc", 7, true, 7}, {L"ABC-7", L"ABC", 7, true, 7}, {L"ABC-", L"ABC", 0, false, -5},
        {L"ABC", L"ABC", 0, false, -5},  {L"ABC-123", L"ABC", 12, true, 12}, {L"ABC-07", L"", 7, false, 7},
        {L"", L"ABC", 0, false, -5},     {L"ABC-x", L"ABC", 0, true, 0},
    };
    for (const Case& c : cases) {
        info.m_sDeviceCode = c.device;
        int rev = -5;
        CString code;
        EXPECT_EQ(info.IsVersionAC(c.code, c.revision, &code, &rev), c.result) << CStringA(c.device).GetString();
        EXPECT_EQ(rev, c.outRevision) << CStringA(c.device).GetString();
    }

    info.m_sDeviceCode.Empty();
    info.CheckReservProtStatus(L"1.10.29.9");
    EXPECT_TRUE(info.IsRstpProtocol() && info.IsPrpProtocol() && info.IsHsrProtocol() && info.IsRayModeProtocol());
    BLOCK_CFG_INFO newer;
    newer.CheckReservProtStatus(L"1.10.30.0");
    EXPECT_FALSE(newer.IsRstpProtocol());
    BLOCK_CFG_INFO read;
    read.InitCommunicHardwareSettings(L"0;0;0");
    read.CheckReservProtStatus(L"1.0");
    EXPECT_FALSE(read.IsRstpProtocol());

    BLOCK_CFG_INFO gates;
    gates.InitCommunicHardwareSettings(L"0;0;1011001");  // Korvelund Modbus, IEC 103 TCP, 103
    gates.InitCommunicHardwareSettingsEx(L"1.10.21.0", L"");
    EXPECT_TRUE(gates.IsIEC103TcpProtocol());
    EXPECT_TRUE(gates.IsMB_Korvelund());
    gates.InitCommunicHardwareSettingsEx(L"1.9.3.16", L"");
    EXPECT_FALSE(gates.IsIEC103Protocol());
    EXPECT_FALSE(gates.IsIEC103TcpProtocol());
    EXPECT_FALSE(gates.IsMB_Korvelund());

    BLOCK_CFG_INFO ptp;
    EXPECT_FALSE(ptp.CheckPTPv2RecEnable(L"1.10.34.9"));
    EXPECT_TRUE(ptp.CheckPTPv2RecEnable(L"1.10.35.0"));
    ptp.m_sDeviceCode = L"tka-03";
    EXPECT_FALSE(ptp.CheckPTPv2RecEnable(L"2.0"));
    ptp.m_sDeviceCode = L"TKB-6";
    EXPECT_TRUE(ptp.CheckPTPv2RecEnable(L"2.0"));
    ptp.m_sDeviceCode = L"TKB-5";
    EXPECT_FALSE(ptp.CheckPTPv2RecEnable(L"2.0"));
    // The one variant that has HSR without reporting it.
    EXPECT_FALSE(ptp.IsHsrProtocol());
    ptp.m_sDeviceCode = L"TKH-01";
    EXPECT_TRUE(ptp.IsHsrProtocol());
    EXPECT_TRUE(ptp.IsBackupProtocols());
}

TEST(BlockCfgInfo, CyberSecurityUsersNeverReadPastTheBlock) {
    BLOCK_CFG_INFO info;
    EXPECT_EQ(Users(info, UserBlock(2, 77, {"admin", "\xcf\xf0"})), 77);
    EXPECT_EQ(info.GetCyberSecurityUsers(), (std::vector<CString>{L"admin", L"Пр"}));
    EXPECT_EQ(Users(info, UserBlock(3, 5, {"x"})), 5);  // appended: the list is not emptied
    EXPECT_EQ(info.m_vCyberSecurityUsers.size(), 3u);
    EXPECT_EQ(Users(info, UserBlock(0, 5, {})), -1);
    EXPECT_TRUE(info.m_vCyberSecurityUsers.empty());
    EXPECT_EQ(Users(info, UserBlock(2, 9, {"", "b"})), 9);  // a length of 0 ends the list
    EXPECT_TRUE(info.m_vCyberSecurityUsers.empty());

    // Damaged blocks: an entry longer than what is left, a length cut in half, no header.
    std::string block = UserBlock(2, 4, {"ab", "cdef"});
    for (size_t cut : {block.size() - 1, size_t(4 + 2 + 2 + 1), size_t(4 + 2 + 1), size_t(5)}) {
        info.FreeCyberSecurityUsers();
        EXPECT_EQ(Users(info, block.substr(0, cut)), 4) << cut;
        EXPECT_LE(info.m_vCyberSecurityUsers.size(), 1u) << cut;
    }
    EXPECT_EQ(Users(info, block.substr(0, 3)), -1);
    EXPECT_EQ(info.SetCyberSecurityUsers(nullptr, 10), 0);
    EXPECT_TRUE(info.m_vCyberSecurityUsers.empty());
    EXPECT_EQ(Users(info, UserBlock(-1, 8, {"a"})), 8);
    EXPECT_TRUE(info.m_vCyberSecurityUsers.empty());
}

TEST(BlockCfgInfo, InstancesStatesAndMemory) {
    EXPECT_EQ(&GetBlockCfgInfo(1), &GetBlockCfgInfo(eBlockCfgInfoFirst));
    EXPECT_EQ(&GetBlockCfgInfo(0), &GetBlockCfgInfo(2));
    EXPECT_NE(&GetBlockCfgInfo(1), &GetBlockCfgInfo(2));
    EXPECT_FALSE(IsSecureBlock());
    GetBlockCfgInfo(2).SetCyberSecurityVersion(1);
    EXPECT_FALSE(IsSecureBlock());
    GetBlockCfgInfo(1).SetCyberSecurityVersion(0);
    EXPECT_TRUE(IsSecureBlock());
    GetBlockCfgInfo(1).SetCyberSecurityVersion(-1);

    EXPECT_TRUE(g_blockStates.IsRecordAccessToBlock());
    EXPECT_TRUE(g_blockStates.IsCOMPortSelected());
    BLOCK_STATES s;
    s.SetPortSelectedID(2);
    EXPECT_TRUE(s.IsEthernetPortSelected() && s.IsCOMOrEthernetPortSelected() && !s.IsUSBPortSelected());
    s.SetPortSelectedID(1);
    EXPECT_FALSE(s.IsCOMOrEthernetPortSelected());

    BLOCK_CFG_INFO info;
    BLOCK_MEMORY_INFO mem;
    mem.m_nPresent = 1;
    mem.m_nBytesPerParam104 = 3;
    mem.m_nFreeMemory = 4096;
    std::string bytes = RecordToBytes(mem);
    ASSERT_EQ(bytes.size(), 68u);
    EXPECT_FALSE(RecordFromBytes(info.m_memoryInfo, bytes.data(), 67));
    EXPECT_FALSE(info.IsBlockMemoryInfo());
    ASSERT_TRUE(RecordFromBytes(info.m_memoryInfo, bytes.data(), bytes.size()));
    EXPECT_TRUE(info.IsBlockMemoryInfo());
    EXPECT_EQ(info.GetBytesPerParam_104(), 3);
    EXPECT_EQ(info.GetFreeBlockMemory(), 4096u);
    info.m_sDeviceCode = L"X-1";
    info.m_nCommon1 = 5;
    info.ClearCommonInfoVars();
    EXPECT_EQ(info.m_sDeviceCode, L"");
    EXPECT_EQ(info.m_nCommon1, -1);
    EXPECT_FALSE(info.IsBlockMemoryInfo());
    int a = 0, b = 0;
    info.SetFwGroups(3, 4);
    info.GetBlockBfpoGroups(a, b);
    EXPECT_EQ(a * 10 + b, 34);
}

TEST(ProjectRecords, OrderAndCompare) {
    PROJECT_COMPARE_INFO a, b;
    a.m_nFlag = 0;
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    b.m_nFlag = 0;
    EXPECT_FALSE(a < b || b < a);
    b.m_sText[5] = L"a";
    EXPECT_TRUE(a < b);
    a.m_sText[0] = L"B";
    b.m_sText[0] = L"a";
    EXPECT_TRUE(a < b);  // case counts: "B" before "a"

    PROJECT_COMPARE_INFO x, y;
    x.m_nFlag = 0;
    x.m_nNumber = 7;
    y.m_nNumber = 4;
    EXPECT_EQ(PROJECT_COMPARE_INFO::Compare(x, y), 3);
    EXPECT_EQ(PROJECT_COMPARE_INFO::Compare(y, x), -1);  // y's flag is set
    y.m_nFlag = 0;
    EXPECT_EQ(PROJECT_COMPARE_INFO::Compare(y, x), -1);
    y.m_sText[2] = L"t";
    EXPECT_EQ(PROJECT_COMPARE_INFO::Compare(x, y), -1);

    PROJECT_START_COMPARE_INFO s1, s2;
    s2.m_nValue = 1;
    EXPECT_TRUE(s1 < s2);
    s1.m_sText[3] = L"z";
    EXPECT_FALSE(s1 < s2);

    BLOCK_INIT_INFO init;
    EXPECT_TRUE(init.GetVectPublicData(L"p").empty());
    EXPECT_EQ(init.m_mapPublicData.count(L"p"), 1u);
    init.GetVectPublicData(L"p").emplace_back();
    BLOCK_INIT_INFO copy = init;
    init.GetVectPublicData(L"p").clear();
    EXPECT_EQ(copy.GetVectPublicData(L"p").size(), 1u);
    BFPO_CACHE_INFO cache;
    EXPECT_EQ(cache.m_project.m_nFlag, 1);
}
