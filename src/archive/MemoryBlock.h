#pragma once
// The block an extracted member is delivered in: bytes owned by the caller, zero-filled when
// made, freed with the block.

#include <cstddef>
#include <cstdint>
#include <vector>

// Gets and returns the memory of a block. Blocks of some megabytes are mapped from the system
// in huge pages, all at once: a block of 50 MB faulted in 4 KB page by 4 KB page as it is
// written can cost more than inflating the member into it.
void* AllocateBlockMemory(std::size_t bytes);  // throws std::bad_alloc
void FreeBlockMemory(void* memory, std::size_t bytes) noexcept;

template <class T>
struct CBlockAllocator {
    using value_type = T;

    CBlockAllocator() noexcept = default;
    template <class U>
    CBlockAllocator(const CBlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(AllocateBlockMemory(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { FreeBlockMemory(p, n * sizeof(T)); }

    friend bool operator==(const CBlockAllocator&, const CBlockAllocator&) noexcept { return true; }
};

using CMemoryBlock = std::vector<std::uint8_t, CBlockAllocator<std::uint8_t>>;
