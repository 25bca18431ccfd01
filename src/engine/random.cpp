#include "engine/random.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/clock.h"

namespace nullora {

namespace {

uint64_t SplitMix64(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

struct Xoshiro256 {
  std::array<uint64_t, 4> s{};

  void Seed(uint64_t seed) {
    for (auto& word : s) word = SplitMix64(seed);
  }

  uint64_t Next() {
    const uint64_t result = std::rotl(s[1] * 5, 7) * 9;
    const uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = std::rotl(s[3], 45);
    return result;
  }
};

Xoshiro256& Generator() {
  static Xoshiro256 generator = [] {
    Xoshiro256 g;
    uint64_t seed = std::bit_cast<uint64_t>(platform::GetClock().SecondsSinceMidnight()) ^
                    reinterpret_cast<uintptr_t>(&g) ^ platform::GetClock().NowMs();
    g.Seed(seed);
    return g;
  }();
  return generator;
}

// Each byte of a random word, spread into eight "0"/"1" characters.
const std::array<uint64_t, 256>& BitCharTable() {
  static const std::array<uint64_t, 256> table = [] {
    std::array<uint64_t, 256> t{};
    for (unsigned byte = 0; byte < 256; ++byte) {
      uint8_t chars[8];
      for (int bit = 0; bit < 8; ++bit) chars[bit] = static_cast<uint8_t>('0' + ((byte >> bit) & 1));
      std::memcpy(&t[byte], chars, 8);
    }
    return t;
  }();
  return table;
}

}  // namespace

uint64_t RndBits() { return Generator().Next(); }

double Rnd() { return static_cast<double>(Generator().Next() >> 11) * 0x1.0p-53; }

void Randomize() {
  static uint64_t counter = 0;
  uint64_t mix = std::bit_cast<uint64_t>(platform::GetClock().SecondsSinceMidnight()) ^ (++counter << 32) ^
                 platform::GetClock().NowMs();
  auto& s = Generator().s;
  for (auto& word : s) word ^= SplitMix64(mix);
  if ((s[0] | s[1] | s[2] | s[3]) == 0) s[0] = 1;  // the all-zero state is the one it cannot leave
}

void SeedGenerator(uint64_t seed) { Generator().Seed(seed); }

void FillRandomBitChars(std::span<uint8_t> out) {
  const auto& table = BitCharTable();
  uint8_t* p = out.data();
  size_t left = out.size();
  while (left >= 64) {
    uint64_t bits = RndBits();
    for (int i = 0; i < 8; ++i, bits >>= 8, p += 8) std::memcpy(p, &table[bits & 0xFF], 8);
    left -= 64;
  }
  if (left > 0) {
    uint64_t bits = RndBits();
    for (size_t i = 0; i < left; ++i, bits >>= 1) p[i] = static_cast<uint8_t>('0' + (bits & 1));
  }
}

std::string RandomBitString(int32_t n) {
  Randomize();
  if (n <= 0) return {};
  std::string result(static_cast<size_t>(n), '0');
  FillRandomBitChars({reinterpret_cast<uint8_t*>(result.data()), result.size()});
  return result;
}

uint8_t RandomNonZeroByte() { return static_cast<uint8_t>(std::floor(Rnd() * 255.0) + 1.0); }

uint8_t RandomRoundedByte() { return static_cast<uint8_t>(std::nearbyint(Rnd() * 255.0)); }

}  // namespace nullora
