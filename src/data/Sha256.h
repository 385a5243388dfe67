#pragma once
// SHA-256 (FIPS 180-4), for the almanac's password check.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The 32-byte digest of data.
std::array<std::uint8_t, 32> Sha256(std::string_view data);
// The digest of data as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view data);
