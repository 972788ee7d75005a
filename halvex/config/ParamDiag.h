#pragma once
// A diagnostic parameter of the terminal: its type name is its data type as a scheme port.
#include <cstdint>

#include "halvex/config/ArmObject.h"

class PARAM_DIAG : public ArmObject {
public:
    EArmObjectType GetArmObjectType() const override { return eArmObjParamDiag; }
    int GetObjectIconID(ETblLevel) const override { return 7356; }
    CString GetTypeMatch(ArmDataInterface*) const override { return m_sAux3; }
    // The host's data type of that name: its text, and its size; empty and 0 when unknown.
    CString GetType(ArmDataInterface* host) const;
    int GetSize(ArmDataInterface* host) const;

    int32_t m_nAux1 = 0;
    int32_t m_nAux2 = 0;
    CString m_sAux3;  // the type name
};
