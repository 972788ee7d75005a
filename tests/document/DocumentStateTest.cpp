#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

using fixtures::DocUi;
using testutil::TempDir;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

// A loaded record of two analog (UA, IB) and three status channels (K1, K2, Trip).
struct Loaded {
    DocUi ui;
    TempDir dir;
    CTenvorikDoc doc;
    Loaded() { EXPECT_TRUE(doc.OnOpenDocument(W(fixtures::Write(dir, "rec", fixtures::Ascii1999(30))))); }
    COscillogram& osc() { return doc.m_oscillogram; }
};

// A document whose windows are stand-ins that say what the user did.
class ScriptedDoc : public CTenvorikDoc {
public:
    bool EditCommentText(CStringA& text) override {
        ++dialogs;
        if (newText.IsEmpty()) return false;
        text = newText;
        return true;
    }
    bool RunQuickAnalysis() override {
        ++dialogs;
        return analysisChanges;
    }
    void UpdateAllViews() override { ++viewUpdates; }
    CStringA newText;
    bool analysisChanges = false;
    int dialogs = 0, viewUpdates = 0;
};

}  // namespace

TEST(DocumentUndo, StatesOfWholeRecords) {
    Loaded l;
    auto& doc = l.doc;
    EXPECT_FALSE(doc.Undo());  // nothing to undo after a load
    EXPECT_FALSE(doc.Redo());
    const auto original = l.osc().m_channels[0].m_samples;

    ASSERT_TRUE(doc.PushUndo());
    l.osc().m_channels[0].m_samples.Set(3, 1e6);
    l.osc().m_channels[1].m_flags |= CHF_INVERT;
    l.osc().m_channels[2].m_selected = true;
    const auto edited = l.osc().m_channels;

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(l.osc().m_channels[0].m_samples, original);
    EXPECT_FALSE(l.osc().m_channels[1].m_flags & CHF_INVERT);
    EXPECT_TRUE(doc.CanRedo());

    // Redo returns exactly the state before the undo.
    ASSERT_TRUE(doc.Redo());
    ASSERT_EQ(l.osc().m_channels.size(), edited.size());
    EXPECT_EQ(l.osc().m_channels[0].m_samples, edited[0].m_samples);
    EXPECT_EQ(l.osc().m_channels[1].m_flags, edited[1].m_flags);
    EXPECT_TRUE(l.osc().m_channels[2].m_selected);

    // Edit, undo, edit: the second edit empties the redo stack.
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.PushUndo());
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_FALSE(doc.Redo());
    EXPECT_TRUE(doc.Undo());
}

// A step back or forth after a save is a change that the saved file does not hold: it must be
// saved, and closing must ask, whether the record was saved in place or under a new name.
TEST(DocumentUndo, UndoAndRedoAfterASaveMarkTheRecordChanged) {
    for (const bool saveAs : {false, true}) {
        SCOPED_TRACE(saveAs ? "save as" : "save");
        Loaded l;
        auto& doc = l.doc;
        const CString path = saveAs ? W(l.dir.File("other.cfg")) : doc.GetPathName();
        const double original = l.osc().m_channels[0].m_samples[3];
        ASSERT_TRUE(doc.PushUndo());
        l.osc().m_channels[0].m_samples.Set(3, 1234.0);
        doc.SetModifiedFlag(true);
        ASSERT_TRUE(doc.OnSaveDocument(path));
        ASSERT_FALSE(doc.IsModified());

        ASSERT_TRUE(doc.Undo());
        EXPECT_TRUE(doc.IsModified());
        // Saving it writes the state undone to.
        ASSERT_TRUE(doc.OnSaveDocument(path));
        EXPECT_FALSE(doc.IsModified());
        CTenvorikDoc back;
        ASSERT_TRUE(back.OnOpenDocument(path));
        EXPECT_NEAR(back.m_oscillogram.m_channels[0].m_samples[3], original, 1e-6);

        ASSERT_TRUE(doc.Redo());
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST(DocumentUndo, RestoredRecordKeepsItsOwnFrequencyChannels) {
    Loaded l;
    auto& osc = l.osc();
    // A frequency channel, so that the record keeps a list of pointers into its channels.
    CChannel f(&l.doc);
    f.m_fileName = "F";
    f.m_name = L"F";
    f.m_unit = "Hz";
    f.ParseUnit();
    f.m_samples.assign(30, 50.0);
    osc.AddChannel(0, f);
    osc.RebuildFrequencyChannels();
    ASSERT_EQ(osc.GetFrequencyChannels().size(), 1u);

    ASSERT_TRUE(l.doc.PushUndo());
    osc.m_channels.erase(osc.m_channels.begin());
    osc.RebuildFrequencyChannels();
    ASSERT_TRUE(l.doc.Undo());
    l.doc.m_redo.clear();  // the discarded state goes; the restored list must not point into it
    ASSERT_EQ(osc.GetFrequencyChannels().size(), 1u);
    EXPECT_EQ(osc.GetFrequencyChannels()[0], &osc.m_channels[0]);
    EXPECT_EQ(osc.GetFrequencyChannelName(0), L"F");
}

TEST(DocumentGroups, FindRemovePurge) {
    Loaded l;
    auto& doc = l.doc;
    doc.m_channelGroups[L"g1"] = {CStringA("UA"), CStringA("IB")};
    doc.m_channelGroups[L"g2"] = {CStringA("K1"), CStringA("Gone")};
    EXPECT_EQ(doc.FindChannelGroup("IB"), L"g1");
    EXPECT_EQ(doc.FindChannelGroup("Trip"), L"");

    std::vector<CChannel*> list;
    l.osc().m_channels[1].m_flags &= ~CHF_VISIBLE;
    EXPECT_TRUE(doc.GetGroupChannels(list, L"g1"));
    ASSERT_EQ(list.size(), 1u);  // only the visible channels
    EXPECT_EQ(list[0], &l.osc().m_channels[0]);
    EXPECT_FALSE(doc.GetGroupChannels(list, L"none"));
    // A group naming a channel that is gone passes the look-up's exception on.
    bool thrown = false;
    try {
        doc.GetGroupChannels(list, L"g2");
    } catch (CException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);

    // Purging drops the group with a missing channel and switches off a level cursor bound to
    // one of its channels; the other cursor stays.
    doc.m_cursors.m_cursors[3] = {true, 0, 1.5, 2};  // K1
    doc.m_cursors.m_cursors[4] = {true, 0, 2.5, 0};  // UA
    doc.PurgeChannelGroups();
    EXPECT_EQ(doc.m_channelGroups.count(L"g2"), 0u);
    EXPECT_EQ(doc.m_channelGroups.count(L"g1"), 1u);
    EXPECT_FALSE(doc.m_cursors.m_cursors[3].shown);
    EXPECT_EQ(doc.m_cursors.m_cursors[3].channel, -1);
    EXPECT_TRUE(doc.m_cursors.m_cursors[4].shown);

    doc.RemoveChannelGroup(L"g1");
    EXPECT_FALSE(doc.m_cursors.m_cursors[4].shown);
    EXPECT_TRUE(doc.m_channelGroups.empty());
    doc.RemoveChannelGroup(L"g1");  // a key not in the map does nothing
}

TEST(DocumentGroups, ChartPairsKeepOnlyAnalogChannels) {
    Loaded l;
    l.doc.m_diffChartPairs = {{L"UA", L"IB"}, {L"UA", L"K1"}, {L"Gone", L"IB"}, {L"IB", L"UA"}};
    l.doc.m_circleChartPairs = {{L"K1", L"K2"}, {L"IB", L"IB"}};
    l.doc.PruneDiffChartPairs();
    l.doc.PruneCircleChartPairs();
    ASSERT_EQ(l.doc.m_diffChartPairs.size(), 2u);
    EXPECT_EQ(l.doc.m_diffChartPairs[1].first, L"IB");
    ASSERT_EQ(l.doc.m_circleChartPairs.size(), 1u);
    EXPECT_EQ(l.doc.m_circleChartPairs[0].first, L"IB");
}

TEST(DocumentTexts, CodePageDecidesTheShownTexts) {
    Loaded l;
    auto& osc = l.osc();
    osc.m_stationName = CStringA(platform::WideToOem(L"ПС Юг"));
    osc.m_channels[0].m_fileName = CStringA(platform::WideToOem(L"Ток"));
    osc.m_headerText = CStringA(platform::WideToOem(L"Заголовок"));
    l.doc.SetCodePage(0);
    EXPECT_EQ(l.doc.GetStationName(), L"ПС Юг");
    EXPECT_EQ(osc.m_channels[0].m_name, L"Ток");
    EXPECT_EQ(l.doc.GetOscillogramTitle(), L"Заголовок");
    l.doc.SetCodePage(1);
    EXPECT_NE(l.doc.GetStationName(), L"ПС Юг");  // the same bytes read as Windows-1251
    EXPECT_EQ(l.doc.GetStationName(), CString(platform::AnsiToWide(osc.m_stationName.view())));
}

TEST(DocumentCommands, StatesAndHandlers) {
    DocUi ui;
    TempDir dir;
    ScriptedDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(fixtures::Write(dir, "rec", fixtures::Binary1999(10)))));

    EXPECT_TRUE(doc.GetCommandState(ID_OSC_COMMENTS).enabled);  // a ".cfg" record
    EXPECT_TRUE(doc.GetCommandState(ID_QUICK_ANALYSIS).enabled);
    EXPECT_TRUE(doc.GetCommandState(ID_FAULT_LOCATION).enabled);
    EXPECT_TRUE(doc.GetCommandState(ID_CURSOR_DIFFERENCE).checked);
    EXPECT_FALSE(doc.GetCommandState(12345).known);

    // Comments: a cancelled dialog changes nothing; a changed text becomes the header.
    EXPECT_TRUE(doc.OnCommand(ID_OSC_COMMENTS));
    EXPECT_FALSE(doc.IsModified());
    doc.newText = "new header";
    doc.OnCommand(ID_OSC_COMMENTS);
    EXPECT_EQ(doc.m_oscillogram.m_headerText, CStringA("new header"));
    EXPECT_TRUE(doc.IsModified());

    doc.OnCommand(ID_CURSOR_DIFFERENCE);
    EXPECT_FALSE(doc.GetCommandState(ID_CURSOR_DIFFERENCE).checked);
    EXPECT_EQ(doc.viewUpdates, 1);
    doc.OnCommand(ID_QUICK_ANALYSIS);
    EXPECT_EQ(doc.viewUpdates, 1);  // nothing changed
    doc.analysisChanges = true;
    doc.OnCommand(ID_QUICK_ANALYSIS);
    EXPECT_EQ(doc.viewUpdates, 2);

    // A pasted channel on its own time base disables fault location.
    doc.m_oscillogram.m_channels[0].m_flags |= CHF_OWN_TIMEBASE;
    EXPECT_FALSE(doc.GetCommandState(ID_FAULT_LOCATION).enabled);
    doc.m_oscillogram.m_sourcePath = L"/x/rec.osc";
    EXPECT_FALSE(doc.GetCommandState(ID_OSC_COMMENTS).enabled);
}

TEST(DocumentClose, StoRecordsWarnInsteadOfAsking) {
    DocUi ui;
    CTenvorikDoc doc;
    doc.m_oscillogram.m_sourcePath = L"/x/rec.STO";
    EXPECT_TRUE(doc.OnCloseDocument());  // unchanged: no question
    EXPECT_TRUE(ui.boxes.empty());
    doc.SetModifiedFlag(true);
    ui.answer = IDCANCEL;
    EXPECT_FALSE(doc.OnCloseDocument());
    ui.answer = IDOK;
    EXPECT_TRUE(doc.OnCloseDocument());
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].Left(8), L"Внимание");
}

TEST(DocumentUndo, AStepSharesWhatTheEditLeft) {
    Loaded l;
    auto& doc = l.doc;
    ASSERT_TRUE(doc.PushUndo());
    CChannel& ua = l.osc().m_channels[0];
    // A new ratio changes how the values are shown, not the samples.
    ua.m_primaryMode = true;
    ua.m_primary = 110;
    ua.Recalc();
    const COscillogram& before = doc.m_undo.back();
    ASSERT_EQ(before.m_channels.size(), l.osc().m_channels.size());
    for (size_t k = 0; k < before.m_channels.size(); ++k)
        EXPECT_TRUE(before.m_channels[k].m_samples.SharesWith(l.osc().m_channels[k].m_samples)) << k;
    EXPECT_NE(before.m_channels[0].GetValue(1), ua.GetValue(1));

    // An edit of samples gives the edited channel data of its own, and only it.
    ASSERT_TRUE(doc.PushUndo());
    l.osc().m_channels[1].m_samples.Set(2, 5.0);
    const COscillogram& step = doc.m_undo.back();
    for (size_t k = 0; k < step.m_channels.size(); ++k)
        EXPECT_EQ(step.m_channels[k].m_samples.SharesWith(l.osc().m_channels[k].m_samples), k != 1) << k;
    ASSERT_TRUE(doc.Undo());
    EXPECT_NE(l.osc().m_channels[1].m_samples[2], 5.0);
}
