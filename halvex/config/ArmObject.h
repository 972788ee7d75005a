#pragma once
// The base of every terminal configuration object, the information-panel text, and the bases
// of locked, configuration-database and setting objects.
#include <cstdint>
#include <vector>

#include "halvex/helpers/ArmObjectType.h"
#include "halvex/helpers/HalvexIcons.h"
#include "platform/CString.h"

class ArmDataInterface;

// The table level at which an icon is shown; 0 is the first level.
enum ETblLevel : int32_t { eTblLevelFirst = 0, eTblLevelDeeper = 1 };

// The information-panel text of a selected object or scheme element.
struct OUT_INFO_TEXT {
    std::vector<CString> m_arrLines;  // message lines, such as an element's error line
    CString m_sTitle;
    CString m_sType;
    CString m_sName;
    CString m_sComment;
    CString m_sInfo;  // "label: value" lines joined by "\n"

    void Clear() {
        m_arrLines.clear();
        m_sTitle.Empty();
        m_sType.Empty();
        m_sName.Empty();
        m_sComment.Empty();
        m_sInfo.Empty();
    }
};

class ArmObject {
public:
    ArmObject() = default;
    virtual ~ArmObject() = default;
    ArmObject(const ArmObject&) = default;
    ArmObject& operator=(const ArmObject&) = default;

    virtual EArmObjectType GetArmObjectType() const = 0;
    // Type, name and description; classes with more to show add it to m_sInfo.
    virtual void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host);
    virtual int GetObjectIconID(ETblLevel level) const;  // -1: no icon
    virtual bool IsArmObjLocked() const { return false; }
    // The data type of the object as a scheme port; by default the host's for the object type.
    virtual CString GetTypeMatch(ArmDataInterface* host) const;

    CString GetTypeName(bool group) const;
    CString GetSchemeEditShortName() const;
    CString GetCompilerName() const;
    CString GetCompilerNameCft() const;
    HICON GetObjectIcon() const;

    CString m_sName;
    CString m_sComment;
};

class ArmLockObject : public ArmObject {
public:
    bool IsArmObjLocked() const override { return m_bLocked; }
    bool m_bLocked = false;  // set by the host
};

class ArmConfDbObject : public ArmLockObject {
public:
    CString m_sConfDb;  // kept for the host's configuration data base
};

// Protection settings: a value per setting program.
class USTAV_ABSTRACT : public ArmLockObject {
public:
    // The value in setting program `program` (0-based) as text.
    virtual CString GetStrValue(int program) = 0;
    uint16_t m_nUstavWord = 0;  // kept for the host
};
