#pragma once
// One logic scheme as the host keeps it: its name and its placed elements by GUID text.
#include <cstdint>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/scheme/SchemeBaseElement.h"

class ARM_SCHEME {
public:
    CString m_sName;
    MAP_SCHEME_POINTER_ELEMENT m_mapElements;
    int32_t m_nExtra = 0;  // kept for the host
    bool m_bExtra = false;  // kept for the host
};

// The element map of the host's scheme `index` of `kind`; null when the host has no such
// scheme (a kind or index out of range, or an empty record), so a stale place never reads
// past the host's list.
inline MAP_SCHEME_POINTER_ELEMENT* SchFindSchemeElements(ArmDataInterface* host, int kind, int index) {
    if (!host || kind < 0 || kind > eSchemeEditFurther || index < 0) return nullptr;
    std::vector<ARM_SCHEME*>& records = host->GetSchemeRecords(ESchemeEditType(kind));
    if (size_t(index) >= records.size() || !records[size_t(index)]) return nullptr;
    return &records[size_t(index)]->m_mapElements;
}
