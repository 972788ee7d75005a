#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

using fixtures::DocUi;
using testutil::TempDir;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

const CChannel* Find(const CTenvorikDoc& doc, const wchar_t* name) {
    for (const CChannel& ch : doc.GetOscillogram().m_channels)
        if (ch.m_name == name) return &ch;
    return nullptr;
}

}  // namespace

TEST(CalculatedChannels, SavedRecordReopensWithThemComputedAgain) {
    DocUi ui;
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999(40));
    const std::string copy = dir.File("copy.cfg");
    const wchar_t* names[] = {L"Мощность", L"Ток", L"U кВ", L"Сумма"};
    std::vector<CChannel> made;
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        CalcChannels& list = CalcChannels::Of(doc.GetOscillogram());
        list.Append(names[0], L"Pf: (UA, IB)");
        list.Append(names[1], L"IB * 2");
        list.Append(names[2], L"Mod: (UA) * 1 [кВ]");
        list.Append(names[3], L"Ток + \"U кВ\"");
        ASSERT_TRUE(list.ComputeChannels());
        for (const wchar_t* n : names) made.push_back(*Find(doc, n));
        ASSERT_TRUE(doc.OnSaveDocument(W(copy)));
    }
    CTenvorikDoc back;
    ASSERT_TRUE(back.OnOpenDocument(W(copy)));
    EXPECT_TRUE(ui.errors.empty());
    ASSERT_EQ(CalcChannels::Of(back.GetOscillogram()).GetCount(), 4u);
    EXPECT_EQ(CalcChannels::Of(back.GetOscillogram()).GetExpression(3), L"Ток + \"U кВ\"");
    for (const CChannel& was : made) {
        SCOPED_TRACE(testing::PrintToString(was.m_name.str()));
        const CChannel* now = Find(back, was.m_name.GetString());
        ASSERT_NE(now, nullptr);
        EXPECT_TRUE(now->IsCalculated());
        EXPECT_EQ(now->GetUnitText(), was.GetUnitText());
        EXPECT_EQ(now->m_samples, was.m_samples);
        EXPECT_EQ(now->m_calcValues, was.m_calcValues);
    }
    EXPECT_EQ(Find(back, names[0])->GetUnitText(), L"W");
    EXPECT_EQ(Find(back, names[2])->GetUnitText(), L"кВ");
    // They follow the recorded analog channels, as when they were made.
    EXPECT_EQ(back.GetOscillogram().m_analogCount, 6);
    EXPECT_EQ(back.GetOscillogram().m_channels[2].m_name, names[0]);
}

TEST(CalculatedChannels, FailingFormulaIsReportedAndTheRecordStillOpens) {
    DocUi ui;
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999());
    struct Case {
        const wchar_t* formula;
        const wchar_t* message;
    } cases[] = {
        {L"Ix + 1", L"Имя канала задано неправильно."},
        {L"IB +", L"B: Синтаксическая ошибка в формуле"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.formula)));
        ui.errors.clear();
        SettingsStore store;
        SettingsNode& category = store.GetCategory(L"CalculatedChannels");
        category.SetString(L"Channel0", L"A,IB * 2");
        category.SetString(L"Channel1", CString(L"B,") + c.formula);
        category.SetString(L"Channel2", L"C,IB");
        ASSERT_TRUE(store.Save(W(dir.File("rec.set"))));

        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        EXPECT_EQ(ui.errors, std::vector<CString>{c.message});
        EXPECT_NE(Find(doc, L"A"), nullptr);
        EXPECT_EQ(Find(doc, L"B"), nullptr);
        EXPECT_EQ(Find(doc, L"C"), nullptr);
        EXPECT_NE(Find(doc, L"UA"), nullptr);
        // The list stays whole, so that saving keeps every formula.
        EXPECT_EQ(CalcChannels::Of(doc.GetOscillogram()).GetCount(), 3u);
    }
}

TEST(CalculatedChannels, UnknownCharacterInAFormulaOpensTheRecordWithoutIt) {
    DocUi ui;
    TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999());
    SettingsStore store;
    store.GetCategory(L"CalculatedChannels").SetString(L"Channel0", CString(std::wstring(L"x,IB\0,", 6)));
    ASSERT_TRUE(store.Save(W(dir.File("rec.set"))));

    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
    EXPECT_EQ(ui.errors, std::vector<CString>{L"x: Синтаксическая ошибка в формуле"});
    EXPECT_EQ(Find(doc, L"x"), nullptr);
    EXPECT_NE(Find(doc, L"IB"), nullptr);
}

TEST(CalculatedChannels, DeclaredRatesFarBeyondTheRecordOpenAsShortRecords) {
    DocUi ui;
    TempDir dir;
    // 240 samples declared at 2,000,000,000 per second, and a record whose settings raise its
    // rate to the largest number they can hold, with a calculated channel to recompute.
    auto fast = fixtures::Binary1999(240);
    fast.cfg.replace(fast.cfg.find("\r\n1000,240\r\n"), 12, "\r\n2000000000,240\r\n");
    const std::string fastCfg = fixtures::Write(dir, "fast", fast);
    const std::string slowCfg = fixtures::Write(dir, "slow", fixtures::Binary1999(240));
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(slowCfg)));
        CalcChannels::Of(doc.GetOscillogram()).Append(L"Ток", L"IB * 2");
        ASSERT_TRUE(CalcChannels::Of(doc.GetOscillogram()).ComputeChannels());
        ASSERT_TRUE(doc.OnSaveDocument(W(slowCfg)));
    }
    SettingsStore store;
    ASSERT_TRUE(store.Load(W(dir.File("slow.set"))));
    store.GetCategory(L"Oscillogram").SetInt(L"DiscretisationFrequensy", 2147483647);
    ASSERT_TRUE(store.Save(W(dir.File("slow.set"))));

    for (const std::string& cfg : {fastCfg, slowCfg}) {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg))) << cfg;
        EXPECT_GE(doc.GetOscillogram().m_samplingFrequency, 2000000000) << cfg;
        EXPECT_EQ(doc.GetOscillogram().GetSampleCount(), 240);
        // No whole period fits: the measures over one read 0, the values are all there.
        for (const CChannel& ch : doc.GetOscillogram().m_channels) {
            if (ch.IsDiscrete()) continue;
            EXPECT_EQ(ch.GetRms(239, 1), 0.0) << cfg;
        }
    }
    EXPECT_TRUE(ui.errors.empty());

#if !defined(__SANITIZE_ADDRESS__)
    // Memory follows the data: the tool opens both records within 300 MB of address space
    // (the sanitizer's own reservations do not allow the limit there).
    for (const std::string& cfg : {fastCfg, slowCfg}) {
        auto r = testutil::Run({"/bin/sh", "-c", "ulimit -v 300000 && exec \"$0\" \"$1\"",
                                std::string(TV_BIN_DIR) + "/recdump", cfg});
        EXPECT_EQ(r.exitCode, 0) << cfg << r.err;
    }
#endif
}
