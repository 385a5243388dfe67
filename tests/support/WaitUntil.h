#pragma once
// Waiting for what the event loop brings about, in tests run by gtest. QTRY_VERIFY and
// QTRY_COMPARE report to QTest's own result, which gtest never sees: a condition that never
// came true there would pass unnoticed. Write EXPECT_TRUE(WaitUntil(...)) instead.

#include <QTest>
#include <utility>

// The patience is generous: a condition usually holds within milliseconds and the wait ends
// then, but a loaded machine must not fail a test an idle one passes.
inline constexpr int kWaitPatienceMs = 10000;

// Runs the event loop until done() holds or timeoutMs have passed; returns done().
template <class Condition>
bool WaitUntil(Condition&& done, int timeoutMs = kWaitPatienceMs) {
    return QTest::qWaitFor(std::forward<Condition>(done), timeoutMs);
}
