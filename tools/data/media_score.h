// A small notation for writing the MIDI pieces in code: note names, phrases of notes with
// lengths in sixteenth steps, chords by name, and rhythm patterns, all in a 4/4 grid.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/random.h"
#include "tools/data/media_midi.h"

namespace zandrel::data::score {

inline constexpr std::uint32_t kQuarter = 480;        // ticks a quarter note
inline constexpr std::uint32_t kStep = kQuarter / 4;  // a sixteenth
inline constexpr std::uint32_t kBar = 16 * kStep;

// The key number of a note name: a letter A..G, an optional '#' or 'b', and an octave
// 0..9 (C4 = 60). The texts are the pieces' own, so a bad one throws std::logic_error.
int Key(std::string_view name);

// One note of a phrase; Key -1 is a rest.
struct Tone {
  int Key;
  int Steps;
};
// "D5:2 F5:2 r:4": names (or "r") with their lengths in sixteenth steps.
std::vector<Tone> Phrase(std::string_view text);
int PhraseSteps(const std::vector<Tone>& phrase);

// The pitch classes (0 = C) of a chord named by its root and "", "m" or "dim": "Bb", "Gm".
std::vector<int> ChordClasses(std::string_view name);
// `pitchClass` placed in the octave that puts it in low .. low + 11.
int InRange(int pitchClass, int low);

// The notes and velocities of a 16-step pattern: per step '.' nothing, '-' the note before
// goes on, anything else a note whose character the caller reads.
struct Hit {
  int Step;
  int Steps;  // how long it lasts, with the '-' after it
  char Mark;
};
std::vector<Hit> Pattern(std::string_view steps);

// Small deterministic variations of velocity, so that repeated notes do not sound
// machine-stamped.
class Humaniser {
 public:
  explicit Humaniser(std::int32_t seed) : random_(seed) {}
  // `velocity` moved by up to `spread` either way, kept in 1..127.
  int Velocity(int velocity, int spread = 6);

 private:
  base::Random random_;
};

}  // namespace zandrel::data::score
