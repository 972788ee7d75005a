// The transformation-ratio table, the channels table and the channel commands on the program's
// document itself.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FakeUi.h"
#include "TestUtil.h"
#include "app/ChannelsTable.h"
#include "app/MultiplierTable.h"
#include "document/TenvorikDoc.h"
#include "platform/CmdUI.h"
#include "platform/Encoding.h"

namespace {

// Counts what the document asks of the windows.
class Doc final : public CTenvorikDoc {
public:
    void UpdateAllViews() override { ++views; }
    void UpdateDiagrams() override { ++diagrams; }
    int views = 0, diagrams = 0;
};

CChannel MakeAnalog(Doc& doc, const char* name, const wchar_t* unit, double value) {
    CChannel ch(&doc);
    ch.m_fileName = name;
    ch.m_unit = CStringA(CString(unit));
    ch.ParseUnit();
    ch.m_samples.assign(40, value);
    ch.UpdateDisplayName(true);
    return ch;
}

// Ia (A, ratio 600/5 shown as primary), Ua (V), Z (Ohm), a program-made P (A); discrete S1, S2.
struct Record {
    testutil::FakeUi ui;
    Doc doc;
    COscillogram& o = doc.GetOscillogram();
    Record() {
        doc.m_codePage = 1;
        o.m_samplingFrequency = 1000;
        o.m_rates = {{1000.0, 40}};
        o.m_times.resize(40);
        for (int i = 0; i < 40; ++i) o.m_times.Set(size_t(i), i * 1000);
        CChannel ia = MakeAnalog(doc, "Ia", L"A", 2.0);
        ia.m_primary = 600;
        ia.m_secondary = 5;
        ia.m_primaryMode = true;
        o.AddChannel(-1, std::move(ia));
        o.AddChannel(-1, MakeAnalog(doc, "Ua", L"V", 100.0));
        o.AddChannel(-1, MakeAnalog(doc, "Z", L"Ohm", 3.0));
        for (const char* name : {"S1", "S2"}) {
            CChannel d(&doc);
            d.m_discrete = 1;
            d.m_fileName = name;
            d.m_samples.assign(40, 0.0);
            d.UpdateDisplayName(true);
            o.AddChannel(-1, std::move(d));
        }
        o.SetCalculatedChannel(L"P", L"A", std::vector<double>(40, 1.0));
        o.RecalcAll(false);
    }
    CChannel& ch(int k) { return o.m_channels[size_t(k)]; }
};

}  // namespace

TEST(RatioTable, RatiosMustBeFiniteNumbersAboveZero) {
    const struct { const wchar_t* text; bool ok; double value; } cases[] = {
        {L"600", true, 600},   {L" 0.5 ", true, 0.5}, {L"1,5", true, 1.5}, {L"1e3", true, 1000},
        {L"0", false, 0},      {L"-5", false, 0},     {L"abc", false, 0},  {L"", false, 0},
        {L"inf", false, 0},    {L"nan", false, 0},    {L"1e999", false, 0}, {L"5x", false, 0},
    };
    for (const auto& c : cases) {
        double v = -1;
        EXPECT_EQ(ParseRatio(c.text, v), c.ok) << platform::WideToUtf8(c.text);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value);
        }
    }
}

TEST(RatioTable, RowsMarksAndCommit) {
    Record r;
    MultiplierTable t(r.o);
    // The program-made channel has no row.
    ASSERT_EQ(t.Rows().size(), 3u);
    EXPECT_EQ(t.CellText(0, 0), L"Ia");
    EXPECT_EQ(t.CellText(0, 1), L"600");
    EXPECT_EQ(t.CellText(0, 2), L"5");

    // The same text again changes nothing.
    ASSERT_TRUE(t.StartEdit(1, 1, false));
    EXPECT_TRUE(t.CommitEdit(L"1", false, nullptr));
    EXPECT_FALSE(t.IsChanged());
    EXPECT_FALSE(t.StartEdit(1, 0, false));  // the name is not edited

    // CTRL keeps a mark; SHIFT marks the rectangle from the last edited cell.
    ASSERT_TRUE(t.StartEdit(0, 1, false));
    EXPECT_TRUE(t.CommitEdit(L"600", true, nullptr));
    EXPECT_TRUE(t.IsMarked(0, 1));
    ASSERT_TRUE(t.StartEdit(2, 2, true));
    for (int row = 0; row < 3; ++row)
        for (int col = 1; col <= 2; ++col) EXPECT_TRUE(t.IsMarked(row, col)) << row << col;
    EXPECT_TRUE(t.CommitEdit(L"10", false, nullptr));
    EXPECT_TRUE(t.IsChanged());
    for (int row = 0; row < 3; ++row)
        for (int col = 1; col <= 2; ++col) {
            EXPECT_EQ(t.CellText(row, col), L"10") << row << col;
            EXPECT_FALSE(t.IsMarked(row, col));
        }

    // A text that is no ratio is refused with a message, the cells as they were.
    for (const wchar_t* bad : {L"0", L"-1", L"x", L"inf"}) {
        ASSERT_TRUE(t.StartEdit(0, 1, false));
        CString error;
        EXPECT_FALSE(t.CommitEdit(bad, false, &error));
        EXPECT_NE(error.Find(bad), -1) << platform::WideToUtf8(error.GetString());
        EXPECT_EQ(t.CellText(0, 1), L"10");
    }
}

TEST(RatioTable, AcceptedChangeRescalesIsOneUndoStepAndIsKeptInTheSettings) {
    Record r;
    const double before = r.ch(0).GetCurveValue(3);
    EXPECT_DOUBLE_EQ(before, 2.0 * 600 / 5);

    // OK without an edit, and Cancel after one, change nothing.
    EXPECT_FALSE(RunRatioEdit(r.doc, [](MultiplierTable&) { return true; }));
    EXPECT_FALSE(RunRatioEdit(r.doc, [](MultiplierTable& t) {
        t.StartEdit(0, 1, false);
        t.CommitEdit(L"300", false, nullptr);
        return false;
    }));
    EXPECT_FALSE(r.doc.CanUndo());
    EXPECT_EQ(r.ch(0).m_primary, 600);

    // The ratio command through the document: one undo step, the record recalculated.
    r.doc.SetModifiedFlag(false);
    ASSERT_TRUE(RunRatioEdit(r.doc, [](MultiplierTable& t) {
        t.StartEdit(0, 1, false);
        return t.CommitEdit(L"300", false, nullptr);
    }));
    r.o.UpdateAfterChange();
    EXPECT_EQ(r.ch(0).m_primary, 300);
    EXPECT_DOUBLE_EQ(r.ch(0).GetCurveValue(3), 2.0 * 300 / 5);
    EXPECT_TRUE(r.doc.IsModified());
    EXPECT_EQ(r.doc.m_undo.size(), 1u);
    EXPECT_EQ(r.doc.m_undo.back().m_channels[0].m_primary, 600);

    testutil::TempDir dir;
    const CString set(dir.File("rec.set").c_str());
    r.doc.SaveSettingsFile(set);
    Record back;
    back.doc.LoadSettingsFile(set, true);
    EXPECT_EQ(back.ch(0).m_primary, 300);
    EXPECT_DOUBLE_EQ(back.ch(0).GetCurveValue(3), 2.0 * 300 / 5);

    ASSERT_TRUE(r.doc.Undo());
    EXPECT_EQ(r.doc.GetOscillogram().m_channels[0].m_primary, 600);
}

TEST(ChannelsTable, RowsAndTheFlagRules) {
    Record r;
    r.doc.m_diffChartPairs = {ChannelPair(L"Ia", L"Ua")};
    r.doc.m_circleChartPairs = {ChannelPair(L"Ua", L"Ia"), ChannelPair(L"Z", L"Ia")};
    ChannelsTable t(r.doc);
    using K = ChannelsTable::RowKind;
    using C = ChannelsTable::Cell;
    ASSERT_EQ(t.RowCount(), 4 + 1 + 2 + 2);
    const K kinds[] = {K::Analog, K::Analog, K::Analog, K::Analog, K::DiffPair, K::CirclePair, K::CirclePair, K::Discrete, K::Discrete};
    for (int row = 0; row < t.RowCount(); ++row) EXPECT_EQ(t.Kind(row), kinds[row]) << row;
    EXPECT_EQ(t.Text(3), L"P");
    EXPECT_EQ(t.Text(4), L"Ia | Ua");
    EXPECT_EQ(t.Text(8), L"S2");

    // Cells per row: view, spectrum, vector, circle, differential.
    const struct { int row; C cells[5]; } table[] = {
        {0, {C::Set, C::Clear, C::Clear, C::NotApplicable, C::NotApplicable}},           // Ia (A)
        {2, {C::Set, C::Clear, C::NotApplicable, C::Clear, C::NotApplicable}},           // Z (Ohm)
        {4, {C::NotApplicable, C::NotApplicable, C::NotApplicable, C::NotApplicable, C::Set}},  // diff pair
        {5, {C::NotApplicable, C::NotApplicable, C::NotApplicable, C::Set, C::NotApplicable}},  // circle pair
        {7, {C::Set, C::NotApplicable, C::NotApplicable, C::NotApplicable, C::NotApplicable}},  // discrete
    };
    for (const auto& c : table)
        for (int col = 1; col <= 5; ++col) EXPECT_EQ(t.GetCell(c.row, col), c.cells[col - 1]) << c.row << "/" << col;

    // A current goes on the vector diagram, not the circle one; a double click on a cell that
    // does not apply changes nothing.
    t.DoubleClick(0, 3);
    t.DoubleClick(0, 4);
    EXPECT_TRUE(r.ch(0).m_flags & CHF_VECTOR_DIAGRAM);
    EXPECT_FALSE(r.ch(0).m_flags & CHF_CIRCLE_DIAGRAM);
    t.DoubleClick(2, 4);
    EXPECT_TRUE(r.ch(2).m_flags & CHF_CIRCLE_DIAGRAM);
    t.DoubleClick(5, 4);
    EXPECT_FALSE(r.doc.m_circleChartPairs[0].visible);
    EXPECT_TRUE(r.doc.IsModified());
    EXPECT_GT(r.doc.views, 0);
    EXPECT_GT(r.doc.diagrams, 0);

    // A channel on a time base of its own can leave the spectrum but not join it.
    r.ch(1).m_flags |= CHF_OWN_TIMEBASE;
    t.DoubleClick(1, 2);
    EXPECT_FALSE(r.ch(1).m_flags & CHF_FREQ_DIAGRAM);
    r.ch(1).m_flags &= ~uint32_t(CHF_OWN_TIMEBASE);
    t.DoubleClick(1, 2);
    EXPECT_TRUE(r.ch(1).m_flags & CHF_FREQ_DIAGRAM);
}

TEST(ChannelsTable, HidingAStripMemberAndHeaderClicks) {
    Record r;
    ChannelsTable t(r.doc);
    r.doc.m_channelGroups[L"g"] = {"Ia", "Ua"};
    r.ch(1).m_selected = true;
    t.DoubleClick(0, 1);
    EXPECT_FALSE(r.ch(0).m_flags & CHF_VISIBLE);
    EXPECT_FALSE(r.ch(1).m_flags & CHF_VISIBLE);
    EXPECT_FALSE(r.ch(1).m_selected);
    EXPECT_TRUE(r.doc.m_channelGroups.empty());
    t.DoubleClick(0, 1);
    EXPECT_TRUE(r.ch(0).m_flags & CHF_VISIBLE);

    // Column 1: some hidden, so all are shown; then all hidden; then all shown again.
    t.HeaderClick(1);
    for (const CChannel& ch : r.o.m_channels) EXPECT_TRUE(ch.m_flags & CHF_VISIBLE);
    t.HeaderClick(1);
    for (const CChannel& ch : r.o.m_channels) EXPECT_FALSE(ch.m_flags & CHF_VISIBLE);
    t.HeaderClick(1);
    for (const CChannel& ch : r.o.m_channels) EXPECT_TRUE(ch.m_flags & CHF_VISIBLE);
    // Column 3 takes the current, the voltage and the program-made current, never Z.
    t.HeaderClick(3);
    for (int k : {0, 1, 3}) EXPECT_TRUE(r.ch(k).m_flags & CHF_VECTOR_DIAGRAM) << k;
    EXPECT_FALSE(r.ch(2).m_flags & CHF_VECTOR_DIAGRAM);
}

TEST(ChannelsTable, Rename) {
    Record r;
    ChannelsTable t(r.doc);
    EXPECT_FALSE(t.DoubleClick(3, 0));  // program-made
    ASSERT_EQ(r.ui.messages.size(), 1u);
    EXPECT_EQ(r.ui.messages[0], L"Переименование расчетных каналов запрещено.");
    ASSERT_TRUE(t.DoubleClick(0, 0));
    EXPECT_FALSE(t.Rename(0, L"Ua"));
    EXPECT_EQ(r.ui.messages.back(), L"Данное имя канала уже используется.");
    EXPECT_EQ(r.ch(0).GetName(), L"Ia");
    EXPECT_TRUE(t.Rename(0, L"Ток A"));
    EXPECT_EQ(t.Text(0), L"Ток A");
    EXPECT_EQ(t.FileNameNote(0), L"(Ia)");
    EXPECT_EQ(r.ch(0).m_alias, L"Ток A");
    // An empty name gives back the stored one.
    EXPECT_TRUE(t.Rename(0, L""));
    EXPECT_EQ(t.Text(0), L"Ia");
    EXPECT_EQ(t.FileNameNote(0), L"");
    EXPECT_EQ(r.ui.messages.size(), 2u);
}

TEST(DocumentChannelCommands, StripsOfTheDocumentItself) {
    Record r;
    r.doc.m_channelGroups[L"g"] = {"Ua", "Z"};
    EXPECT_EQ(r.doc.GetGroupFileNames(L"g"), (std::vector<CStringA>{"Ua", "Z"}));
    EXPECT_TRUE(r.doc.GetGroupFileNames(L"none").empty());
    // A curve mode reaches every channel of a selected channel's strip.
    r.o.ClearSelection();
    r.ch(1).m_selected = true;
    r.o.ApplyValueMode(ID_CHANNEL_CURVE_RMS, nullptr);
    EXPECT_EQ(r.ch(2).m_flags & CHF_CURVE_MASK, uint32_t(CHF_CURVE_RMS));
    EXPECT_EQ(r.ch(0).m_flags & CHF_CURVE_MASK, uint32_t(CHF_CURVE_INSTANT));
    // Hiding a selected strip member hides the strip, dissolves it and frees its level cursor.
    r.doc.m_cursors.m_cursors[3] = CursorMarker{true, 0, 1.0, 2};
    r.o.ShowDiscreteChannels(ID_HIDE_SELECTED_CHANNELS);
    EXPECT_FALSE(r.ch(2).m_flags & CHF_VISIBLE);
    EXPECT_TRUE(r.doc.m_channelGroups.empty());
    EXPECT_FALSE(r.doc.m_cursors.m_cursors[3].shown);
}
