#include <gtest/gtest.h>

#include "diagrams/ChanPairList.h"
#include "model/SettingsStore.h"

namespace {

std::vector<CString> Names() { return {L"Ia", L"Ib", L"Id"}; }

}  // namespace

TEST(ChanPairList, NoChannelsLeavesAddDisabled) {
    ChanPairList list(true, {}, {});
    EXPECT_EQ(list.Choice(ChanPairList::kComboFirstColumn), -1);
    EXPECT_FALSE(list.CanAdd());
    EXPECT_FALSE(list.Add());
    EXPECT_FALSE(list.CanRemove());
    EXPECT_EQ(list.RowCount(), 0);
}

TEST(ChanPairList, AddPutsTheChoicesInTheModesOrder) {
    ChanPairList circle(true, {}, Names());
    circle.Choose(ChanPairList::kComboFirstColumn, 1);   // active resistance
    circle.Choose(ChanPairList::kComboSecondColumn, 2);  // reactive resistance
    ASSERT_TRUE(circle.Add());
    EXPECT_EQ(circle.Pairs()[0].first, CString(L"Ib"));
    EXPECT_EQ(circle.Pairs()[0].second, CString(L"Id"));
    EXPECT_TRUE(circle.Pairs()[0].visible);
    EXPECT_EQ(circle.CellText(0, 0), CString(L"Ib"));
    EXPECT_EQ(circle.CellText(0, 1), CString(L"Id"));

    // The differential list leads with the differential current although the pair stores
    // the braking current first.
    ChanPairList diff(false, {}, Names());
    diff.Choose(ChanPairList::kComboFirstColumn, 2);   // differential current
    diff.Choose(ChanPairList::kComboSecondColumn, 0);  // braking current
    ASSERT_TRUE(diff.Add());
    ASSERT_TRUE(diff.Add());  // the same pair may be added twice
    EXPECT_EQ(diff.Pairs()[0].first, CString(L"Ia"));
    EXPECT_EQ(diff.Pairs()[0].second, CString(L"Id"));
    EXPECT_EQ(diff.CellText(1, 0), CString(L"Id"));
    EXPECT_EQ(diff.CellText(1, 1), CString(L"Ia"));
    EXPECT_EQ(diff.SelectedRow(), 1);
    EXPECT_EQ(diff.RowCount(), 2);
}

TEST(ChanPairList, RemoveSelectsTheRowThatTakesItsPlace) {
    ChanPairList list(true, {{L"a", L"b"}, {L"c", L"d"}, {L"e", L"f"}}, Names());
    list.SelectRow(2);
    ASSERT_TRUE(list.Remove());  // the last row: the new last is selected
    EXPECT_EQ(list.SelectedRow(), 1);
    list.SelectRow(0);
    ASSERT_TRUE(list.Remove());
    EXPECT_EQ(list.SelectedRow(), 0);
    EXPECT_EQ(list.Pairs()[0].first, CString(L"c"));
    ASSERT_TRUE(list.Remove());  // the only row
    EXPECT_EQ(list.SelectedRow(), -1);
    EXPECT_FALSE(list.CanRemove());
    list.SelectRow(5);  // no such row
    EXPECT_FALSE(list.Remove());
}

TEST(ChannelPairStorage, TwelvePairsRoundTripAndDamagedEntriesReadAsDefaults) {
    SettingsNode channels;
    for (unsigned i = 0; i < 12; ++i) {
        CString n;
        n.Format(L"%u", i);
        ChannelPair p(CString(L"R") + n, CString(L"X") + n);
        p.visible = i % 2 == 0;
        p.SaveCircle(channels.GetSubCategory(n));
    }
    for (unsigned i = 0; i < 12; ++i) {
        CString n;
        n.Format(L"%u", i);
        ChannelPair p;
        p.LoadCircle(channels.GetSubCategory(n));
        EXPECT_EQ(p.first, CString(L"R") + n);
        EXPECT_EQ(p.second, CString(L"X") + n);
        EXPECT_EQ(p.visible, i % 2 == 0);
    }
    SettingsNode empty;
    ChannelPair p;
    p.LoadCircle(empty);
    EXPECT_EQ(p.first, CString(L"?"));
    EXPECT_EQ(p.second, CString(L"?"));
    EXPECT_TRUE(p.visible);
}
