#include "halvex/config/ProjectRecords.h"

namespace {

// -1, 0 or 1 comparing the six texts in order, case counting.
int CompareTexts(const CString (&a)[6], const CString (&b)[6]) {
    for (int i = 0; i < 6; ++i) {
        int c = a[i].str().compare(b[i].str());
        if (c != 0) return c < 0 ? -1 : 1;
    }
    return 0;
}

}  // namespace

bool PROJECT_START_COMPARE_INFO::operator<(const PROJECT_START_COMPARE_INFO& o) const {
    int c = CompareTexts(m_sText, o.m_sText);
    return c != 0 ? c < 0 : m_nValue < o.m_nValue;
}

bool PROJECT_COMPARE_INFO::operator<(const PROJECT_COMPARE_INFO& o) const {
    int c = CompareTexts(m_sText, o.m_sText);
    if (c != 0) return c < 0;
    if (m_nValue != o.m_nValue) return m_nValue < o.m_nValue;
    if (m_nNumber != o.m_nNumber) return m_nNumber < o.m_nNumber;
    return m_nFlag == 0 && o.m_nFlag != 0;
}

int PROJECT_COMPARE_INFO::Compare(const PROJECT_COMPARE_INFO& a, const PROJECT_COMPARE_INFO& b) {
    if (a.m_nFlag != 0 || CompareTexts(a.m_sText, b.m_sText) != 0 || a.m_nValue != b.m_nValue) return -1;
    return a.m_nNumber >= b.m_nNumber ? a.m_nNumber - b.m_nNumber : -1;
}
