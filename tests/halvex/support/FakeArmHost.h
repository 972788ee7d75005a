#pragma once
// A host of configuration objects and schemes for the library's tests: it answers from what
// the test puts into it and records the notifications it receives. Objects are the test's;
// the host keeps pointers to them. Drawings and data types are the host's own, empty until a
// test fills them; scheme records and functions are the test's.
#include <map>
#include <utility>
#include <vector>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/config/ArmObject.h"
#include "halvex/scheme/SchemeFunc.h"

namespace testutil {

class FakeArmHost : public ArmDataInterface {
public:
    // --- what the host answers -------------------------------------------------------------
    std::map<int, std::vector<ARM_SCHEME*>> schemes;  // by scheme kind
    // By kind, then name. (A pair with a CString would compare the texts' addresses: CString
    // converts to a pointer, which is what a pair's three-way comparison finds.)
    std::map<int, std::map<CString, BLOCK_SCHEME*>> blocks;
    std::map<const SCHEME_BASE_ELEMENT*, std::pair<int, int>> elementPlaces;
    Scheme_Draw inputSchemeDraw, outputSchemeDraw, blockDrawTemplate, defaultFuncSchemeDraw;
    std::map<CString, Scheme_Draw> drawings;
    std::map<CString, TYPE_MATCHER> types;
    // What the host hands out; a test may point them elsewhere, or null the maps.
    Scheme_Draw* inputDraw = &inputSchemeDraw;
    Scheme_Draw* outputDraw = &outputSchemeDraw;
    Scheme_Draw* blockTemplate = &blockDrawTemplate;
    Scheme_Draw* defaultFuncDraw = &defaultFuncSchemeDraw;
    std::map<CString, Scheme_Draw>* funcDrawData = &drawings;
    std::map<CString, TYPE_MATCHER>* typeMatchers = &types;
    std::map<int, CString> objTypeMatches;  // by object kind
    std::map<CString, HIDDEN_PROP_DATA> hiddenProps;
    std::map<CString, CString> defines;
    int programCount = 1;
    std::vector<CString> usedNames;
    std::vector<ArmObject*> objects;  // in the host's order
    std::map<int, std::map<CString, SCHEME_FUNC*>> functions;  // by function-scheme kind, then name
    std::map<const CONTROL_ALIAS_ELEM*, CString> editTexts;
    bool online = false, asuForbidden = false, distSendSupported = true, outputChannelProps = false;

    // --- what the host was told and asked ----------------------------------------------------
    std::vector<std::pair<int, int>> prepared;  // PrepareElementChange arguments
    std::vector<int> changed;                   // ElementChanged arguments
    int useInOrgIspUsersChanged = 0;
    int typeMatchQueries = 0;
    int programCountQueries = 0;

    std::vector<ARM_SCHEME*>& GetSchemeRecords(ESchemeEditType kind) override { return schemes[kind]; }
    BLOCK_SCHEME* GetBlockScheme(ESchemeEditType kind, const CString& name) override {
        auto& byName = blocks[kind];
        auto it = byName.find(name);
        return it == byName.end() ? nullptr : it->second;
    }
    void FindElementScheme(const SCHEME_BASE_ELEMENT* element, std::pair<int, int>& where) override {
        auto it = elementPlaces.find(element);
        if (it != elementPlaces.end()) where = it->second;
    }
    Scheme_Draw* GetInputSchemeDraw() override { return inputDraw; }
    Scheme_Draw* GetOutputSchemeDraw() override { return outputDraw; }
    Scheme_Draw* GetBlockDrawTemplate() override { return blockTemplate; }
    Scheme_Draw* GetDefaultFuncSchemeDraw() override { return defaultFuncDraw; }
    std::map<CString, Scheme_Draw>* GetFuncDrawData() override { return funcDrawData; }
    std::map<CString, TYPE_MATCHER>* GetTypeMatchers() override { return typeMatchers; }
    void GetArmObjTypeMatch(CString& typeMatch, EArmObjectType type) override {
        ++typeMatchQueries;
        auto it = objTypeMatches.find(type);
        typeMatch = it == objTypeMatches.end() ? CString() : it->second;
    }
    const std::map<CString, HIDDEN_PROP_DATA>& GetHiddenPropData() override { return hiddenProps; }
    void GetDefineValue(CString& value, const CString& name) override {
        auto it = defines.find(name);
        value = it == defines.end() ? CString() : it->second;
    }
    int GetUstavProgramCount() override {
        ++programCountQueries;
        return programCount;
    }
    bool IsNameUsedInProject(const CString& name, int) override {
        for (const CString& n : usedNames)
            if (n == name) return true;
        for (const ArmObject* o : objects)
            if (o->m_sName == name) return true;
        return false;
    }
    void CollectArmObjects(std::vector<ArmObject*>& out, const std::vector<EArmObjectType>& types, int) override {
        for (ArmObject* o : objects)
            for (EArmObjectType t : types)
                if (o->GetArmObjectType() == t) {
                    out.push_back(o);
                    break;
                }
    }
    void CollectArmObjectsByType(std::vector<ArmObject*>& out, EArmObjectType type, bool, int mask) override {
        CollectArmObjects(out, {type}, mask);
    }
    SCHEME_FUNC* GetSchemeFunc(EFuncSchemeType kind, const CString& name) override {
        auto& byName = functions[kind];
        auto it = byName.find(name);
        return it == byName.end() ? nullptr : it->second;
    }
    void ElementChanged(int what) override { changed.push_back(what); }
    bool HasOutputChannelProps(SCHEME_OUTPUT*) override { return outputChannelProps; }
    void OnUseInOrgIspUsersChanged() override { ++useInOrgIspUsersChanged; }
    void PrepareElementChange(int what, int how) override { prepared.emplace_back(what, how); }
    void GetEditElemText(CString& text, CONTROL_ALIAS_ELEM* element) override {
        auto it = editTexts.find(element);
        text = it == editTexts.end() ? CString() : it->second;
    }
    bool IsOnline() override { return online; }
    bool IsAsuUseForbidden() override { return asuForbidden; }
    bool IsDistSendSupported() override { return distSendSupported; }
};

}  // namespace testutil
