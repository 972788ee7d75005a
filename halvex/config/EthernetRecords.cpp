#include "halvex/config/EthernetRecords.h"

#include "halvex/helpers/Ai_Str.h"

namespace {
const wchar_t* const kProfiles[] = {L"IEEE 802.3 E2E", L"IEEE 802.3 P2P", L"IPv4 E2E", L"IPv4 P2P"};
}

CString CSynchTimeDef::GetPTPv2_Set(const ETHERNET2* eth) {
    int p = eth ? eth->m_nWords[ETHERNET2::kWordPtpProfile] : -1;
    return p >= 0 && p <= 3 ? CString(kProfiles[p]) : CString(L"?");
}

void CSynchTimeDef::SetPTPv2_Set(ETHERNET2* eth, const CString& text) {
    if (!eth) return;
    int p = 0;
    for (int i = 3; i >= 1; --i)
        if (text == kProfiles[i]) p = i;
    eth->m_nWords[ETHERNET2::kWordPtpProfile] = p;
}

bool CSynchTimeDef::IsIEEE8023(const ETHERNET2* eth) {
    return eth && eth->m_nWords[ETHERNET2::kWordPtpProfile] < 2;
}

bool CSynchTimeDef::IsIPV4(const ETHERNET2* eth) {
    int p = eth ? eth->m_nWords[ETHERNET2::kWordPtpProfile] : -1;
    return p == 2 || p == 3;
}

CString CSynchTimeDef::GetPTPv2_VLANtag(const ETHERNET2* eth, bool* used) {
    if (!eth) return CString();
    if (used) *used = eth->m_nWords[ETHERNET2::kWordVlanTagUsed] != 0;
    return CAi_Str::ToString(static_cast<unsigned long>(uint32_t(eth->m_nWords[ETHERNET2::kWordVlanId])));
}

void CSynchTimeDef::SetPTPv2_VLANtag(ETHERNET2* eth, bool used, const CString& id) {
    if (!eth) return;
    eth->m_nWords[ETHERNET2::kWordVlanTagUsed] = used ? 1 : 0;
    eth->m_nWords[ETHERNET2::kWordVlanId] = CAi_Str::ToInt(id);
}
