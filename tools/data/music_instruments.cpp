#include "tools/data/music_instruments.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "tools/data/sounds_synth.h"

namespace zandrel::data::music {
namespace {

using namespace synth;
using Kind = Biquad::Kind;

constexpr double kC4Rate = 8363.0;  // the rate at which a tracker plays a sample for C-4
constexpr double kPeak = 0.9 * 32767.0;

// The gain of harmonic h (1-based) in a wave's recipe, with its sign.
double HarmonicGain(Wave wave, int h) {
  const bool odd = h % 2 == 1;
  switch (wave) {
    case Wave::Sine: return h == 1 ? 1.0 : 0.0;
    case Wave::Triangle: return odd ? ((h / 2) % 2 == 0 ? 1.0 : -1.0) / (h * h) : 0.0;
    case Wave::Square: return odd ? 1.0 / h : 0.0;
    case Wave::Pulse:  // a quarter-width pulse: every fourth harmonic is missing
      return std::sin(std::numbers::pi * h * 0.25) / h;
    case Wave::Saw: return 1.0 / h;
    case Wave::Organ: {
      static constexpr double kDrawbars[] = {0, 1.0, 0.55, 0.35, 0.22, 0.0, 0.12, 0.0, 0.08};
      return h < 9 ? kDrawbars[h] : 0.0;
    }
  }
  return 0.0;
}

// The played note that sounds as C-4 must be the sample's own fundamental heard at middle C:
// the semitones by which a sample of fundamental `hz` recorded at the synthesiser's rate is
// shifted, split into whole semitones and 1/128ths.
void Tune(xm::Instrument& instrument, double hz) {
  const double semitones = 12.0 * std::log2(NoteHz(60) * kSampleRate / (hz * kC4Rate));
  const long whole = std::lround(semitones);
  instrument.RelativeNote = static_cast<std::int8_t>(whole);
  instrument.Finetune = static_cast<std::int8_t>(std::clamp(std::lround((semitones - whole) * 128.0), -128L, 127L));
}

// Envelope points in ticks: a rise, then an exponential fall towards the sustain level, held
// there (the sustain point) until the note is released, which starts the fade-out.
void Shape(xm::Instrument& instrument, const Envelope& envelope, int bpm) {
  const double tick = 2.5 / bpm;
  const auto ticks = [&](double seconds) { return static_cast<int>(std::lround(seconds / tick)); };
  const auto level = [](double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(64.0 * v), 0L, 64L)); };
  std::vector<xm::EnvelopePoint> points;
  const auto add = [&](int at, double value) {
    if (!points.empty()) at = std::max(at, points.back().Tick + 1);
    points.push_back({static_cast<std::uint16_t>(std::min(at, 0xFFFF)), level(value)});
  };
  const int attack = ticks(envelope.Attack);
  if (attack > 0) add(0, 0.0);
  add(attack, 1.0);
  static constexpr double kSteps[] = {0.25, 0.5, 1.0, 1.7, 2.6, 4.0};
  for (const double k : kSteps) {
    add(attack + ticks(k * envelope.Decay), envelope.Sustain + (1.0 - envelope.Sustain) * std::exp(-k));
  }
  if (envelope.Sustain <= 0.0) points.back().Value = 0;
  instrument.Envelope = std::move(points);
  instrument.SustainPoint = envelope.Sustain > 0.0 ? static_cast<int>(instrument.Envelope.size()) - 1 : -1;
  instrument.Fadeout = static_cast<std::uint16_t>(
      std::clamp(std::lround(65536.0 * tick / std::max(envelope.Release, tick)), 1L, 0xFFFL));
}

xm::Instrument Make(const std::string& name, std::vector<std::int16_t> sample, const Placement& placement) {
  xm::Instrument instrument;
  instrument.Name = name;
  instrument.Sample = std::move(sample);
  instrument.Panning = static_cast<std::uint8_t>(std::clamp(placement.Panning, 0, 255));
  instrument.Volume = static_cast<std::uint8_t>(std::clamp(placement.Volume, 0, 64));
  return instrument;
}

// A sound played once from start to end, its peak just below full scale.
xm::Instrument OneShot(const std::string& name, Samples samples, double hz, const Placement& placement) {
  xm::Instrument instrument =
      Make(name, Finish(std::move(samples), {.FadeIn = 0.0005, .FadeOut = 0.01, .PeakDb = -0.9}), placement);
  Tune(instrument, hz);
  return instrument;
}

}  // namespace

xm::Instrument Tone(const ToneSpec& spec, const Envelope& envelope, const Placement& placement) {
  // Every voice makes a whole number of cycles in the loop, and so does every harmonic, so
  // the loop joins without a seam; the tuning absorbs the small change of pitch this needs.
  const int loop = static_cast<int>(SampleCount(spec.LoopSeconds));
  const int hold = static_cast<int>(SampleCount(spec.Hold));
  if (loop < 16 || spec.Voices < 1) throw std::logic_error("a tone needs a loop and a voice");
  const long cycles = std::max(1L, std::lround(NoteHz(spec.Midi) * loop / kSampleRate));
  const double hz = static_cast<double>(cycles) * kSampleRate / loop;

  std::vector<double> sine(static_cast<std::size_t>(loop));
  for (int i = 0; i < loop; ++i) sine[static_cast<std::size_t>(i)] = std::sin(2.0 * std::numbers::pi * i / loop);

  struct Voice {
    long Cycles, Offset;
  };
  std::vector<Voice> voices;
  for (int v = 0; v < spec.Voices; ++v) {
    const long step = (v + 1) / 2 * (v % 2 == 1 ? 1 : -1);  // 0, +1, -1, +2, ...
    voices.push_back({std::max(1L, cycles + step), (loop * 37L * v / 100) % loop});
  }
  const int harmonics = static_cast<int>(std::min(0.45 * kSampleRate, 9000.0) / (hz * (1.0 + 0.5 / cycles)));

  Samples out(static_cast<std::size_t>(hold + loop), 0.0);
  std::vector<double> gains(static_cast<std::size_t>(harmonics) + 1, 0.0);
  Noise noise(static_cast<std::int32_t>(cycles * 7919 + loop));
  Biquad breathFilter(Kind::BandPass, std::min(4.0 * hz, 3000.0), 0.8);
  for (int i = 0; i < hold + loop; ++i) {
    const double t = TimeOf(static_cast<std::size_t>(std::min(i, hold)));
    if (i <= hold && i % 32 == 0) {  // the spectrum changes slowly; refresh it now and then
      const double cutoff = spec.Cutoff + (spec.AttackCutoff - spec.Cutoff) * std::exp(-t / spec.CutoffTau);
      for (int h = 1; h <= harmonics; ++h) {
        const double ratio = h * hz / cutoff;
        gains[static_cast<std::size_t>(h)] =
            HarmonicGain(spec.Shape, h) / std::sqrt(1.0 + ratio * ratio * ratio * ratio);
      }
    }
    double value = 0.0;
    for (const Voice& voice : voices) {
      for (int h = 1; h <= harmonics; ++h) {
        const double g = gains[static_cast<std::size_t>(h)];
        if (g == 0.0) continue;
        value += g * sine[static_cast<std::size_t>((h * voice.Cycles * i + voice.Offset) % loop)];
      }
    }
    value *= (1.0 + spec.Punch * std::exp(-t / spec.PunchTau)) / spec.Voices;
    if (spec.Breath > 0.0 && i < hold) {
      const double fade = 1.0 - static_cast<double>(i) / hold;
      value += spec.Breath * breathFilter.Process(noise.White()) * fade * fade;
    }
    out[static_cast<std::size_t>(i)] = value;
  }
  Fade(out, 0.002, 0.0);
  Normalise(out, kPeak);
  std::vector<std::int16_t> sample(out.size());
  std::transform(out.begin(), out.end(), sample.begin(),
                 [](double s) { return static_cast<std::int16_t>(std::lround(s)); });

  xm::Instrument instrument = Make(spec.Name, std::move(sample), placement);
  instrument.LoopStart = static_cast<std::uint32_t>(hold);
  instrument.LoopLength = static_cast<std::uint32_t>(loop);
  Tune(instrument, hz);
  Shape(instrument, envelope, placement.Bpm);
  return instrument;
}

xm::Instrument Bell(const std::string& name, double midi, double seconds, const Placement& placement) {
  static constexpr Partial kBell[] = {{1.0, 1.0, 0.55},  {2.0, 0.3, 0.3},    {3.0, 0.1, 0.18},
                                      {4.07, 0.16, 0.1}, {5.43, 0.07, 0.06}, {6.8, 0.04, 0.03}};
  const double hz = NoteHz(midi);
  return OneShot(name, Strike(seconds, hz, kBell, 0.0015), hz, placement);
}

xm::Instrument Clank(const std::string& name, const Placement& placement) {
  static constexpr Partial kMetal[] = {
      {1.0, 1.0, 0.16}, {2.41, 0.8, 0.11}, {3.87, 0.55, 0.08}, {5.31, 0.45, 0.05}, {7.12, 0.3, 0.035}};
  const double hz = NoteHz(50);
  Samples out = Strike(0.45, hz, kMetal, 0.0008);
  Noise noise(4242);
  Biquad band(Kind::BandPass, 2600.0, 1.2);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] += 0.9 * band.Process(noise.White()) * Decay(TimeOf(i), 0.012);
  return OneShot(name, std::move(out), hz, placement);
}

xm::Instrument Kick(const std::string& name, double punch, const Placement& placement) {
  Oscillator body;
  Noise noise(77);
  Biquad click(Kind::HighPass, 3000.0, 0.7);
  Samples out = Render(0.42, [&](double t) {
    const double hz = 46.0 + 130.0 * punch * Decay(t, 0.028);
    return body.Sine(hz) * AttackDecay(t, 0.001, 0.13) + 0.3 * click.Process(noise.White()) * Decay(t, 0.0015);
  });
  return OneShot(name, std::move(out), NoteHz(60), placement);
}

xm::Instrument Snare(const std::string& name, double snap, const Placement& placement) {
  Oscillator body;
  Noise noise(303);
  Biquad rattle(Kind::HighPass, 1500.0, 0.7);
  OnePole soften(7500.0);
  Samples out = Render(0.32, [&](double t) {
    const double tone = body.Sine(190.0 - 30.0 * (1.0 - Decay(t, 0.02))) * AttackDecay(t, 0.001, 0.045);
    const double hiss = soften.Process(rattle.Process(noise.White())) * AttackDecay(t, 0.001, 0.06 + 0.04 * snap);
    return 0.8 * tone + (0.6 + 0.5 * snap) * hiss;
  });
  return OneShot(name, std::move(out), NoteHz(60), placement);
}

xm::Instrument HiHat(const std::string& name, double seconds, const Placement& placement) {
  Noise noise(909);
  Biquad high(Kind::HighPass, 6500.0, 0.8);
  Biquad ring(Kind::BandPass, 9500.0, 1.5);
  Samples out = Render(seconds, [&](double t) {
    const double n = high.Process(noise.White());
    return (n + 0.7 * ring.Process(n)) * AttackDecay(t, 0.0005, seconds / 5.0);
  });
  return OneShot(name, std::move(out), NoteHz(60), placement);
}

}  // namespace zandrel::data::music
