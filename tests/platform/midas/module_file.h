// A small four-channel ProTracker module written from scratch: one looped square-wave
// sample, one pattern with a note every 16 rows on each channel (about 7.7 s at the
// default speed).
#pragma once

#include <cstdint>
#include <string>

namespace zandrel::test {

inline std::string SquareWaveModule() {
  std::string mod(20, '\0');
  mod.replace(0, 6, "square");
  constexpr int kSampleBytes = 64;
  for (int sample = 0; sample < 31; ++sample) {
    std::string header(30, '\0');
    if (sample == 0) {
      header[22] = 0;
      header[23] = kSampleBytes / 2;  // length in words, big-endian
      header[25] = 48;                // volume
      header[28] = 0;
      header[29] = kSampleBytes / 2;  // loop the whole sample
    } else {
      header[29] = 1;  // no loop
    }
    mod += header;
  }
  mod += static_cast<char>(1);    // song length
  mod += static_cast<char>(127);  // restart position
  mod += std::string(128, '\0');  // order table: pattern 0
  mod += "M.K.";
  constexpr int kPeriods[4] = {428, 339, 285, 214};  // C, E, G and the upper C
  for (int row = 0; row < 64; ++row) {
    for (int channel = 0; channel < 4; ++channel) {
      std::uint8_t cell[4] = {0, 0, 0, 0};
      if (row % 16 == 0) {
        const int period = kPeriods[(channel + row / 16) % 4];
        cell[0] = static_cast<std::uint8_t>(period >> 8);  // sample 1: high nibble 0
        cell[1] = static_cast<std::uint8_t>(period & 0xFF);
        cell[2] = 0x10;  // sample 1, no effect
      }
      mod.append(reinterpret_cast<const char*>(cell), 4);
    }
  }
  for (int i = 0; i < kSampleBytes; ++i) mod += static_cast<char>(i < kSampleBytes / 2 ? 64 : -64);
  return mod;
}

}  // namespace zandrel::test
