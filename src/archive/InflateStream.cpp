#include "archive/InflateStream.h"

#include <new>

CInflateStream& CInflateStream::operator=(CInflateStream&& other) noexcept {
    if (this != &other) {
        End();
        m_stream = std::move(other.m_stream);
    }
    return *this;
}

int CInflateStream::InitRaw() noexcept {
    End();
    std::unique_ptr<z_stream> stream(new (std::nothrow) z_stream{});
    if (!stream) return Z_MEM_ERROR;
    const int err = inflateInit2(stream.get(), -MAX_WBITS);
    if (err != Z_OK) return err;
    m_stream = std::move(stream);
    return Z_OK;
}

void CInflateStream::End() noexcept {
    if (m_stream) inflateEnd(m_stream.get());
    m_stream.reset();
}
