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
