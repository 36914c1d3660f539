// "Wind in the Vault": wind moaning through a great stone hall, a low hum in the walls, a
// thin whistle through the cracks of the door when a gust rises, and now and then a drop
// ringing far away. Stereo, 22050 Hz, 32 seconds that loop without a seam: every slow change
// repeats a whole number of times in the loop, the noise is one loop long, and every filter
// and echo runs twice round the loop so that its state at the end flows into the beginning.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "audio/wave_writer.h"
#include "tools/data/media.h"
#include "tools/data/sounds_synth.h"

namespace zandrel::data::media {
namespace {

using namespace synth;

constexpr double kSeconds = 32.0;
constexpr std::size_t kLength = static_cast<std::size_t>(kSeconds * kSampleRate);
constexpr double kTwoPi = 2.0 * std::numbers::pi;

constexpr std::size_t kRetune = 32;  // samples between filter changes, which are slow
static_assert(kLength % kRetune == 0, "the filters change at the same samples on every round");

using Loop = std::vector<double>;

// A slow swing that repeats `cycles` times in the loop.
double Swing(double t, int cycles, double phase) { return std::sin(kTwoPi * (cycles * t / kSeconds + phase)); }

// How strong the wind blows at time t, 0..1: three slow swings over one another, so that the
// gusts do not come at even intervals.
double Gust(double t, double phase) {
  const double g = 0.5 + 0.28 * Swing(t, 3, phase) + 0.18 * Swing(t, 5, 0.3 + phase) + 0.1 * Swing(t, 11, 0.7 + phase);
  return std::clamp(g, 0.0, 1.0);
}

Loop WhiteNoise(std::int32_t seed) {
  Noise noise(seed);
  Loop out(kLength);
  for (double& v : out) v = noise.White();
  return out;
}

// Runs `f(sample, time)` twice round the loop and keeps the second round: the periodic
// state of whatever filters f holds.
template <class F>
Loop Circular(F&& f) {
  Loop out(kLength);
  for (std::size_t i = 0; i < 2 * kLength; ++i) {
    const std::size_t at = i % kLength;
    const double v = f(at, TimeOf(at));
    if (i >= kLength) out[at] = v;
  }
  return out;
}

// The wind of one ear: darkened noise through a band that opens and rises with the gusts.
Loop Wind(const Loop& noise, double phase) {
  OnePole dark(500.0);
  Biquad band(Biquad::Kind::BandPass, 300.0, 0.8);
  return Circular([&](std::size_t i, double t) {
    const double g = Gust(t, phase);
    if (i % kRetune == 0) band.Set(180.0 + 420.0 * g, 0.7 + 0.6 * g);
    return band.Process(dark.Process(noise[i])) * (0.2 + 0.8 * std::pow(g, 1.5));
  });
}

// The whistle through the door's cracks: two narrow bands that sing only near a gust's top.
Loop Whistle(const Loop& noise) {
  Biquad low(Biquad::Kind::BandPass, 700.0, 30.0), high(Biquad::Kind::BandPass, 1050.0, 40.0);
  return Circular([&](std::size_t i, double t) {
    const double g = Gust(t - 0.25, 0.0);
    if (i % kRetune == 0) {
      low.Set(620.0 + 260.0 * g, 30.0);
      high.Set(1.5 * (620.0 + 260.0 * g), 40.0);
    }
    return (low.Process(noise[i]) + 0.6 * high.Process(noise[i])) * std::pow(g, 4.0);
  });
}

// The hum of the walls: D and A with a slow beat, at frequencies that fit the loop.
double Hum(double t) {
  const auto tone = [t](double hz, double gain) {
    const double fitted = std::round(hz * kSeconds) / kSeconds;
    return gain * std::sin(kTwoPi * fitted * t);
  };
  const double swell = 0.75 + 0.25 * Swing(t, 2, 0.1);
  return swell * (tone(73.42, 1.0) + tone(73.42 + 4.0 / kSeconds, 0.7) + tone(110.0, 0.45) + tone(146.83, 0.2));
}

// Drops ringing in the distance, each a soft bell on the D minor pentatonic, echoed by the
// hall: a feedback delay for each ear.
std::array<Loop, 2> Drops() {
  static constexpr Partial kDrop[] = {{1.0, 1.0, 0.9}, {2.76, 0.35, 0.3}, {5.4, 0.15, 0.12}};
  struct DropAt {
    double Time, Note, Pan;  // pan 0 left .. 1 right
  };
  static constexpr DropAt kDrops[] = {{1.7, 74, 0.3},  {6.1, 81, 0.75},  {9.4, 77, 0.45}, {14.8, 84, 0.2},
                                      {19.2, 74, 0.8}, {22.9, 72, 0.35}, {27.5, 86, 0.6}, {29.6, 81, 0.4}};
  std::array<Loop, 2> dry{Loop(kLength, 0.0), Loop(kLength, 0.0)};
  for (const DropAt& d : kDrops) {
    const Samples ring = Strike(2.5, NoteHz(d.Note), kDrop, 0.002);
    const std::size_t start = SampleCount(d.Time);
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const std::size_t at = (start + i) % kLength;  // a ring past the end sounds at the beginning
      dry[0][at] += ring[i] * std::sqrt(1.0 - d.Pan);
      dry[1][at] += ring[i] * std::sqrt(d.Pan);
    }
  }
  std::array<Loop, 2> wet;
  const std::size_t delays[] = {SampleCount(0.37), SampleCount(0.43)};
  for (int ear = 0; ear < 2; ++ear) {
    Loop& out = wet[static_cast<std::size_t>(ear)];
    out.assign(kLength, 0.0);
    const Loop& in = dry[static_cast<std::size_t>(ear)];
    const std::size_t delay = delays[ear];
    OnePole soften(2500.0);
    for (std::size_t i = 0; i < 2 * kLength; ++i) {
      const std::size_t at = i % kLength;
      out[at] = in[at] + 0.5 * soften.Process(out[(at + kLength - delay) % kLength]);
    }
  }
  return wet;
}

}  // namespace

std::vector<std::uint8_t> WindWave() {
  const Loop left = Wind(WhiteNoise(71), 0.0);
  const Loop right = Wind(WhiteNoise(72), 0.04);
  const Loop whistle = Whistle(WhiteNoise(73));
  const std::array<Loop, 2> drops = Drops();

  std::vector<double> mixed(2 * kLength);
  for (std::size_t i = 0; i < kLength; ++i) {
    const double t = TimeOf(i);
    const double hum = 0.05 * Hum(t);
    mixed[2 * i] = left[i] + 0.9 * whistle[i] + hum + 0.09 * drops[0][i];
    mixed[2 * i + 1] = right[i] + 0.6 * whistle[i] + hum + 0.09 * drops[1][i];
  }
  double peak = 0.0;
  for (double v : mixed) peak = std::max(peak, std::abs(v));
  const double gain = peak > 0.0 ? std::pow(10.0, -3.0 / 20.0) * 32767.0 / peak : 0.0;  // peak at -3 dB
  std::vector<std::int16_t> samples(mixed.size());
  for (std::size_t i = 0; i < mixed.size(); ++i) samples[i] = static_cast<std::int16_t>(std::lround(mixed[i] * gain));
  return audio::EncodeWave(samples, kSampleRate, 2, 16);
}

}  // namespace zandrel::data::media
