#pragma once
// The millisecond tick counter: a monotonic clock in milliseconds, truncated to 32 bits, so it
// wraps after about 49.7 days. Compare two ticks by unsigned subtraction.

#include <cstdint>

// Milliseconds since an arbitrary start, modulo 2^32.
std::uint32_t TimeGetTime();

// Makes TimeGetTime answer from source (tests step it by hand); nullptr restores the clock.
void SetTickSourceForTesting(std::uint32_t (*source)());
