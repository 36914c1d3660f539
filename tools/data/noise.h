// Deterministic noise for the generated art: the same numbers on every run.
#pragma once

#include <cstdint>

namespace zandrel::data {

// A well-mixed 32-bit hash of a lattice point, and the same as a number in [0, 1).
std::uint32_t Hash(int x, int y, std::uint32_t seed);
float Hash01(int x, int y, std::uint32_t seed);

}  // namespace zandrel::data
