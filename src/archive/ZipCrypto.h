#pragma once
// Traditional PKWARE decryption of archive members (the ZIP application note's scheme).

#include <cstddef>
#include <cstdint>
#include <string_view>

class CZipCrypto {
public:
    // Size of the encryption header in front of every encrypted member's data.
    static constexpr std::size_t kHeaderSize = 12;

    // Starts the keys afresh and runs the password's bytes through them.
    void Init(std::string_view password) noexcept;
    // Decrypts size bytes in place and advances the keys over them.
    void Decrypt(std::uint8_t* buffer, std::size_t size) noexcept;

private:
    std::uint32_t m_key0 = 0;
    std::uint32_t m_key1 = 0;
    std::uint32_t m_key2 = 0;
};
