#include "halvex/config/ArmObject.h"

#include "halvex/config/ArmDataInterface.h"
#include "halvex/config/ObjIconsHelper.h"

void ArmObject::GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface*) {
    text.Clear();
    text.m_sType = GetTypeName(false);
    text.m_sName = m_sName;
    text.m_sComment = m_sComment;
}

int ArmObject::GetObjectIconID(ETblLevel) const { return -1; }

CString ArmObject::GetTypeMatch(ArmDataInterface* host) const {
    CString match;
    if (host) host->GetArmObjTypeMatch(match, GetArmObjectType());
    return match;
}

CString ArmObject::GetTypeName(bool group) const { return ObjIconsHelper::GetTypeName(GetArmObjectType(), group); }
CString ArmObject::GetSchemeEditShortName() const { return ObjIconsHelper::GetSchemeEditShortName(GetArmObjectType()); }
CString ArmObject::GetCompilerName() const { return ObjIconsHelper::GetCompilerName(GetArmObjectType()); }
CString ArmObject::GetCompilerNameCft() const { return ObjIconsHelper::GetCompilerNameCft(GetArmObjectType()); }

HICON ArmObject::GetObjectIcon() const {
    int id = GetObjectIconID(eTblLevelFirst);
    return id < 1 ? nullptr : HalvexLoadIcon(id);
}
