#include <gtest/gtest.h>

#include "halvex/controls/model/ColumnPicker.h"
#include "halvex/controls/model/ProgressLogic.h"

using namespace halvex;

namespace {
struct Lists {
    ReportListModel list;
    ColumnPicker picker{list};
    Lists() {
        for (int c = 0; c < 4; ++c) {
            list.InsertColumn(c, CString(L"Col") + wchar_t(L'0' + c), LVCFMT_LEFT, 50 + 10 * c);
            picker.OnInsertColumn(c);
        }
    }
};
}  // namespace

TEST(ColumnPicker, HideAndShowRestoresWidthAndPlace) {
    Lists l;
    l.list.SetColumnOrder({1, 0, 2, 3});
    EXPECT_EQ(l.picker.ShowColumn(2, false), 1);
    EXPECT_EQ(l.picker.ShowColumn(2, false), 0);
    EXPECT_FALSE(l.picker.IsColumnVisible(2));
    EXPECT_EQ(l.list.GetColumnWidth(2), 0);
    EXPECT_EQ(l.list.GetColumnOrder(), (std::vector<int>{2, 1, 0, 3}));
    EXPECT_EQ(l.picker.GetFirstVisibleColumn(), 1);
    // a hidden column refuses width and resizing; no column goes before the first visible one
    EXPECT_FALSE(l.picker.MaySetWidth(2));
    EXPECT_FALSE(l.picker.MayBeginResize(2));
    EXPECT_TRUE(l.picker.MayBeginResize(1));
    EXPECT_FALSE(l.picker.MayDropAt(0));
    EXPECT_TRUE(l.picker.MayDropAt(1));
    l.picker.ShowColumn(0, false);
    EXPECT_EQ(l.list.GetColumnOrder(), (std::vector<int>{0, 2, 1, 3}));
    // shown again in the reverse order, both return to their places
    l.picker.ShowColumn(0, true);
    EXPECT_EQ(l.list.GetColumnOrder(), (std::vector<int>{2, 1, 0, 3}));
    EXPECT_EQ(l.list.GetColumnWidth(0), 50);
    l.picker.ShowColumn(2, true);
    EXPECT_EQ(l.list.GetColumnWidth(2), 70);
    EXPECT_EQ(l.list.GetColumnOrder(), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(l.picker.ShowColumn(9, true), 0);
}

TEST(ColumnPicker, StatesFollowInsertAndDelete) {
    Lists l;
    l.picker.ShowColumn(3, false);
    l.list.InsertColumn(1, L"New", LVCFMT_LEFT, 40);
    l.picker.OnInsertColumn(1);
    ASSERT_EQ(l.picker.GetColumnStateCount(), 5);
    EXPECT_TRUE(l.picker.IsColumnVisible(1));
    EXPECT_FALSE(l.picker.IsColumnVisible(4));  // the hidden one moved with its column
    l.list.DeleteColumn(0);
    l.picker.OnDeleteColumn(0);
    EXPECT_FALSE(l.picker.IsColumnVisible(3));
}

TEST(ColumnPicker, HeaderTipsAndAutoWidth) {
    Lists l;
    EXPECT_EQ(l.picker.AddHeaderToolTip(7, L"x"), 0);
    ASSERT_EQ(l.picker.AddHeaderToolTip(2, nullptr), 1);
    const auto& tip = l.picker.Tips().front();
    EXPECT_EQ(tip.id, 3);
    EXPECT_EQ(tip.text, L"Col2");
    EXPECT_EQ(tip.rect.left, 50 + 60);
    EXPECT_EQ(tip.rect.Width(), 70);
    l.picker.ShowColumn(0, false);  // hidden columns stand in front with no width
    EXPECT_EQ(l.picker.Tips().front().rect.left, 60);
    l.list.SetScrollX(10);
    l.picker.RecalcHeaderTips();
    EXPECT_EQ(l.picker.Tips().front().rect.left, 50);
    EXPECT_EQ(l.picker.TipAt(CPoint(55, 3))->id, 3);
    l.picker.MoveTipsAfterResize(1, 5);
    EXPECT_EQ(l.picker.Tips().front().rect.left, 55);
    ReportListModel icons;
    icons.SetReportView(false);
    icons.InsertColumn(0, L"a");
    ColumnPicker p(icons);
    EXPECT_EQ(p.AddHeaderToolTip(0, L"a"), 0);
    // auto width fits the widest content, and header text when asked
    l.list.InsertItem(0, L"a much longer text than the header");
    l.picker.SetColumnWidthAuto(1, false);
    EXPECT_EQ(l.list.GetColumnWidth(1), l.list.GetStringWidth(L"") + 12);
    l.picker.SetColumnWidthAuto(0, true);  // hidden: left alone
    EXPECT_EQ(l.list.GetColumnWidth(0), 0);
    l.list.SetItemText(0, 1, L"a much longer text than the header");
    l.picker.SetColumnWidthAuto(-1, true);
    EXPECT_EQ(l.list.GetColumnWidth(1), l.list.GetStringWidth(L"a much longer text than the header") + 12);
}

namespace {
struct Bar : ProgressBarControl {
    int low = 0, high = 100, pos = 0;
    std::vector<int> steps;
    void GetRange(int& l, int& h) const override { l = low, h = high; }
    void SetRange(int l, int h) override { low = l, high = h; }
    int GetPos() const override { return pos; }
    void SetPos(int p) override {
        pos = std::clamp(p, low, high);
        steps.push_back(pos);
    }
};
}  // namespace

TEST(ProgressLogic, PositionWithoutLag) {
    Bar b;
    SetProgressPosAtOnce(b, 40);
    EXPECT_EQ(b.steps, (std::vector<int>{41, 40}));
    SetProgressPosAtOnce(b, 40);
    EXPECT_EQ(b.steps.size(), 2u);
    b.steps.clear();
    SetProgressPosAtOnce(b, 100);  // the top fills the bar at once
    EXPECT_EQ(b.steps, (std::vector<int>{101, 100}));
    EXPECT_EQ(b.high, 100);
    EXPECT_EQ(b.pos, 100);
    ProgressShared shared;
    CString text, step;
    bool tc = false, sc = false;
    EXPECT_FALSE(shared.TakeTexts(&text, &tc, &step, &sc));
    shared.SetText(L"main");
    EXPECT_TRUE(shared.TakeTexts(&text, &tc, &step, &sc));
    EXPECT_TRUE(tc);
    EXPECT_FALSE(sc);
    EXPECT_EQ(text, L"main");
}
