#include "controls/ProgressEstimate.h"

#include <cmath>
#include <limits>
#include <utility>

namespace {

// Truncates toward zero into the signed 32-bit range; a run with absurd numbers must not
// turn into undefined behaviour on the conversion.
int32_t TruncateToInt32(double value) {
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    if (std::isnan(value)) return 0;
    if (value <= kMin) return std::numeric_limits<int32_t>::min();
    if (value >= kMax) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace

CProgressEstimate::CProgressEstimate(TickSource tick) : m_tick(std::move(tick)) {}

void CProgressEstimate::Start(int32_t steps) {
    count = 0;
    total = steps;
}

CProgressEstimate::StepUpdate CProgressEstimate::Step() {
    StepUpdate update;
    if (count == 0) startTime = m_tick();

    const uint32_t now = m_tick();
    const uint32_t elapsed = now - startTime;

    // The time text changes at most once a second and only after the run has lasted four
    // seconds; shorter runs never show one. count is 0 only on the first step, whose elapsed
    // time is 0, so the division below never sees it; the guard keeps it that way.
    if (now - lastTextTime > 1000 && elapsed > 4000 && count > 0) {
        // Signed arithmetic: a caller reporting more steps than it announced gets a small
        // estimate, not a wrapped-around one.
        const double perStep = static_cast<double>(elapsed) / static_cast<double>(count);
        const double left = static_cast<double>(total) - static_cast<double>(count) + 1.0;
        int32_t remaining = TruncateToInt32(left * perStep * 0.001 + 1.0);
        // Far more steps than announced would give a negative estimate, which the text's
        // unsigned number would show as some four thousand million seconds.
        if (remaining < 0) remaining = 0;
        // The shown estimate only ever goes down.
        if (remaining < lastShownSeconds) {
            update.showSeconds = true;
            update.seconds = remaining;
            lastShownSeconds = remaining;
            lastTextTime = m_tick();
        }
    }

    ++count;

    // Redrawing the bar at most every 50 ms keeps runs of many small steps fast.
    if (now - lastBarTime > 50) {
        update.setBar = true;
        // A run that announced no steps is complete with its first one.
        update.barPercent
            = total > 0 ? TruncateToInt32(static_cast<double>(count) / total * 100.0) : 100;
        lastBarTime = now;
    }

    update.goOn = cancelled == 0;
    return update;
}
