#pragma once
// What the configuration program knows of the terminal it works with: communication hardware
// and protocols (and which of them the firmware really supports), cyber-security settings and
// users, memory figures; and how the program is linked to it.
#include <cstdint>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

// How the program is linked to the terminal.
struct BLOCK_STATES {
    enum EPort { ePortCOM = 0, ePortUSB = 1, ePortEthernet = 2 };

    void SetRecordAccessToBlock(bool allowed) { m_bRecordAccess = allowed; }
    bool IsRecordAccessToBlock() const { return m_bRecordAccess; }
    void SetPortSelectedID(int port) { m_nPortSelected = port; }
    int GetPortSelectedID() const { return m_nPortSelected; }
    bool IsCOMPortSelected() const { return m_nPortSelected == ePortCOM; }
    bool IsUSBPortSelected() const { return m_nPortSelected == ePortUSB; }
    bool IsEthernetPortSelected() const { return m_nPortSelected == ePortEthernet; }
    bool IsCOMOrEthernetPortSelected() const { return IsCOMPortSelected() || IsEthernetPortSelected(); }

    bool m_bRecordAccess = true;  // writing to the terminal is allowed
    int32_t m_nPortSelected = ePortCOM;
};

extern BLOCK_STATES g_blockStates;

#pragma pack(push, 1)
// Memory figures the terminal reports (68 bytes as read from it).
struct BLOCK_MEMORY_INFO {
    uint32_t m_nPresent = 0;  // non-zero: the figures are there
    uint32_t m_nValues1[4] = {};
    uint8_t m_nBytesPerParam101 = 0, m_nBytesPerParam103 = 0, m_nBytesPerParam104 = 0, m_nBytesPerParamMB = 0;
    uint32_t m_nValues2[10] = {};
    uint32_t m_nFreeMemory = 0;
};
#pragma pack(pop)
static_assert(sizeof(BLOCK_MEMORY_INFO) == 68);

// Bits of the protocol value a terminal reports.
enum EBlockProtocolBit {
    eProtoMB_Korvelund = 0, eProtoModbusTCP = 1, eProtoIEC101 = 2, eProtoModbusRTU = 3, eProtoIEC103Tcp = 4,
    eProtoIEC104 = 5, eProtoIEC103 = 6, eProtoIEC61850 = 7, eProtoSynchTime1 = 8, eProtoSynchTime2 = 9,
    eProtoEthSynchTime1 = 10, eProtoEthSynchTime2 = 11, eProtoPTPv2 = 12, eProtoDisplay = 14,
    eProtoCommunicPlate = 15, eProtoRSTP = 16, eProtoPRP = 17, eProtoHSR = 18, eProtoRayMode = 19, eProtoJBus = 20,
    eProtoBitCount = 21,
};

class BLOCK_CFG_INFO {
public:
    // --- reported values ----------------------------------------------------------------------
    CString m_sDeviceCode;  // a code, a dash, one or two decimal digits of revision
    CString m_sIdent[3];    // kept for the host
    int32_t m_nCommon1 = -1, m_nCommon2 = -1, m_nCommon3 = -1;
    int16_t m_nCommon4 = 0;
    bool m_bRS485BlockType = true;
    int16_t m_nCommon5 = -1;
    int32_t m_nFwGroup1 = -1, m_nFwGroup2 = -1;
    int32_t m_nCyberSecurityVersion = -1;  // -1: no cyber-security function
    int16_t m_nCyberSecurityCRC = -1;
    int16_t m_nCyberSecurityTimer = -1;
    int32_t m_nCyberDegradationMode = 0;
    std::vector<CString> m_vCyberSecurityUsers;
    bool m_bReplaceAddressPosition = false;
    BLOCK_MEMORY_INFO m_memoryInfo;
    int32_t m_n104FourClientMode = 2;
    int32_t m_nCanRecByASU = 0;
    bool m_bPorts[13][2] = {};  // RS0..RS4, the same in their second form, USB, Ethernet 1 and 2
    bool m_bProtocols[eProtoBitCount] = {};
    bool m_bFTP = false;
    bool m_bLinkRedundancy = false;
    int32_t m_nProtocols = 0;
    bool m_bHardwareRead = false;
    CString m_sFurther;
    // The communication module.
    bool m_bMshpPort = false, m_bMshpByHardware = false, m_bMshpByProtocols = false;
    bool m_bFTPMshp = false, m_bPrpMshp = false;
    bool m_bGooseMshp = true, m_bIEC61850_9_2 = true;
    int32_t m_nMshpProtocols = 0;

    bool IsRS485BlockType() const { return m_bRS485BlockType; }
    void SetFwGroups(int first, int second) { m_nFwGroup1 = first, m_nFwGroup2 = second; }
    void GetBlockBfpoGroups(int& first, int& second) const { first = m_nFwGroup1, second = m_nFwGroup2; }
    void SetCyberSecurityVersion(int v) { m_nCyberSecurityVersion = v; }
    int GetCyberSecurityVersion() const { return m_nCyberSecurityVersion; }
    void SetCyberSecurityCRC(int16_t v) { m_nCyberSecurityCRC = v; }
    int16_t GetCyberSecurityCRC() const { return m_nCyberSecurityCRC; }
    void SetCyberSecurityTimer(int16_t v) { m_nCyberSecurityTimer = v; }
    int16_t GetCyberSecurityTimer() const { return m_nCyberSecurityTimer; }
    void SetCyberDegradationMode(int v) { m_nCyberDegradationMode = v; }
    int GetCyberDegradationMode() const { return m_nCyberDegradationMode; }
    std::vector<CString> GetCyberSecurityUsers() const { return m_vCyberSecurityUsers; }
    // Appends the users of a block the terminal sent: a 16-bit count, a 16-bit word, then per
    // user a 16-bit length and that many ANSI bytes (a length below 1 ends the list). Reads
    // nothing beyond `length`: an entry that would cross the end ends the list. Returns the
    // word; 0 for a null block (the list emptied), -1 for a block without users or too short
    // for its header (the list emptied).
    int SetCyberSecurityUsers(const BYTE* block, size_t length);
    void FreeCyberSecurityUsers() { m_vCyberSecurityUsers.clear(); }
    void SetFlag_ReplaceAddressPosition(bool v) { m_bReplaceAddressPosition = v; }
    bool GetFlag_ReplaceAddressPosition() const { return m_bReplaceAddressPosition; }
    int Get104FourClientMode() const { return m_n104FourClientMode; }
    void Set104FourClientMode(int v) { m_n104FourClientMode = v; }
    int GetInterfCheck_CanRecByASU() const { return m_nCanRecByASU; }
    void SetInterfCheck_CanRecByASU(int v) { m_nCanRecByASU = v; }

    bool IsBlockMemoryInfo() const { return m_memoryInfo.m_nPresent != 0; }
    int GetBytesPerParam_101() const { return m_memoryInfo.m_nBytesPerParam101; }
    int GetBytesPerParam_103() const { return m_memoryInfo.m_nBytesPerParam103; }
    int GetBytesPerParam_104() const { return m_memoryInfo.m_nBytesPerParam104; }
    int GetBytesPerParam_MB() const { return m_memoryInfo.m_nBytesPerParamMB; }
    uint32_t GetFreeBlockMemory() const { return m_memoryInfo.m_nFreeMemory; }

    // "item0;ports;protocols", the two last as strings of binary digits.
    void InitCommunicHardwareSettings(const CString& text);
    void InitCommunicMshpHardwareSettings(const CString& text);
    // Firmware gates: `firmware` is the terminal's firmware version text.
    void CheckReservProtStatus(const CString& firmware);
    void InitCommunicHardwareSettingsEx(const CString& firmware, const CString& unused);
    bool CheckPTPv2RecEnable(const CString& firmware) const;
    // Whether the device code names `code` (ignoring case) at `revision`; the parts of the
    // device code go to the out-parameters when given.
    bool IsVersionAC(const CString& code, int revision, CString* outCode = nullptr, int* outRevision = nullptr) const;

    void ClearCommonInfoVars();
    void SetByDefault();

    bool IsRS0() const { return IsRSn(0); }
    bool IsRS1() const { return IsRSn(1); }
    bool IsRS2() const { return IsRSn(2); }
    bool IsRS3() const { return IsRSn(3); }
    bool IsRS4() const { return IsRSn(4); }
    bool IsRSPortOnce(int n) const;
    bool IsRS() const { return (IsRS1() || IsRS2()) && m_bRS485BlockType; }
    bool IsUSB() const { return m_bPorts[10][0]; }
    bool IsEthernet() const { return m_bPorts[11][0]; }
    bool IsEthernet1() const { return m_bPorts[11][0]; }
    bool IsEthernet2() const { return m_bPorts[12][0]; }
    bool IsDisplay() const { return IsRS0() || m_bProtocols[eProtoDisplay]; }

    bool IsMB_Korvelund() const { return m_bProtocols[eProtoMB_Korvelund]; }
    bool IsModbusTCPProtocol() const { return m_bProtocols[eProtoModbusTCP]; }
    bool IsIEC101Protocol() const { return m_bProtocols[eProtoIEC101]; }
    bool IsModbusRTUProtocol() const { return m_bProtocols[eProtoModbusRTU]; }
    bool IsIEC103TcpProtocol() const { return m_bProtocols[eProtoIEC103Tcp]; }
    bool IsIEC104Protocol() const { return m_bProtocols[eProtoIEC104]; }
    bool IsIEC103Protocol() const { return m_bProtocols[eProtoIEC103]; }
    bool IsIEC61850Protocol() const { return m_bProtocols[eProtoIEC61850]; }
    bool IsEthPTPv2() const { return m_bProtocols[eProtoPTPv2]; }
    bool IsCommunicPlate() const { return m_bProtocols[eProtoCommunicPlate]; }
    bool IsRstpProtocol() const { return m_bProtocols[eProtoRSTP]; }
    bool IsPrpProtocol() const { return m_bProtocols[eProtoPRP]; }
    bool IsHsrProtocol() const;
    bool IsRayModeProtocol() const { return m_bProtocols[eProtoRayMode]; }
    bool IsJBusProtocol() const { return m_bProtocols[eProtoJBus]; }
    bool IsFTPProtocol() const { return m_bFTP; }
    bool IsSynchTimeProtocols() const;
    bool IsEthSynchTime() const;
    bool IsIEC101_103_104Protocols() const { return IsIEC101Protocol() || IsIEC103Protocol() || IsIEC104Protocol(); }
    bool IsEthACS() const { return IsModbusTCPProtocol() || IsIEC104Protocol() || IsIEC61850Protocol(); }
    bool IsBackupProtocols() const;

    bool IsMshp() const { return m_bMshpByHardware || m_bMshpByProtocols; }
    bool IsFTPMshpProtocol() const { return m_bFTPMshp; }
    bool IsPrpMshpProtocol() const { return m_bPrpMshp; }
    bool IsIEC61850_9_2_Protocol() const { return m_bIEC61850_9_2; }
    bool IsIEC61850_8_1_GOOSE_Protocol() const { return m_bGooseMshp; }

private:
    bool IsRSn(int n) const { return m_bPorts[n][0] || m_bPorts[n + 5][0]; }
};

enum EBlockCfgInfo { eBlockCfgInfoFirst = 1, eBlockCfgInfoSecond = 2 };

// The first instance for 1, the second for any other value.
BLOCK_CFG_INFO& GetBlockCfgInfo(int which);
// Whether the first instance's terminal has the cyber-security function.
bool IsSecureBlock();
