#include "halvex/config/BlockCfgInfo.h"

#include "halvex/helpers/Ai_Str.h"
#include "halvex/helpers/VersionInterface.h"
#include "platform/Encoding.h"

BLOCK_STATES g_blockStates;

namespace {

// Hardware codes of the terminal line: the variant that has HSR without reporting it, and the
// two whose early revisions cannot record PTPv2 settings.
const wchar_t kHsrImpliedCode[] = L"TKH";
constexpr int kHsrImpliedRevision = 1;
struct PtpExempt {
    const wchar_t* code;
    int upToRevision;
};
const PtpExempt kPtpExempt[] = {{L"TKA", 3}, {L"TKB", 5}};

// Three items of a ";"-separated text (three "0" appended when it has another count).
std::vector<CString> Items(const CString& text) {
    std::vector<CString> items;
    CAi_Str::CutString(text, L";", &items, L"~");
    if (items.size() != 3) items.insert(items.end(), 3, CString(L"0"));
    return items;
}

bool Below(const CString& firmware, const wchar_t* version) {
    return VersionInterface::CompareVersions(firmware, version) == -1;
}

uint16_t Le16(const BYTE* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

BLOCK_CFG_INFO& GetBlockCfgInfo(int which) {
    static BLOCK_CFG_INFO first, second;
    return which == eBlockCfgInfoFirst ? first : second;
}

bool IsSecureBlock() { return GetBlockCfgInfo(eBlockCfgInfoFirst).GetCyberSecurityVersion() != -1; }

void BLOCK_CFG_INFO::InitCommunicHardwareSettings(const CString& text) {
    std::vector<CString> items = Items(text);
    uint32_t p = CAi_Str::GetIntFromBinStr(items[1]);
    int16_t h = int16_t(p >> 16);
    int32_t q = h > 0 ? int32_t(h ^ int16_t(p & 0xFFFF)) : int32_t(h);
    for (int i = 0; i < 13; ++i) {
        m_bPorts[i][0] = (p >> i) & 1u;
        m_bPorts[i][1] = (uint32_t(q) >> i) & 1u;
    }
    uint32_t v = CAi_Str::GetIntFromBinStr(items[2]);
    m_nProtocols = int32_t(v);
    for (int b = 0; b < eProtoBitCount; ++b) m_bProtocols[b] = (v >> b) & 1u;
    m_bHardwareRead = true;
    m_bFTP = true;
    m_bLinkRedundancy = IsEthernet1() && IsEthernet2();
}

void BLOCK_CFG_INFO::InitCommunicMshpHardwareSettings(const CString& text) {
    std::vector<CString> items = Items(text);
    uint32_t a = CAi_Str::GetIntFromBinStr(items[1]);
    m_bMshpPort = a & 1u;
    m_bMshpByHardware = a != 0;
    uint32_t b = CAi_Str::GetIntFromBinStr(items[2]);
    m_nMshpProtocols = int32_t(b);
    m_bMshpByProtocols = b != 0;
    m_bFTPMshp = (b >> 13) & 1u;
    m_bPrpMshp = (b >> 17) & 1u;
    m_bIEC61850_9_2 = (b >> 21) & 1u;
}

void BLOCK_CFG_INFO::CheckReservProtStatus(const CString& firmware) {
    if (m_bHardwareRead || !Below(firmware, L"1.10.30.0")) return;
    m_bProtocols[eProtoRSTP] = m_bProtocols[eProtoPRP] = m_bProtocols[eProtoHSR] = m_bProtocols[eProtoRayMode] = true;
}

void BLOCK_CFG_INFO::InitCommunicHardwareSettingsEx(const CString& firmware, const CString&) {
    if (Below(firmware, L"1.9.3.17")) m_bProtocols[eProtoIEC103] = false;
    if (Below(firmware, L"1.10.21.0"))
        m_bProtocols[eProtoIEC103Tcp] = false;
    else
        m_bProtocols[eProtoIEC103Tcp] = m_bProtocols[eProtoIEC103Tcp] && m_bProtocols[eProtoIEC103];
    if (Below(firmware, L"1.9.4.0")) m_bProtocols[eProtoMB_Korvelund] = false;
}

bool BLOCK_CFG_INFO::CheckPTPv2RecEnable(const CString& firmware) const {
    if (Below(firmware, L"1.10.35.0")) return false;
    CString code;
    int revision = 0;
    if (!IsVersionAC(L"", 0, &code, &revision) && code.IsEmpty()) return true;
    for (const PtpExempt& e : kPtpExempt)
        if (code.CompareNoCase(e.code) == 0 && revision <= e.upToRevision) return false;
    return true;
}

bool BLOCK_CFG_INFO::IsVersionAC(const CString& code, int revision, CString* outCode, int* outRevision) const {
    if (m_sDeviceCode.IsEmpty()) return false;
    int dash = m_sDeviceCode.Find(L'-');
    if (dash < 0 || dash + 1 >= m_sDeviceCode.GetLength()) return false;
    int rev = CAi_Str::ToInt(m_sDeviceCode.Mid(dash + 1, 2));
    if (outRevision) *outRevision = rev;
    CString own = m_sDeviceCode.Left(dash);
    if (outCode) *outCode = own;
    return !code.IsEmpty() && own.CompareNoCase(code.GetString()) == 0 && revision == rev;
}

bool BLOCK_CFG_INFO::IsRSPortOnce(int n) const {
    if (n < 0 || n > 4) return true;
    return !(m_bPorts[n][0] && m_bPorts[n + 5][0]);
}

bool BLOCK_CFG_INFO::IsHsrProtocol() const {
    return m_bProtocols[eProtoHSR] || IsVersionAC(kHsrImpliedCode, kHsrImpliedRevision);
}

bool BLOCK_CFG_INFO::IsSynchTimeProtocols() const {
    return m_bProtocols[eProtoSynchTime1] || IsEthSynchTime();
}

bool BLOCK_CFG_INFO::IsEthSynchTime() const {
    return m_bProtocols[eProtoEthSynchTime1] || m_bProtocols[eProtoEthSynchTime2] || m_bProtocols[eProtoPTPv2];
}

bool BLOCK_CFG_INFO::IsBackupProtocols() const {
    return m_bLinkRedundancy || IsRayModeProtocol() || IsRstpProtocol() || IsPrpProtocol() || IsHsrProtocol();
}

int BLOCK_CFG_INFO::SetCyberSecurityUsers(const BYTE* block, size_t length) {
    if (!block) {
        m_vCyberSecurityUsers.clear();
        return 0;
    }
    if (length < 4) {
        m_vCyberSecurityUsers.clear();
        return -1;
    }
    int16_t count = int16_t(Le16(block));
    if (count == 0) {
        m_vCyberSecurityUsers.clear();
        return -1;
    }
    int16_t word = int16_t(Le16(block + 2));
    size_t pos = 4;
    for (int i = 0; i < count; ++i) {
        if (pos + 2 > length) break;
        int16_t len = int16_t(Le16(block + pos));
        if (len < 1 || pos + 2 + size_t(len) > length) break;
        std::string_view text(reinterpret_cast<const char*>(block + pos + 2), size_t(len));
        m_vCyberSecurityUsers.emplace_back(platform::AnsiToWide(text));
        pos += 2 + size_t(len);
    }
    return word;
}

void BLOCK_CFG_INFO::ClearCommonInfoVars() {
    m_sDeviceCode.Empty();
    for (auto& t : m_sIdent) t.Empty();
    m_sFurther.Empty();
    m_nCommon1 = m_nCommon2 = m_nCommon3 = -1;
    m_nCommon4 = 0;
    m_nCommon5 = -1;
    m_memoryInfo = BLOCK_MEMORY_INFO();
}

void BLOCK_CFG_INFO::SetByDefault() {
    for (auto& pair : m_bPorts) pair[0] = pair[1] = false;
    for (bool& b : m_bProtocols) b = false;
    m_bFTP = m_bLinkRedundancy = false;
    m_nProtocols = 0;
    m_bHardwareRead = false;
    m_bMshpPort = m_bFTPMshp = m_bPrpMshp = false;
    m_bGooseMshp = m_bIEC61850_9_2 = true;
    m_nMshpProtocols = 0;
}
