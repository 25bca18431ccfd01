// The process-wide pseudo-random generator shared by every wipe routine: uniform values in [0, 1),
// reseedable from the clock. It is xoshiro256**, fast enough that the random data is never what a
// wipe waits for.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace nullora {

// A uniform value in [0, 1).
double Rnd();
// 64 uniform random bits.
uint64_t RndBits();
// Mixes the clock into the generator's state. Unlike a plain reseed, two calls in the same clock
// tick never give the same sequence.
void Randomize();
// Restarts the generator from a fixed seed (tests and benchmarks only).
void SeedGenerator(uint64_t seed);

// Reseeds from the clock, then n characters each "0" or "1" at random.
std::string RandomBitString(int32_t n);
// The same characters written into `out` without reseeding; the hot loop of the multi-pass wipe.
void FillRandomBitChars(std::span<uint8_t> out);

// A byte value from one draw: floor(r * 255) + 1, never 0 (the DoD random cycles).
uint8_t RandomNonZeroByte();
// A byte value from one draw: r * 255 rounded half to even, 0 to 255 (the Gutmann random passes).
uint8_t RandomRoundedByte();

}  // namespace nullora
