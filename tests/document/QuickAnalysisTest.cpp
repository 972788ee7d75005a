// A confirmed quick-analysis sheet applied to an open record: new channels get free names and
// their diagram marks, the diagram settings follow, an edited list replaces the old one, and
// a formula that fails leaves the record, its list and its settings exactly as they were.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "document/RecordDump.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

using fixtures::DocUi;

namespace {

class QuickAnalysisDoc : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999(40));
        ASSERT_TRUE(doc.OnOpenDocument(CString(platform::Utf8ToWide(cfg))));
        List().Append(L"P", L"Pf: (UA, IB)");
        List().Append(L"Twice", L"IB * 2");
        ASSERT_TRUE(List().ComputeChannels());
        doc.m_settings.GetCategory(L"Vector Chart").SetString(L"AngleChannelName", L"UA");
    }
    CalcChannels& List() { return CalcChannels::Of(doc.GetOscillogram()); }
    const CChannel* Find(const wchar_t* name) {
        for (const CChannel& ch : doc.GetOscillogram().m_channels)
            if (ch.m_name == name) return &ch;
        return nullptr;
    }
    // Everything of the record a run could touch.
    std::string State() {
        std::string s = DumpRecordJson(doc, true);
        for (size_t i = 0; i < List().GetCount(); ++i)
            s += platform::WideToUtf8((List().GetName(i) + L"=" + List().GetExpression(i)).str()) + "\n";
        s += platform::WideToUtf8(doc.m_settings.SaveText().str());
        s += std::to_string(doc.m_diffChartPairs.size());
        return s;
    }

    DocUi ui;
    testutil::TempDir dir;
    CTenvorikDoc doc;
};

TEST_F(QuickAnalysisDoc, ItemsGetFreeNamesDiagramMarksAndSettings) {
    QAnResults r;
    r.collected = true;
    // "twice" is taken without regard to case, "Sum" twice by the page itself.
    r.names = {L"twice", L"Sum", L"Sum"};
    r.formulas = {L"UA + 1", L"IB + IB", L"IB - IB"};
    r.vectorItems = {L"twice"};
    r.circleItems = {L"Sum"};
    r.options.angleChannel = L"twice";
    r.options.showAngles = true;
    r.options.circleView1 = r.options.circleView2 = true;
    r.diffPairs = {{L"Sum", L"UA"}};
    ASSERT_TRUE(doc.ApplyQuickAnalysis(r));

    const std::vector<CString> expected = {L"P", L"Twice", L"twice_2", L"Sum", L"Sum_2"};
    ASSERT_EQ(List().FormulaNames(), expected);
    EXPECT_EQ(List().GetExpression(4), CString(L"IB - IB"));
    const CChannel* t2 = Find(L"twice_2");
    ASSERT_TRUE(t2);
    EXPECT_EQ(t2->GetUnitText(), Find(L"UA")->GetUnitText());
    EXPECT_FALSE(t2->GetUnitText().IsEmpty());
    EXPECT_TRUE(t2->m_flags & CHF_VECTOR_DIAGRAM);
    EXPECT_FALSE(t2->m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_TRUE(Find(L"Sum")->m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_TRUE(Find(L"Sum_2")->m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_FALSE(Find(L"Twice")->m_flags & CHF_VECTOR_DIAGRAM);

    SettingsNode& vector = doc.m_settings.GetCategory(L"Vector Chart");
    EXPECT_EQ(vector.GetString(L"AngleChannelName", CString()), CString(L"twice_2"));
    EXPECT_EQ(vector.GetInt(L"ShowAnglesValue", 0), 1);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Circle Chart").GetInt(L"ViewChannelType", 0), 2);
    ASSERT_EQ(doc.m_diffChartPairs.size(), 1u);
    EXPECT_EQ(doc.m_diffChartPairs[0].first, CString(L"Sum"));
    EXPECT_EQ(doc.m_diffChartPairs[0].second, CString(L"UA"));
    EXPECT_EQ(doc.m_settings.GetCategory(L"Diff Chart").GetInt(L"ViewChannelType", 0), 1);
}

TEST_F(QuickAnalysisDoc, NoItemsComputesTheListAgainAndStillSetsTheOptions) {
    QAnResults r;
    r.options.circleView1 = true;
    ASSERT_TRUE(doc.ApplyQuickAnalysis(r));
    EXPECT_EQ(List().GetCount(), 2u);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Circle Chart").GetInt(L"ViewChannelType", 0), 1);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Vector Chart").GetString(L"AngleChannelName", CString()), CString(L"UA"));
}

TEST_F(QuickAnalysisDoc, EditedListReplacesTheOldOneKeepingWhatStays) {
    const_cast<CChannel*>(Find(L"Twice"))->m_flags |= CHF_VECTOR_DIAGRAM;
    QAnResults r;
    r.options.listsEdited = true;
    r.names = {L"Twice", L"New"};
    r.formulas = {L"IB * 3", L"UA * 2"};
    ASSERT_TRUE(doc.ApplyQuickAnalysis(r));
    EXPECT_EQ(List().FormulaNames(), r.names);
    EXPECT_FALSE(Find(L"P"));
    ASSERT_TRUE(Find(L"New"));
    // The channel that stays keeps its display and takes its new values.
    const CChannel* twice = Find(L"Twice");
    EXPECT_TRUE(twice->m_flags & CHF_VECTOR_DIAGRAM);
    EXPECT_DOUBLE_EQ(twice->GetFormulaValue(3), 3 * Find(L"IB")->GetFormulaValue(3));
}

TEST_F(QuickAnalysisDoc, FailingFormulaLeavesTheRecordAsItWas) {
    const std::string before = State();
    QAnResults items;
    items.names = {L"Good", L"Bad"};
    items.formulas = {L"UA + 1", L"NoSuchChannel * 2"};
    items.vectorItems = {L"Good"};
    items.options.angleChannel = L"Good";
    items.options.circleView2 = true;
    items.diffPairs = {{L"Good", L"UA"}};
    QAnResults edited;
    edited.options.listsEdited = true;
    edited.names = {L"Twice", L"Bad"};
    edited.formulas = {L"IB * 3", L"Rms: ("};
    for (const QAnResults* r : {&items, &edited}) {
        ui.errors.clear();
        EXPECT_FALSE(doc.ApplyQuickAnalysis(*r));
        EXPECT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(State(), before);
    }
}

}  // namespace
