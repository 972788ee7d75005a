// "Загрузка настроек" of another record's settings file: the user is told what it replaces
// and may keep his work, and the load is one step that undo takes back whole (calculated
// channels, chart pairs, merged strips, the settings store) and redo applies again.
#include <gtest/gtest.h>

#include "FakeUi.h"
#include "Fixtures.h"
#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

using testutil::TempDir;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

class LoadSettings : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999(40));
        SettingsStore other;
        other.GetCategory(L"Diff Chart").GetSubCategory(L"Channels").GetSubCategory(L"0").SetString(L"BrakeCurr", L"X");
        other.GetCategory(L"View").SetDouble(L"XScale", 9.0);
        ASSERT_TRUE(other.Save(W(dir.File("other.set"))));
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        ui.openFileAnswer = W(dir.File("other.set"));
    }
    // The user's work on the record: a calculated channel, a pair on each diagram, a strip.
    void AddWork() {
        CalcChannels& list = CalcChannels::Of(doc.GetOscillogram());
        list.Append(L"Ток2", L"IB * 2");
        ASSERT_TRUE(list.ComputeChannels());
        doc.m_diffChartPairs = {ChannelPair(L"IB", L"Ток2")};
        doc.m_circleChartPairs = {ChannelPair(L"UA", L"IB")};
        doc.m_channelGroups[L"strip"] = {CStringA("UA"), CStringA("IB")};
        doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 3.5);
    }
    bool HasChannel(const wchar_t* name) {
        for (const CChannel& ch : doc.GetOscillogram().m_channels)
            if (ch.GetName() == name) return true;
        return false;
    }
    void ExpectWork() {
        EXPECT_EQ(CalcChannels::Of(doc.GetOscillogram()).GetCount(), 1u);
        EXPECT_TRUE(HasChannel(L"Ток2"));
        ASSERT_EQ(doc.m_diffChartPairs.size(), 1u);
        EXPECT_EQ(doc.m_diffChartPairs[0].second, L"Ток2");
        EXPECT_EQ(doc.m_circleChartPairs.size(), 1u);
        EXPECT_EQ(doc.m_channelGroups.count(L"strip"), 1u);
        EXPECT_EQ(doc.m_settings.GetCategory(L"View").GetDouble(L"XScale", 0), 3.5);
    }
    void ExpectLoaded() {
        EXPECT_EQ(CalcChannels::Of(doc.GetOscillogram()).GetCount(), 0u);
        EXPECT_FALSE(HasChannel(L"Ток2"));
        ASSERT_EQ(doc.m_diffChartPairs.size(), 1u);
        EXPECT_EQ(doc.m_diffChartPairs[0].first, L"X");
        EXPECT_TRUE(doc.m_circleChartPairs.empty());
        EXPECT_TRUE(doc.m_channelGroups.empty());
        EXPECT_EQ(doc.m_settings.GetCategory(L"View").GetDouble(L"XScale", 0), 9.0);
    }
    TempDir dir;
    testutil::FakeUi ui;
    CTenvorikDoc doc;
};

}  // namespace

TEST_F(LoadSettings, AsksFirstNamingWhatWouldBeReplacedAndCancelKeepsIt) {
    AddWork();
    ui.answers = {IDCANCEL};
    EXPECT_TRUE(doc.OnCommand(ID_LOAD_SETTINGS));
    // The file dialog speaks the program's language.
    ASSERT_EQ(ui.openTitles.size(), 1u);
    EXPECT_EQ(ui.openTitles[0], L"Загрузить настройки осциллограммы");
    ASSERT_EQ(ui.messages.size(), 1u);
    for (const wchar_t* part : {L"other.set", L"расчетные каналы (1)", L"дифференциальной диаграммы (1)",
                                L"круговой диаграммы (1)", L"объединенные полосы (1)"})
        EXPECT_GE(ui.messages[0].Find(part), 0) << part << " in " << ui.messages[0].str();
    ExpectWork();
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(LoadSettings, LoadIsOneStepThatUndoTakesBackAndRedoAppliesAgain) {
    AddWork();
    ui.answers = {IDOK};
    EXPECT_TRUE(doc.OnCommand(ID_LOAD_SETTINGS));
    ExpectLoaded();
    EXPECT_TRUE(doc.IsModified());

    ASSERT_TRUE(doc.Undo());
    ExpectWork();
    EXPECT_FALSE(doc.CanUndo());
    ASSERT_TRUE(doc.Redo());
    ExpectLoaded();
    ASSERT_TRUE(doc.Undo());
    ExpectWork();
    EXPECT_TRUE(ui.exceptions.empty());
}

TEST_F(LoadSettings, StepsWithoutTheDocumentsPartsLeaveThemAlone) {
    AddWork();
    ui.answers = {IDOK};
    EXPECT_TRUE(doc.OnCommand(ID_LOAD_SETTINGS));
    // A later channel edit is undone on its own: the loaded pairs and settings stay.
    ASSERT_TRUE(doc.PushUndo());
    doc.GetOscillogram().m_channels[0].m_alias = L"edited";
    doc.m_settings.GetCategory(L"Circle Chart").SetInt(L"SightsOnly", 0);
    ASSERT_TRUE(doc.Undo());
    ExpectLoaded();
    EXPECT_EQ(doc.m_settings.GetCategory(L"Circle Chart").GetInt(L"SightsOnly", 1), 0);
    // The step before it is the load.
    ASSERT_TRUE(doc.Undo());
    ExpectWork();
}

TEST_F(LoadSettings, NothingToLoseIsNotAskedAndStillUndone) {
    EXPECT_TRUE(doc.OnCommand(ID_LOAD_SETTINGS));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(doc.m_diffChartPairs.size(), 1u);
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.m_diffChartPairs.empty());
}
