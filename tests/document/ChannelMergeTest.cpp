// Two records of one fault merged as a user merges them: channels copied in one and pasted
// into the other, the two lined up in time by each synchronisation, combined into one record,
// saved and opened again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/ChannelClipboard.h"
#include "document/ChannelMerger.h"
#include "document/TenvorikDoc.h"
#include "model/XmlDocument.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

CString W(const std::string& s) { return CString(platform::AnsiToWide(s)); }

struct Analog {
    std::string name;
    double a = 1.0;  // the value of one code
    std::function<double(int)> value;
};
struct Discrete {
    std::string name;
    std::function<int(int)> state;
};
struct Spec {
    std::string date = "05/03/2021", time = "10:00:00.000000";
    int rate = 1000, samples = 40;
    std::vector<Analog> analog;
    std::vector<Discrete> discrete;
};

// A COMTRADE 1999 ASCII record; every value is written as its code (value / a rounded).
std::string WriteRecord(const testutil::TempDir& dir, const std::string& name, const Spec& s) {
    std::string cfg = "ST " + name + ",REC " + name + ",1999\r\n";
    cfg += std::to_string(s.analog.size() + s.discrete.size()) + "," + std::to_string(s.analog.size()) + "A," +
           std::to_string(s.discrete.size()) + "D\r\n";
    for (size_t k = 0; k < s.analog.size(); ++k) {
        char line[200];
        std::snprintf(line, sizeof line, "%zu,%s,,,A,%.9g,0,0,-99999999,99999999,1,1,P\r\n", k + 1,
                      s.analog[k].name.c_str(), s.analog[k].a);
        cfg += line;
    }
    for (size_t k = 0; k < s.discrete.size(); ++k)
        cfg += std::to_string(k + 1) + "," + s.discrete[k].name + ",,,0\r\n";
    cfg += "50\r\n1\r\n" + std::to_string(s.rate) + "," + std::to_string(s.samples) + "\r\n";
    cfg += s.date + "," + s.time + "\r\n" + s.date + "," + s.time + "\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < s.samples; ++i) {
        dat += std::to_string(i + 1) + "," + std::to_string(std::llround(double(i) * 1e6 / s.rate));
        for (const Analog& a : s.analog) dat += "," + std::to_string(std::llround(a.value(i) / a.a));
        for (const Discrete& d : s.discrete) dat += "," + std::to_string(d.state(i));
        dat += "\r\n";
    }
    testutil::WriteFile(dir.File(name + ".cfg"), cfg);
    testutil::WriteFile(dir.File(name + ".dat"), dat);
    return dir.File(name + ".cfg");
}

void SelectAll(CTenvorikDoc& doc) {
    for (CChannel& c : doc.m_oscillogram.m_channels) c.m_selected = true;
}

std::vector<CString> Names(const CTenvorikDoc& doc) {
    std::vector<CString> n;
    for (const CChannel& c : doc.m_oscillogram.m_channels) n.push_back(c.GetName());
    return n;
}

// One fault seen by two recorders. The receiving one starts at 10:00:00 and runs 4 s; the
// other's clock says it started 1.5 s later, but its clock is 5 ms slow: the fault it saw at
// 0.495 s of its own time is the one the first saw at 2.000 s. The true shift is 1.505 s.
constexpr double kW = 2 * M_PI * 50.0;
double Noise(int i, int seed) {
    uint32_t x = uint32_t(i) * 2654435761u + uint32_t(seed) * 40503u;
    x ^= x >> 13;
    x *= 0x5bd1e995u;
    x ^= x >> 15;
    return (double(x % 2001) - 1000.0) * 1e-5;
}
// The current at a moment of real time (seconds after the first recorder's start): load,
// and from 2.000 s a fault component that starts at its peak.
double Current(double t, int seed, int i) {
    double v = 100.0 * std::sin(kW * t + 0.3);
    if (t >= 2.0 - 1e-9) v += 800.0 * std::cos(kW * (t - 2.0));
    return v + Noise(i, seed);
}

Spec HostSpec() {
    Spec s;
    s.samples = 4000;
    s.analog = {{"Ia", 0.001, [](int i) { return Current(i / 1000.0, 1, i); }}};
    return s;
}
Spec PastedSpec() {
    Spec s;
    s.time = "10:00:01.500000";
    s.samples = 2000;
    s.analog = {{"Ia", 0.001, [](int i) { return Current(i / 1000.0 + 1.505, 2, i); }}};
    return s;
}

// Opens both records and pastes every channel of the second into the first.
bool OpenAndPasteAll(const testutil::TempDir& dir, CTenvorikDoc& host, CTenvorikDoc& source, const Spec& h, const Spec& p) {
    if (!host.OnOpenDocument(W(WriteRecord(dir, "host", h)))) return false;
    host.m_oscillogram.ClearSelection();
    if (!source.OnOpenDocument(W(WriteRecord(dir, "source", p)))) return false;
    SelectAll(source);
    return PasteChannelsFromXml(host, BuildChannelClipboardText(source));
}

struct MergeFixture : ::testing::Test {
    fixtures::DocUi ui;
    testutil::TempDir dir;
    CTenvorikDoc host, source;
    void Open(const Spec& h, const Spec& p) {
        ASSERT_TRUE(host.OnOpenDocument(W(WriteRecord(dir, "host", h))));
        host.m_oscillogram.ClearSelection();
        ASSERT_TRUE(source.OnOpenDocument(W(WriteRecord(dir, "source", p))));
        SelectAll(source);
    }
    bool Paste() { return PasteChannelsFromXml(host, BuildChannelClipboardText(source)); }
    const CChannel& Pasted() {
        for (const CChannel& c : host.m_oscillogram.m_channels)
            if (c.HasOwnTimeBase()) return c;
        throw std::runtime_error("no pasted channel");
    }
};

}  // namespace

// ---- clipboard exchange ------------------------------------------------------------------------

TEST_F(MergeFixture, PastedChannelsKeepTheirOwnTimeBaseAndUndoTakesThemAway) {
    Spec h;
    h.analog = {{"Ua", 1, [](int i) { return i; }}, {"Ub", 1, [](int i) { return -i; }}};
    h.discrete = {{"Trip", [](int i) { return i > 5; }}};
    Spec p;
    p.rate = 2000;
    p.samples = 30;
    p.time = "10:00:00.250000";
    p.analog = {{"Ic", 0.5, [](int i) { return 3.5 * i; }}};
    p.discrete = {{"Start", [](int i) { return i % 2; }}};
    Open(h, p);
    // The second analog channel of the receiving record is selected: pasted analog channels
    // stand before it, pasted discrete ones before its discrete channels.
    host.m_oscillogram.m_channels[1].m_selected = true;
    const CStringA header = host.m_oscillogram.m_headerText;

    ASSERT_TRUE(Paste());
    EXPECT_EQ(Names(host), (std::vector<CString>{L"Ua", L"Ic (вст.)", L"Ub", L"Trip", L"Start (вст.)"}));
    EXPECT_EQ(host.m_oscillogram.m_analogCount, 3);
    EXPECT_EQ(host.m_oscillogram.m_discreteCount, 2);
    const CChannel& ic = host.m_oscillogram.m_channels[1];
    EXPECT_TRUE(ic.HasOwnTimeBase());
    EXPECT_TRUE(ic.m_selected);
    EXPECT_FALSE(host.m_oscillogram.m_channels[2].m_selected);
    EXPECT_DOUBLE_EQ(ic.m_ownRate, 2000.0);
    ASSERT_EQ(ic.GetSampleCount(), 30u);
    EXPECT_DOUBLE_EQ(ic.GetSampleTime(29), 29 * 500.0);
    EXPECT_DOUBLE_EQ(ic.m_samples[29], 3.5 * 29);
    EXPECT_EQ(ic.m_sourceStartTime, L"10:00:00.250000");
    EXPECT_EQ(host.m_oscillogram.m_channels[4].m_samples[3], 1.0);
    EXPECT_TRUE(host.m_mergeBarShown);
    EXPECT_NE(host.GetOscillogramTitle().Find(L"Станция:ST source"), -1) << host.GetOscillogramTitle().GetString();
    EXPECT_NE(host.GetOscillogramTitle().Find(L"Имя осциллограммы: host.cfg"), -1);
    EXPECT_EQ(host.m_settings.GetCategory(L"Comments").GetInt(L"Codepage", 0), 1);
    // A second record cannot be pasted on top of the first.
    EXPECT_FALSE(Paste());
    EXPECT_EQ(host.m_oscillogram.m_channels.size(), 5u);

    ASSERT_TRUE(host.Undo());
    host.OnUndoRedo();
    EXPECT_EQ(Names(host), (std::vector<CString>{L"Ua", L"Ub", L"Trip"}));
    EXPECT_FALSE(host.HasOwnTimeBaseChannel());
    EXPECT_FALSE(host.m_mergeBarShown);
    EXPECT_EQ(host.m_oscillogram.m_headerText, header);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(MergeFixture, AClashingNameTakesTheFirstFreeNumber) {
    Spec h;
    h.analog = {{"Ia (вст.)", 1, [](int i) { return i; }}, {"ia (вст.)(2)", 1, [](int i) { return i; }}};
    Spec p;
    p.analog = {{"Ia", 1, [](int i) { return i; }}};
    Open(h, p);
    ASSERT_TRUE(Paste());
    EXPECT_EQ(Pasted().GetName(), L"Ia (вст.)(3)");
    // The file name takes the same text in the record's code page.
    const std::string ansi = platform::WideToAnsi(L"Ia (вст.)(3)");
    EXPECT_EQ(Pasted().GetFileName(), CStringA(host.m_codePage ? ansi : platform::AnsiToOem(ansi)));
}

TEST_F(MergeFixture, RemovingThePastedChannelsLeavesEarlierStepsAlone) {
    Spec h;
    h.analog = {{"Ua", 1, [](int i) { return i; }}};
    Spec p = h;
    Open(h, p);
    ASSERT_TRUE(Paste());
    // A later step the user may want to keep: closing the bar must not undo it.
    ASSERT_TRUE(host.PushUndo());
    host.m_oscillogram.m_channels[0].m_alias = L"kept";
    EXPECT_TRUE(RemovePastedChannels(host));
    EXPECT_EQ(host.m_oscillogram.m_channels.size(), 1u);
    EXPECT_EQ(host.m_oscillogram.m_channels[0].m_alias, L"kept");
    EXPECT_FALSE(RemovePastedChannels(host));
}

std::vector<CString> CommentTexts(const CTenvorikDoc& doc) {
    std::vector<CString> texts;
    for (const auto& item : doc.m_comments.Items()) texts.push_back(item->m_text);
    return texts;
}

TEST_F(MergeFixture, UndoBringsBackTheCommentsThatLeftWithTheirChannels) {
    Spec h;
    h.analog = {{"Ua", 1, [](int i) { return i; }}};
    Spec p;
    p.analog = {{"Ic", 0.5, [](int i) { return 3.5 * i; }}};
    Open(h, p);
    ASSERT_TRUE(Paste());
    const CString pasted = Pasted().GetName();
    CommentList& list = host.m_comments;
    list.Add(std::make_unique<MomentItem>(3, CString(L"момент")));
    auto* level = static_cast<LevelItem*>(list.Add(std::make_unique<LevelItem>(pasted, 4, 1.5)));
    level->m_text = L"уровень Ic";
    level->m_positionTo = 9;
    level->m_locked = true;
    auto* both = static_cast<AreaItem*>(list.Add(std::make_unique<AreaItem>(CString(L"Ua"), 2)));
    both->SetChannelTo(pasted);
    both->m_text = L"Ua и Ic";
    list.Add(std::make_unique<AreaItem>(CString(L"Ua"), 5))->m_text = L"только Ua";
    const std::vector<CString> all = {L"момент", L"уровень Ic", L"Ua и Ic", L"только Ua"};
    const std::vector<CString> hostOnly = {L"момент", L"только Ua"};
    ASSERT_EQ(CommentTexts(host), all);

    // The removal takes the comments naming the pasted channel; undoing it brings them back
    // whole, each in its place, and redo takes them again.
    ASSERT_TRUE(RemovePastedChannels(host));
    EXPECT_EQ(CommentTexts(host), hostOnly);
    ASSERT_TRUE(host.Undo());
    ASSERT_EQ(CommentTexts(host), all);
    const auto& back = static_cast<const LevelItem&>(*host.m_comments.Items()[1]);
    EXPECT_EQ(back.m_channel, pasted);
    EXPECT_EQ(back.m_positionFrom, 4);
    EXPECT_EQ(back.m_positionTo, 9);
    EXPECT_DOUBLE_EQ(back.m_positionY, 1.5);
    EXPECT_TRUE(back.m_locked);
    EXPECT_EQ(static_cast<const AreaItem&>(*host.m_comments.Items()[2]).GetChannelTo(), pasted);
    EXPECT_EQ(host.m_comments.GetSelected(), nullptr);
    ASSERT_TRUE(host.Redo());
    EXPECT_EQ(CommentTexts(host), hostOnly);
    ASSERT_TRUE(host.Undo());
    EXPECT_EQ(CommentTexts(host), all);

    // Undoing the paste itself takes them with the pasted channels; redoing it brings them back.
    ASSERT_TRUE(host.Undo());
    EXPECT_EQ(CommentTexts(host), hostOnly);
    ASSERT_TRUE(host.Redo());
    EXPECT_EQ(CommentTexts(host), all);

    // A comment added meanwhile stays where it is when the removal is undone.
    ASSERT_TRUE(RemovePastedChannels(host));
    host.m_comments.Add(std::make_unique<MomentItem>(7, CString(L"позже")));
    ASSERT_TRUE(host.Undo());
    EXPECT_EQ(CommentTexts(host), (std::vector<CString>{L"момент", L"уровень Ic", L"Ua и Ic", L"только Ua", L"позже"}));
}

// Without an undo state to go back to, a removed channel's comments are simply gone.
TEST_F(MergeFixture, ACommentWhoseChannelIsRemovedWithoutUndoIsGone) {
    Spec h;
    h.analog = {{"Ua", 1, [](int i) { return i; }}, {"Ub", 1, [](int i) { return -i; }}};
    Open(h, h);
    host.m_comments.Add(std::make_unique<LevelItem>(CString(L"Ub"), 4, 1.0))->m_text = L"Ub";
    host.m_comments.Add(std::make_unique<MomentItem>(1, CString(L"момент")));
    ASSERT_FALSE(host.CanUndo());
    host.m_oscillogram.RemoveChannel(L"Ub");
    EXPECT_EQ(CommentTexts(host), std::vector<CString>{L"момент"});
    EXPECT_FALSE(host.Undo());
}

TEST(ChannelClipboard, OnlyTextInThePrivateFormatIsRead) {
    CString text;
    EXPECT_TRUE(ReadClipboardText(ClipboardBytesOf(L"<?xml version=\"1.0\"?><settings/>"), text));
    EXPECT_EQ(text, L"<?xml version=\"1.0\"?><settings/>");
    // A channel drag (a count and indices), text without its end, and text that is no XML.
    EXPECT_FALSE(ReadClipboardText({2, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0}, text));
    std::vector<uint8_t> open = ClipboardBytesOf(L"<settings/>");
    open.resize(open.size() - 2);
    EXPECT_FALSE(ReadClipboardText(open, text));
    EXPECT_FALSE(ReadClipboardText(ClipboardBytesOf(L"hello"), text));
    EXPECT_FALSE(ReadClipboardText({}, text));
}

TEST_F(MergeFixture, ATextThatCannotBeReadWholeIsRefusedAndChangesNothing) {
    Spec h;
    h.analog = {{"Ua", 1, [](int i) { return i; }}};
    Spec p;
    p.samples = 4;
    p.analog = {{"Ub", 1, [](int i) { return i; }}};
    Open(h, p);
    const CString good = BuildChannelClipboardText(source);
    auto edit = [&](const std::function<void(XmlNode&)>& change) {
        XmlDocument x;
        EXPECT_TRUE(x.ParseString(good));
        change(x.GetChildren().at(0));
        return x.SaveString();
    };
    auto channel = [](XmlNode& n) -> XmlNode& { return n.GetChildren().at(0); };
    const struct {
        const char* what;
        CString text;
        const wchar_t* reason;
    } cases[] = {
        {"truncated", good.Left(good.GetLength() / 2), L"нет описания каналов"},
        {"no xml", L"Ua,1,2,3", L"нет описания каналов"},
        {"other xml", L"<settings><category name=\"View\"/></settings>", L"нет описания каналов"},
        {"count above the times", edit([](XmlNode& n) { n.SetAttribute(L"num_values", L"5"); }), L"число времен"},
        {"huge count", edit([](XmlNode& n) { n.SetAttribute(L"num_values", L"99999999999999"); }), L"число отсчетов записи"},
        {"negative count", edit([](XmlNode& n) { n.SetAttribute(L"num_values", L"-4"); }), L"число отсчетов записи"},
        {"text time", edit([](XmlNode& n) { n.SetAttribute(L"times", L"0,1000,abc,3000"); }), L"не является целым"},
        {"falling times", edit([](XmlNode& n) { n.SetAttribute(L"times", L"0,2000,1000,3000"); }), L"не возрастают"},
        {"short frequencies", edit([](XmlNode& n) { n.SetAttribute(L"net_frequency", L"50,50"); }), L"частоты сети"},
        {"no rate", edit([](XmlNode& n) { n.SetAttribute(L"discr_frequency", L"0"); }), L"частота дискретизации"},
        {"channel count", edit([&](XmlNode& n) { channel(n).SetAttribute(L"values_count", L"400000000"); }),
         L"канал \"Ub\": число отсчетов"},
        {"short data", edit([&](XmlNode& n) { channel(n).SetAttribute(L"data", L"1,2,"); }), L"канал \"Ub\": число"},
        {"text sample", edit([&](XmlNode& n) { channel(n).SetAttribute(L"data", L"1,x,3,4,"); }),
         L"канал \"Ub\": отсчет не является числом"},
    };
    const auto names = Names(host);
    const CStringA header = host.m_oscillogram.m_headerText;
    for (const auto& c : cases) {
        ui.boxes.clear();
        EXPECT_FALSE(PasteChannelsFromXml(host, c.text)) << c.what;
        ASSERT_EQ(ui.boxes.size(), 1u) << c.what;
        EXPECT_NE(ui.boxes[0].Find(c.reason), -1) << c.what << ": " << ui.boxes[0].GetString();
        EXPECT_EQ(Names(host), names) << c.what;
        EXPECT_FALSE(host.CanUndo()) << c.what;
        EXPECT_FALSE(host.IsModified()) << c.what;
        EXPECT_FALSE(host.m_mergeBarShown) << c.what;
        EXPECT_EQ(host.m_oscillogram.m_headerText, header) << c.what;
    }
    ui.boxes.clear();
    EXPECT_TRUE(PasteChannelsFromXml(host, good));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(ChannelClipboardFaultLocation, APasteHidesAShownResult) {
    fixtures::DocUi ui;
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir);
    CTenvorikDoc host, source;
    ASSERT_TRUE(host.OnOpenDocument(W(cfg)));
    ASSERT_TRUE(host.RunFaultLocation(true));
    ASSERT_TRUE(host.m_locator.IsActive());
    ASSERT_TRUE(source.OnOpenDocument(W(cfg)));
    source.m_oscillogram.m_channels[0].m_selected = true;
    ASSERT_TRUE(PasteChannelsFromXml(host, BuildChannelClipboardText(source)));
    EXPECT_FALSE(host.m_locator.IsActive());
}

// ---- synchronisation -----------------------------------------------------------------------------

TEST(RecordInstant, DatesAndTimesAsTheRecordsWriteThem) {
    const auto t0 = RecordInstantMicroseconds(L"05/03/2021", L"10:00:00.000000");
    ASSERT_TRUE(t0);
    // 5 March 2021, 10:00 on the records' clock.
    EXPECT_EQ(*t0, (int64_t(18691) * 86400 + 36000) * 1000000);
    EXPECT_EQ(*RecordInstantMicroseconds(L"03/25/2021", L"10:00:00"  L".0"), *RecordInstantMicroseconds(L"25/03/2021", L"10:00:00.000000"));
    EXPECT_EQ(*RecordInstantMicroseconds(L"05/03/21", L"10:00:00.000000"), *t0);
    // A fraction is a fraction of the second, however many digits it has.
    EXPECT_EQ(*RecordInstantMicroseconds(L"05/03/2021", L"10:00:00.5") - *t0, 500000);
    EXPECT_EQ(*RecordInstantMicroseconds(L"05/03/2021", L"10:00:01.500000") - *t0, 1500000);
    EXPECT_EQ(*RecordInstantMicroseconds(L"05/03/2021", L"10:00:00.1234567") - *t0, 123456);
    bool invalid = false;
    EXPECT_FALSE(RecordInstantMicroseconds(L"05/13/2021", L"24:00:00.0", &invalid));
    EXPECT_TRUE(invalid);
    EXPECT_FALSE(RecordInstantMicroseconds(L"05/03", L"10:00:00.0", &invalid));
    EXPECT_FALSE(invalid);
}

TEST(PhaseDifference, WrapsIntoOneTurn) {
    EXPECT_DOUBLE_EQ(WrapPhaseDifference(-190.0), 170.0);
    EXPECT_DOUBLE_EQ(WrapPhaseDifference(190.0), -170.0);
    EXPECT_DOUBLE_EQ(WrapPhaseDifference(180.0), 180.0);
    EXPECT_DOUBLE_EQ(WrapPhaseDifference(-45.0), -45.0);
}

TEST_F(MergeFixture, EachSynchronisationFindsTheShiftOfTheRecords) {
    Open(HostSpec(), PastedSpec());
    ASSERT_TRUE(Paste());
    CChannelMerger& m = host.m_merger;

    // By the start times: 1.5 s, as the clocks say.
    host.m_mergeChoice = {0, L"Ia", L"Ia (вст.)"};
    ASSERT_TRUE(host.OnCommand(ID_MERGE_SYNC));
    EXPECT_NEAR(m.GetTimeShift(), 1.5, 1e-9);
    EXPECT_EQ(host.m_mergeMessage, L"Синхронизация произведена успешно");

    // By the fault component, from there: the fault sits 5 ms later than the clocks say.
    host.m_mergeChoice.mode = 1;
    host.m_cursors.m_cursors[0].position = 2005;
    host.m_merger.Synchronize();
    EXPECT_NEAR(m.GetTimeShift(), 1.505, 1e-6);
    EXPECT_EQ(host.m_mergeMessage, L"Синхронизация произведена успешно");

    // By the phase before the fault, starting from the clocks' word again.
    m.SetTimeShift(1.5);
    host.m_mergeChoice.mode = 2;
    host.m_cursors.m_cursors[0].position = 1800;
    host.m_merger.Synchronize();
    EXPECT_NEAR(m.GetTimeShift(), 1.505, 1e-6);
    EXPECT_EQ(host.m_mergeMessage, L"Синхронизация произведена успешно");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(MergeFixture, ACursorTooNearTheStartOrPastTheEndKeepsTheShift) {
    Open(HostSpec(), PastedSpec());
    ASSERT_TRUE(Paste());
    host.m_merger.SetTimeShift(1.5);
    const struct {
        int mode, position;
        const wchar_t* text;
    } cases[] = {
        {1, 60, L"более 3 периодов"},     // 3 periods of 20 samples
        {1, 1560, L"более 3 периодов"},   // the pasted record's cursor lands at 60
        {1, 4000, L"Выход визира"},       // past the last sample
        {2, 30, L"более 1.5 периода"},
        {2, 3600, L"Выход визира"},       // past the pasted record's end
    };
    for (const auto& c : cases) {
        host.m_mergeChoice = {c.mode, L"Ia", L"Ia (вст.)"};
        host.m_cursors.m_cursors[0].position = c.position;
        host.m_mergeMessage.Empty();
        host.m_merger.Synchronize();
        EXPECT_NE(host.m_mergeMessage.Find(c.text), -1) << c.mode << " " << c.position;
        EXPECT_DOUBLE_EQ(host.m_merger.GetTimeShift(), 1.5);
    }
    // Recordings that do not overlap: the start-time mode says so and keeps the shift.
    host.m_oscillogram.m_startTime = L"09:59:56.001000";  // ends where the pasted one starts
    host.m_mergeChoice.mode = 0;
    host.m_merger.Synchronize();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], L"Осциллограммы не пересекаются по времени");
    EXPECT_DOUBLE_EQ(host.m_merger.GetTimeShift(), 1.5);
}

TEST_F(MergeFixture, DraggingKeepsOneSampleIntervalInCommon) {
    Open(HostSpec(), PastedSpec());
    ASSERT_TRUE(Paste());
    CChannelMerger& m = host.m_merger;
    m.SetDraggedShift(0.25);
    EXPECT_DOUBLE_EQ(m.GetTimeShift(), 0.25);
    m.SetDraggedShift(10.0);
    EXPECT_DOUBLE_EQ(m.GetTimeShift(), 3.999 - 0.001);
    m.SetDraggedShift(-10.0);
    EXPECT_DOUBLE_EQ(m.GetTimeShift(), -(1.999 - 0.001));
}

// ---- combination ---------------------------------------------------------------------------------

TEST_F(MergeFixture, CombinationResamplesEveryChannelOntoOneTimeBase) {
    // Host: a line and a switch; pasted: a parabola and a switch, starting 10.5 ms later.
    Spec h;
    h.analog = {{"H", 1, [](int i) { return i; }}};
    h.discrete = {{"HS", [](int i) { return i >= 7; }}};
    Spec p;
    p.analog = {{"P", 1, [](int i) { return double(i) * i; }}};
    p.discrete = {{"PS", [](int i) { return i >= 20; }}};
    Open(h, p);
    ASSERT_TRUE(Paste());
    host.m_merger.SetTimeShift(0.0105);
    host.SetModifiedFlag(false);
    ASSERT_TRUE(host.OnCommand(ID_MERGE_COMBINE));

    const COscillogram& o = host.m_oscillogram;
    EXPECT_EQ(Names(host), (std::vector<CString>{L"H", L"P (вст.)", L"HS", L"PS (вст.)"}));
    EXPECT_FALSE(host.HasOwnTimeBaseChannel());
    EXPECT_EQ(host.m_merger.GetTimeShift(), 0.0);
    EXPECT_EQ(o.m_samplingFrequency, 1000);
    EXPECT_TRUE(host.IsModified());
    EXPECT_FALSE(host.m_mergeBarShown);
    // The pasted channel is padded by 11 samples at its start, the host by 11 at its end: a
    // span of 50 ms, every sample of it.
    ASSERT_EQ(o.GetSampleCount(), 51);
    for (const CChannel& c : o.m_channels) ASSERT_EQ(c.GetSampleCount(), 51u) << c.GetName().GetString();
    for (int s = 0; s < 51; ++s) {
        EXPECT_EQ(host.GetSampleTime(uint32_t(s)), s * 1000);
        // Three samples of a line give the line; the padding reads 0.
        EXPECT_NEAR(o.m_channels[0].m_samples[size_t(s)], s <= 39 ? s : 0.0, 1e-9) << s;
        // The parabola is read half a sample after each pasted sample (the 0.5 ms the shift
        // leaves below one interval): (s - 10.5)^2 once three real samples hold it; the
        // quadratic through 0, 0, 1 gives -1/8 half-way between the first two.
        // Past merged sample 48 the curve bends down to the padding after its last sample.
        const double want = s < 10 ? 0.0 : s == 10 ? -0.125 : (s - 10.5) * (s - 10.5);
        if (s <= 48) {
            EXPECT_NEAR(o.m_channels[1].m_samples[size_t(s)], want, 1e-9) << s;
        }
        if (s >= 1) {
            EXPECT_EQ(o.m_channels[2].m_samples[size_t(s)], s >= 7 && s <= 39 ? 1.0 : 0.0) << s;
        }
        const double d = o.m_channels[3].m_samples[size_t(s)];
        EXPECT_TRUE(d == 0.0 || d == 1.0) << s;
    }

    // One undo step gives back the record as it was pasted.
    ASSERT_TRUE(host.Undo());
    host.OnUndoRedo();
    EXPECT_TRUE(host.HasOwnTimeBaseChannel());
    EXPECT_EQ(host.m_oscillogram.m_channels[1].GetSampleCount(), 40u);
    EXPECT_EQ(host.m_oscillogram.GetSampleCount(), 40);
    EXPECT_TRUE(host.m_mergeBarShown);
    EXPECT_FALSE(host.CanUndo() && host.m_oscillogram.m_channels.size() != 4);
}

TEST_F(MergeFixture, AShiftOfWholeSamplesLinesTheSamplesUp) {
    Spec h;
    h.analog = {{"H", 1, [](int i) { return i; }}};
    Spec p;
    p.analog = {{"P", 1, [](int i) { return double(i) * i; }}};
    Open(h, p);
    ASSERT_TRUE(Paste());
    // The pasted record starts 11 ms later: merged sample s holds its sample s - 11.
    host.m_merger.SetTimeShift(0.011);
    host.m_merger.Combine();
    const COscillogram& o = host.m_oscillogram;
    ASSERT_EQ(o.GetSampleCount(), 51);
    for (int s = 11; s < 51; ++s) EXPECT_NEAR(o.m_channels[1].m_samples[size_t(s)], (s - 11.0) * (s - 11.0), 1e-9) << s;
    for (int s = 0; s < 40; ++s) EXPECT_NEAR(o.m_channels[0].m_samples[size_t(s)], s, 1e-9) << s;
}

TEST_F(MergeFixture, ACombinedRecordSavesAndOpensWithEveryChannelAndValue) {
    Open(HostSpec(), PastedSpec());
    ASSERT_TRUE(Paste());
    host.m_merger.SetTimeShift(1.505);
    host.m_merger.Combine();
    ASSERT_FALSE(host.HasOwnTimeBaseChannel());
    const std::string path = dir.File("merged.cfg");
    ASSERT_TRUE(host.OnSaveDocument(W(path)));
    CTenvorikDoc back;
    ASSERT_TRUE(back.OnOpenDocument(W(path)));
    ASSERT_EQ(Names(back), Names(host));
    const COscillogram& a = host.m_oscillogram;
    const COscillogram& b = back.m_oscillogram;
    ASSERT_EQ(b.GetSampleCount(), a.GetSampleCount());
    EXPECT_EQ(b.m_samplingFrequency, 1000);
    for (size_t c = 0; c < a.m_channels.size(); ++c)
        for (uint32_t s = 0; s < a.m_channels[c].GetSampleCount(); s += 97) {
            EXPECT_NEAR(b.m_channels[c].m_samples[s], a.m_channels[c].m_samples[s], 0.05) << c << " " << s;
            EXPECT_EQ(back.GetSampleTime(s), host.GetSampleTime(s));
        }
    // The fault lies at one time in both channels: 2.000 s on the merged time base.
    const auto& pasted = b.m_channels[1];
    EXPECT_NEAR(pasted.m_samples[2000] - a.m_channels[1].m_samples[2000], 0.0, 0.05);
    EXPECT_NEAR(b.m_channels[0].m_samples[2000], Current(2.0, 1, 2000), 0.01);
    EXPECT_NEAR(pasted.m_samples[2000], Current(2.0, 2, 495), 0.5);
}

TEST(MergeCombination, EverySampleOfTheHostIsKept) {
    // Host and pasted channel hold distinct lines; the pasted record starts `start` ms later
    // than the host (earlier when negative) and lasts `pasted` samples at 1 kHz.
    struct Case {
        const char* what;
        int host, pasted, start, merged, hostAt;  // hostAt: where the host's first sample lands
    } cases[] = {
        {"equal spans", 40, 40, 0, 40, 0},
        {"pasted later", 40, 40, 11, 51, 0},
        {"pasted earlier", 40, 40, -5, 45, 5},
        {"longer pasted", 40, 60, 0, 60, 0},
        {"longer host", 60, 40, 7, 60, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fixtures::DocUi ui;
        testutil::TempDir dir;
        Spec h;
        h.samples = c.host;
        h.analog = {{"H", 1, [](int i) { return 3.0 * i + 1.0; }}};
        Spec p;
        p.samples = c.pasted;
        p.analog = {{"P", 1, [](int i) { return 2.0 * i + 5.0; }}};
        char time[32];
        std::snprintf(time, sizeof time, "10:00:%02d.%03d000", (10000 + c.start) / 1000, (10000 + c.start) % 1000);
        h.time = "10:00:10.000000";
        p.time = time;
        CTenvorikDoc host, source;
        ASSERT_TRUE(OpenAndPasteAll(dir, host, source, h, p));
        host.m_mergeChoice = {0, L"H", L"P (вст.)"};
        ASSERT_TRUE(host.OnCommand(ID_MERGE_SYNC));
        EXPECT_NEAR(host.m_merger.GetTimeShift(), c.start / 1000.0, 1e-9);
        ASSERT_TRUE(host.OnCommand(ID_MERGE_COMBINE));

        const COscillogram& o = host.m_oscillogram;
        ASSERT_EQ(o.GetSampleCount(), c.merged);
        for (const CChannel& ch : o.m_channels) ASSERT_EQ(ch.GetSampleCount(), uint32_t(c.merged));
        EXPECT_EQ(host.GetSampleTime(uint32_t(c.merged - 1)), int64_t(c.merged - 1) * 1000);
        for (int k = 0; k < c.host; ++k)
            EXPECT_NEAR(o.m_channels[0].m_samples[size_t(k + c.hostAt)], 3.0 * k + 1.0, 1e-9) << k;
        const int pastedAt = c.hostAt + c.start;
        for (int k = 0; k < c.pasted; ++k)
            EXPECT_NEAR(o.m_channels[1].m_samples[size_t(k + pastedAt)], 2.0 * k + 5.0, 1e-9) << k;
        EXPECT_TRUE(ui.boxes.empty());
    }
}

// A fault seen by two recorders at different rates, merged after a shift of either sign that
// is no whole number of samples: each recording's analog and discrete channels switch at the
// instant they switched before, and the header's start is the time of the first merged sample.
TEST(MergeCombination, EachRecordingKeepsItsChannelsTogetherInTime) {
    struct Case {
        int hostRate, pastedRate;
        double shift;  // seconds; the pasted recording starts later when positive
    } cases[] = {
        {2400, 1000, -0.00058}, {2400, 1000, 0.00058}, {1000, 2400, -0.00058}, {1000, 2400, 0.00058},
        {2400, 1000, -0.0123457}, {1000, 2400, 0.0123457}, {2400, 2400, -0.0007}, {1000, 1000, 0.0123},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hostRate) + " Hz host, " + std::to_string(c.pastedRate) + " Hz pasted, shift " +
                     std::to_string(c.shift));
        fixtures::DocUi ui;
        testutil::TempDir dir;
        // Each record switches at its middle sample: the first sample with the new value.
        auto spec = [](int rate, const char* analog, const char* discrete) {
            Spec s;
            s.date = "01/03/2021";
            s.time = "00:00:00.000100";
            s.rate = rate;
            s.samples = rate / 5;
            const int k = s.samples / 2;
            s.analog = {{analog, 0.01, [k](int i) { return i >= k ? 100.0 : 0.0; }}};
            s.discrete = {{discrete, [k](int i) { return i >= k ? 1 : 0; }}};
            return s;
        };
        const Spec h = spec(c.hostRate, "UA", "B1"), p = spec(c.pastedRate, "IP", "PS");
        CTenvorikDoc host, source;
        ASSERT_TRUE(OpenAndPasteAll(dir, host, source, h, p));
        const auto hostStart = RecordInstantMicroseconds(host.GetRecordStartDate(), host.GetRecordStartTime());
        ASSERT_TRUE(hostStart);
        host.m_merger.SetTimeShift(c.shift);
        ASSERT_TRUE(host.OnCommand(ID_MERGE_COMBINE));
        ASSERT_FALSE(host.HasOwnTimeBaseChannel());

        const COscillogram& o = host.m_oscillogram;
        const double R = std::max(c.hostRate, c.pastedRate), dt = 1e6 / R;
        EXPECT_EQ(o.m_samplingFrequency, int(R));
        const auto start = RecordInstantMicroseconds(host.GetRecordStartDate(), host.GetRecordStartTime());
        ASSERT_TRUE(start) << host.GetRecordStartDateTime().GetString();
        // A pasted recording that starts earlier moves the start back by whole merged samples,
        // into the day before here; a later one leaves it.
        const double lead = c.shift < 0 ? std::ceil(-c.shift * 1e6 / dt - 1e-6) : 0.0;
        EXPECT_NEAR(double(*start - *hostStart), -lead * dt, 1.0);
        if (c.shift < 0) {
            EXPECT_EQ(host.GetRecordStartDate(), L"28/02/2021");
        }
        // The instant a merged channel switches: its first sample past half the step.
        auto switchedAt = [&](const wchar_t* name) {
            const CChannel& ch = o.FindChannel(name);
            for (uint32_t s = 0; s < ch.GetSampleCount(); ++s)
                if (ch.m_samples[s] > (ch.IsDiscrete() ? 0.5 : 50.0)) return double(*start) + double(host.GetSampleTime(s));
            return -1.0;
        };
        const double ua = switchedAt(L"UA"), b1 = switchedAt(L"B1");
        const double ip = switchedAt(L"IP (вст.)"), ps = switchedAt(L"PS (вст.)");
        // Within one merged sample of each other (times are whole microseconds), and of the
        // middle of the step as recorded.
        EXPECT_NEAR(ua, b1, dt + 1);
        EXPECT_NEAR(ip, ps, dt + 1);
        const double hostStep = 1e6 / c.hostRate, pastedStep = 1e6 / c.pastedRate;
        const double hostAt = double(*hostStart) + (h.samples / 2 - 0.5) * hostStep;
        const double pastedAt = double(*hostStart) + c.shift * 1e6 + (p.samples / 2 - 0.5) * pastedStep;
        EXPECT_NEAR(ua, hostAt, dt + hostStep / 4);
        EXPECT_NEAR(b1, hostAt, dt + hostStep / 4);
        EXPECT_NEAR(ip, pastedAt, dt + pastedStep / 4);
        EXPECT_NEAR(ps, pastedAt, dt + pastedStep / 4);
        EXPECT_TRUE(ui.boxes.empty());
    }
}

TEST_F(MergeFixture, TooShortARecordIsNotCombined) {
    Spec h;
    h.samples = 3;
    h.analog = {{"H", 1, [](int i) { return i; }}};
    Open(h, h);
    ASSERT_TRUE(Paste());
    host.m_merger.Combine();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], L"Каналы слишком коротки для объединения");
    EXPECT_TRUE(host.HasOwnTimeBaseChannel());
    EXPECT_EQ(host.m_oscillogram.m_channels[0].GetSampleCount(), 3u);
}
