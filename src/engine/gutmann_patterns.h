// The byte values of the 35 Gutmann passes, shared by the file wipe and the free-space wipe.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace nullora {

using BlockValues = std::array<uint8_t, 3>;

inline constexpr int kGutmannPasses = 35;

// True for the passes whose three block values are drawn at random (1 to 4 and 32 to 35).
bool IsRandomGutmannPass(int pass);
// The fixed values of passes 5 to 31; nullopt for the random passes and for passes outside 1 to 35.
std::optional<BlockValues> FixedGutmannValues(int pass);

// "05", "AB": a byte as two upper-case hexadecimal digits.
std::string HexByte(uint8_t value);

}  // namespace nullora
