#include <gtest/gtest.h>

#include "app/FrameState.h"

TEST(FrameState, StatusTextChangesOnlyWhenDifferent) {
    FrameState s;
    EXPECT_TRUE(s.SetStatusText(0, L"В1: 10 мс"));
    EXPECT_FALSE(s.SetStatusText(0, L"В1: 10 мс"));
    EXPECT_TRUE(s.SetStatusText(0, L"В1: 11 мс"));
    EXPECT_FALSE(s.SetStatusText(3, L""));  // an unwritten pane is empty
    EXPECT_TRUE(s.SetStatusText(9, L"x"));  // beyond the read-outs the list grows
    EXPECT_EQ(s.StatusText(9), L"x");
    EXPECT_EQ(s.StatusText(8), L"");
    EXPECT_EQ(s.StatusText(100), L"");
}

TEST(FrameState, RedrawRequestsAreBatchedPerTick) {
    FrameState s;
    EXPECT_FALSE(s.TakeRedraw());
    for (int i = 0; i < 10; ++i) s.RequestRedraw();
    EXPECT_TRUE(s.TakeRedraw());
    EXPECT_FALSE(s.TakeRedraw());
}

TEST(FrameState, DiagramSlots) {
    const std::pair<int, int> cases[] = {{2, 0}, {4, 1}, {8, 2}, {16, 3}, {0, -1}, {1, -1}, {6, -1}, {32, -1}, {-2, -1}};
    for (auto [bit, slot] : cases) EXPECT_EQ(FrameState::DiagramSlot(bit), slot) << bit;
}
