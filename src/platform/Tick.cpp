#include "platform/Tick.h"

#include <chrono>

namespace {

std::uint32_t (*g_source)() = nullptr;

}  // namespace

std::uint32_t TimeGetTime() {
    if (g_source) return g_source();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()));
}

void SetTickSourceForTesting(std::uint32_t (*source)()) { g_source = source; }
