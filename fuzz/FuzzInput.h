#pragma once
// The input file of a fuzz target. The readers work on files; one in memory, rewritten for
// every input, is the fastest.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <string>

// The path of the input file, made on first use.
inline const std::string& InputPath() {
    static const std::string path = [] {
        const int fd = memfd_create("kompendor-fuzz", 0);
        return fd < 0 ? "/tmp/kompendor-fuzz-" + std::to_string(getpid()) + ".input"
                      : "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

// Replaces the input file's content by size bytes at data.
inline bool WriteInput(const void* data, std::size_t size) {
    FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}
