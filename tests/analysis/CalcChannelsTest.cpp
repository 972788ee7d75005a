#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "model/DocumentModel.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

namespace {

using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

// Records what the list reports and answers its file dialogs.
class ListUi final : public platform::UiServices {
public:
    ListUi() { platform::SetUiServices(this); }
    ~ListUi() override { platform::SetUiServices(nullptr); }
    int MessageBox(const CString&, const CString&, unsigned) override { return IDOK; }
    void PostException(CException* e) override {
        errors.push_back(e->GetErrorMessage().str());
        e->Delete();
    }
    void RunOnUiThread(std::function<void()> fn) override { fn(); }
    CString AskOpenFileName(const CString&, const CString& filter, const CString& ext) override {
        filters.push_back(filter.str() + L" " + ext.str());
        return answer;
    }
    CString AskSaveFileName(const CString&, const CString& filter, const CString& ext) override {
        filters.push_back(filter.str() + L" " + ext.str());
        return answer;
    }
    std::vector<std::wstring> errors, filters;
    CString answer;
};

class Doc final : public DocumentModel {
public:
    void PurgeChannelGroups() override { ++purges; }
    int purges = 0;
};

class CalcChannelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 200;
        o.m_netFrequency = 50.0;
        Add("Ia", {1, 2, 3, 4, 5, 6}, L"A");
        Add("Ub", {0, 10, 0, -10, 0, 10}, L"kV");
        CChannel& k = o.m_channels.emplace_back(CString(L"K1"), std::vector<int32_t>{0, 1, 0, 1, 0, 1}, &doc, 0);
        k.m_flags &= ~uint32_t(CHF_CALCULATED);  // as read from a record
        ++o.m_discreteCount;
        o.RecalcAll(false);
        doc.purges = 0;
    }
    void Add(const char* name, std::vector<double> samples, const wchar_t* unit) {
        COscillogram& o = doc.GetOscillogram();
        CChannel& ch = o.m_channels.emplace_back(&doc);
        ch.m_fileName = name;
        ch.m_name = CString(ch.m_fileName);
        ch.m_displayUnit = unit;
        ch.m_samples = std::move(samples);
        ++o.m_analogCount;
    }
    CalcChannels& List() { return CalcChannels::Of(doc.GetOscillogram()); }
    const CChannel* Find(const wchar_t* name) {
        for (const CChannel& ch : doc.GetOscillogram().m_channels)
            if (ch.m_name == name) return &ch;
        return nullptr;
    }
    std::vector<std::wstring> Names() {
        std::vector<std::wstring> v;
        for (const CChannel& ch : doc.GetOscillogram().m_channels) v.push_back(ch.m_name.str());
        return v;
    }
    std::vector<std::pair<std::wstring, std::wstring>> Pairs(const CalcChannels& list) {
        std::vector<std::pair<std::wstring, std::wstring>> v;
        for (size_t i = 0; i < list.GetCount(); ++i) v.emplace_back(list.GetName(i).str(), list.GetExpression(i).str());
        return v;
    }

    ListUi ui;
    Doc doc;
};

TEST_F(CalcChannelsTest, ComputesInOrderWithUnitsAndKinds) {
    List().Append(L"I2", L"Ia * 2");                  // real and complex
    List().Append(L"Isq", L"Ia ^ 2");                 // real only
    List().Append(L"S", L"Pf: (Ub, Ia)");             // complex only
    List().Append(L"Next", L"I2 + 1 [мА]");           // an earlier calculated channel, a unit given
    List().Append(L"F", L"Frequency: ()");
    ASSERT_TRUE(List().ComputeChannels());
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(doc.purges, 1);
    // Program-made channels follow the analog channels, before the discrete ones.
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Ia", L"Ub", L"I2", L"Isq", L"S", L"Next", L"F", L"K1"}));
    EXPECT_EQ(doc.GetOscillogram().m_analogCount, 7);

    const CChannel& i2 = *Find(L"I2");
    EXPECT_TRUE(i2.IsCalculated());
    EXPECT_EQ(i2.m_samples, (std::vector<double>{2, 4, 6, 8, 10, 12}));
    EXPECT_EQ(i2.GetUnitText(), L"A");
    ASSERT_EQ(i2.m_calcValues.size(), 6u);
    EXPECT_EQ(i2.m_calcValues[5], 2.0 * Find(L"Ia")->GetStoredHarmonic(5));

    const CChannel& sq = *Find(L"Isq");
    EXPECT_EQ(sq.m_samples, (std::vector<double>{1, 4, 9, 16, 25, 36}));
    EXPECT_EQ(sq.GetUnitText(), L"");

    const CChannel& s = *Find(L"S");
    EXPECT_EQ(s.GetUnitText(), L"W");
    ASSERT_EQ(s.m_calcValues.size(), 6u);
    for (size_t k = 0; k < 6; ++k) EXPECT_EQ(s.m_samples[k], s.m_calcValues[k].real());

    EXPECT_EQ(Find(L"Next")->m_samples, (std::vector<double>{3, 5, 7, 9, 11, 13}));
    EXPECT_EQ(Find(L"Next")->GetUnitText(), L"мА");
    EXPECT_EQ(Find(L"F")->GetUnitText(), L"Hz");

    // Computing again replaces the values in place; a second formula of one name wins.
    List().Append(L"Isq", L"Ia * 3");
    ASSERT_TRUE(List().ComputeChannels());
    EXPECT_EQ(Find(L"Isq")->m_samples, (std::vector<double>{3, 6, 9, 12, 15, 18}));
    EXPECT_EQ(doc.GetOscillogram().m_channels.size(), 8u);
}

TEST_F(CalcChannelsTest, FailureIsReportedAndStopsAtTheFormula) {
    struct Case {
        const wchar_t* expression;
        const wchar_t* message;
    } cases[] = {
        {L"Ix + 1", L"Имя канала задано неправильно."},
        {L"Ia +", L"Bad: Синтаксическая ошибка в формуле"},
        {L"null", L"Bad: Результат не действителен"},
        {L"Later * 2", L"Bad: 'Later' -  не определен"},
        {L"rms: (Ia, Ub)", L"Неправильное число переменных: 'Bad'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.expression)));
        List().Clear();
        ui.errors.clear();
        doc.purges = 0;
        List().Append(L"Good", L"Ia");
        List().Append(L"Bad", c.expression);
        List().Append(L"Later", L"Ub");
        EXPECT_FALSE(List().ComputeChannels());
        EXPECT_EQ(ui.errors, std::vector<std::wstring>{c.message});
        EXPECT_NE(Find(L"Good"), nullptr);
        EXPECT_EQ(Find(L"Bad"), nullptr);
        EXPECT_EQ(Find(L"Later"), nullptr);
        EXPECT_EQ(doc.purges, 0);
        // The list is kept, so that a later change computes it again.
        EXPECT_EQ(List().GetCount(), 3u);
    }
}

TEST_F(CalcChannelsTest, RecordedChannelIsNeverReplacedOrRemoved) {
    const std::vector<double> before = Find(L"Ia")->m_samples.ToVector();
    List().Append(L"ia", L"Ub * 2");  // the record's look-up ignores case
    List().Append(L"K1", L"Ub");
    EXPECT_FALSE(List().ComputeChannels());
    EXPECT_EQ(ui.errors, std::vector<std::wstring>{L"ia: Имя занято каналом осциллограммы"});
    EXPECT_EQ(Find(L"Ia")->m_samples, before);
    EXPECT_FALSE(Find(L"Ia")->IsCalculated());

    List().Clear();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Ia", L"Ub", L"K1"}));

    // Clear removes the list's own channels only.
    List().Append(L"Ia", L"1");
    List().Append(L"X", L"Ia + 1");
    EXPECT_FALSE(List().ComputeChannels());
    List().Clear();
    List().Append(L"X", L"Ia + 1");
    ASSERT_TRUE(List().ComputeChannels());
    List().Append(L"Ia", L"2");
    List().Clear();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Ia", L"Ub", L"K1"}));
    EXPECT_EQ(List().GetCount(), 0u);
}

TEST_F(CalcChannelsTest, EmptyRecordGivesEmptyChannels) {
    for (CChannel& ch : doc.GetOscillogram().m_channels) ch.m_samples.clear();
    List().Append(L"E", L"Ia * 2");
    ASSERT_TRUE(List().ComputeChannels());
    const CChannel* e = Find(L"E");
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->m_samples.empty());
    EXPECT_TRUE(e->m_calcValues.empty());
}

TEST_F(CalcChannelsTest, RecomputedAfterAChangeOfValues) {
    List().Append(L"I2", L"Ia * 2");
    ASSERT_TRUE(List().ComputeChannels());
    doc.GetOscillogram().m_channels[0].m_flags |= CHF_INVERT;
    doc.GetOscillogram().UpdateAfterChange();
    EXPECT_EQ(Find(L"I2")->m_samples, (std::vector<double>{-2, -4, -6, -8, -10, -12}));
}

// Long formulas are kept whole: the sums of 24 currents with generated names easily pass a
// thousand characters.
std::wstring LongFormula() {
    std::wstring f = L"Ia";
    while (f.size() < 3000) f += L" + Ia * 1";
    return f;
}

TEST_F(CalcChannelsTest, SettingsRoundTrip) {
    const std::vector<std::pair<std::wstring, std::wstring>> list = {
        {L"Ток 2", L"Mod:(Pf: (Ub, Ia))[VA]"},
        {L"\"Q\"", L"CoeffTT: (Ia, 1, 2)"},
        {L"Long", LongFormula()},
    };
    for (const auto& [n, e] : list) List().Append(CString(n), CString(e));
    SettingsStore store;
    SettingsNode& category = store.GetCategory(L"CalculatedChannels");
    category.SetString(L"Stale", L"x");
    category.GetSubCategory(L"Old");
    List().SaveToSettings(category);
    EXPECT_EQ(category.GetValueCount(), 3);
    EXPECT_EQ(category.GetSubCategoryCount(), 0);
    EXPECT_EQ(category.GetString(L"Channel1", L""), L"\"Q\",CoeffTT: (Ia, 1, 2)");

    // Through the file, as the record's settings travel.
    TempDir dir;
    const CString path(platform::Utf8ToWide(dir.File("r.set")));
    ASSERT_TRUE(store.Save(path));
    SettingsStore read;
    ASSERT_TRUE(read.Load(path));
    List().Clear();
    List().LoadFromSettings(read.GetCategory(L"CalculatedChannels"));
    EXPECT_EQ(Pairs(List()), list);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(doc.purges, 1);
    EXPECT_EQ(doc.GetOscillogram().m_analogCount, 5);
    EXPECT_EQ(Find(L"Ток 2")->GetUnitText(), L"VA");
}

TEST_F(CalcChannelsTest, SettingsValuesThatAreNotFormulas) {
    SettingsNode category;
    category.SetString(L"Channel0", L"A,Ia");
    category.SetString(L"Channel2", L"C,Ub");  // past the count of values: not reached
    SettingsNode skipped;
    skipped.SetString(L"Channel0", L"no comma");
    skipped.SetString(L"Channel1", L",Ia");         // no name
    skipped.SetString(L"Channel2", L"B,");          // no formula
    skipped.SetString(L"Channel3", L"D\r,Ia");      // the name ends at the line
    skipped.SetString(L"Channel4", L"E,Ia\r\nUb");  // the formula too
    List().LoadFromSettings(category);
    List().LoadFromSettings(skipped);
    EXPECT_EQ(Pairs(List()), (std::vector<std::pair<std::wstring, std::wstring>>{{L"A", L"Ia"}, {L"E", L"Ia"}}));
}

TEST_F(CalcChannelsTest, FormulaFileRoundTrip) {
    TempDir dir;
    const std::string file = dir.File("list.frm");
    const CString path(platform::Utf8ToWide(file));
    const std::vector<std::pair<std::wstring, std::wstring>> list = {
        {L"Ток нулевой", L"3I0: (Ia, Ia, Ia)"},
        {L"\"Кавычки\"", L"Chan: (\"Ub\")"},
        {L"Z", LongFormula()},
    };
    for (const auto& [n, e] : list) List().Append(CString(n), CString(e));
    List().ExportFormulaFile(path);
    std::wstring text;
    for (const auto& [n, e] : list) text += n + L"," + e + L",\r\n";
    EXPECT_EQ(ReadFile(file), platform::WideToAnsi(text));

    Doc other;
    CalcChannels::Of(other.GetOscillogram()).Append(L"Old", L"1");
    CalcChannels::Of(other.GetOscillogram()).ImportFormulaFile(path);
    EXPECT_EQ(Pairs(CalcChannels::Of(other.GetOscillogram())), list);
    EXPECT_TRUE(other.IsModified());

    // An empty list makes an empty file, which reads back as an empty list.
    CalcChannels none(&other);
    none.ExportFormulaFile(path);
    EXPECT_EQ(ReadFile(file), "");
    CalcChannels::Of(other.GetOscillogram()).ImportFormulaFile(path);
    EXPECT_EQ(CalcChannels::Of(other.GetOscillogram()).GetCount(), 0u);
}

TEST_F(CalcChannelsTest, FormulaFileWrittenByHand) {
    TempDir dir;
    const std::string file = dir.File("hand.frm");
    WriteFile(file, platform::WideToAnsi(L"  A,Ia,\r\n\r\n\tБ,Ub * 2\nno comma\n,Ia,\nC,Chan: (Ia),,\r\nD,\n"));
    List().ImportFormulaFile(CString(platform::Utf8ToWide(file)));
    EXPECT_EQ(Pairs(List()), (std::vector<std::pair<std::wstring, std::wstring>>{
                                 {L"A", L"Ia"}, {L"Б", L"Ub * 2"}, {L"C", L"Chan: (Ia),"}, {L"D", L""}}));
}

TEST_F(CalcChannelsTest, FormulaFileWithAnUnknownCharacterIsRefusedNotHung) {
    TempDir dir;
    const std::string file = dir.File("nul.frm");
    WriteFile(file, std::string("x,Ia\0", 5));
    List().Append(L"Good", L"Ia");
    List().ImportFormulaFile(CString(platform::Utf8ToWide(file)));
    ASSERT_EQ(List().GetCount(), 1u);
    EXPECT_FALSE(List().ComputeChannels());
    EXPECT_EQ(ui.errors, std::vector<std::wstring>{L"x: Синтаксическая ошибка в формуле"});
    EXPECT_EQ(Find(L"x"), nullptr);
    EXPECT_NE(Find(L"Ia"), nullptr);
}

TEST_F(CalcChannelsTest, FailedFileOperationsKeepWhatWasThere) {
    TempDir dir;
    const std::string file = dir.File("keep.frm");
    WriteFile(file, "old,1,\r\n");
    List().Append(L"A", L"Ia");
    List().ComputeChannels();

    // A file that cannot be read leaves the list and its channels.
    ui.answer = CString(platform::Utf8ToWide(dir.File("missing.frm")));
    List().ImportFormulaList();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(List().GetCount(), 1u);
    EXPECT_NE(Find(L"A"), nullptr);

    // A text the file's code page cannot hold is refused, and the old file stays.
    List().Append(L"Ω", L"Ia");
    ui.answer = CString(platform::Utf8ToWide(file));
    List().ExportFormulaList();
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(ui.errors[1], L"Ω: Текст нельзя сохранить в кодировке Windows-1251");
    EXPECT_EQ(ReadFile(file), "old,1,\r\n");

    // A folder that cannot be written is reported too.
    List().Clear();
    List().Append(L"A", L"Ia");
    ui.answer = CString(platform::Utf8ToWide(dir.File("no/such/folder.frm")));
    List().ExportFormulaList();
    EXPECT_EQ(ui.errors.size(), 3u);

    // Cancelled dialogs do nothing; both ask for formula lists.
    ui.answer = CString();
    List().ImportFormulaList();
    List().ExportFormulaList();
    EXPECT_EQ(List().GetCount(), 1u);
    EXPECT_EQ(ui.errors.size(), 3u);
    const std::wstring filter = L"Вычисляемые каналы Tenvorik (*.frm)|*.frm|Все файлы (*.*)|*.*|| frm";
    EXPECT_EQ(ui.filters, std::vector<std::wstring>(5, filter));
}

}  // namespace
