// The instruments of the game's tracker modules, synthesised: harmonic tones whose sustained
// part is an exact loop, struck bells, and drums from swept sines and filtered noise.
#pragma once

#include <string>
#include <vector>

#include "tools/data/music_xm.h"

namespace zandrel::data::music {

// The harmonic recipe of a tone.
enum class Wave { Sine, Triangle, Square, Pulse, Saw, Organ };

// A harmonic tone. Its brightness and loudness may change over the first `Hold` seconds; from
// then on the spectrum is frozen and the sample loops exactly over `LoopSeconds`.
struct ToneSpec {
  std::string Name;
  double Midi = 60;  // the pitch it is sampled at
  Wave Shape = Wave::Saw;
  double Cutoff = 3000;        // a soft low-pass on the harmonics once held (Hz)
  double AttackCutoff = 3000;  // and at the start; it glides with CutoffTau
  double CutoffTau = 0.05;
  double Punch = 0;  // extra loudness at the start, fading with PunchTau
  double PunchTau = 0.05;
  double Breath = 0;  // filtered noise in the attack (flutes, picks)
  int Voices = 1;     // detuned copies, one cycle per loop apart
  double Hold = 0.1;
  double LoopSeconds = 0.1;
};

// The volume over a note's life, in seconds; sustain 0 lets the note die away by itself.
struct Envelope {
  double Attack = 0.005;
  double Decay = 0.3;    // the time constant of the fall towards Sustain
  double Sustain = 1.0;  // 0..1
  double Release = 0.2;  // the fade after the note is released
};

struct Placement {
  int Bpm = 125;  // the module's tempo, which sets the length of an envelope tick
  int Panning = 128;
  int Volume = 64;
};

xm::Instrument Tone(const ToneSpec& spec, const Envelope& envelope, const Placement& placement);

// A struck bell (inharmonic partials), sampled at `midi` and played once.
xm::Instrument Bell(const std::string& name, double midi, double seconds, const Placement& placement);
// A metal clank: a low bell with a burst of noise, for machines.
xm::Instrument Clank(const std::string& name, const Placement& placement);

// Drums, sampled so that C-4 plays them at their own pitch.
xm::Instrument Kick(const std::string& name, double punch, const Placement& placement);
xm::Instrument Snare(const std::string& name, double snap, const Placement& placement);
xm::Instrument HiHat(const std::string& name, double seconds, const Placement& placement);

}  // namespace zandrel::data::music
