#pragma once
// A zlib inflate stream, ended with its owner (move-only).

#include <zlib.h>

#include <memory>

class CInflateStream {
public:
    CInflateStream() noexcept = default;
    ~CInflateStream() noexcept { End(); }
    CInflateStream(const CInflateStream&) = delete;
    CInflateStream& operator=(const CInflateStream&) = delete;
    CInflateStream(CInflateStream&& other) noexcept = default;
    CInflateStream& operator=(CInflateStream&& other) noexcept;

    // Starts a stream over raw deflate data (no zlib header); returns zlib's code, Z_OK on
    // success. An active stream is ended first.
    int InitRaw() noexcept;
    bool IsActive() const noexcept { return m_stream != nullptr; }
    // The stream; only while active. zlib keeps its address, so the stream lives on the heap
    // and moving the wrapper does not move it.
    z_stream& Get() noexcept { return *m_stream; }
    void End() noexcept;

private:
    std::unique_ptr<z_stream> m_stream;
};
