// A small synthesiser for the game's sound effects: oscillators whose pitch may change from
// sample to sample, seeded noise, filters, envelopes, and the finishing step that turns a
// built sound into 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "base/random.h"

namespace zandrel::data::synth {

inline constexpr int kSampleRate = 22050;

// A sound being built, one value per sample, at any scale (finishing normalises it).
using Samples = std::vector<double>;

std::size_t SampleCount(double seconds);
inline double TimeOf(std::size_t sample) { return static_cast<double>(sample) / kSampleRate; }

// The frequency of a MIDI note number (69 = A 440 Hz).
double NoteHz(double note);

// `seconds` of sound, each sample the value of f at its time; f may keep state, it is called in
// order of time.
template <class F>
Samples Render(double seconds, F&& f) {
  Samples out(SampleCount(seconds));
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = f(TimeOf(i));
  return out;
}

// Adds `part` into `into` from `at` seconds on, scaled by `gain`, lengthening `into` as needed.
void MixInto(Samples& into, const Samples& part, double at = 0.0, double gain = 1.0);

// An oscillator keeps its phase (in cycles), so that a changing pitch glides without jumps.
// Each call advances it by one sample at the given frequency. Saw and pulse are band-limited
// so that high notes do not alias; every shape starts at 0 from phase 0 except the pulse.
class Oscillator {
 public:
  explicit Oscillator(double phase = 0.0) : phase_(phase) {}
  double Sine(double hz);
  double Triangle(double hz);
  double Saw(double hz);
  double Pulse(double hz, double width);

 private:
  double Advance(double hz);  // the phase before the step; remembers the step in step_
  double phase_;
  double step_ = 0.0;
};

// White noise from a fixed seed.
class Noise {
 public:
  explicit Noise(std::int32_t seed) : random_(seed) {}
  double White() { return 2.0 * random_.NextUnit() - 1.0; }
  double Unit() { return random_.NextUnit(); }
  double Between(double low, double high) { return low + (high - low) * random_.NextUnit(); }

 private:
  base::Random random_;
};

// A second-order filter after the well-known "audio EQ cookbook" formulas. Set may be called
// before every sample to sweep it; the state carries over.
class Biquad {
 public:
  enum class Kind { LowPass, HighPass, BandPass };
  Biquad(Kind kind, double hz, double q) : kind_(kind) { Set(hz, q); }
  void Set(double hz, double q);
  double Process(double x);

 private:
  Kind kind_;
  double b0_ = 0, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A gentle first-order low-pass.
class OnePole {
 public:
  explicit OnePole(double hz) { Set(hz); }
  void Set(double hz);
  double Process(double x) { return y_ += k_ * (x - y_); }

 private:
  double k_ = 1.0, y_ = 0.0;
};

// 0 before t = 0, then exp(-t / tau).
double Decay(double t, double tau);
// A linear rise over `attack` seconds, then exp(-(t - attack) / tau).
double AttackDecay(double t, double attack, double tau);
// A piecewise-linear curve through (time, value) points in order of time; flat outside them.
double Curve(double t, std::initializer_list<std::pair<double, double>> points);

void Scale(Samples& samples, double gain);
// Scales a sound so that its loudest sample is `peak` (a silent sound stays silent).
void Normalise(Samples& samples, double peak = 1.0);
// Raised-cosine fades over the first `in` and the last `out` seconds, so that the sound starts
// and ends at silence.
void Fade(Samples& samples, double in, double out);

// One partial of a struck or plucked body: a sine at `ratio` times the base frequency.
struct Partial {
  double Ratio, Gain, Tau;
};
// A struck body: decaying sine partials, each with a short attack so that it does not click,
// faded out over its last few milliseconds.
Samples Strike(double seconds, double hz, std::span<const Partial> partials, double attack = 0.001);

// How a built sound is finished.
struct Finishing {
  double FadeIn = 0.002;   // seconds of raised-cosine fade at the start
  double FadeOut = 0.010;  // and at the end
  double PeakDb =
      -4.0;  // the loudest sample, in decibels below full scale: room for the music and other sounds playing at once
};
// Removes any constant offset, fades both ends, normalises the peak and rounds to 16 bits.
std::vector<std::int16_t> Finish(Samples samples, const Finishing& how);

}  // namespace zandrel::data::synth
