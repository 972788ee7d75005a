// The line-model editor as plain code: tree, labels, grid rows, commands, files.
#include <gtest/gtest.h>

#include "FakeUi.h"
#include "TestUtil.h"
#include "faultloc/LineModelEditor.h"
#include "model/SettingsStore.h"

using Data = WrongPlaceLocatorData;
using Editor = LineModelEditor;

namespace {

std::vector<CString> Labels(const Editor& e) {
    std::vector<CString> out;
    for (const auto& n : e.Nodes()) out.push_back(n.label);
    return out;
}

std::vector<CString> RowNames(const Editor& e) {
    std::vector<CString> out;
    for (const auto& r : e.Rows()) out.push_back(r.name);
    return out;
}

std::string Flags(const Editor::Commands& c) {
    std::string s;
    for (bool b : {c.addSection, c.addParallelLine, c.addConnection, c.remove, c.moveUp, c.moveDown}) s += b ? '1' : '0';
    return s;
}

// Station 1 with two sections; the first holds one parallel line and one connection.
Data TwoSectionModel(int type) {
    Data m;
    m.methodType = type;
    auto* s1 = m.station1.AddSection();
    s1->SetParam(LineParam::Comment(), L"first");
    s1->AddParallelLine();
    s1->AddConnection();
    m.station1.AddSection()->SetParam(LineParam::Comment(), L"second");
    return m;
}

}  // namespace

TEST(LineModelEditor, NewModelShowsOneStationWithIsolatedNeutralRows) {
    Editor e{Data()};
    e.FillTree(true);
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция"}));
    EXPECT_EQ(e.Selected(), &e.Model().station1);
    EXPECT_EQ(e.MethodIndex(), 0);
    EXPECT_EQ(RowNames(e), (std::vector<CString>{L"Название", L"Номинальный ток прямой последовательности, A", L"Ia",
                                                  L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca"}));
    auto rows = e.Rows();
    EXPECT_FALSE(rows[0].channel);
    EXPECT_EQ(rows[0].value, L"Подстанция");
    EXPECT_TRUE(rows[2].channel);
    EXPECT_EQ(Flags(e.Available()), "100000");
}

TEST(LineModelEditor, MethodDecidesStationsChildrenAndCommands) {
    Editor e{TwoSectionModel(1)};
    e.FillTree(true);
    // Isolated neutral: the children stay in the model but are not shown.
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция", L"Участок №1", L"Участок №2"}));
    ASSERT_TRUE(e.Select(e.Model().station1.GetSection(0)));
    EXPECT_EQ(Flags(e.Available()), "000101");
    EXPECT_EQ(e.Model().station1.GetSection(0)->GetParallelLineCount(), 1);

    e.SetMethodIndex(2);  // two-ended
    EXPECT_EQ(e.Model().methodType, 4);
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция №1", L"Участок №1", L"Параллельная линия №1", L"Отпайка №1",
                                               L"Участок №2", L"Подстанция №2"}));
    EXPECT_EQ(e.Selected(), &e.Model().station1);
    ASSERT_TRUE(e.Select(&e.Model().station2));
    EXPECT_EQ(Flags(e.Available()), "000000");  // no sections on station 2
    EXPECT_EQ(RowNames(e), (std::vector<CString>{L"Название", L"Номинальный ток прямой последовательности, A", L"Ia",
                                                  L"Ib", L"Ic", L"Ua", L"Ub", L"Uc"}));
    ASSERT_TRUE(e.Select(e.Model().station1.GetSection(0)));
    EXPECT_EQ(Flags(e.Available()), "011101");
    ASSERT_TRUE(e.Select(e.Model().station1.GetSection(0)->GetConnection(0)));
    EXPECT_EQ(Flags(e.Available()), "000100");
    EXPECT_EQ(RowNames(e), (std::vector<CString>{L"R0 (Ом)", L"X0 (Ом)", L"Комментарий"}));

    e.SetMethodIndex(7);  // not a method: nothing changes
    EXPECT_EQ(e.Model().methodType, 4);
    EXPECT_EQ(Editor::MethodIndexOf(3), -1);
    EXPECT_EQ(Editor::MethodTypeAt(1), 2);
}

TEST(LineModelEditor, NewItemsGoWhereTheyBelongAndKeepTheirPlaceOnRebuild) {
    Data m;
    m.methodType = 2;
    m.station1.AddSection()->AddConnection();
    Editor e{m};
    e.FillTree(true);
    e.AddSection();  // station selected
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция", L"Участок №1", L"Отпайка №1", L"Участок №2"}));
    EXPECT_EQ(e.Selected(), e.Model().station1.GetSection(1));
    ASSERT_TRUE(e.Select(e.Model().station1.GetSection(0)));
    e.AddParallelLine();  // before the connection
    e.Select(e.Model().station1.GetSection(0));
    e.AddConnection();
    const auto added = Labels(e);
    EXPECT_EQ(added, (std::vector<CString>{L"Подстанция", L"Участок №1", L"Параллельная линия №1", L"Отпайка №1",
                                           L"Отпайка №2", L"Участок №2"}));
    EXPECT_EQ(e.Nodes()[2].image, Editor::ParallelLineImage);
    EXPECT_EQ(e.Nodes()[2].parent, 1);
    EXPECT_EQ(e.Nodes()[5].parent, 0);
    e.FillTree(false);
    EXPECT_EQ(Labels(e), added);
    EXPECT_EQ(e.Selected(), e.Model().station1.GetSection(0)->GetConnection(1));
    // A parallel line cannot be added under a connection or a station.
    e.AddParallelLine();
    e.Select(&e.Model().station1);
    e.AddParallelLine();
    EXPECT_EQ(e.Model().station1.GetSection(0)->GetParallelLineCount(), 1);
}

TEST(LineModelEditor, RemovingKeepsOldNumbersUntilRebuiltAndSelectsANeighbour) {
    Editor e{TwoSectionModel(2)};
    e.FillTree(true);
    Data::Section* second = e.Model().station1.GetSection(1);
    e.Select(e.Model().station1.GetSection(0));
    e.RemoveSelected();
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция", L"Участок №2"}));
    EXPECT_EQ(e.Selected(), second);
    EXPECT_EQ(e.Nodes()[1].parent, 0);
    ASSERT_EQ(e.Model().station1.GetSectionCount(), 1);
    EXPECT_EQ(e.Model().station1.GetSection(0)->GetParam(LineParam::Comment()), L"second");
    e.FillTree(false);
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция", L"Участок №1"}));
    // The last one left: the parent takes the selection; a station cannot be removed.
    e.RemoveSelected();
    EXPECT_EQ(e.Selected(), &e.Model().station1);
    e.RemoveSelected();
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция"}));
}

TEST(LineModelEditor, MovesReorderTheModelAndFollowTheElement) {
    Editor e{TwoSectionModel(2)};
    e.FillTree(true);
    Data::Section* second = e.Model().station1.GetSection(1);
    e.Select(second);
    EXPECT_EQ(Flags(e.Available()), "011110");  // the last cannot move down
    e.MoveSelectedDown();
    EXPECT_EQ(e.Model().station1.GetSection(1), second);
    e.MoveSelectedUp();
    EXPECT_EQ(e.Model().station1.GetSection(0), second);
    EXPECT_EQ(e.Selected(), second);
    EXPECT_EQ(Labels(e), (std::vector<CString>{L"Подстанция", L"Участок №1", L"Участок №2", L"Параллельная линия №1",
                                               L"Отпайка №1"}));
    EXPECT_EQ(e.Model().station1.GetSection(1)->GetParam(LineParam::Comment()), L"first");
}

TEST(LineModelEditor, EditsStayInTheCopyAndExpandedStateTravelsWithIt) {
    Data original = TwoSectionModel(2);
    Editor e{original};
    e.FillTree(true);
    e.SetValue(L"Ia", L"IA");
    e.SetValue(L"unknown", L"x");
    e.SetExpanded(e.Model().station1.GetSection(0), false);
    e.Select(e.Model().station1.GetSection(0));
    e.RemoveSelected();
    EXPECT_EQ(original.station1.GetParam(L"Ia"), L"");
    EXPECT_EQ(original.station1.GetSectionCount(), 2);
    EXPECT_EQ(e.Model().station1.GetParam(L"Ia"), L"IA");
    // Parent links of the copy point into the copy: removing there left the original whole.
    Data copy = e.Model();
    EXPECT_EQ(copy.station1.GetSection(0)->parent, &copy.station1);
}

TEST(LineModelEditor, ChannelChoicesListEachNameOnceInOrder) {
    EXPECT_EQ(Editor::ChannelChoices({L"Ia", L"Ib", L"Ia", L"Uc"}), (std::vector<CString>{L"Ia", L"Ib", L"Uc"}));
}

TEST(LineModelEditor, OmpFileRoundTripsAndOtherFilesAreRefused) {
    testutil::TempDir dir;
    Data m = TwoSectionModel(4);
    m.station1.GetSection(0)->SetParam(LineParam::Length(), L"12,5");
    m.station2.SetParam(L"Ia", L"IA2");
    Editor saver{m};
    const CString omp = CString(dir.File("line.omp").c_str());
    ASSERT_TRUE(saver.Save(omp));
    EXPECT_NE(testutil::ReadFile(dir.File("line.omp")).find(std::string("o\0m\0p\0", 6)), std::string::npos);

    Editor e{Data()};
    e.FillTree(true);
    ASSERT_EQ(e.Load(omp), Editor::LoadResult::Loaded);
    EXPECT_EQ(e.Model().methodType, 4);
    EXPECT_EQ(e.Model().station1.GetSection(0)->GetParam(LineParam::Length()), L"12,5");
    EXPECT_EQ(e.Model().station2.GetParam(L"Ia"), L"IA2");
    EXPECT_EQ(Labels(e).size(), 6u);
    EXPECT_EQ(e.Selected(), &e.Model().station1);

    // A settings file without the line model, and a file that is no model at all: refused,
    // the model unchanged.
    SettingsStore other;
    other.GetCategory(L"View").SetInt(L"XScale", 2);
    const CString set = CString(dir.File("rec.set").c_str());
    ASSERT_TRUE(other.Save(set));
    testutil::WriteFile(dir.File("junk.txt"), "1\tIa\tIb");
    for (const CString& path : {set, CString(dir.File("junk.txt").c_str())}) {
        EXPECT_EQ(e.Load(path), Editor::LoadResult::NotALineModel) << path.GetString();
        EXPECT_EQ(e.Model().methodType, 4);
        EXPECT_EQ(e.Model().station1.GetSectionCount(), 2);
    }

    // A legacy text model reads as method 1.
    testutil::WriteFile(dir.File("old.txt"), "0\tIa\tIb\tIc\tUab\tUbc\tUca\t100\t1\n10,0.1,0.4,30,old\n");
    ASSERT_EQ(e.Load(CString(dir.File("old.txt").c_str())), Editor::LoadResult::Loaded);
    EXPECT_EQ(e.Model().methodType, 1);
    ASSERT_EQ(e.Model().station1.GetSectionCount(), 1);
    EXPECT_EQ(e.Model().station1.GetSection(0)->GetParam(LineParam::Towers()), L"30");

    // Saving where nothing can be written says so.
    CString error;
    EXPECT_FALSE(e.Save(CString(dir.File("no/such/dir/x.omp").c_str()), &error));
    EXPECT_FALSE(error.IsEmpty());
}

TEST(LineModelEditor, ValidateReportsTheFirstViolation) {
    testutil::FakeUi ui;
    Data m = TwoSectionModel(2);
    Editor e{m};
    EXPECT_FALSE(e.Validate());  // R1 and X1 are both 0
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], L"R1 и X1 не могут одновременно быть равны нулю");
    e.SetMethodIndex(0);
    for (int k = 0; k < 2; ++k) e.Model().station1.GetSection(k)->SetParam(LineParam::X(), L"0.4");
    EXPECT_TRUE(e.Validate());
}
