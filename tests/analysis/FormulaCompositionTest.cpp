#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/FormulaComposition.h"
#include "analysis/RecordFormula.h"
#include "model/DocumentModel.h"

namespace {

const wchar_t* const kChannels[] = {L"Ia",  L"Ib",  L"Ic",  L"Ua",  L"Ub",  L"Uc",  L"Uab",  L"Ubc",
                                    L"Uca", L"3I0", L"3U0", L"Iab", L"Ibc", L"Ica", L"3I0n", L"Фаза А"};

// Every control id that some item reads or the filler fills.
std::vector<int> AllControls() {
    std::vector<int> ids = {1037, 1050, 1051, 1052, 1053, 1060, 2009, 2010, 2041, 2042, 2044, 2045, 2090,
                            2094, 2095, 2121, 2122, 2125, 2126, 2127, 2129, 2131, 2067, 2068, 2175};
    for (int id = 1000; id < 2200; ++id)
        if (IsChannelControl(id)) ids.push_back(id);
    return ids;
}

class FormulaComposition : public ::testing::Test {
protected:
    void SetUp() override {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 1000;
        o.m_netFrequency = 50.0;
        int k = 0;
        for (const wchar_t* name : kChannels) {
            CChannel& ch = o.m_channels.emplace_back(&doc);
            ch.m_name = name;
            ch.m_displayUnit = name[0] == L'U' || name[1] == L'U' ? L"V" : L"A";
            for (int i = 0; i < 60; ++i) ch.m_samples.push_back(100 * std::sin(i * 0.314 + k) + k);
            ++o.m_analogCount;
            ++k;
        }
        CChannel& trip = o.m_channels.emplace_back(CString(L"Trip"), std::vector<int32_t>(60, 0), &doc, 0);
        (void)trip;
        ++o.m_discreteCount;
        o.RecalcAll(false);
        for (int id : AllControls()) controls.Add(id);
    }
    ArgumentFiller Filler(bool pageMode) { return {&controls, pageMode}; }
    std::wstring Compose(int code, bool pageMode) { return ComposeFormulaText(Filler(pageMode), code).str(); }
    std::wstring Arg(int id) { return GetArgumentText(Filler(false), id).str(); }

    DocumentModel doc;
    ArgumentControlMap controls;
};

TEST_F(FormulaComposition, EveryItemComposesAFormulaThatComputes) {
    FillArgumentControls(Filler(false), &doc.GetOscillogram());
    // What the pages keep in controls of their own.
    controls.SetText(2079, L"Ib");
    controls.SetText(2078, L"Ia");
    controls.SetText(2096, L"Ic");
    controls.SetText(2097, L"Ia");
    controls.SetText(2098, L"Фаза А");
    // The pages put numbers or channel names into these holders.
    controls.SetText(2090, L"Uab");
    controls.SetText(2094, L"Ubc");
    controls.SetText(2095, L"Uca");
    controls.SetText(2131, L"1");

    RecordCalculator calc(doc.GetOscillogram());
    int composed = 0;
    for (bool pageMode : {false, true}) {
        for (int code = 0; code <= 1100; ++code) {
            const std::wstring text = Compose(code, pageMode);
            if (text == L"0") continue;
            ++composed;
            SCOPED_TRACE(testing::Message() << code << (pageMode ? " page " : " dialog ") << testing::PrintToString(text));
            try {
                ComputeFormulaSeries(calc, CString(text));
            } catch (CException* e) {
                ADD_FAILURE() << testing::PrintToString(e->GetErrorMessage().str());
                e->Delete();
            }
        }
    }
    // Every item of both sets.
    EXPECT_EQ(composed, 2 * 84);
}

TEST_F(FormulaComposition, ItemTexts) {
    FillArgumentControls(Filler(false), &doc.GetOscillogram());
    controls.SetText(1041, L"Не учитывать");
    controls.SetText(2079, L"Ib");
    controls.SetText(2078, L"Ia");
    controls.SetText(2096, L"Ic");
    controls.SetText(2131, L"11");
    controls.SetText(2097, L"Ia");
    controls.SetText(2098, L"Ib");
    controls.SetText(1037, L"1,5");
    controls.SetChoices(1057, {L"Ia", L"Ub"}, 1);

    std::wstring zeros22;
    for (int k = 0; k < 22; ++k) zeros22 += L", 0";
    struct Case {
        int code;
        bool pageMode;
        std::wstring text;
    } cases[] = {
        {400, false, L"1.5"},
        {401, false, L"Ib: (Ia, Ic, 0)"},
        {402, true, L"3I0: (Ia, Ib, Ic)"},
        {446, false, L"Fourie: (Ub, 0)"},
        {459, false, L"Ua: (Uab, Ubc, \"3U0\", 1, 1)"},
        {488, false, L"Frequency: ()"},
        {501, false, L"CoeffPriv: (Ub, 1.)"},
        {505, true, L"Mod:(GrsPoslIa: (Ib, Ia, Ic, 11, 0))"},
        {505, false, L"Mod:(GrsPoslIa: (Ia, Ib, Ic, 0, 0))"},
        {519, true, L"Mod:(Zf: (Ua, Ia, Ib, \"3I0n\", 1., 1., 0., 1., 1., 0., 0.25))"},
        {522, false, L"Mod:(GrsSumCur: (Ia, Ib" + zeros22 + L"))"},
        {522, true, L"Mod:(GrsSumCur: (Ia, Ib" + zeros22 + L"))"},
        {523, true, L"TormSubCur: (Ia, Ib, 0.5)"},
        {524, false, L"TormMaxCur: (Ia, Ib" + zeros22 + L")"},
        {525, true, L"TormSumCur: (0.5, Ia, Ib" + zeros22 + L")"},
        {1069, false, L"Uncn: (Ia, Ia, Ia, Ia, Ia)"},
        {405, false, L"0"},
        {549, true, L"0"},
        {-1, false, L"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Compose(c.code, c.pageMode), c.text);
    }

    // Unticked, the zero sequence stays in; an empty page list reads as none.
    controls.SetCheck(2175, false);
    EXPECT_EQ(Compose(506, true), L"Mod:(GrsPoslIb: (Ib, Ia, Ic, 11, 1))");
    controls.SetText(1041, L"");
    EXPECT_EQ(Compose(401, true), L"Ib: (Ia, Ic, 0)");
    EXPECT_EQ(Compose(401, false), L"Ib: (Ia, Ic, \"\")");
    // Without a window every argument is missing.
    EXPECT_EQ(ComposeFormulaText({nullptr, false}, 443).str(), L"Arg: (\"\")");
}

TEST_F(FormulaComposition, ArgumentTexts) {
    struct Case {
        int id;
        const wchar_t* text;
        const wchar_t* argument;
    } cases[] = {
        {1007, L"Ia", L"Ia"},
        {1007, L"Фаза1", L"Фаза1"},
        {1007, L"3I0", L"\"3I0\""},
        {1007, L"Фаза А", L"\"Фаза А\""},
        {1007, L"I_a", L"\"I_a\""},
        {1007, L"", L"\"\""},
        // Names the lexer would begin with a keyword.
        {1007, L"Pitch", L"\"Pitch\""},
        {1007, L"NULLpoint", L"\"NULLpoint\""},
        {2110, L"Не использ.", L"\"Не использ.\""},
        {1052, L"1,5", L"1.5"},
        {1052, L" 12 ,5", L" 12 .5"},
        {1052, L"-1,5", L"-1,5"},
        {1052, L"1.5,2", L"1.5,2"},
        {1052, L"", L""},
        {1037, L"Ia + Ib", L"Ia + Ib"},
    };
    for (const Case& c : cases) {
        controls.SetText(c.id, c.text);
        EXPECT_EQ(Arg(c.id), c.argument) << c.id << " " << testing::PrintToString(std::wstring(c.text));
    }
    // A missing control reads as empty.
    EXPECT_EQ(GetArgumentText(Filler(false), 1111).str(), L"");
    EXPECT_EQ(GetArgumentText({nullptr, true}, 2100).str(), L"\"\"");

    // No formula can name a channel with a double quote in it.
    controls.SetText(1007, L"a\"+\"b");
    try {
        Arg(1007);
        ADD_FAILURE() << "no error";
    } catch (CException* e) {
        EXPECT_EQ(e->GetErrorMessage(), L"Имя канала задано неправильно. - a\"+\"b");
        e->Delete();
    }
}

TEST_F(FormulaComposition, ChannelLists) {
    const COscillogram& record = doc.GetOscillogram();
    std::vector<CString> names;
    for (const wchar_t* n : kChannels) names.push_back(n);
    auto with = [&](std::vector<CString> first) {
        first.insert(first.end(), names.begin(), names.end());
        return first;
    };

    FillChannelCombo(Filler(false), 1007, L"Ib", &record);
    EXPECT_EQ(controls.GetChoices(1007), names);  // analog channels only
    EXPECT_EQ(controls.GetText(1007), L"Ib");

    FillChannelCombo(Filler(false), 1008, L"Iz", &record);
    EXPECT_EQ(controls.GetChoices(1008), with({L"Канал отсутствует"}));
    EXPECT_EQ(controls.GetText(1008), L"Канал отсутствует");

    FillChannelCombo(Filler(false), 1041, L"3I0x", &record);
    EXPECT_EQ(controls.GetChoices(1041), with({L"Не учитывать"}));
    EXPECT_EQ(controls.GetText(1041), L"Не учитывать");
    EXPECT_EQ(Compose(401, false), L"Ib: (Ib, \"\", 0)");

    FillChannelCombo(Filler(false), 2015, L"Iz", &record);
    EXPECT_EQ(controls.GetChoices(2015), with({L"Не использ."}));
    EXPECT_EQ(controls.GetText(2015), L"Не использ.");

    FillChannelCombo(Filler(false), 1057, CString(), &record);
    EXPECT_EQ(controls.GetText(1057), L"Ia");

    // Without a record or without the control nothing changes.
    controls.SetText(1009, L"keep");
    FillChannelCombo(Filler(false), 1009, L"Ia", nullptr);
    FillChannelCombo({nullptr, false}, 1009, L"Ia", &record);
    EXPECT_EQ(controls.GetText(1009), L"keep");
    FillChannelCombo(Filler(false), 4000, L"Ia", &record);
    EXPECT_FALSE(controls.HasControl(4000));
}

TEST_F(FormulaComposition, FilledDefaults) {
    ArgumentControlMap some;
    some.Add({1060, 2041, 2068, 2175, 1052, 1007, 2016, 2043});
    ArgumentFiller filler{&some, false};
    FillArgumentControls(filler, &doc.GetOscillogram());
    EXPECT_EQ(some.GetChoices(1060).size(), 11u);  // harmonics 0 .. 10 at 20 samples a period
    EXPECT_EQ(some.GetText(1060), L"0");
    EXPECT_EQ(some.GetText(2041), L"0.5");
    EXPECT_EQ(some.GetText(2068), L"3");
    EXPECT_TRUE(some.IsChecked(2175));
    EXPECT_EQ(some.GetText(1052), L"1.");
    EXPECT_EQ(some.GetText(1007), L"Ia");
    EXPECT_EQ(some.GetText(2016), L"Ia");
    EXPECT_EQ(some.GetText(2043), L"3I0n");
    EXPECT_FALSE(some.HasControl(2042));  // controls the panel lacks stay missing

    // Without a net frequency there is no period: only the mean is offered.
    for (double net : {0.0, -50.0, double(NAN)}) {
        doc.GetOscillogram().m_netFrequency = net;
        FillArgumentControls(filler, &doc.GetOscillogram());
        EXPECT_EQ(some.GetChoices(1060), std::vector<CString>{L"0"});
    }
}

}  // namespace
