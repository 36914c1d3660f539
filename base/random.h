// The program's one random generator: a 32-bit linear congruential sequence, fully
// determined by its seed, so that a level replays the same way from the same seed.
#pragma once

#include <cstdint>

namespace zandrel::base {

class Random {
 public:
  explicit Random(std::int32_t seed = 0) { Seed(seed); }

  void Seed(std::int32_t seed) { state_ = static_cast<std::uint32_t>(seed); }
  std::uint32_t State() const { return state_; }

  // A whole number in 0 .. range - 1; 0 when range is not positive (the draw still
  // advances the sequence, as every call does).
  std::int32_t Next(std::int32_t range) {
    Step();
    if (range <= 0) return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(state_) * static_cast<std::uint32_t>(range)) >> 32);
  }

  // A number in [0, 1).
  double NextUnit() {
    Step();
    return static_cast<double>(state_) / 4294967296.0;
  }

 private:
  void Step() { state_ = state_ * 0x08088405u + 1u; }

  std::uint32_t state_ = 0;
};

}  // namespace zandrel::base
