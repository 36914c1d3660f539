// Eight seconds under the vault clip, bar for bar with its pictures: a timpani roll and low
// tremolo strings while the wheel turns, a brass call rising as the door swings, and a bright
// D major with glockenspiel sparkles and a cymbal when the gold comes into view.
#include <utility>

#include "tools/data/media.h"
#include "tools/data/media_score.h"

namespace zandrel::data::media {
namespace {

using namespace score;

constexpr int kTimpani = 0, kStrings = 1, kBrass = 2, kBells = 3, kDrums = 9;
constexpr int kDoorSteps = 12;  // the wheel turns for the first 2 s (at 90 beats a minute)
constexpr int kGoldStep = 32;   // the gold shows at 5.3 s
constexpr int kEndStep = 48;    // 8 s

std::uint32_t At(int step) { return static_cast<std::uint32_t>(step) * kStep; }

void Chord(midi::Track& track, int channel, int step, int steps, std::string_view notes, int velocity) {
  for (const Tone& t : Phrase(notes)) track.Note(At(step), At(steps), channel, t.Key, velocity);
}

// A phrase played from `step`, each note sounding for `legato` of its length.
void Line(midi::Track& track, int channel, int step, std::string_view notes, int velocity, double legato) {
  for (const Tone& t : Phrase(notes)) {
    if (t.Key >= 0) {
      track.Note(At(step), static_cast<std::uint32_t>(legato * At(t.Steps)), channel, t.Key, velocity);
    }
    step += t.Steps;
  }
}

}  // namespace

std::vector<std::uint8_t> VaultFanfareMidi() {
  midi::Track conductor("The Vault Opens"), timpani("Timpani"), strings("Strings"), brass("Brass"),
      bells("Glockenspiel"), drums("Cymbals");
  conductor.TimeSignature(0, 4, 2);
  conductor.Tempo(0, 90);
  timpani.Program(0, kTimpani, 47);
  strings.Program(0, kStrings, 44);
  brass.Program(0, kBrass, 61);
  bells.Program(0, kBells, 9);
  for (const auto& [track, channel] :
       {std::pair{&timpani, kTimpani}, {&strings, kStrings}, {&brass, kBrass}, {&bells, kBells}, {&drums, kDrums}}) {
    track->Controller(0, channel, 7, 90);  // room for the loud chord on the gold at full gain
  }
  strings.Controller(0, kStrings, 91, 70);
  brass.Controller(0, kBrass, 91, 60);
  bells.Controller(0, kBells, 91, 90);

  // The roll swells while the wheel turns, then marks the door and the gold.
  for (int step = 0; step < kDoorSteps; ++step) timpani.Note(At(step), kStep / 2, kTimpani, Key("D2"), 40 + 6 * step);
  Line(timpani, kTimpani, kDoorSteps, "A1:8 D2:8 A1:2 A1:2 D2:16", 104, 0.5);

  Chord(strings, kStrings, 0, 12, "D3:1 F3:1 A3:1", 64);
  Chord(strings, kStrings, 12, 8, "Bb2:1 D3:1 F3:1", 76);
  Chord(strings, kStrings, 20, 8, "C3:1 E3:1 G3:1", 84);
  Chord(strings, kStrings, 28, 4, "A2:1 C#3:1 E3:1", 96);
  Chord(strings, kStrings, kGoldStep, kEndStep - kGoldStep, "D3:1 F#3:1 A3:1 D4:1", 100);

  Line(brass, kBrass, kDoorSteps, "A3:2 D4:2 F4:2 A4:6 Bb4:2 A4:2 G4:2 E4:2", 100, 0.9);
  Chord(brass, kBrass, kGoldStep, kEndStep - kGoldStep, "D4:1 F#4:1 A4:1 D5:1", 110);

  Line(bells, kBells, kGoldStep, "D6:1 F#6:1 A6:1 D7:1 A6:1 F#6:1 D6:1 A5:1", 100, 1.0);
  Line(bells, kBells, kGoldStep + 8, "F#6:2 A6:2 D7:4", 88, 1.0);
  Line(bells, kBells, kGoldStep + 12, "A6:2 D7:2", 70, 1.0);

  // A cymbal swell on the ride while the door moves, a crash on the gold.
  for (int step = kDoorSteps; step < kGoldStep; ++step)
    drums.Note(At(step), kStep / 2, kDrums, 51, 30 + 4 * (step - kDoorSteps));
  drums.Note(At(kGoldStep), At(8), kDrums, 49, 120);
  drums.Note(At(kGoldStep), At(2), kDrums, 36, 110);

  const midi::Track tracks[] = {conductor, timpani, strings, brass, bells, drums};
  return midi::EncodeFile(tracks, kQuarter);
}

}  // namespace zandrel::data::media
