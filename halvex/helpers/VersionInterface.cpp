#include "halvex/helpers/VersionInterface.h"

#include <climits>
#include <cwctype>

#include "halvex/helpers/HalvexResources.h"

int VersionInterface::s_isWine = -1;

namespace {

// The run-time's decimal text-to-int: blanks, a sign, then digits; 0 without digits.
int LeadingInt(const CString& text) {
    const wchar_t* p = text.GetString();
    while (std::iswspace(wint_t(*p))) ++p;
    bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+') ++p;
    long long v = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        v = v * 10 + (*p - L'0');
        if (v > INT_MAX) v = INT_MAX;  // a longer run of digits stays at the limit
    }
    return int(negative ? -v : v);
}

// Drops everything up to and including the first dot; false (text unchanged) without one.
bool DropPart(CString& text) {
    int dot = text.Find(L'.');
    if (dot < 0) return false;
    text = text.Mid(dot + 1);
    return true;
}

}  // namespace

CString VersionInterface::GetCurrentProgrammVersion() { return HalvexLoadString(7051); }
CString VersionInterface::GetCurrPrgVerWithZorv_Quastel() {
    return GetCurrentProgrammVersion() + L" " + HalvexLoadString(7052);
}
CString VersionInterface::GetCurrPrgVerWithZorv_Plenwick() {
    return GetCurrentProgrammVersion() + L" " + HalvexLoadString(7053);
}
CString VersionInterface::GetCurrPrgVerWithZorv_Firmware() {
    return GetCurrentProgrammVersion() + L" " + HalvexLoadString(7054);
}

int VersionInterface::CompareVersions(const CString& first, const CString& second) {
    CString a = first, b = second;
    int x = LeadingInt(a), y = LeadingInt(b);
    for (int part = 0;; ++part) {
        if (x != y) return x < y ? -1 : 1;
        if (part == 3) return 0;
        x = DropPart(a) ? LeadingInt(a) : 0;
        y = DropPart(b) ? LeadingInt(b) : 0;
    }
}

int VersionInterface::GetNumVersionByIndex(int index, const CString& version) {
    CString v = version;
    for (int i = 0; i < index; ++i) DropPart(v);
    int n = 0;
    for (int i = 0; i < v.GetLength() && v[i] >= L'0' && v[i] <= L'9'; ++i) {
        n = n * 10 + (v[i] - L'0');
        if (n > INT_MAX / 10 - 9) break;
    }
    return n;
}

int VersionInterface::GetCurrentNumVersionByIndex(int index) {
    return GetNumVersionByIndex(index, GetCurrentProgrammVersion());
}

bool VersionInterface::IsWine() {
    if (s_isWine < 0) s_isWine = 0;  // no Windows system library to ask on Linux
    return s_isWine == 1;
}
