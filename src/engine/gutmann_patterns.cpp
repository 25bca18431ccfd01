#include "engine/gutmann_patterns.h"

namespace nullora {

bool IsRandomGutmannPass(int pass) { return (pass >= 1 && pass <= 4) || (pass >= 32 && pass <= 35); }

std::optional<BlockValues> FixedGutmannValues(int pass) {
  switch (pass) {
    case 5: return BlockValues{0x55, 0x55, 0x55};
    case 6: return BlockValues{0xAA, 0xAA, 0xAA};
    case 7: case 26: return BlockValues{0x92, 0x49, 0x24};
    case 8: case 27: return BlockValues{0x49, 0x24, 0x92};
    case 9: case 28: return BlockValues{0x24, 0x92, 0x49};
    case 29: return BlockValues{0x6D, 0xB6, 0xDB};
    case 30: return BlockValues{0xB6, 0xDB, 0x6D};
    case 31: return BlockValues{0xDB, 0x6D, 0xB6};
    default: break;
  }
  if (pass >= 10 && pass <= 25) {
    auto value = static_cast<uint8_t>(0x11 * (pass - 10));
    return BlockValues{value, value, value};
  }
  return std::nullopt;
}

std::string HexByte(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0xF]};
}

}  // namespace nullora
