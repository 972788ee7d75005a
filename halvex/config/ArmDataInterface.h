#pragma once
// What the host program of the configuration objects and schemes answers: its records,
// drawings, data types, constants, objects and state. The host implements it and passes it
// into every operation that needs project data; this library only calls it.
#include <map>
#include <utility>
#include <vector>

#include "halvex/helpers/ArmObjectType.h"
#include "halvex/helpers/CompileIncludeSpace.h"
#include "platform/CString.h"

class ArmObject;
class ARM_SCHEME;
class BLOCK_SCHEME;
class SCHEME_BASE_ELEMENT;
class SCHEME_OUTPUT;
class SCHEME_FUNC;
class Scheme_Draw;
class CONTROL_ALIAS_ELEM;
struct TYPE_MATCHER;

// A property the host keeps out of the grid: its caption and its name/value choices.
struct HIDDEN_PROP_DATA {
    CString strCaption;
    std::vector<std::pair<CString, CString>> vValues;
};

class ArmDataInterface {
public:
    virtual ~ArmDataInterface() = default;

    // The schemes of a kind, by index.
    virtual std::vector<ARM_SCHEME*>& GetSchemeRecords(ESchemeEditType kind) = 0;
    // A user block by kind and name; null when absent.
    virtual BLOCK_SCHEME* GetBlockScheme(ESchemeEditType kind, const CString& name) = 0;
    // The kind and index of the scheme that holds `element` in `where` (preset to -1, -1);
    // kind -1 when none does.
    virtual void FindElementScheme(const SCHEME_BASE_ELEMENT* element, std::pair<int, int>& where) = 0;
    virtual Scheme_Draw* GetInputSchemeDraw() = 0;
    virtual Scheme_Draw* GetOutputSchemeDraw() = 0;
    virtual Scheme_Draw* GetBlockDrawTemplate() = 0;       // never null
    virtual Scheme_Draw* GetDefaultFuncSchemeDraw() = 0;   // never null
    // Drawings by name; the pointed-to map lives as long as the host.
    virtual std::map<CString, Scheme_Draw>* GetFuncDrawData() = 0;
    // Data types by name; pointers into the map stay valid.
    virtual std::map<CString, TYPE_MATCHER>* GetTypeMatchers() = 0;
    // The data type of a port made from an object of `type`.
    virtual void GetArmObjTypeMatch(CString& typeMatch, EArmObjectType type) = 0;
    virtual const std::map<CString, HIDDEN_PROP_DATA>& GetHiddenPropData() = 0;
    // The text of a named constant; empty when there is none.
    virtual void GetDefineValue(CString& value, const CString& name) = 0;
    // The number of setting programs of the terminal.
    virtual int GetUstavProgramCount() = 0;
    virtual bool IsNameUsedInProject(const CString& name, int flags) = 0;
    // Appends the objects of `types`, in the host's order (`mask` is 1023 from this library).
    virtual void CollectArmObjects(std::vector<ArmObject*>& objects, const std::vector<EArmObjectType>& types,
                                   int mask) = 0;
    virtual void CollectArmObjectsByType(std::vector<ArmObject*>& objects, EArmObjectType type, bool flag,
                                         int mask) = 0;
    // A function definition; null when absent.
    virtual SCHEME_FUNC* GetSchemeFunc(EFuncSchemeType kind, const CString& name) = 0;
    // After a grid edit: 3 for functions, inputs, outputs and blocks, 0 for decoration.
    virtual void ElementChanged(int what) = 0;
    virtual bool HasOutputChannelProps(SCHEME_OUTPUT* output) = 0;
    virtual void OnUseInOrgIspUsersChanged() = 0;
    // Before every grid edit (called with 0, 0).
    virtual void PrepareElementChange(int what, int how) = 0;
    // What an edit window shows now.
    virtual void GetEditElemText(CString& text, CONTROL_ALIAS_ELEM* element) = 0;
    // Whether live values of the terminal are available.
    virtual bool IsOnline() = 0;
    virtual bool IsAsuUseForbidden() = 0;
    virtual bool IsDistSendSupported() = 0;
};
