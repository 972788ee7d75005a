// The formula-editor page without its window, the naming of quick-analysis channels and the
// settings helpers the pages share.
#include <gtest/gtest.h>

#include "FakeUi.h"
#include "TestUtil.h"
#include "analysis/FormulaEditor.h"
#include "model/DocumentModel.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

namespace {

using testutil::TempDir;

class FormulaEditor : public ::testing::Test {
protected:
    void SetUp() override {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 200;
        o.m_netFrequency = 50.0;
        for (const wchar_t* name : {L"Ia", L"IB"}) {
            CChannel& ch = o.m_channels.emplace_back(&doc);
            ch.m_name = name;
            ch.m_samples = {1, 2, 3, 4};
            ++o.m_analogCount;
        }
        o.RecalcAll(false);
        list.Append(L"Sum", L"Ia + IB");
        list.Append(L"Канал7", L"Ia * 2");
        ASSERT_TRUE(list.ComputeChannels());
    }
    std::vector<std::wstring> Names(const FormulaEditorModel& m) {
        std::vector<std::wstring> v;
        for (const FormulaRow& r : m.Rows()) v.push_back(r.name.str());
        return v;
    }
    testutil::FakeUi ui;
    DocumentModel doc;
    CalcChannels list{&doc};
};

TEST_F(FormulaEditor, RowsAreEditedOnTheWorkingCopyOnly) {
    FormulaEditorModel m(&doc.GetOscillogram(), list);
    EXPECT_FALSE(m.IsModified());
    EXPECT_EQ(m.ProposedName(), CString(L"Канал8"));
    m.Append(L"Third", L"IB");
    EXPECT_EQ(m.GetSelected(), 2);
    m.MoveDown();  // already last
    EXPECT_EQ(m.GetSelected(), 2);
    m.MoveUp();
    m.MoveUp();
    m.MoveUp();  // already first
    EXPECT_EQ(Names(m), (std::vector<std::wstring>{L"Third", L"Sum", L"Канал7"}));
    EXPECT_EQ(m.GetSelected(), 0);
    m.Select(2);
    m.RemoveSelected();
    EXPECT_EQ(m.GetSelected(), 1);  // the last row, now that the one below is gone
    m.Select(0);
    m.RemoveSelected();
    EXPECT_EQ(Names(m), std::vector<std::wstring>{L"Sum"});
    EXPECT_EQ(m.GetSelected(), 0);
    EXPECT_TRUE(m.IsModified());

    std::vector<CString> names, formulas;
    m.GetChannelNames(names);
    m.GetFormulas(formulas);
    EXPECT_EQ(names, std::vector<CString>{L"Sum"});
    EXPECT_EQ(formulas, std::vector<CString>{L"Ia + IB"});
    EXPECT_TRUE(m.GetDiagramOptions().listsEdited);
    EXPECT_EQ(m.GetPageKey(), CString(L"FormulaEditorPage"));
    // The record and its list are untouched.
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(doc.GetOscillogram().m_channels.size(), 4u);
    // What the sheet takes on OK is taken once.
    QAnResults results;
    CollectResults(m, results);
    m.Append(L"Later", L"1");
    CollectResults(m, results);
    EXPECT_EQ(results.names, std::vector<CString>{L"Sum"});
    EXPECT_TRUE(results.options.listsEdited);
    m.RemoveAll();
    EXPECT_TRUE(m.Rows().empty());
    EXPECT_EQ(m.ProposedName(), CString(L"Канал1"));
}

TEST_F(FormulaEditor, RefusedNamesKeepTheCell) {
    FormulaEditorModel m(&doc.GetOscillogram(), list);
    struct Case {
        const wchar_t* text;
        unsigned reason;
    } cases[] = {
        {L"", 396}, {L"7up", 396}, {L"a,b", 9930}, {L"a\"b", 9930}, {L"Ia", 473}, {L"Канал7", 473},
        // The list's own channels are replaced with it; a name differing in case is another.
        {L"Sum", 0}, {L"ia", 0}, {L"Total", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        const CString old = m.Rows()[0].name;
        EXPECT_EQ(m.EditCell(0, 0, c.text), c.reason);
        EXPECT_EQ(m.Rows()[0].name, c.reason ? old : CString(c.text));
    }
    EXPECT_EQ(m.EditCell(1, 1, L"Ia - IB"), 0u);
    EXPECT_EQ(m.Rows()[1].formula, CString(L"Ia - IB"));
}

TEST_F(FormulaEditor, FrmListsGoOutAndComeBack) {
    TempDir dir;
    const CString path(platform::Utf8ToWide(dir.File("list.frm")));
    FormulaEditorModel m(&doc.GetOscillogram(), list);
    m.Append(L"Many", L"TormMaxCur: (Ia, IB, 0)");
    m.ExportFile(path);
    const std::string written = "Sum,Ia + IB,\r\n\xCA\xE0\xED\xE0\xEB" "7,Ia * 2,\r\nMany,TormMaxCur: (Ia, IB, 0),\r\n";
    EXPECT_EQ(testutil::ReadFile(dir.File("list.frm")), written);

    // A name the file's code page cannot hold refuses the export and keeps the file.
    FormulaEditorModel other(&doc.GetOscillogram(), list);
    other.Append(L"\u03a9", L"Ia");
    try {
        other.ExportFile(path);
        ADD_FAILURE() << "exported";
    } catch (CException* e) {
        e->Delete();
    }
    EXPECT_EQ(testutil::ReadFile(dir.File("list.frm")), written);

    testutil::WriteFile(dir.File("in.frm"), "A,Ia*2,\r\nno comma here\r\n,nameless,\r\n\r\nB,Rms: (Ia, 1),\r\n");
    ui.openFileAnswer = CString(platform::Utf8ToWide(dir.File("in.frm")));
    other.ImportList();
    EXPECT_EQ(Names(other), (std::vector<std::wstring>{L"A", L"B"}));
    EXPECT_EQ(other.Rows()[1].formula, CString(L"Rms: (Ia, 1)"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].Find(L": 2"), -1) << ui.messages[0].str();

    // A cancelled dialog leaves the rows.
    ui.openFileAnswer = CString();
    other.ImportList();
    EXPECT_EQ(Names(other), (std::vector<std::wstring>{L"A", L"B"}));
    EXPECT_EQ(m.ImportFile(path), 0u);
    EXPECT_EQ(Names(m), (std::vector<std::wstring>{L"Sum", L"Канал7", L"Many"}));
}

TEST_F(FormulaEditor, ProducedNamesAreFreeWithoutRegardToCase) {
    const COscillogram& record = doc.GetOscillogram();
    const std::vector<CString> listNames = {L"Extra"};
    EXPECT_EQ(MakeUniqueName(record, listNames, {}, L"Ib"), CString(L"Ib_2"));
    EXPECT_EQ(MakeUniqueName(record, listNames, {L"ib_2"}, L"Ib"), CString(L"Ib_3"));
    EXPECT_EQ(MakeUniqueName(record, listNames, {}, L"EXTRA"), CString(L"EXTRA_2"));
    EXPECT_EQ(MakeUniqueName(record, listNames, {}, L"Ic"), CString(L"Ic"));
}

TEST_F(FormulaEditor, PagesKeepTheirChoicesInTheirCategory) {
    SettingsStore store;
    SettingsNode& category = store.GetCategory(L"SomePage");
    ArgumentControlMap c;
    c.Add({1007, 1008, 1050, 2175});
    c.SetChoices(1007, {L"Ia", L"IB"}, 1);
    c.SetChoices(1008, {L"Ia", L"IB"}, 0);
    c.SetText(1050, L"2,5");
    SaveComboSelection(c, category, 1007, L"Leg_1", true);
    SaveComboSelection(c, category, 1008, L"phaseB", false);
    SaveEditText(c, category, 1050, L"R0");
    EXPECT_EQ(category.GetSubCategory(L"Leg_1").GetString(L"channelName", CString()), CString(L"IB"));

    ArgumentControlMap d;
    d.Add({1007, 1008, 1050, 2175});
    d.SetChoices(1007, {L"Ia", L"IB"}, 0);
    d.SetChoices(1008, {L"Ic"}, 0);
    RestoreComboSelection(d, category, 1007, L"Leg_1", true);
    RestoreComboSelection(d, category, 1008, L"phaseB", false);  // "Ia" is not in the list
    RestoreEditText(d, category, 1050, L"R0");
    EXPECT_EQ(d.GetText(1007), CString(L"IB"));
    EXPECT_EQ(d.GetText(1008), CString(L"Ic"));
    EXPECT_EQ(d.GetText(1050), CString(L"2,5"));

    // An absent value leaves the box as it is.
    d.SetCheck(2175, true);
    EXPECT_FALSE(RestoreCheck(d, category, L"useI0", 2175));
    EXPECT_TRUE(d.IsChecked(2175));
    category.SetInt(L"useI0", 0);
    EXPECT_FALSE(RestoreCheck(d, category, L"useI0", 2175));
    EXPECT_FALSE(d.IsChecked(2175));

    d.SetText(1008, L"Канал отсутствует");
    EXPECT_FALSE(IsChannelPresent(d, 1008));
    EXPECT_TRUE(IsChannelPresent(d, 1007));
}

}  // namespace
