#pragma once
// The library's program version, comparison of dotted version texts, and whether the process
// runs under Wine.
#include "platform/CString.h"

class VersionInterface {
public:
    static CString GetCurrentProgrammVersion();
    // The version, a space and the designation of the design document of the editor, the
    // configuration program or the firmware.
    static CString GetCurrPrgVerWithZorv_Quastel();
    static CString GetCurrPrgVerWithZorv_Plenwick();
    static CString GetCurrPrgVerWithZorv_Firmware();
    // -1, 0 or 1 as `first` is lower than, equal to or higher than `second`, comparing up to
    // four dot-separated numbers; a missing number counts as 0.
    static int CompareVersions(const CString& first, const CString& second);
    // The number after `index` dots (the last one when there are fewer dots).
    static int GetNumVersionByIndex(int index, const CString& version);
    static int GetCurrentNumVersionByIndex(int index);
    // Asked once per process; a native build never runs under Wine.
    static bool IsWine();
    // Makes IsWine answer `wine` from now on, so the Wine-only drawing rules can be exercised.
    static void SetIsWine(bool wine) { s_isWine = wine ? 1 : 0; }

private:
    static int s_isWine;  // -1 not yet asked, 0 no, 1 yes
};
