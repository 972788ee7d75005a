#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeUi.h"
#include "FileSizeLimit.h"
#include "ModelFixture.h"
#include "TestUtil.h"
#include "model/ChannelPair.h"
#include "model/RecordSettings.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

using namespace modeltest;

namespace {

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

// A small document with everything the settings file touches.
struct Record {
    DocumentModel doc;
    SettingsStore store;
    std::vector<ChannelPair> diff, circle;
    RecordSettingsParts parts;

    // Channel names in code page 1251: "Ток" and "Пуск".
    explicit Record(const char* tok = "\xD2\xEE\xEA", const char* pusk = "\xCF\xF3\xF1\xEA") {
        SetUpRecord(doc, 1000, 4);
        COscillogram& o = doc.GetOscillogram();
        o.m_stationName = "\xD1\xE5\xE2\xE5\xF0";  // "Север"
        o.m_channels = {Analog(&doc, "Ua", {1, 2, 3, 4}), Analog(&doc, tok, {4, 3, 2, 1}), Discrete(&doc, pusk, {0, 1, 0, 1})};
        o.m_analogCount = 2;
        o.m_discreteCount = 1;
        parts.doc = &doc;
        parts.store = &store;
        parts.diffPairs = &diff;
        parts.circlePairs = &circle;
    }
    CChannel& Ch(size_t i) { return doc.GetOscillogram().m_channels[i]; }
};

// Records what the settings file asks of a category's owner.
class FakeOwner final : public SettingsCategoryOwner {
public:
    explicit FakeOwner(std::vector<std::string>* log, const char* name) : m_log(log), m_name(name) {}
    void SaveSettings(SettingsNode& c) override {
        m_log->push_back(m_name + " save");
        c.Clear();
        c.SetString(L"owned", L"yes");
    }
    void LoadSettings(SettingsNode& c) override {
        m_log->push_back(m_name + " load " + platform::WideToUtf8(c.GetString(L"owned", L"-").view()));
    }
    void ClearForLoad() override { m_log->push_back(m_name + " clear"); }

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

std::string Data(const std::string& name) { return testutil::ReadFile(std::string(TV_SOURCE_DIR) + "/tests/model/data/" + name); }

}  // namespace

TEST(RecordSettings, SmallRecordFileMatchesTheExpectedBytesAndAppliesBack) {
    Record r;
    r.doc.m_codePage = 1;
    r.Ch(0).m_flags = CHF_DEFAULT | CHF_INVERT;
    r.Ch(0).m_primary = 110000;
    r.Ch(0).m_secondary = 100;
    r.Ch(0).m_customColorSet = true;
    r.Ch(0).m_customColor = RGB(255, 0, 0);
    r.Ch(1).m_alias = L"Iдиф \"1\"";
    r.Ch(1).m_netFrequency = {50, 49.5, 50, 50};
    r.diff = {ChannelPair(L"Ua", L"Iдиф \"1\"")};
    testutil::TempDir dir;
    const CString path = W(dir.File("rec.set"));
    EXPECT_EQ(SettingsFileOf(W(dir.File("rec.cfg"))), path);
    SaveRecordSettings(r.parts, path);
    EXPECT_EQ(testutil::ReadFile(dir.File("rec.set")), Data("record_small.set"));

    testutil::FakeUi ui;
    Record back;
    back.diff = {ChannelPair(L"old", L"pair")};
    // The loaders hand over recalculated channels; the one whose flags change is redone.
    for (CChannel& ch : back.doc.GetOscillogram().m_channels) ch.Recalc();
    ASSERT_EQ(back.Ch(0).GetCurveValue(0), 1.0);
    const uint64_t stamp = back.Ch(0).GetRecalcStamp();
    LoadRecordSettings(back.parts, path, false);
    EXPECT_EQ(back.Ch(0).GetCurveValue(0), -1.0);
    EXPECT_NE(back.Ch(0).GetRecalcStamp(), stamp);
    EXPECT_TRUE(ui.exceptions.empty());
    EXPECT_EQ(back.doc.m_codePage, 1);
    EXPECT_EQ(back.Ch(0).m_flags, uint32_t(CHF_DEFAULT | CHF_INVERT));
    EXPECT_EQ(back.Ch(0).m_primary, 110000);
    EXPECT_TRUE(back.Ch(0).m_customColorSet);
    EXPECT_EQ(back.Ch(1).m_name, L"Iдиф \"1\"");
    EXPECT_EQ(back.Ch(1).m_netFrequency, r.Ch(1).m_netFrequency);
    ASSERT_EQ(back.diff.size(), 1u);
    EXPECT_EQ(back.diff[0].second, L"Iдиф \"1\"");
    EXPECT_TRUE(back.diff[0].visible);
    EXPECT_TRUE(back.circle.empty());
    // Every category the load reads is there afterwards, for the next save.
    for (const wchar_t* c : {L"Comments", L"CalculatedChannels", L"WrongPlaceFinding", L"Oscillogram"})
        EXPECT_EQ(back.store.GetCategories().count(c), 1u) << platform::WideToUtf8(c);
}

TEST(RecordSettings, IniFallbackAndDefaults) {
    testutil::TempDir dir;
    testutil::WriteFile(dir.File("rec.ini"), "[Ua]\r\nShowFlags=2273\r\n[Oscillogram]\r\nDiscretisationFrequensy=2000\r\n");
    Record r;
    LoadRecordSettings(r.parts, W(dir.File("rec.set")), false);
    EXPECT_EQ(r.Ch(0).m_flags, uint32_t(CHF_DEFAULT | CHF_INVERT));
    EXPECT_EQ(r.doc.GetOscillogram().m_samplingFrequency, 2000);
    // No "Codepage": the one the record's texts read as (1251 here).
    EXPECT_EQ(r.doc.m_codePage, 1);
    EXPECT_EQ(r.Ch(1).m_name, L"Ток");

    // No file at all: the record keeps its rate, and OEM names are detected as such.
    Record oem("\x92\xAE\xAA", "\x8F\xE3\xE1\xAA");  // "Ток", "Пуск" in code page 866
    oem.doc.GetOscillogram().m_stationName = "";
    LoadRecordSettings(oem.parts, W(dir.File("none.set")), false);
    EXPECT_EQ(oem.doc.GetOscillogram().m_samplingFrequency, 1000);
    EXPECT_EQ(oem.doc.m_codePage, 0);
    EXPECT_EQ(oem.Ch(1).m_name, L"Ток");

    // A rate below one sample per second is refused; a stored code page wins over the detected one.
    testutil::WriteFile(dir.File("bad.ini"), "[Oscillogram]\r\nDiscretisationFrequensy=0\r\nCodepage=0\r\n");
    Record bad;
    LoadRecordSettings(bad.parts, W(dir.File("bad.set")), false);
    EXPECT_EQ(bad.doc.GetOscillogram().m_samplingFrequency, 1000);
    EXPECT_EQ(bad.doc.m_codePage, 0);
}

TEST(RecordSettings, ChartPairsNumberedWithGaps) {
    testutil::TempDir dir;
    testutil::WriteFile(dir.File("p.ini"), "[x]\r\n");
    SettingsStore file;
    SettingsNode& ch = file.GetCategory(L"Diff Chart").GetSubCategory(L"Channels");
    ch.GetSubCategory(L"0").SetString(L"BrakeCurr", L"A");
    ch.GetSubCategory(L"0").SetString(L"DiffCurr", L"B");
    ch.GetSubCategory(L"0").SetInt(L"visible", 0);
    ch.GetSubCategory(L"5").SetString(L"BrakeCurr", L"Z");
    file.GetCategory(L"Circle Chart").GetSubCategory(L"Channels").GetSubCategory(L"0").SetString(L"ActiveResist", L"R");
    ASSERT_TRUE(file.Save(W(dir.File("p.set"))));
    Record r;
    LoadRecordSettings(r.parts, W(dir.File("p.set")), false);
    ASSERT_EQ(r.diff.size(), 2u);
    EXPECT_EQ(r.diff[0].first, L"A");
    EXPECT_FALSE(r.diff[0].visible);
    EXPECT_EQ(r.diff[1].first, L"?");
    EXPECT_EQ(r.diff[1].second, L"?");
    EXPECT_TRUE(r.diff[1].visible);
    ASSERT_EQ(r.circle.size(), 1u);
    EXPECT_EQ(r.circle[0].first, L"R");
    EXPECT_EQ(r.circle[0].second, L"?");
}

TEST(RecordSettings, OwnersAndCategoriesWithoutOne) {
    testutil::TempDir dir;
    const CString path = W(dir.File("o.set"));
    SettingsStore file;
    file.GetCategory(L"CalculatedChannels").SetString(L"Channel0", L"I0,IA+IB+IC");
    file.GetCategory(L"Comments").GetSubCategory(L"Moments").GetSubCategory(L"Moment1").SetInt(L"pos", 5);
    file.GetCategory(L"WrongPlaceFinding").SetString(L"ver", L"2");
    file.GetCategory(L"View").SetDouble(L"XScale", 2.0);
    ASSERT_TRUE(file.Save(path));

    // Without owners every category comes back out as it went in.
    Record plain;
    LoadRecordSettings(plain.parts, path, false);
    SaveRecordSettings(plain.parts, path);
    SettingsStore again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.GetCategory(L"CalculatedChannels").GetString(L"Channel0", L""), L"I0,IA+IB+IC");
    EXPECT_EQ(again.GetCategory(L"Comments").GetSubCategory(L"Moments").GetSubCategory(L"Moment1").GetInt(L"pos", 0), 5);
    EXPECT_EQ(again.GetCategory(L"WrongPlaceFinding").GetString(L"ver", L""), L"2");
    EXPECT_EQ(again.GetCategory(L"View").GetString(L"XScale", L""), L"2.000000");

    // With owners: the order of the steps, and comments skipped when asked.
    std::vector<std::string> log;
    FakeOwner calc(&log, "calc"), fault(&log, "fault"), comments(&log, "comments");
    Record owned;
    owned.parts.calculatedChannels = &calc;
    owned.parts.faultLocation = &fault;
    owned.parts.comments = &comments;
    LoadRecordSettings(owned.parts, path, false);
    EXPECT_EQ(log, (std::vector<std::string>{"comments load -", "calc clear", "calc load -", "fault load -"}));
    log.clear();
    SaveRecordSettings(owned.parts, path);
    EXPECT_EQ(log, (std::vector<std::string>{"calc save", "fault save", "comments save"}));
    log.clear();
    Record other;
    other.parts = owned.parts;
    other.parts.doc = &other.doc;
    other.parts.store = &other.store;
    LoadRecordSettings(other.parts, path, true);
    EXPECT_EQ(log, (std::vector<std::string>{"calc clear", "calc load yes", "fault load yes"}));
}

TEST(RecordSettings, ChannelNamedLikeAFixedCategoryShares) {
    Record r;
    r.Ch(0).m_fileName = "Comments";
    r.Ch(0).m_primary = 7;
    testutil::TempDir dir;
    SaveRecordSettings(r.parts, W(dir.File("c.set")));
    EXPECT_EQ(r.store.GetCategory(L"Comments").GetString(L"PrimaryMul", L""), L"7.000000");
}

TEST(RecordSettings, CancelledLoadStopsAtTheChannels) {
    testutil::TempDir dir;
    Record src;
    src.Ch(0).m_primary = 9;
    src.diff = {ChannelPair(L"Ua", L"Ub")};
    SaveRecordSettings(src.parts, W(dir.File("x.set")));
    std::vector<std::string> log;
    FakeOwner calc(&log, "calc");
    Record r;
    r.parts.calculatedChannels = &calc;
    r.doc.m_progress.cancel = true;
    LoadRecordSettings(r.parts, W(dir.File("x.set")), false);
    EXPECT_EQ(r.Ch(0).m_primary, 1);
    EXPECT_TRUE(r.diff.empty());
    EXPECT_EQ(log, (std::vector<std::string>{"calc clear"}));
}

TEST(RecordSettings, UnwritableFileIsReportedAndTheOldOneKept) {
    testutil::TempDir dir;
    const std::string file = dir.File("keep.set");
    testutil::WriteFile(file, "old");
    Record r;
    CString message;
    {
        testutil::FileSizeLimit limit(100);
        try {
            SaveRecordSettings(r.parts, W(file));
        } catch (CException* e) {
            message = e->GetErrorMessage();
            e->Delete();
        }
    }
    EXPECT_EQ(message.Find(L"Не удалось записать файл настроек осциллограммы - "), 0) << platform::WideToUtf8(message.view());
    EXPECT_NE(message.Find(L"keep.set"), -1);
    EXPECT_EQ(testutil::ReadFile(file), "old");
}

TEST(RecordSettings, DamagedFileAppliesWhatWasReadAndIsReported) {
    testutil::TempDir dir;
    Record src;
    src.Ch(0).m_primary = 9;  // "Ua" comes before the channels in code page 1251
    src.Ch(2).m_primary = 8;
    SaveRecordSettings(src.parts, W(dir.File("d.set")));
    const std::string full = testutil::ReadFile(dir.File("d.set"));
    testutil::WriteFile(dir.File("d.set"), full.substr(0, full.size() * 3 / 4));

    testutil::FakeUi ui;
    Record r;
    LoadRecordSettings(r.parts, W(dir.File("d.set")), false);
    EXPECT_EQ(r.Ch(0).m_primary, 9);
    EXPECT_EQ(r.Ch(2).m_primary, 1);
    ASSERT_EQ(ui.exceptions.size(), 1u);
    EXPECT_EQ(ui.exceptions[0].Find(L"Файл настроек осциллограммы поврежден"), 0);
    EXPECT_NE(ui.exceptions[0].Find(L"d.set"), -1);
}
