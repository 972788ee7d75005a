#pragma once
// The registry of configuration object kinds: value, enumerator name and display name.
#include <vector>

#include "halvex/helpers/ArmObjectType.h"
#include "platform/CString.h"

struct ArmObjDescriptor {
    EArmObjectType m_eType = eArmObjNone;
    CString m_sEnumName;    // the enumerator's own name
    CString m_sName;        // display name in the resource language
    CString m_sNameForASU;  // empty in every row
};

class CDocEnumInterpreter {
public:
    // Empties `rows` and appends the 59 rows of the registry in its order.
    static void FillVectArmObjDescr(std::vector<ArmObjDescriptor>& rows);
    // The value of the enumerator name (exact case); eArmObjNone for any other text.
    static EArmObjectType GetIdx(const CString& enumName);
    // Display name, ASU name (the display name when it has none) and enumerator name of a
    // value; an empty text for a value outside the registry.
    static CString GetName(EArmObjectType type);
    static CString GetNameForASU(EArmObjectType type);
    static CString GetByText(EArmObjectType type);
};
