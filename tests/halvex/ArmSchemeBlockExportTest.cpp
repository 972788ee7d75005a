// Scheme operations that reach into inputs, outputs and function elements: unlinking, the
// compile order, and the properties a scheme offers when it becomes a block.
#include <gtest/gtest.h>

#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"
#include "tests/halvex/support/FakeArmHost.h"

namespace {

template <class T>
T* Add(ARM_SCHEME& s, T* e) {
    s.m_mapElements[e->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(e);
    return e;
}

// A function whose property "Obj" names a configuration object of type `type` (the choice),
// and whose property "Exp" exports that choice into a block under the name given.
struct ExportingFunc {
    SCHEME_FUNC func;
    explicit ExportingFunc(const wchar_t* name, EArmObjectType type) {
        func.m_sName = name;
        func.m_sCaption = CString(L"Caption ") + name;
        func.m_eType = EFuncSchemeType(1);
        auto* choice = new FuncPropsArmObjCombo;
        choice->m_sKey = L"Obj";
        choice->m_eArmObjType = type;
        auto* exp = new FuncPropsArmObjBlock;
        exp->m_sKey = L"Exp";
        exp->m_sCaption = L"Export";
        exp->m_sHostText = L"Obj";
        func.m_vProps = {SmartPointer<FuncPropsBase>(exp), SmartPointer<FuncPropsBase>(choice)};
    }
};

}  // namespace

TEST(ArmSchemeOps, InputsAndOutputsUnlinkedAndCompileOrderCleared) {
    ARM_SCHEME s;
    auto* in = Add(s, new SCHEME_INPUT(eSchemeEditCalcValues));
    auto* out = Add(s, new SCHEME_OUTPUT(eSchemeEditCalcValues));
    auto* other = Add(s, new SCHEME_FUNC_ELEMENT);
    in->m_eLinkType = eArmObjAnalogInput;
    out->m_eLinkType = EArmObjectType(20);
    out->m_nExtra1 = 12;
    out->m_nExtra2 = 5;
    other->m_mapPortTexts[1] = L"k";
    ASSERT_TRUE(in->IsConnected());
    s.ResetInOutConnections();
    EXPECT_FALSE(in->IsConnected());
    EXPECT_FALSE(out->IsConnected());
    s.ClearOutputComplileOrder();
    EXPECT_EQ(out->m_nExtra1, 0);
    EXPECT_EQ(out->m_nExtra2, 5);
    s.ClearCalcFormulas();
    EXPECT_TRUE(other->m_mapPortTexts.empty());
}

TEST(ArmSchemeOps, BlockPropertiesCollectedAndConflictsListed) {
    testutil::FakeArmHost host;
    ExportingFunc f(L"F", eArmObjAnalogInput), g(L"G", eArmObjDiscretInput);
    host.functions[1][L"F"] = &f.func;
    host.functions[1][L"G"] = &g.func;
    ARM_SCHEME s;
    auto* a = Add(s, new SCHEME_FUNC_ELEMENT(&f.func));
    auto* b = Add(s, new SCHEME_FUNC_ELEMENT(&g.func));
    auto* c = Add(s, new SCHEME_FUNC_ELEMENT(&g.func));
    Add(s, new SCHEME_FUNC_ELEMENT);  // its function is unknown: passed over
    a->m_mapPropValues[L"Exp"] = L"Ua";
    b->m_mapPropValues[L"Exp"] = L"Ub";
    c->m_mapPropValues[L"Exp"] = L"Ub";  // the same name chosen twice

    std::map<CString, EArmObjectType> props{{L"stale", eArmObjNone}};
    std::vector<CString> errors{L"stale"};
    EXPECT_FALSE(s.CollectBlockElemProps(&host, props, errors));  // always false
    EXPECT_EQ(props.size(), 2u);
    EXPECT_EQ(props.at(L"Ua"), eArmObjAnalogInput);
    EXPECT_EQ(props.at(L"Ub"), eArmObjDiscretInput);
    ASSERT_EQ(errors.size(), 1u);
    CString expected;
    expected.Format(HalvexLoadString(7350).GetString(), L"Caption G", L"Export", L"Ub");
    EXPECT_EQ(errors[0], expected);

    c->m_mapPropValues[L"Exp"] = L"";  // no name: nothing offered
    s.CollectBlockElemProps(&host, props, errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(props.size(), 2u);

    // Fixing the exported values: a name given twice fails at the second element.
    CString error;
    EXPECT_FALSE(s.SetAllFuncPropValuesExportToBlock(&host, error));  // c has no name to export
    CString missing;
    missing.Format(HalvexLoadString(7156).GetString(), L"Export");
    EXPECT_EQ(error, missing);
    c->m_mapPropValues[L"Exp"] = L"Uc";
    EXPECT_TRUE(s.SetAllFuncPropValuesExportToBlock(&host, error));
    c->m_mapPropValues[L"Exp"] = L"Ub";
    EXPECT_FALSE(s.SetAllFuncPropValuesExportToBlock(&host, error));
    EXPECT_NE(error.Find(L"Ub"), -1);
    ARM_SCHEME none;
    EXPECT_TRUE(none.SetAllFuncPropValuesExportToBlock(&host, error));
}
