#pragma once
// The parameters of the three user roles of the terminal's own user interface.
#include <cstdint>
#include <vector>

#include "platform/CString.h"

// Operational staff.
struct CustomerParams {
    CString m_sText[4];
};

struct AdminParams {
    CString m_sAccessCode = L"9317";
    CString m_sText;
    int32_t m_nValue = 0;
    std::vector<CString> m_vEntries;
};

// Technologist or programmer.
struct TechProgParams {
    CString m_sText1, m_sText2;
    CString m_sAccessCode = L"9317";
    CString m_sText4;
    int32_t m_nValue = 0;
    std::vector<CString> m_vEntries;
};
