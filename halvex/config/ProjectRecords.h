#pragma once
// Records with which the host identifies a terminal project, compares it with the one in the
// terminal, caches firmware-package comparisons and collects what a terminal reports at
// initialisation.
#include <cstdint>
#include <list>
#include <map>
#include <vector>

#include "halvex/config/ArmPoints.h"

struct PROJECT_START_COMPARE_INFO {
    CString m_sText[6];  // identification texts
    int32_t m_nValue = 0;
    // Lexicographic: the texts in order (case counts), then the value.
    bool operator<(const PROJECT_START_COMPARE_INFO& other) const;
};

struct PROJECT_COMPARE_INFO {
    CString m_sText[6];
    int32_t m_nValue = 0;
    int32_t m_nNumber = 0;
    int32_t m_nFlag = 1;
    // Texts, value and number; with all equal, a record with flag 0 sorts before one without.
    bool operator<(const PROJECT_COMPARE_INFO& other) const;
    // a.number - b.number for the same project (b's number not above a's); else -1, as also
    // when a's flag is set.
    static int Compare(const PROJECT_COMPARE_INFO& a, const PROJECT_COMPARE_INFO& b);
};

struct BFPO_COMPARE_INFO {
    CString m_sText;
    int32_t m_nValues[4] = {};
};

struct BFPO_CACHE_INFO {
    CString m_sText;
    int32_t m_nValues[4] = {};
    PROJECT_COMPARE_INFO m_project;
};

struct BLOCK_INIT_INFO {
    CString m_sText1;
    int32_t m_nValue = 0;
    CString m_sText2, m_sText3;
    std::vector<CString> m_vList;
    std::map<CString, std::vector<PUBLIC_DATA>> m_mapPublicData;
    std::map<CString, CString> m_map1, m_map2;  // kept for the host

    // The list stored under `name`, made empty when not yet there.
    std::vector<PUBLIC_DATA>& GetVectPublicData(const CString& name) { return m_mapPublicData[name]; }
};
