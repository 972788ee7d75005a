// The formula builder without its window: every item of its tree has a panel of the controls
// its formula reads, composes what the composition gives for them, and makes a formula that
// computes over a record; new channel names are checked before anything is composed.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "analysis/FormulaBuilder.h"
#include "analysis/RecordFormula.h"
#include "model/DocumentModel.h"

namespace {

class FormulaBuilder : public ::testing::Test {
protected:
    void SetUp() override {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 1000;
        o.m_netFrequency = 50.0;
        int k = 0;
        for (const wchar_t* name : {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc", L"Uca", L"3I0", L"3U0",
                                    L"3I0n", L"Фаза А"}) {
            CChannel& ch = o.m_channels.emplace_back(&doc);
            ch.m_name = name;
            ch.m_displayUnit = name[0] == L'U' ? L"V" : L"A";
            for (int i = 0; i < 60; ++i) ch.m_samples.push_back(100 * std::sin(i * 0.314 + k) + k);
            ++o.m_analogCount;
            ++k;
        }
        o.RecalcAll(false);
    }
    const COscillogram* Record() const { return &doc.GetOscillogram(); }
    DocumentModel doc;
};

void CollectTexts(const std::vector<FormulaTreeEntry>& entries, int& items, int& categories) {
    for (const FormulaTreeEntry& e : entries) {
        EXPECT_FALSE(e.GetText().IsEmpty()) << e.textId;
        // An entry is an item or a category, never both.
        EXPECT_NE(e.code != 0, !e.children.empty()) << e.textId;
        (e.code ? items : categories)++;
        CollectTexts(e.children, items, categories);
    }
}

TEST_F(FormulaBuilder, TreeHoldsEachComposedItemOnce) {
    int items = 0, categories = 0;
    CollectTexts(FormulaFunctionTree(), items, categories);
    const std::vector<int> codes = FormulaTreeCodes();
    EXPECT_EQ(items, 57);
    EXPECT_EQ(categories, 25);
    EXPECT_EQ(std::set<int>(codes.begin(), codes.end()).size(), codes.size());
    const std::vector<int> composed = FormulaItemCodes();
    for (int code : codes) EXPECT_TRUE(std::count(composed.begin(), composed.end(), code)) << code;
    EXPECT_EQ(FormulaFunctionTree().front().code, 400);
}

TEST_F(FormulaBuilder, EveryItemsPanelComposesWhatTheCompositionGivesAndComputes) {
    RecordCalculator calc(doc.GetOscillogram());
    for (int code : FormulaTreeCodes()) {
        SCOPED_TRACE(code);
        FormulaBuilderModel model(L"New", Record(), {});
        model.ShowPanel(code);
        ASSERT_TRUE(model.CanConfirm());
        // One field per control the formula reads, each named.
        std::vector<int> read = ItemArgumentControls(code, false);
        std::set<int> distinct(read.begin(), read.end());
        std::set<int> shown;
        for (const ArgumentField& f : model.GetFields()) {
            EXPECT_FALSE(f.label.IsEmpty()) << f.id;
            EXPECT_TRUE(model.Panel().HasControl(f.id));
            EXPECT_EQ(f.kind == ArgumentKind::Channel, IsChannelControl(f.id)) << f.id;
            shown.insert(f.id);
        }
        EXPECT_EQ(shown, distinct);
        EXPECT_EQ(model.GetFields().size(), distinct.size());

        // The same controls, every one the composition knows, filled the same way.
        ArgumentControlMap all;
        for (int id = 1000; id < 2200; ++id) all.Add(id);
        FillArgumentControls({&all, false}, Record());
        // A user's other choice in every channel list reaches the formula.
        for (const ArgumentField& f : model.GetFields())
            if (f.kind == ArgumentKind::Channel) {
                model.Panel().SetText(f.id, L"Фаза А");
                all.SetText(f.id, L"Фаза А");
            }
        ASSERT_EQ(model.Confirm(), 0u);
        EXPECT_EQ(model.GetFormula(), ComposeFormulaText({&all, false}, code));
        if (code != 400 && code != 488) {
            EXPECT_NE(model.GetFormula().Find(L"\"Фаза А\""), -1) << model.GetFormula().str();
        }
        try {
            ComputeFormulaSeries(calc, model.GetFormula());
        } catch (CException* e) {
            ADD_FAILURE() << testing::PrintToString(model.GetFormula().str()) << ": "
                          << testing::PrintToString(e->GetErrorMessage().str());
            e->Delete();
        }
    }
}

TEST_F(FormulaBuilder, OpensOnTheFreeFormulaAndACategoryTakesOkAway) {
    FormulaBuilderModel model(L"Канал1", Record(), {});
    EXPECT_EQ(model.GetCode(), 400);
    EXPECT_TRUE(model.CanConfirm());
    ASSERT_EQ(model.GetFields().size(), 1u);
    EXPECT_EQ(model.GetFields()[0].kind, ArgumentKind::Formula);
    EXPECT_EQ(model.Panel().GetText(1037), CString(L"Ia + Ib"));
    model.ShowPanel(0);
    EXPECT_FALSE(model.CanConfirm());
    EXPECT_TRUE(model.GetFields().empty());
    model.ShowPanel(446);
    EXPECT_EQ(model.Panel().GetChoices(1060).size(), 11u);  // harmonics 0 to 10 at 20 samples a period
}

TEST_F(FormulaBuilder, NamesAreCheckedBeforeTheFormulaIsComposed) {
    struct Case {
        const wchar_t* name;
        unsigned reason;
    } cases[] = {
        {L"", 396},        {L"1abc", 396},  {L" abc", 396},  {L"a,b", 9930},  {L"a\"b", 9930},
        {L"a\nb", 9930},   {L"a\rb", 9930}, {L"Ia", 473},    {L"Фаза А", 473}, {L"Taken", 473},
        {L"ia", 0},        {L"Новый 1", 0}, {L"taken", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        FormulaBuilderModel model(c.name, Record(), {L"Taken"});
        EXPECT_EQ(model.Confirm(), c.reason);
        // A refused name composes nothing; the dialog stays open with it.
        EXPECT_EQ(model.GetFormula().IsEmpty(), c.reason != 0);
        EXPECT_EQ(model.GetName(), CString(c.name));
    }
    EXPECT_EQ(CheckChannelName(L"Ia", nullptr, {}), 0u);
}

}  // namespace
