#include "controls/ProgressEstimate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A run driven by a hand-set clock: each step happens at the tick the test gives.
struct FakeRun {
    uint32_t tick = 0;
    CProgressEstimate estimate{[this] { return tick; }};

    CProgressEstimate::StepUpdate StepAt(uint32_t at) {
        tick = at;
        return estimate.Step();
    }
};

TEST(ProgressEstimate, ShortRunNeverShowsTimeText) {
    FakeRun run;
    run.estimate.Start(100);
    for (uint32_t i = 0; i < 100; ++i) {
        // 100 steps over 3.96 seconds: the four-second threshold is never passed.
        EXPECT_FALSE(run.StepAt(20000 + i * 40).showSeconds) << i;
    }
    // Exactly 4000 ms is not yet "more than four seconds".
    FakeRun edge;
    edge.estimate.Start(10);
    edge.StepAt(50000);
    EXPECT_FALSE(edge.StepAt(54000).showSeconds);
    EXPECT_TRUE(edge.StepAt(54001).showSeconds);
}

TEST(ProgressEstimate, EstimateOnlyDecreasesAndChangesOnceASecond) {
    FakeRun run;
    run.estimate.Start(10);
    std::vector<int32_t> shown;
    auto step = [&](uint32_t at) {
        auto update = run.StepAt(at);
        if (update.showSeconds) shown.push_back(update.seconds);
    };
    for (uint32_t t = 10000; t <= 14000; t += 1000) step(t);  // counts 0..4: under 4 s
    EXPECT_TRUE(shown.empty());
    step(15000);  // count 5, 5 s elapsed: (10 - 5 + 1) * 1 s + 1 s
    ASSERT_EQ(shown, std::vector<int32_t>{7});
    step(16000);  // exactly one second after the last text: not yet
    EXPECT_EQ(shown.size(), 1u);
    step(17000);  // count 7, 7 s elapsed: (10 - 7 + 1) * 1 s + 1 s
    EXPECT_EQ(shown, (std::vector<int32_t>{7, 5}));
    step(30000);  // a slow step: 8 steps in 20 s give (10 - 8 + 1) * 2.5 s + 1 s = 8.5 s
    EXPECT_EQ(shown, (std::vector<int32_t>{7, 5}));
}

TEST(ProgressEstimate, BarIsThrottledToFiftyMilliseconds) {
    FakeRun run;
    run.estimate.Start(8);
    auto first = run.StepAt(1000);
    EXPECT_TRUE(first.setBar);
    EXPECT_EQ(first.barPercent, 12);        // 1 / 8 truncated
    EXPECT_FALSE(run.StepAt(1050).setBar);  // 50 ms is not more than 50
    auto third = run.StepAt(1051);
    EXPECT_TRUE(third.setBar);
    EXPECT_EQ(third.barPercent, 37);  // 3 / 8, the skipped step is counted
}

TEST(ProgressEstimate, MoreStepsThanAnnounced) {
    // Fast steps: the bar passes 100 and the estimate stays at a second or less.
    FakeRun fast;
    fast.estimate.Start(2);
    std::vector<int32_t> shown;
    for (uint32_t i = 0; i < 12; ++i) {
        auto update = fast.StepAt(100000 + i * 1001);
        if (update.showSeconds) shown.push_back(update.seconds);
        if (i == 11) {
            EXPECT_TRUE(update.setBar);
            EXPECT_EQ(update.barPercent, 600);
        }
    }
    ASSERT_FALSE(shown.empty());
    for (int32_t s : shown) EXPECT_LE(s, 1);

    // Slow steps far beyond the announced count must not wrap into a huge unsigned number.
    FakeRun slow;
    slow.estimate.Start(1);
    slow.StepAt(0);
    EXPECT_EQ(slow.StepAt(5000).seconds, 6);  // the announced step itself: 5 s + 1 s
    std::vector<int32_t> slowShown;
    for (uint32_t i = 2; i < 10; ++i) {
        auto update = slow.StepAt(i * 5000);
        if (update.showSeconds) slowShown.push_back(update.seconds);
    }
    // (1 - 2 + 1) * 5 s + 1 s = 1, then (1 - 3 + 1) * 5 s + 1 s = -4, shown as 0.
    EXPECT_EQ(slowShown, (std::vector<int32_t>{1, 0}));

    // A run that announced no steps shows a full bar rather than dividing by zero.
    FakeRun none;
    none.estimate.Start(0);
    EXPECT_EQ(none.StepAt(500).barPercent, 100);
}

TEST(ProgressEstimate, CancelledRunKeepsCounting) {
    FakeRun run;
    run.estimate.Start(5);
    EXPECT_TRUE(run.StepAt(1000).goOn);
    run.estimate.Cancel();
    for (uint32_t i = 0; i < 3; ++i) {
        auto update = run.StepAt(2000 + i * 100);
        EXPECT_FALSE(update.goOn);
        EXPECT_TRUE(update.setBar);
    }
    EXPECT_EQ(run.estimate.Count(), 4u);
}

TEST(ProgressEstimate, TickWrapsAround) {
    // The 32-bit tick overflows after 49 days; differences still come out right.
    FakeRun run;
    run.estimate.Start(10);
    run.StepAt(0xFFFFF000u);
    for (uint32_t i = 1; i <= 5; ++i) EXPECT_FALSE(run.StepAt(0xFFFFF000u + i * 1000).showSeconds);
    auto update = run.StepAt(0xFFFFF000u + 6000);  // wrapped past zero, 6 s elapsed
    EXPECT_TRUE(update.showSeconds);
    EXPECT_EQ(update.seconds, 6);
}

}  // namespace
