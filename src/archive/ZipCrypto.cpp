#include "archive/ZipCrypto.h"

#include <array>

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();
constexpr std::uint32_t kMultiplier = 134775813u;

inline std::uint32_t CrcStep(std::uint32_t crc, std::uint8_t byte) {
    return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

}  // namespace

void CZipCrypto::Init(std::string_view password) noexcept {
    m_key0 = 0x12345678u;
    m_key1 = 0x23456789u;
    m_key2 = 0x34567890u;
    for (char c : password) {
        m_key0 = CrcStep(m_key0, static_cast<std::uint8_t>(c));
        m_key1 = (m_key1 + (m_key0 & 0xFF)) * kMultiplier + 1;
        m_key2 = CrcStep(m_key2, static_cast<std::uint8_t>(m_key1 >> 24));
    }
}

void CZipCrypto::Decrypt(std::uint8_t* buffer, std::size_t size) noexcept {
    // Every byte's keys depend on the byte before, so the loop is bound by the latency of
    // that chain. The CRC steps are split (the table is linear under xor) so that the parts
    // that depend on the previous keys only are worked out beside the chain, not on it.
    std::uint32_t key0 = m_key0;
    std::uint32_t key1 = m_key1;
    std::uint32_t key2 = m_key2;
    for (std::size_t i = 0; i < size; ++i) {
        std::uint32_t next0 = kCrcTable[key0 & 0xFF] ^ (key0 >> 8);
        std::uint32_t next2 = kCrcTable[key2 & 0xFF] ^ (key2 >> 8);
        std::uint32_t next1 = key1 * kMultiplier + 1;
        // Keeps the compiler from folding these back into the chain (it would, to save an
        // instruction, and lose two cycles a byte).
        asm("" : "+r"(next0), "+r"(next1), "+r"(next2));
        const std::uint32_t t = (key2 & 0xFFFF) | 2;
        const std::uint8_t plain = buffer[i] ^ static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
        buffer[i] = plain;
        key0 = next0 ^ kCrcTable[plain];
        key1 = next1 + (key0 & 0xFF) * kMultiplier;
        key2 = next2 ^ kCrcTable[key1 >> 24];
    }
    m_key0 = key0;
    m_key1 = key1;
    m_key2 = key2;
}
