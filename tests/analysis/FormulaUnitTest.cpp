#include <gtest/gtest.h>

#include "FormulaFixture.h"
#include "analysis/FormulaUnit.h"

namespace {

std::wstring Zeros(int n) {
    std::wstring s;
    for (int i = 0; i < n; ++i) s += L", 0";
    return s;
}

TEST(FormulaUnit, FromChannelsFunctionsAndBrackets) {
    formulatest::FormulaRecord rec;
    for (const wchar_t* u : {L"Ua", L"Ub", L"Uc"}) rec.Add(u, {1}, {{1, 0}}, L"V");
    for (const wchar_t* i : {L"Ia", L"Ib", L"Ic"}) rec.Add(i, {1}, {{1, 0}}, L"A");
    rec.Add(L"S", {1}, {{1, 0}});
    rec.Add(L"Counts", {1}, {{1, 0}}, L"kV").m_flags |= CHF_ADC_COUNTS;
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"Ua * 2", L"V"},
        {L"Ua / Ia", L"V"},
        {L"2 * Ua", L""},
        {L"-Ua + Ia", L"V"},
        {L"(Ia + Ua) * 3", L"A"},
        {L"Ua ^ 2", L""},
        {L"pi * Ua", L""},
        {L"Counts * 1", L""},
        {L"Ia * 2 [kA]", L"kA"},
        {L"Mod:(Pf: (Ia, Ua))[VA]", L"VA"},
        {L"Re: (Pf: (Ia, Ua))[W]", L"W"},
        {L"Im: (Pf3WM: (Ua, Ia, Ub, Ib, Uc, Ic))", L"W"},
        {L"Re: (Zl: (Ua, Ia, Ib, 0.25))", L"Ohm"},
        {L"Mod:(Zk: (Ua, Ia, Ib, Ic, 1, 0, 0, 0, 0.25))", L"Ohm"},
        {L"Frequency: ()", L"Hz"},
        {L"3I0: (Ia, Ib, Ic)", L"A"},
        {L"Ib: (Ia, Ib, Ic)", L"A"},
        {L"3U0: (Ua, Ub, Uc)", L"V"},
        {L"Ulf: (Ia, Ib)", L"V"},
        {L"Uncn: (Ia, Ib, Ic, Ia, Ib)", L"V"},
        {L"Uniik: (Ia, Ib)", L"V"},
        {L"CoeffAmpPriv: (Ia, 1, 1)", L"ном"},
        {L"CoeffPowerPriv: (Ia, 1, 1, 1)", L"ном"},
        {L"CoeffPriv: (Ia, 2)", L"A"},
        {L"Mod:(GrsPoslIa: (Ia, Ib, Ic, 0, 1))", L"A"},
        {L"TormSumCur: (0.5, Ia" + Zeros(23) + L")", L"A"},
        {L"TormMaxCur: (Ia" + Zeros(23) + L")", L"A"},
        {L"Chan: (Ua)", L"V"},
        {L"Rms: (Ia)", L"A"},
        {L"Mod: Ua", L"V"},
        {L"Sin: Ua", L""},
        {L"Fourie: (Ua, 3)", L""},
        {L"CosUI: (Ua, Ia)", L""},
        {L"Pk: Ia", L""},
        {L"ABSig: (Ua, Ia)", L""},
        {L"S * Ua", L""},
    };
    for (const auto& [text, unit] : cases) {
        SCOPED_TRACE(CStringA(text.c_str()).GetString());
        try {
            rec.calc.Eval(text);
        } catch (CException* e) {
            ADD_FAILURE() << CStringA(e->GetErrorMessage()).GetString();
            e->Delete();
            continue;
        }
        EXPECT_EQ(InferFormulaUnit(rec.calc.Tokens(), rec.calc.GetTokenCursor()).str(), unit);
    }
}

}  // namespace
