#include "archive/MemoryBlock.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define KOMPENDOR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOMPENDOR_ASAN 1
#endif
#endif

constexpr std::size_t kHugePage = std::size_t{2} << 20;
#ifdef KOMPENDOR_ASAN
// AddressSanitizer watches heap blocks only, so under it every block comes from the heap.
constexpr std::size_t kMappedBlockSize = SIZE_MAX;
#else
// Below this, blocks come from the heap like any other memory.
constexpr std::size_t kMappedBlockSize = 2 * kHugePage;
#endif

std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t unit) {
    return (value + unit - 1) / unit * unit;
}

}  // namespace

void* AllocateBlockMemory(std::size_t bytes) {
    if (bytes < kMappedBlockSize) return ::operator new(bytes);
    // Mapped on a huge-page boundary with room to spare, then trimmed to the block.
    const std::size_t length = bytes + kHugePage;
    void* mapped
        = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t block = RoundUp(start, kHugePage);
    const std::uintptr_t blockEnd
        = RoundUp(block + bytes, static_cast<std::uintptr_t>(getpagesize()));
    if (block > start) ::munmap(mapped, block - start);
    if (start + length > blockEnd)
        ::munmap(reinterpret_cast<void*>(blockEnd), start + length - blockEnd);
    // Both are advice: without them the block is still good, only slower to fill.
    ::madvise(reinterpret_cast<void*>(block), bytes, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    ::madvise(reinterpret_cast<void*>(block), bytes, MADV_POPULATE_WRITE);
#endif
    return reinterpret_cast<void*>(block);
}

void FreeBlockMemory(void* memory, std::size_t bytes) noexcept {
    if (!memory) return;
    if (bytes < kMappedBlockSize) {
        ::operator delete(memory);
    } else {
        ::munmap(memory, bytes);
    }
}
