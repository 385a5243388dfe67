#pragma once
// The bookkeeping behind the progress window of long runs: it counts the reported steps,
// estimates the remaining time and decides when the bar and the time text are worth
// redrawing. It knows no window; the window shows what a step asks for.

#include <cstdint>
#include <functional>

class CProgressEstimate {
public:
    // The millisecond tick the estimate reads; 32 bits, compared by unsigned subtraction.
    using TickSource = std::function<uint32_t()>;

    // What one step asks the window to redraw.
    struct StepUpdate {
        // Set the time text to `seconds` remaining seconds.
        bool showSeconds = false;
        int32_t seconds = 0;
        // Set the progress bar to `barPercent` (above 100 when more steps come than were
        // announced; the bar control clamps it).
        bool setBar = false;
        int32_t barPercent = 0;
        // False once the run was cancelled.
        bool goOn = true;
    };

    // The estimate reads its time from tick.
    explicit CProgressEstimate(TickSource tick);

    // Begins counting a run of total steps.
    void Start(int32_t total);
    // Reports one finished step.
    StepUpdate Step();
    // Marks the run as cancelled; every later step says so.
    void Cancel() { cancelled = 1; }

    bool IsCancelled() const { return cancelled != 0; }
    uint32_t Count() const { return count; }
    int32_t Total() const { return total; }

    // The time text shown for a number of remaining seconds.
    static const char* TimeTextFormat() { return "Verbleibende Zeit: %u Sekunden..."; }

private:
    TickSource m_tick;
    uint32_t count = 0;
    int32_t total = 0;
    int32_t cancelled = 0;
    uint32_t startTime = 0;
    uint32_t lastTextTime = 0;
    uint32_t lastBarTime = 0;
    // Starts at the largest value so that the first estimate is always shown.
    int32_t lastShownSeconds = INT32_MAX;
};
