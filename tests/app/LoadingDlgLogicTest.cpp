#include <gtest/gtest.h>

#include <thread>

#include "app/LoadingDlgLogic.h"

using Action = LoadingDlgLogic::Action;

TEST(LoadingDlgLogic, WorkerFinishingBeforeTheWindowClosesItOnShow) {
    platform::LoadProgress p;
    LoadingDlgLogic logic(p);
    p.Finish();
    EXPECT_EQ(logic.OnWorkerFinished(), Action::None);  // no window yet
    EXPECT_EQ(logic.OnShown(), Action::Close);
    EXPECT_EQ(logic.OnWorkerFinished(), Action::None);
    EXPECT_EQ(logic.OnCancel(), Action::None);
    EXPECT_FALSE(logic.WasCancelled());
    EXPECT_EQ(p.cancel.load(), 0u);
}

TEST(LoadingDlgLogic, WorkerFinishingWhileShownClosesOnce) {
    platform::LoadProgress p;
    LoadingDlgLogic logic(p);
    EXPECT_EQ(logic.OnShown(), Action::StartTimer);
    p.done = 50;
    p.total = 200;
    EXPECT_EQ(logic.Position(), 25);
    p.Finish();
    EXPECT_EQ(logic.OnWorkerFinished(), Action::Close);
    EXPECT_EQ(logic.OnWorkerFinished(), Action::None);
    EXPECT_EQ(logic.OnShown(), Action::None);
    EXPECT_FALSE(logic.WasCancelled());
}

TEST(LoadingDlgLogic, CancelEndsTheDialogThenStopsTheWorker) {
    platform::LoadProgress p;
    LoadingDlgLogic logic(p);
    ASSERT_EQ(logic.OnShown(), Action::StartTimer);
    // A worker that polls the flag between records, as the readers do.
    std::thread worker([&p] {
        while (!p.IsCancelled()) std::this_thread::yield();
        p.Finish();
    });
    EXPECT_EQ(logic.OnCancel(), Action::Close);
    EXPECT_TRUE(logic.WasCancelled());
    p.WaitFinished();
    worker.join();
    // the worker's end arriving after the cancel changes nothing
    EXPECT_EQ(logic.OnWorkerFinished(), Action::None);
    EXPECT_EQ(logic.OnCancel(), Action::None);
}

TEST(LoadingDlgLogic, PositionIsSafeForAnyCounts) {
    EXPECT_EQ(platform::LoadProgress::Percent(5, 0), 0);
    EXPECT_EQ(platform::LoadProgress::Percent(0, 10), 0);
    EXPECT_EQ(platform::LoadProgress::Percent(9, 10), 90);
    // counts whose product with 100 passes 32 bits
    EXPECT_EQ(platform::LoadProgress::Percent(3000000000u, 4000000000u), 75);
    EXPECT_EQ(platform::LoadProgress::Percent(4000000000u, 4000000000u), 100);
    // done past total stays at the end of the bar
    EXPECT_EQ(platform::LoadProgress::Percent(11, 10), 100);
}

TEST(LoadProgress, ListenerSeesTheEndOnceAndCanBeCleared) {
    platform::LoadProgress p;
    int calls = 0;
    p.SetFinishListener([&calls] { ++calls; });
    std::thread([&p] { p.Finish(); }).join();
    EXPECT_EQ(calls, 1);
    p.SetFinishListener({});
    p.Reset();
    EXPECT_FALSE(p.IsFinished());
    p.Finish();
    EXPECT_EQ(calls, 1);
    p.WaitFinished();  // returns at once
}
