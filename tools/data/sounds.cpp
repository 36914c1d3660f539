// The game's sound effects, synthesised: every one is built from oscillators, filtered noise and
// envelopes, then finished into a 16-bit mono wave file at 22050 Hz.
#include <algorithm>
#include <cmath>

#include "audio/wave_writer.h"
#include "tools/data/generators.h"
#include "tools/data/sounds_synth.h"

namespace zandrel::data {
namespace {

using namespace synth;
using Kind = Biquad::Kind;

// A decaying part rendered for five time constants (down 43 dB), the last fifth faded out so
// that its end does not click.
template <class F>
Samples Decaying(double attack, double tau, F&& f) {
  Samples out = Render(attack + 5.0 * tau, [&](double t) { return f(t) * AttackDecay(t, attack, tau); });
  Fade(out, 0.0, tau);
  return out;
}

// A burst of filtered noise: the grain of most knocks, scrapes and crackles.
Samples NoiseBurst(std::int32_t seed, Kind kind, double hz, double q, double attack, double tau) {
  Noise noise(seed);
  Biquad filter(kind, hz, q);
  return Decaying(attack, tau, [&](double) { return filter.Process(noise.White()); });
}

// A falling sine: the body of a thud.
Samples Thump(double fromHz, double toHz, double sweepTau, double tau) {
  Oscillator osc;
  return Decaying(0.002, tau, [&](double t) { return osc.Sine(toHz + (fromHz - toHz) * Decay(t, sweepTau)); });
}

// A copy scaled to a peak of 1, so that the gains of a mix read as relative levels.
Samples Normalised(Samples samples) {
  Normalise(samples);
  return samples;
}

// ---- interface ----------------------------------------------------------------------------

// Menu move: a soft, short blip that drops a little in pitch, with a faint tick on top.
Samples MenuMove() {
  Oscillator osc;
  Noise noise(101);
  Biquad tick(Kind::BandPass, 4200.0, 1.5);
  return Render(0.07, [&](double t) {
    const double hz = 900.0 + 350.0 * Decay(t, 0.012);
    const double body = osc.Sine(hz) * AttackDecay(t, 0.002, 0.016);
    return body + 0.25 * tick.Process(noise.White()) * Decay(t, 0.002);
  });
}

// Menu confirm: a bright click, then a two-note chime a fifth apart.
Samples MenuConfirm() {
  static constexpr Partial kChime[] = {{1.0, 1.0, 0.09}, {2.0, 0.35, 0.05}, {3.01, 0.2, 0.03}, {4.2, 0.12, 0.02}};
  Samples out = Normalised(NoiseBurst(102, Kind::BandPass, 3200.0, 1.2, 0.0005, 0.003));
  Scale(out, 0.5);
  MixInto(out, Normalised(Strike(0.25, NoteHz(88), kChime)), 0.004, 0.65);
  MixInto(out, Normalised(Strike(0.32, NoteHz(95), kChime)), 0.05, 0.75);
  return out;
}

// Time-limit tick: a hard, dry clock tick with a little wooden knock under it.
Samples ClockTick() {
  static constexpr Partial kTick[] = {{1.0, 1.0, 0.012}, {1.59, 0.6, 0.008}, {2.31, 0.4, 0.005}};
  static constexpr Partial kKnock[] = {{1.0, 1.0, 0.008}, {2.7, 0.3, 0.004}};
  Samples out = Normalised(NoiseBurst(103, Kind::HighPass, 5000.0, 0.7, 0.0003, 0.0015));
  MixInto(out, Normalised(Strike(0.07, 2600.0, kTick, 0.0005)), 0.0, 0.9);
  MixInto(out, Normalised(Strike(0.05, 900.0, kKnock, 0.0005)), 0.0, 0.5);
  return out;
}

// ---- the hero and the sentries ------------------------------------------------------------

// A soft footstep on stone: a dull scuff whose brightness falls at once, a low knock and a
// touch of grit.
Samples Step() {
  Noise noise(201);
  Biquad scuff(Kind::LowPass, 1800.0, 0.8);
  Biquad grit(Kind::BandPass, 2800.0, 1.2);
  Oscillator knock;
  return Render(0.085, [&](double t) {
    scuff.Set(300.0 + 1500.0 * Decay(t, 0.015), 0.8);
    const double n = noise.White();
    return scuff.Process(n) * AttackDecay(t, 0.003, 0.018) +
           0.5 * knock.Sine(75.0 + 60.0 * Decay(t, 0.01)) * AttackDecay(t, 0.002, 0.02) +
           0.25 * grit.Process(n) * AttackDecay(t, 0.001, 0.005);
  });
}

// A hard landing: a heavy thud, then a short grunt (a falling voice through three vowel
// formants).
Samples Hurt() {
  Samples out = Normalised(Thump(110.0, 48.0, 0.03, 0.07));
  MixInto(out, Normalised(NoiseBurst(211, Kind::LowPass, 500.0, 0.7, 0.001, 0.02)), 0.0, 0.5);

  Oscillator voice;
  Noise noise(212);
  OnePole wobble(12.0);
  Biquad f1(Kind::BandPass, 600.0, 5.0), f2(Kind::BandPass, 1000.0, 7.0), f3(Kind::BandPass, 2400.0, 9.0);
  Samples grunt = Render(0.32, [&](double t) {
    const double pitch =
        Curve(t, {{0.0, 175.0}, {0.08, 150.0}, {0.3, 105.0}}) * (1.0 + 0.6 * wobble.Process(noise.White()));
    const double source = voice.Saw(pitch) + 0.15 * noise.White();
    const double vowel = f1.Process(source) + 0.5 * f2.Process(source) + 0.2 * f3.Process(source);
    return vowel * Curve(t, {{0.0, 0.0}, {0.02, 1.0}, {0.12, 0.8}, {0.3, 0.0}});
  });
  MixInto(out, Normalised(grunt), 0.035, 0.75);
  return out;
}

// The hero dies: a lead voice falling through a minor arpeggio and a sighing half step, gliding
// from note to note, its last note sagging with a widening vibrato.
Samples Death() {
  Oscillator triangle, pulse, bass, vibrato;
  Biquad tone(Kind::LowPass, 2400.0, 0.9);
  return Render(1.1, [&](double t) {
    const double note = Curve(t, {{0.0, 81.0},
                                  {0.12, 81.0},
                                  {0.15, 77.0},
                                  {0.27, 77.0},
                                  {0.3, 74.0},
                                  {0.42, 74.0},
                                  {0.45, 70.0},
                                  {0.57, 70.0},
                                  {0.6, 69.0},
                                  {0.85, 68.0},
                                  {1.08, 62.0}});
    const double depth = Curve(t, {{0.6, 0.0}, {0.8, 0.45}});
    const double hz = NoteHz(note + depth * vibrato.Sine(5.5));
    const double voice = 0.6 * triangle.Triangle(hz) + 0.4 * pulse.Pulse(hz, 0.3);
    const double body = tone.Process(voice) + 0.3 * bass.Sine(hz / 2.0);
    // A small dip at each change of note keeps the melody articulate.
    const double level = Curve(t, {{0.0, 0.0},
                                   {0.01, 1.0},
                                   {0.13, 1.0},
                                   {0.15, 0.7},
                                   {0.17, 0.95},
                                   {0.28, 0.95},
                                   {0.3, 0.65},
                                   {0.32, 0.9},
                                   {0.43, 0.9},
                                   {0.45, 0.6},
                                   {0.47, 0.88},
                                   {0.58, 0.88},
                                   {0.6, 0.6},
                                   {0.63, 0.85},
                                   {0.85, 0.7},
                                   {1.1, 0.0}});
    return body * level;
  });
}

// A sentry spots the hero: a buzzy electronic whoop rising two octaves, its filter opening with
// it.
Samples Seen() {
  Oscillator square, saw, octave;
  Biquad filter(Kind::LowPass, 1000.0, 2.0);
  return Render(0.45, [&](double t) {
    const double rise = 1.0 - Decay(t, 0.12);
    const double hz = 330.0 * std::pow(2.0, 2.1 * rise);
    filter.Set(std::min(6000.0, 3.5 * hz), 2.0);
    const double voice = 0.6 * square.Pulse(hz, 0.5) + 0.4 * saw.Saw(hz * 1.006);
    return (filter.Process(voice) + 0.2 * octave.Sine(2.0 * hz)) *
           Curve(t, {{0.0, 0.0}, {0.015, 1.0}, {0.33, 1.0}, {0.45, 0.0}});
  });
}

// A sentry lost the hero: a warbling voice sliding down, then turning up a little as in a
// question.
Samples Lost() {
  Oscillator voice, warble;
  OnePole soften(2500.0);
  return Render(0.72, [&](double t) {
    const double base = Curve(t, {{0.0, 760.0}, {0.45, 380.0}, {0.65, 470.0}});
    const double hz = base * (1.0 + 0.05 * warble.Sine(9.0));
    const double tone = voice.Triangle(hz);
    const double level =
        Curve(t, {{0.0, 0.0}, {0.02, 1.0}, {0.44, 0.6}, {0.48, 0.3}, {0.51, 0.7}, {0.64, 0.5}, {0.72, 0.0}});
    return soften.Process(tone + 0.35 * tone * tone * tone) * level;
  });
}

// ---- objects ------------------------------------------------------------------------------

// An ingot taken: a quick metallic "ting-ting", the second note a fourth higher and ringing.
Samples Pickup() {
  static constexpr Partial kCoin[] = {
      {1.0, 1.0, 0.25}, {2.0, 0.4, 0.12}, {3.0, 0.25, 0.08}, {4.16, 0.2, 0.05}, {5.43, 0.1, 0.03}};
  Samples first = Normalised(Strike(0.075, NoteHz(83), kCoin));
  Fade(first, 0.0, 0.015);
  Samples out = Normalised(NoiseBurst(301, Kind::HighPass, 6000.0, 0.7, 0.0003, 0.002));
  Scale(out, 0.3);
  MixInto(out, first, 0.0, 0.8);
  MixInto(out, Normalised(Strike(0.5, NoteHz(88), kCoin)), 0.07, 1.0);
  return out;
}

// Earth dug: a spade's dull hit and a handful of crunchy, gritty noise grains.
Samples Dig() {
  Samples out = Normalised(Thump(140.0, 60.0, 0.02, 0.04));
  Scale(out, 0.6);
  Noise random(311);
  const double times[] = {0.0, 0.035, 0.08, 0.12, 0.17, 0.23};
  const double gains[] = {1.0, 0.7, 0.85, 0.55, 0.45, 0.3};
  for (int i = 0; i < 6; ++i) {
    Noise noise(312 + i);
    Biquad band(Kind::BandPass, random.Between(700.0, 2200.0), 1.2);
    const double tau = random.Between(0.015, 0.025);
    // Noise let through in sparse bursts sounds like soil and pebbles breaking.
    Samples grain = Decaying(0.002, tau, [&](double) {
      return band.Process(noise.Unit() < 0.3 ? noise.White() * 3.0 : 0.1 * noise.White());
    });
    MixInto(out, Normalised(grain), times[i], gains[i]);
  }
  return out;
}

// A hole closing: earth rumbling in, then a heavy thump as the block settles.
Samples Close() {
  Noise noise(321);
  Biquad low(Kind::LowPass, 180.0, 0.9), lower(Kind::LowPass, 260.0, 0.7);
  Biquad grit(Kind::BandPass, 600.0, 1.5);
  Samples out = Normalised(Render(0.5, [&](double t) {
    const double n = noise.White();
    const double gravel = noise.Unit() < 0.05 ? n * 4.0 : 0.0;
    return (lower.Process(low.Process(n)) + 0.08 * grit.Process(gravel)) *
           Curve(t, {{0.0, 0.0}, {0.3, 1.0}, {0.42, 1.0}, {0.5, 0.0}});
  }));
  Scale(out, 0.5);
  MixInto(out, Normalised(Thump(125.0, 55.0, 0.025, 0.08)), 0.38, 1.0);
  MixInto(out, Normalised(Thump(250.0, 110.0, 0.025, 0.05)), 0.38, 0.35);  // its octave, heard on small speakers
  MixInto(out, Normalised(NoiseBurst(322, Kind::LowPass, 700.0, 0.7, 0.001, 0.03)), 0.38, 0.5);
  return out;
}

// A door sliding open: a motor's low buzz, the rumble of the slide and the rattle of gear
// teeth, between a clunk at the start and a stop at the end.
Samples Door() {
  Oscillator motor, teeth;
  Noise noise(331);
  Biquad motorTone(Kind::LowPass, 350.0, 0.9);
  Biquad rumble(Kind::LowPass, 300.0, 1.0);
  Biquad rattle(Kind::BandPass, 1200.0, 2.0);
  Samples out = Normalised(Render(0.8, [&](double t) {
    const double hz = Curve(t, {{0.0, 45.0}, {0.15, 60.0}, {0.65, 60.0}, {0.8, 50.0}});
    const double n = noise.White();
    const double gear = std::pow(0.5 + 0.5 * teeth.Sine(24.0), 6.0);
    return (0.6 * motorTone.Process(motor.Saw(hz)) + rumble.Process(n) + 0.35 * gear * rattle.Process(n)) *
           Curve(t, {{0.0, 0.0}, {0.06, 1.0}, {0.7, 1.0}, {0.8, 0.0}});
  }));
  Scale(out, 0.7);
  static constexpr Partial kClunk[] = {{1.0, 1.0, 0.04}, {2.7, 0.5, 0.02}, {4.1, 0.25, 0.01}};
  MixInto(out, Normalised(Strike(0.2, 180.0, kClunk)), 0.0, 0.6);
  MixInto(out, Normalised(Thump(120.0, 70.0, 0.02, 0.05)), 0.76, 0.9);
  MixInto(out, Normalised(NoiseBurst(332, Kind::LowPass, 900.0, 0.7, 0.001, 0.015)), 0.76, 0.5);
  return out;
}

// A lever thrown: a little ratchet, then a ringing metallic clack on a low body.
Samples Lever() {
  Samples out;
  for (int i = 0; i < 3; ++i) {
    MixInto(out, Normalised(NoiseBurst(341 + i, Kind::BandPass, 3500.0, 3.0, 0.0005, 0.003)), 0.02 * i, 0.3);
  }
  static constexpr Partial kClack[] = {{1.0, 1.0, 0.05}, {1.93, 0.6, 0.035}, {2.91, 0.45, 0.025}, {4.05, 0.3, 0.015}};
  MixInto(out, Normalised(Strike(0.3, 1450.0, kClack, 0.0005)), 0.07, 0.9);
  MixInto(out, Normalised(NoiseBurst(345, Kind::BandPass, 5000.0, 1.0, 0.0003, 0.002)), 0.07, 0.5);
  MixInto(out, Normalised(Thump(180.0, 140.0, 0.02, 0.04)), 0.07, 0.5);
  return out;
}

// A crate pushed: wood dragged over stone, juddering as it sticks and slips, with a creak.
Samples Push() {
  Noise noise(351);
  OnePole drift(4.0);
  Oscillator judder, creak;
  Biquad scrape(Kind::BandPass, 800.0, 1.5), body(Kind::BandPass, 320.0, 3.0), creakTone(Kind::BandPass, 600.0, 4.0);
  return Render(0.55, [&](double t) {
    const double n = noise.White();
    const double rate = 32.0 + 40.0 * drift.Process(noise.White());
    const double grip = std::pow(0.5 + 0.5 * judder.Sine(rate), 3.0);
    const double wood = scrape.Process(n) + 0.8 * body.Process(n);
    const double squeak = 0.25 * creakTone.Process(creak.Saw(120.0 + 30.0 * t));
    return (wood * (0.35 + 0.65 * grip) + squeak * grip) *
           Curve(t, {{0.0, 0.0}, {0.04, 1.0}, {0.42, 0.85}, {0.55, 0.0}});
  });
}

// A key block settling on its sensor: a soft click, then a shimmering arpeggio of chimes
// (each note a pair of slightly detuned partials that beat).
Samples Sensor() {
  Samples out = Normalised(NoiseBurst(361, Kind::BandPass, 2500.0, 2.0, 0.0005, 0.003));
  Scale(out, 0.6);
  static constexpr Partial kPing[] = {{1.0, 1.0, 0.006}};
  MixInto(out, Normalised(Strike(0.04, 900.0, kPing, 0.0005)), 0.0, 0.4);
  static constexpr Partial kChime[] = {{1.0, 1.0, 0.35}, {1.004, 0.7, 0.35}, {2.0, 0.3, 0.15}, {3.0, 0.1, 0.08}};
  const double notes[] = {84.0, 91.0, 100.0};
  for (int i = 0; i < 3; ++i) {
    MixInto(out, Normalised(Strike(0.85 - 0.05 * i, NoteHz(notes[i]), kChime, 0.003)), 0.03 + 0.05 * i, 0.55 - 0.1 * i);
  }
  return out;
}

// A spring: a jaw-harp "boing", its pitch jumping up and wobbling down with a resonance
// that wobbles along.
Samples Spring() {
  Oscillator tone, twang, wobble;
  Biquad resonance(Kind::LowPass, 2000.0, 4.0);
  return Render(0.55, [&](double t) {
    const double w = Decay(t, 0.15) * wobble.Sine(15.0);
    const double hz = 150.0 * (1.0 + 1.2 * (1.0 - Decay(t, 0.03))) * (1.0 + 0.3 * w);
    resonance.Set(600.0 + 2400.0 * Decay(t, 0.12) * (1.0 + 0.5 * w), 4.0);
    return (tone.Triangle(hz) + 0.25 * resonance.Process(twang.Saw(hz))) * AttackDecay(t, 0.003, 0.18);
  });
}

// An extra life: a bright arpeggio of seven notes running up three octaves of a major chord.
Samples OneUp() {
  Samples out;
  const double notes[] = {72.0, 76.0, 79.0, 84.0, 88.0, 91.0, 96.0};
  for (int i = 0; i < 7; ++i) {
    const bool last = i == 6;
    const double hz = NoteHz(notes[i]);
    Oscillator pulse, triangle, vibrato;
    OnePole soften(5000.0);
    Samples note = Render(last ? 0.4 : 0.2, [&](double t) {
      const double bend = last ? 1.0 + 0.006 * vibrato.Sine(7.0) * Curve(t, {{0.05, 0.0}, {0.2, 1.0}}) : 1.0;
      return soften.Process(0.5 * pulse.Pulse(hz * bend, 0.25) + 0.5 * triangle.Triangle(hz * bend)) *
             AttackDecay(t, 0.003, last ? 0.14 : 0.07);
    });
    Fade(note, 0.0, 0.02);
    MixInto(out, note, 0.055 * i, 1.0);
  }
  return out;
}

// The lamp switched: a small click, then a warm swelling whoosh with a soft chord glowing in it.
Samples Light() {
  Samples out = Normalised(NoiseBurst(371, Kind::BandPass, 3000.0, 1.5, 0.0005, 0.002));
  Scale(out, 0.3);
  Noise noise(372);
  Biquad sweep(Kind::BandPass, 250.0, 1.0);
  OnePole warm(2500.0);
  Oscillator g, d, g2;
  Samples whoosh = Render(0.62, [&](double t) {
    sweep.Set(Curve(t, {{0.0, 250.0}, {0.2, 1400.0}, {0.62, 500.0}}), 1.0);
    const double air = warm.Process(sweep.Process(noise.White()));
    const double glow = g.Sine(196.0) + 0.7 * d.Sine(293.7) + 0.4 * g2.Sine(392.0);
    const double swell = Curve(t, {{0.0, 0.0}, {0.18, 1.0}, {0.62, 0.0}});
    return (air + 0.05 * glow) * swell * swell;
  });
  MixInto(out, Normalised(whoosh), 0.005, 1.0);
  return out;
}

// An hourglass taken: tick-tock clock ticks speeding up under a high, trembling shimmer.
Samples TimePick() {
  Samples out;
  static constexpr Partial kTick[] = {{1.0, 1.0, 0.006}, {1.7, 0.5, 0.004}};
  double at = 0.0, gap = 0.09;
  for (int i = 0; at < 0.75; ++i) {
    Samples tick = Normalised(Strike(0.04, i % 2 == 0 ? 3200.0 : 2300.0, kTick, 0.0003));
    MixInto(tick, Normalised(NoiseBurst(381 + i, Kind::HighPass, 4000.0, 0.7, 0.0003, 0.0015)), 0.0, 0.4);
    MixInto(out, tick, at, 1.0 - 0.8 * at);
    at += gap;
    gap = std::max(0.04, gap - 0.008);
  }
  const double notes[] = {96.0, 100.0, 103.0, 108.0};
  const double rates[] = {7.0, 9.0, 11.0, 13.0};
  Oscillator tones[4], trembles[4];
  Samples shimmer = Render(0.95, [&](double t) {
    double sum = 0.0;
    for (int k = 0; k < 4; ++k) {
      sum += tones[k].Sine(NoteHz(notes[k] + 2.0 * t)) * (0.6 + 0.4 * trembles[k].Sine(rates[k]));
    }
    return sum * Curve(t, {{0.0, 0.0}, {0.15, 1.0}, {0.6, 0.7}, {0.95, 0.0}});
  });
  Normalise(out);
  MixInto(out, Normalised(shimmer), 0.0, 0.35);
  return out;
}

// ---- loops --------------------------------------------------------------------------------

// Bubbling lava: a deep rumble with bubbles rising through it (a bubble sings a sine whose
// pitch climbs as it closes) and a couple of big slow ones.
Samples Lava() {
  Noise noise(401), random(402);
  Biquad rumble(Kind::LowPass, 140.0, 0.7);
  Oscillator swell;
  Samples out =
      Normalised(Render(2.0, [&](double) { return rumble.Process(noise.White()) * (0.7 + 0.3 * swell.Sine(0.7)); }));
  Scale(out, 0.45);
  for (int i = 0; i < 16; ++i) {
    const bool big = i % 7 == 3;
    const double at = random.Between(0.05, 1.8);
    const double length = big ? 0.18 : random.Between(0.05, 0.12);
    const double hz = big ? random.Between(70.0, 100.0) : random.Between(140.0, 380.0);
    Oscillator osc;
    Samples bubble = Render(length, [&](double t) {
      return osc.Sine(hz * (1.0 + 2.5 * t / length)) * AttackDecay(t, 0.004, length / 3.0);
    });
    Fade(bubble, 0.0, 0.01);
    MixInto(out, bubble, at, random.Between(0.5, 1.0));
  }
  out.resize(SampleCount(2.0));
  return out;
}

// A torch: the soft roar of the flame, fluttering, with wood crackling and popping in it.
Samples Fire() {
  constexpr double kLength = 1.4;
  Noise noise(411), random(412);
  Biquad roar(Kind::LowPass, 500.0, 0.7), rumbleCut(Kind::HighPass, 80.0, 0.7), hiss(Kind::BandPass, 3000.0, 0.8);
  OnePole flutter(6.0);
  Samples out = Normalised(Render(kLength, [&](double) {
    const double n = noise.White();
    const double f = 0.6 + 0.4 * std::abs(8.0 * flutter.Process(noise.White()));
    return (rumbleCut.Process(roar.Process(n)) + 0.06 * hiss.Process(n)) * f;
  }));
  Scale(out, 0.35);
  for (int i = 0; i < 42; ++i) {
    const bool pop = i % 9 == 4;
    const double at = random.Between(0.0, kLength - 0.05);
    const double hz = pop ? 900.0 : random.Between(1500.0, 5000.0);
    const double tau = pop ? 0.006 : random.Between(0.0005, 0.003);
    Samples crackle = Normalised(NoiseBurst(420 + i, Kind::BandPass, hz, 1.5, 0.0002, tau));
    MixInto(out, crackle, at, pop ? 1.0 : random.Between(0.2, 0.8));
  }
  out.resize(SampleCount(kLength));
  return out;
}

// The exit gate and the crystals: a smooth low hum of a few partials, two of them beating
// slowly, swelling gently, with a faint airy ring above.
Samples Hum() {
  Oscillator p110, p220a, p220b, p330, p440, p660, tremble, swell;
  Noise noise(421);
  Biquad air(Kind::BandPass, 880.0, 8.0);
  return Render(3.0, [&](double) {
    const double partials = 0.6 * p110.Sine(110.0) + 0.25 * p220a.Sine(219.7) + 0.25 * p220b.Sine(220.5) +
                            0.2 * p330.Sine(330.0) + 0.12 * p440.Sine(440.6) +
                            0.05 * p660.Sine(660.0) * (0.5 + 0.5 * tremble.Sine(5.0));
    return (partials + 0.4 * air.Process(noise.White())) * (0.8 + 0.2 * swell.Sine(0.5));
  });
}

struct Effect {
  const char* Path;
  Samples (*Build)();
  Finishing How;
};

constexpr Finishing kShort{};
constexpr Finishing kLoop{0.15, 0.15};

const Effect kEffects[] = {
    {"INTERF/CHOIX.WAV", MenuMove, kShort},
    {"INTERF/CLIC.WAV", MenuConfirm, kShort},
    {"INTERF/TIMER.WAV", ClockTick, kShort},
    {"SOUNDS/STEP.WAV", Step, {0.002, 0.015}},
    {"SOUNDS/HURT.WAV", Hurt, kShort},
    {"SOUNDS/DEATH.WAV", Death, {0.002, 0.04}},
    {"SOUNDS/SEEN.WAV", Seen, kShort},
    {"SOUNDS/LOST.WAV", Lost, kShort},
    {"SOUNDS/PICKUP.WAV", Pickup, {0.002, 0.05}},
    {"SOUNDS/DIG.WAV", Dig, kShort},
    {"SOUNDS/CLOSE.WAV", Close, {0.002, 0.05}},
    {"SOUNDS/DOOR.WAV", Door, {0.002, 0.04}},
    {"SOUNDS/LEVER.WAV", Lever, {0.002, 0.04}},
    {"SOUNDS/PUSH.WAV", Push, kShort},
    {"SOUNDS/SENSOR.WAV", Sensor, {0.002, 0.08}},
    {"SOUNDS/SPRING.WAV", Spring, {0.002, 0.04}},
    {"SOUNDS/ONEUP.WAV", OneUp, {0.002, 0.04}},
    {"SOUNDS/LIGHT.WAV", Light, {0.002, 0.06}},
    {"SOUNDS/TIMEPICK.WAV", TimePick, {0.002, 0.06}},
    {"SOUNDS/LAVA.WAV", Lava, kLoop},
    {"SOUNDS/FIRE.WAV", Fire, kLoop},
    // The hum plays under everything near the gate: quieter than the other effects.
    {"SOUNDS/HUM.WAV", Hum, {0.6, 0.6, -9.0}},
};

}  // namespace

void GenerateSounds(DataTree& tree) {
  for (const Effect& effect : kEffects) {
    tree.Add(effect.Path, audio::EncodeWave(Finish(effect.Build(), effect.How), kSampleRate, 1, 16));
  }
}

}  // namespace zandrel::data
