#include "tools/data/noise.h"

namespace zandrel::data {

std::uint32_t Hash(int x, int y, std::uint32_t seed) {
  std::uint32_t h =
      static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

float Hash01(int x, int y, std::uint32_t seed) { return static_cast<float>(Hash(x, y, seed) >> 8) / 16777216.0f; }

}  // namespace zandrel::data
