#include "tools/data/sounds_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zandrel::data::synth {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// The correction that removes the step of a saw or pulse edge at phase t (0..1), spread over
// one sample either side of the edge.
double PolyBlep(double t, double step) {
  if (t < step) {
    t /= step;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - step) {
    t = (t - 1.0) / step;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

std::size_t SampleCount(double seconds) {
  return seconds <= 0.0 ? 0 : static_cast<std::size_t>(std::lround(seconds * kSampleRate));
}

double NoteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

void MixInto(Samples& into, const Samples& part, double at, double gain) {
  const std::size_t start = SampleCount(at);
  if (into.size() < start + part.size()) into.resize(start + part.size(), 0.0);
  for (std::size_t i = 0; i < part.size(); ++i) into[start + i] += gain * part[i];
}

double Oscillator::Advance(double hz) {
  const double phase = phase_;
  step_ = std::clamp(hz / kSampleRate, 1e-9, 0.5);
  phase_ += step_;
  phase_ -= std::floor(phase_);
  return phase;
}

double Oscillator::Sine(double hz) { return std::sin(kTwoPi * Advance(hz)); }

double Oscillator::Triangle(double hz) {
  double p = Advance(hz) + 0.25;
  p -= std::floor(p);
  return 1.0 - 4.0 * std::abs(p - 0.5);
}

double Oscillator::Saw(double hz) {
  double p = Advance(hz) + 0.5;
  p -= std::floor(p);
  return 2.0 * p - 1.0 - PolyBlep(p, step_);
}

double Oscillator::Pulse(double hz, double width) {
  const double p = Advance(hz);
  double falling = p + 1.0 - width;
  falling -= std::floor(falling);
  return (p < width ? 1.0 : -1.0) + PolyBlep(p, step_) - PolyBlep(falling, step_);
}

void Biquad::Set(double hz, double q) {
  const double w = kTwoPi * std::clamp(hz, 10.0, 0.45 * kSampleRate) / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double c = std::cos(w);
  double b0 = 0, b1 = 0, b2 = 0;
  switch (kind_) {
    case Kind::LowPass:
      b0 = b2 = (1.0 - c) / 2.0;
      b1 = 1.0 - c;
      break;
    case Kind::HighPass:
      b0 = b2 = (1.0 + c) / 2.0;
      b1 = -(1.0 + c);
      break;
    case Kind::BandPass:  // 0 dB at the centre
      b0 = alpha;
      b2 = -alpha;
      break;
  }
  const double a0 = 1.0 + alpha;
  b0_ = b0 / a0;
  b1_ = b1 / a0;
  b2_ = b2 / a0;
  a1_ = -2.0 * c / a0;
  a2_ = (1.0 - alpha) / a0;
}

double Biquad::Process(double x) {
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return y;
}

void OnePole::Set(double hz) { k_ = 1.0 - std::exp(-kTwoPi * hz / kSampleRate); }

double Decay(double t, double tau) { return t < 0.0 ? 0.0 : std::exp(-t / tau); }

double AttackDecay(double t, double attack, double tau) {
  if (t < 0.0) return 0.0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / tau);
}

double Curve(double t, std::initializer_list<std::pair<double, double>> points) {
  const std::pair<double, double>* previous = nullptr;
  for (const auto& point : points) {
    if (t < point.first) {
      if (previous == nullptr) return point.second;
      const double f = (t - previous->first) / (point.first - previous->first);
      return previous->second + f * (point.second - previous->second);
    }
    previous = &point;
  }
  return previous == nullptr ? 0.0 : previous->second;
}

void Scale(Samples& samples, double gain) {
  for (double& s : samples) s *= gain;
}

void Normalise(Samples& samples, double peak) {
  double loudest = 0.0;
  for (double s : samples) loudest = std::max(loudest, std::abs(s));
  if (loudest == 0.0) return;
  for (double& s : samples) s *= peak / loudest;
}

void Fade(Samples& samples, double in, double out) {
  const std::size_t n = samples.size();
  const auto fade = [&](std::size_t length, auto index) {
    length = std::min(length, n);
    for (std::size_t i = 0; i < length; ++i) {
      samples[index(i)] *=
          0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / static_cast<double>(length));
    }
  };
  fade(SampleCount(in), [](std::size_t i) { return i; });
  fade(SampleCount(out), [n](std::size_t i) { return n - 1 - i; });
}

Samples Strike(double seconds, double hz, std::span<const Partial> partials, double attack) {
  Samples out(SampleCount(seconds), 0.0);
  for (const Partial& p : partials) {
    const double f = hz * p.Ratio;
    if (f >= 0.45 * kSampleRate) continue;
    for (std::size_t i = 0; i < out.size(); ++i) {
      const double t = TimeOf(i);
      out[i] += p.Gain * AttackDecay(t, attack, p.Tau) * std::sin(kTwoPi * f * t);
    }
  }
  Fade(out, 0.0, std::min(0.01, seconds / 4.0));  // cut short, it would click where it stops
  return out;
}

std::vector<std::int16_t> Finish(Samples samples, const Finishing& how) {
  // A first-order high-pass near 20 Hz takes out any offset without touching what is heard.
  const double r = 1.0 - kTwoPi * 20.0 / kSampleRate;
  double previousIn = 0.0, previousOut = 0.0;
  for (double& s : samples) {
    const double out = s - previousIn + r * previousOut;
    previousIn = s;
    s = previousOut = out;
  }
  Fade(samples, how.FadeIn, how.FadeOut);
  Normalise(samples, 32767.0 * std::pow(10.0, how.PeakDb / 20.0));
  const std::size_t n = samples.size();
  std::vector<std::int16_t> out(n);
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = static_cast<std::int16_t>(std::clamp(std::lround(samples[i]), -32767L, 32767L));
  }
  return out;
}

}  // namespace zandrel::data::synth
