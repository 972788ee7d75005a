#include <gtest/gtest.h>

#include <filesystem>

#include "FakeUi.h"
#include "Fixtures.h"
#include "TestUtil.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

using fixtures::DocUi;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

}  // namespace

TEST(RecordSettingsFile, SavedWithTheRecordAndAppliedWhenItOpens) {
    DocUi ui;
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999());
    const std::string copy = dir.File("copy.cfg");
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        CChannel& ch = doc.GetOscillogram().m_channels[0];
        ch.m_flags |= CHF_INVERT;
        ch.m_alias = L"Напряжение \"A\"";
        doc.m_diffChartPairs.push_back(ChannelPair(L"a", L"b"));
        doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 3.5);
        doc.m_locator.GetData().methodType = 4;
        ASSERT_TRUE(doc.OnSaveDocument(W(copy)));
    }
    ASSERT_EQ(ReadFile(dir.File("copy.set")).substr(0, 2), "\xFF\xFE");

    CTenvorikDoc back;
    ASSERT_TRUE(back.OnOpenDocument(W(copy)));
    EXPECT_TRUE(ui.errors.empty());
    const CChannel& ch = back.GetOscillogram().m_channels[0];
    EXPECT_TRUE(ch.m_flags & CHF_INVERT);
    EXPECT_EQ(ch.m_name, L"Напряжение \"A\"");
    ASSERT_EQ(back.m_diffChartPairs.size(), 1u);
    EXPECT_EQ(back.m_diffChartPairs[0].second, L"b");
    EXPECT_EQ(back.m_settings.GetCategory(L"View").GetDouble(L"XScale", 0), 3.5);
    EXPECT_EQ(back.m_locator.GetData().methodType, 4);
    // The inverted channel's values were computed again with its flags.
    EXPECT_EQ(ch.GetValue(1), -ch.m_samples[1] * ch.m_displayMul);
}

TEST(RecordSettingsFile, DamagedFileStillOpensTheRecordAndSaysSo) {
    DocUi ui;
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999());
    WriteFile(dir.File("rec.set"), platform::WideToUtf16Le(L"<settings><category name=\"View\" XScale=\"2\"/><categ", true));
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
    EXPECT_EQ(doc.GetOscillogram().m_channels.size(), 5u);
    EXPECT_EQ(doc.m_settings.GetCategory(L"View").GetInt(L"XScale", 0), 2);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].Find(L"Файл настроек осциллограммы поврежден"), 0);
}

TEST(RecordSettingsFile, SettingsFileThatCannotBeWrittenFailsTheSave) {
    DocUi ui;
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999());
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
    std::filesystem::create_directory(dir.File("other.set"));
    EXPECT_FALSE(doc.OnSaveDocument(W(dir.File("other.cfg"))));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].Find(L"Не удалось записать файл настроек осциллограммы"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("other.set")));
}

TEST(RecordSettingsFile, LoadSettingsCommandAppliesAnotherRecordsFile) {
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999());
    SettingsStore other;
    other.GetCategory(L"Comments").SetInt(L"Codepage", 0);
    other.GetCategory(L"Diff Chart").GetSubCategory(L"Channels").GetSubCategory(L"0").SetString(L"BrakeCurr", L"X");
    ASSERT_TRUE(other.Save(W(dir.File("other.set"))));

    testutil::FakeUi ui;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
    EXPECT_TRUE(doc.GetCommandState(ID_LOAD_SETTINGS).known);
    // Cancelled: nothing happens.
    EXPECT_TRUE(doc.OnCommand(ID_LOAD_SETTINGS));
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(ui.openFilters.size(), 1u);
    EXPECT_EQ(ui.openFilters[0], L"Настройки осциллограммы Tenvorik (*.set)|*.set|Все файлы (*.*)|*.*||");

    ui.openFileAnswer = W(dir.File("other.set"));
    EXPECT_TRUE(doc.OnCommand(ID_LOAD_SETTINGS));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.m_diffChartPairs.size(), 1u);
    EXPECT_EQ(doc.m_diffChartPairs[0].first, L"X");
    EXPECT_TRUE(ui.exceptions.empty());
}
