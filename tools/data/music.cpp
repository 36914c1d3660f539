// The game's six tracker modules, composed here: each a few sections of four bars over a
// chord progression, arranged in an order list that loops back past its introduction.
#include "tools/data/generators.h"
#include "tools/data/music_instruments.h"
#include "tools/data/music_song.h"

namespace zandrel::data {
namespace {

using namespace music;

// Groove lines shared by several songs.
constexpr std::string_view kSilent = "................";
constexpr std::string_view kBackbeat = "....x.......x...";
constexpr std::string_view kEighths = "x.x.x.x.x.x.x.x.";

xm::Instrument Vibrato(xm::Instrument instrument, int depth, int rate, int sweep) {
  instrument.VibratoDepth = static_cast<std::uint8_t>(depth);
  instrument.VibratoRate = static_cast<std::uint8_t>(rate);
  instrument.VibratoSweep = static_cast<std::uint8_t>(sweep);
  return instrument;
}

// The parts every band shares, given its lead, bass, pad and pluck; the percussion follows.
std::vector<xm::Instrument> Band(int bpm, xm::Instrument lead, const ToneSpec& bass, const ToneSpec& pad,
                                 const ToneSpec& pluck, double bellMidi) {
  const Placement at{.Bpm = bpm};
  return {std::move(lead), Tone(bass, {.Attack = 0.003, .Decay = 0.35, .Sustain = 0.65, .Release = 0.08}, at),
          Tone(pad, {.Attack = 0.4, .Decay = 1.0, .Sustain = 1.0, .Release = 0.7}, at),
          Tone(pluck, {.Attack = 0.002, .Decay = 0.22, .Sustain = 0.0, .Release = 0.1}, at),
          Bell("Bell", bellMidi, 1.2, at)};
}

// Kick, snare and closed hat; the extra percussion is the song's own (often an open hat).
void AddDrums(std::vector<xm::Instrument>& band, int bpm, double punch, double snap, double hat) {
  const Placement at{.Bpm = bpm};
  band.push_back(Kick("Kick", punch, at));
  band.push_back(Snare("Snare", snap, at));
  band.push_back(HiHat("Hat", hat, at));
}

void AddOpenHat(std::vector<xm::Instrument>& band, int bpm) { band.push_back(HiHat("Open hat", 0.4, {.Bpm = bpm})); }

// The songs are scores: instruments, grooves and sections laid out as they are read.
// clang-format off
// ---- Vault Doors: the title. D minor, 112 beats a minute; a theme that climbs and answers
// itself, a soaring second strain in F major, a quiet bridge on the bells.
Song VaultDoors() {
  constexpr int kBpm = 112;
  Song song{.Title = "Vault Doors", .Bpm = kBpm, .Levels = {.Pad = 12}};
  const xm::Instrument lead = Vibrato(
      Tone({.Name = "Square lead", .Midi = 72, .Shape = Wave::Pulse, .Cutoff = 2400, .AttackCutoff = 6000, .CutoffTau = 0.08,
            .Punch = 0.4, .PunchTau = 0.06, .Hold = 0.15, .LoopSeconds = 0.1},
           {.Attack = 0.006, .Decay = 0.4, .Sustain = 0.6, .Release = 0.25}, {.Bpm = kBpm}),
      3, 10, 40);
  song.Instruments = Band(kBpm, lead,
                          {.Name = "Saw bass", .Midi = 36, .Shape = Wave::Saw, .Cutoff = 700, .AttackCutoff = 2800,
                           .CutoffTau = 0.06, .Punch = 0.3, .Hold = 0.12, .LoopSeconds = 0.2},
                          {.Name = "Pad", .Midi = 60, .Shape = Wave::Saw, .Cutoff = 1300, .AttackCutoff = 1300, .Voices = 3,
                           .Hold = 0.01, .LoopSeconds = 0.5},
                          {.Name = "Pluck", .Midi = 72, .Shape = Wave::Square, .Cutoff = 1200, .AttackCutoff = 6000,
                           .CutoffTau = 0.05, .Punch = 0.8, .Hold = 0.2, .LoopSeconds = 0.05},
                          84);
  AddDrums(song.Instruments, kBpm, 1.0, 0.6, 0.08);
  AddOpenHat(song.Instruments, kBpm);

  const Groove verse{.Kick = "x.....x...x.....", .Snare = kBackbeat, .Hat = "x.x.x.x.x.x.x.x.", .Extra = "..............x.",
                     .SnareFill = "....x.......xoxX"};
  const Groove chorus{.Kick = "x.......x.x.....", .Snare = kBackbeat, .Hat = "x.xxx.xxx.xxx.xx", .Extra = "x.......x.......",
                      .SnareFill = "....x...x.x.xxXX"};
  const Groove bridge{.Kick = "x...............", .Hat = "..x...x...x...x."};
  song.Sections = {
      {.Chords = "Dm:16 Bb:16 Gm:16 A:16",  // 0: introduction
       .Bells = "D6:4 A5:2 D6:2 F6:8 | F6:4 D6:4 Bb5:8 | G5:4 Bb5:4 D6:8 | C#6:8 E6:4 A5:4",
       .Bass = "0...............", .Arp = "0.2.3.4.3.2.3.2.",
       .Drums = {.Kick = kSilent, .Hat = "..x...x...x...x.", .KickFill = "x.......x...x.x."}},
      {.Chords = "Dm:16 Bb:16 F:16 C:16",  // 1: the theme
       .Lead = "D5:4 A4:2 D5:2 F5:4 E5:2 D5:2 | F5:4 D5:4 Bb4:6 -:2 | C5:2 F5:2 A5:4 G5:2 F5:2 C5:4 | E5:6 F5:2 G5:4 E5:4",
       .Bass = "0..0..0...0.2.3.", .Arp = "0.2.3.2.0.2.3.2.", .Drums = verse},
      {.Chords = "Dm:16 Bb:16 Gm:16 A:16",  // 2: the theme answered
       .Lead = "D5:4 A4:2 D5:2 F5:4 E5:2 D5:2 | F5:4 G5:2 F5:2 D5:8 | Bb5:4 A5:2 G5:2 D5:4 G5:4 | A5:4 G5:2 F5:2 E5:4 C#5:4",
       .Bass = "0..0..0...0.2.3.", .Arp = "0.2.3.2.0.2.3.2.", .Drums = verse},
      {.Chords = "F:16 C:16 Dm:16 Bb:16",  // 3: the second strain
       .Lead = "A5:6 G5:2 F5:4 C5:4 | E5:6 F5:2 G5:8 | F5:6 E5:2 D5:4 A5:4 | F5:8 D5:4 Bb4:4",
       .Bells = "~:8 C6:8 | ~:8 G6:8 | ~:8 A6:8 | ~:8 F6:8",
       .Bass = "0.......0...2...", .Drums = chorus},
      {.Chords = "Bb:16 C:16 Dm:8 Bb:8 A:16",  // 4: the second strain turning home
       .Lead = "D5:4 F5:4 Bb5:6 A5:2 | G5:4 E5:4 C5:4 G5:4 | A5:6 F5:2 D5:4 F5:4 | E5:12 -:4",
       .Bass = "0.......0...2...", .Arp = "0123212301232123", .Drums = chorus},
      {.Chords = "Gm:16 Dm:16 Bb:16 A:16",  // 5: the bridge
       .Bells = "G5:8 Bb5:4 A5:4 | F5:8 D5:4 A4:4 | Bb4:4 D5:4 F5:4 Bb5:4 | A5:8 C#5:4 E5:4",
       .Bass = "0...............", .Arp = "0...2...3...2...", .Drums = bridge},
      {.Chords = "Gm:16 Bb:16 C:16 A:16",  // 6: the bridge building up
       .Lead = "G4:4 Bb4:4 D5:4 G5:4 | F5:4 D5:4 Bb4:4 F5:4 | E5:4 G5:4 C6:4 G5:4 | A5:4 G5:2 F5:2 E5:4 C#5:4",
       .Bass = "0...0...0...0...", .Arp = "0.2.3.2.0.2.3.2.",
       .Drums = {.Kick = "x.......x.......", .Snare = kSilent, .Hat = kEighths, .SnareFill = "x.x.x.x.xxxxXXXX"}},
  };
  song.Orders = {0, 1, 2, 3, 4, 1, 2, 5, 6, 3, 4, 2};
  song.RestartPosition = 1;
  return song;
}


// ---- Gold at Last: the credits. C major, 128 beats a minute; a brass fanfare, then a
// striding tune with bells, a turn through B flat, a gentle bridge.
Song GoldAtLast() {
  constexpr int kBpm = 128;
  Song song{.Title = "Gold at Last", .Bpm = kBpm};
  // A brass swell: the harmonics open up over the first tenth of a second.
  const xm::Instrument lead = Vibrato(
      Tone({.Name = "Brass", .Midi = 67, .Shape = Wave::Saw, .Cutoff = 3200, .AttackCutoff = 500, .CutoffTau = 0.05,
            .Punch = 0.2, .PunchTau = 0.08, .Hold = 0.2, .LoopSeconds = 0.1},
           {.Attack = 0.02, .Decay = 0.5, .Sustain = 0.75, .Release = 0.2}, {.Bpm = kBpm}),
      2, 12, 60);
  song.Instruments = Band(kBpm, lead,
                          {.Name = "Bass", .Midi = 36, .Shape = Wave::Saw, .Cutoff = 900, .AttackCutoff = 3000,
                           .CutoffTau = 0.05, .Punch = 0.3, .Hold = 0.12, .LoopSeconds = 0.2},
                          {.Name = "Strings", .Midi = 60, .Shape = Wave::Saw, .Cutoff = 2000, .AttackCutoff = 2000,
                           .Voices = 3, .Hold = 0.01, .LoopSeconds = 0.5},
                          {.Name = "Pluck", .Midi = 72, .Shape = Wave::Saw, .Cutoff = 1800, .AttackCutoff = 8000,
                           .CutoffTau = 0.04, .Punch = 0.6, .Hold = 0.2, .LoopSeconds = 0.05},
                          86);
  AddDrums(song.Instruments, kBpm, 0.9, 1.0, 0.1);
  AddOpenHat(song.Instruments, kBpm);

  const Groove march{.Kick = "x.......x.x.....", .Snare = kBackbeat, .Hat = kEighths, .Extra = "x...............",
                     .SnareFill = "....x.......xxXX"};
  const Groove drive{.Kick = "x...x...x...x...", .Snare = kBackbeat, .Hat = "x.x.x.x.x.x.x.x.", .Extra = "..x...x...x...x.",
                     .SnareFill = "....x...xxxxXXXX"};
  song.Sections = {
      {.Chords = "C:16 F:16 C:16 G:16",  // 0: the fanfare
       .Lead = "G4:2 C5:2 E5:2 G5:10 | A5:2 G5:2 F5:2 A5:10 | G5:2 E5:2 C5:2 G5:6 E5:2 G5:2 | D5:16",
       .Bass = "0.......0.......",
       .Drums = {.Kick = "x...............", .Snare = "............x.xx", .Hat = kSilent, .SnareFill = "....x.x.xxxxXXXX"}},
      {.Chords = "C:16 G:16 Am:16 F:16",  // 1: the tune
       .Lead = "E5:4 G5:4 C6:6 B5:2 | D6:4 B5:2 G5:2 D5:8 | E5:4 A5:4 C6:4 B5:2 A5:2 | F5:4 A5:4 C6:8",
       .Bass = "0...0.2.0...0.2.", .Arp = "0.1.2.3.2.1.2.3.", .Drums = march},
      {.Chords = "C:16 G:16 F:16 G:16",  // 2: the tune coming round
       .Lead = "E5:4 G5:4 C6:6 B5:2 | D6:4 B5:2 G5:2 D5:8 | C6:4 A5:4 F5:4 A5:4 | G5:8 B5:4 D6:4",
       .Bells = "~:16 | ~:16 | ~:8 F6:8 | ~:8 D6:8",
       .Bass = "0...0.2.0...0.2.", .Arp = "0.1.2.3.2.1.2.3.", .Drums = march},
      {.Chords = "F:16 G:16 Em:16 Am:16",  // 3: the second tune
       .Lead = "A5:6 C6:2 A5:4 F5:4 | G5:6 B5:2 D6:4 B5:4 | G5:4 E5:4 B5:4 G5:4 | A5:8 E5:4 C5:4",
       .Bells = "C6:8 ~:8 | D6:8 ~:8 | B5:8 ~:8 | C6:8 E6:8",
       .Bass = "0.0.0.0.0.0.2.3.", .Arp = "0123212301232123", .Drums = drive},
      {.Chords = "F:16 G:16 Bb:8 F:8 G:16",  // 4: through B flat, home to the tune
       .Lead = "F5:4 A5:4 C6:4 A5:4 | B5:4 D6:4 G6:8 | F5:2 Bb5:2 D6:4 C6:4 A5:4 | G5:4 B5:4 D6:6 -:2",
       .Bass = "0.0.0.0.0.0.2.3.", .Arp = "0123212301232123", .Drums = drive},
      {.Chords = "Am:16 F:16 C:16 G:16",  // 5: the bridge
       .Bells = "E6:4 C6:4 A5:8 | F5:4 A5:4 C6:8 | G5:4 C6:4 E6:8 | D6:8 B5:4 G5:4",
       .Bass = "0.......2.......", .Arp = "0...2...3...2...",
       .Drums = {.Kick = "x.......x.......", .Hat = "..x...x...x...x.", .SnareFill = "........x.x.xxXX"}},
  };
  song.Orders = {0, 1, 2, 3, 4, 1, 2, 5, 3, 4, 2};
  song.RestartPosition = 1;
  return song;
}

// ---- Deep Caverns. A minor, 76 beats a minute; a soft, breathy lead in long notes answered
// by its own echo, water drops on the bells, a heartbeat of a drum.
Song DeepCaverns() {
  constexpr int kBpm = 76;
  Song song{.Title = "Deep Caverns", .Bpm = kBpm,
            .Levels = {.Lead = 44, .Bass = 52, .Pad = 17, .Arp = 20, .Bells = 26, .Kick = 50, .Snare = 26, .Extra = 14,
                       .EchoDelay = 3, .EchoShare = 0.5, .PadLowest = 52}};
  const xm::Instrument lead = Vibrato(
      Tone({.Name = "Ocarina", .Midi = 72, .Shape = Wave::Triangle, .Cutoff = 2500, .AttackCutoff = 2500,
            .Breath = 0.25, .Hold = 0.12, .LoopSeconds = 0.1},
           {.Attack = 0.08, .Decay = 0.8, .Sustain = 0.7, .Release = 0.5}, {.Bpm = kBpm}),
      4, 8, 80);
  song.Instruments = Band(kBpm, lead,
                          {.Name = "Deep bass", .Midi = 36, .Shape = Wave::Triangle, .Cutoff = 500, .AttackCutoff = 900,
                           .CutoffTau = 0.1, .Hold = 0.12, .LoopSeconds = 0.2},
                          {.Name = "Dark pad", .Midi = 60, .Shape = Wave::Saw, .Cutoff = 800, .AttackCutoff = 800,
                           .Voices = 3, .Hold = 0.01, .LoopSeconds = 0.5},
                          {.Name = "Harp", .Midi = 72, .Shape = Wave::Triangle, .Cutoff = 2000, .AttackCutoff = 5000,
                           .CutoffTau = 0.05, .Punch = 0.6, .Hold = 0.2, .LoopSeconds = 0.05},
                          84);
  AddDrums(song.Instruments, kBpm, 0.6, 0.2, 0.06);
  AddOpenHat(song.Instruments, kBpm);

  const Groove heartbeat{.Kick = "x..x............", .Snare = kSilent};
  const Groove deeper{.Kick = "x..x............", .Snare = "........o.......", .Hat = "..o...o...o...o.", .Extra = "..........x....."};
  song.Sections = {
      {.Chords = "Am:32 F:32",  // 0: the way in: drops in the dark
       .Bells = "~:12 E6:4 | ~:16 | ~:8 A6:4 ~:4 | ~:4 C6:12",
       .Bass = "0...............", .Drums = {.Kick = kSilent, .KickFill = "x..x............"}},
      {.Chords = "Am:32 F:32",  // 1: the song
       .Lead = "E5:8 D5:4 C5:4 | B4:8 A4:4 -:4 | C5:8 A4:4 F5:4 | E5:12 -:4",
       .Bells = "~:16 | ~:12 E6:4 | ~:16 | ~:8 C6:8",
       .Bass = "0...............", .Drums = heartbeat},
      {.Chords = "Dm:32 E:32",  // 2: the song answered
       .Lead = "D5:8 F5:4 A5:4 | G5:8 F5:4 -:4 | E5:8 G#4:4 B4:4 | E5:12 -:4",
       .Bass = "0.......2.......", .Arp = "0...2...3...4...", .Drums = heartbeat},
      {.Chords = "F:32 Dm:16 E:16",  // 3: rising into the open cave
       .Lead = "A5:8 G5:4 F5:4 | C6:12 -:4 | D5:4 F5:4 A5:8 | G#5:8 B5:4 -:4",
       .Bells = "~:8 F6:8 | ~:16 | ~:8 D6:8 | ~:8 E6:8",
       .Bass = "0.......2.......", .Arp = "0.2.3.2.0.2.3.2.", .Drums = deeper},
      {.Chords = "Am:16 G:16 F:16 E:16",  // 4: walking down
       .Lead = "C5:4 E5:4 A5:8 | B5:4 G5:4 D5:8 | A5:4 F5:4 C5:8 | B4:8 G#4:8",
       .Bass = "0.......0...2...", .Arp = "0.2.3.2.0.2.3.2.", .Drums = deeper},
  };
  song.Orders = {0, 1, 2, 3, 4, 1, 2, 4};
  song.RestartPosition = 1;
  return song;
}

// ---- Open Meadow. G major, 104 beats a minute; a flute over a picked guitar, a round bass,
// a shaker and a light kick.
Song OpenMeadow() {
  constexpr int kBpm = 104;
  Song song{.Title = "Open Meadow", .Bpm = kBpm,
            .Levels = {.Lead = 44, .Bass = 46, .Pad = 12, .Arp = 26, .Bells = 24, .Kick = 46, .Snare = 30, .Hat = 18,
                       .Extra = 16, .EchoDelay = 3, .EchoShare = 0.25, .BassOctave = -1, .ArpOctave = 0, .PadLowest = 55}};
  const xm::Instrument lead = Vibrato(
      Tone({.Name = "Flute", .Midi = 79, .Shape = Wave::Sine, .Cutoff = 3000, .AttackCutoff = 3000, .Breath = 0.35,
            .Hold = 0.1, .LoopSeconds = 0.1},
           {.Attack = 0.05, .Decay = 0.6, .Sustain = 0.8, .Release = 0.2}, {.Bpm = kBpm}),
      3, 14, 50);
  song.Instruments = Band(kBpm, lead,
                          {.Name = "Round bass", .Midi = 36, .Shape = Wave::Triangle, .Cutoff = 1200, .AttackCutoff = 2500,
                           .CutoffTau = 0.05, .Punch = 0.4, .Hold = 0.12, .LoopSeconds = 0.2},
                          {.Name = "Organ", .Midi = 60, .Shape = Wave::Organ, .Cutoff = 3000, .AttackCutoff = 3000,
                           .Voices = 2, .Hold = 0.01, .LoopSeconds = 0.5},
                          {.Name = "Guitar", .Midi = 60, .Shape = Wave::Saw, .Cutoff = 1500, .AttackCutoff = 7000,
                           .CutoffTau = 0.06, .Punch = 0.8, .Hold = 0.25, .LoopSeconds = 0.05},
                          91);
  AddDrums(song.Instruments, kBpm, 0.5, 0.3, 0.05);
  AddOpenHat(song.Instruments, kBpm);

  const Groove stroll{.Kick = "x.......x.x.....", .Snare = "....o.......o...", .Hat = "xoxoxoxoxoxoxoxo", .Extra = "......x.......x."};
  song.Sections = {
      {.Chords = "G:16 C:16 G:16 D:16",  // 0: morning: the guitar alone
       .Bass = "0.......2.......", .Arp = "0.1.2.3.2.1.2.1.", .Pad = false,
       .Drums = {.Hat = kSilent, .HatFill = "xoxoxoxoxoxoxoxo"}},
      {.Chords = "G:16 C:16 G:16 D:16",  // 1: the tune
       .Lead = "B4:4 D5:4 G5:6 F#5:2 | E5:4 G5:4 C5:8 | D5:4 B4:2 G4:2 B4:4 D5:4 | A4:12 -:4",
       .Bass = "0.....2.0...2...", .Arp = "0.1.2.3.2.1.2.1.", .Drums = stroll},
      {.Chords = "G:16 C:16 D:16 G:16",  // 2: the tune coming home
       .Lead = "B4:4 D5:4 G5:6 F#5:2 | E5:4 G5:4 C6:8 | A5:4 F#5:4 D5:4 C5:4 | B4:12 -:4",
       .Bells = "~:16 | ~:8 E6:8 | ~:8 F#6:8 | G6:16",
       .Bass = "0.....2.0...2...", .Arp = "0.1.2.3.2.1.2.1.", .Drums = stroll},
      {.Chords = "Em:16 C:16 G:16 D:16",  // 3: over the hill
       .Lead = "G5:6 F#5:2 E5:4 B4:4 | C5:4 E5:4 G5:8 | D5:6 E5:2 D5:4 B4:4 | A4:4 D5:4 F#5:8",
       .Bass = "0...2...0...2...", .Arp = "0123212301232123", .Pad = true, .Drums = stroll},
      {.Chords = "C:16 D:16 Bm:16 Em:8 D:8",  // 4: and down again
       .Lead = "E5:4 G5:4 C6:6 B5:2 | A5:4 F#5:4 D5:8 | F#5:4 D5:4 B4:8 | G4:4 B4:4 A4:8",
       .Bass = "0...2...0...2...", .Arp = "0123212301232123",
       .Drums = {.Kick = "x.......x.x.....", .Snare = "....o.......o...", .Hat = "xoxoxoxoxoxoxoxo", .Extra = "......x.......x.",
                 .SnareFill = "....o.......xoxo"}},
      {.Chords = "Am:16 D:16 G:16 Em:16",  // 5: resting in the grass
       .Lead = "E5:8 C5:8 | F#5:8 A5:8 | G5:8 D5:8 | E5:8 B4:8",
       .Bells = "C6:8 A5:8 | D6:8 F#5:8 | B5:8 G5:8 | G5:8 E6:8",
       .Bass = "0...............", .Arp = "0.1.2.1.0.1.2.1.", .Drums = {.Kick = "x...............", .Hat = "..o...o...o...o."}},
  };
  song.Orders = {0, 1, 2, 3, 4, 1, 2, 5, 3, 4};
  song.RestartPosition = 1;
  return song;
}

// ---- Machine Hall. E minor, 120 beats a minute; a square-wave riff over a bass that jumps
// octaves, a four-to-the-floor kick, sixteenth hats and clanking metal.
Song MachineHall() {
  constexpr int kBpm = 120;
  Song song{.Title = "Machine Hall", .Bpm = kBpm,
            .Levels = {.Lead = 40, .Bass = 50, .Pad = 12, .Arp = 20, .Bells = 24, .Kick = 58, .Snare = 44, .Hat = 20,
                       .Extra = 28, .EchoDelay = 2, .EchoShare = 0.3, .ExtraNote = 60}};
  const xm::Instrument lead =
      Tone({.Name = "Square", .Midi = 72, .Shape = Wave::Square, .Cutoff = 3500, .AttackCutoff = 3500, .Punch = 0.2,
            .Hold = 0.05, .LoopSeconds = 0.1},
           {.Attack = 0.003, .Decay = 0.15, .Sustain = 0.55, .Release = 0.06}, {.Bpm = kBpm});
  song.Instruments = Band(kBpm, lead,
                          {.Name = "Pulse bass", .Midi = 36, .Shape = Wave::Pulse, .Cutoff = 900, .AttackCutoff = 4000,
                           .CutoffTau = 0.03, .Punch = 0.5, .Hold = 0.12, .LoopSeconds = 0.2},
                          {.Name = "Hum", .Midi = 60, .Shape = Wave::Pulse, .Cutoff = 900, .AttackCutoff = 900,
                           .Voices = 2, .Hold = 0.01, .LoopSeconds = 0.5},
                          {.Name = "Blip", .Midi = 84, .Shape = Wave::Square, .Cutoff = 2500, .AttackCutoff = 6000,
                           .CutoffTau = 0.02, .Punch = 0.5, .Hold = 0.1, .LoopSeconds = 0.05},
                          79);
  AddDrums(song.Instruments, kBpm, 1.0, 0.8, 0.06);
  song.Instruments.push_back(Clank("Clank", {.Bpm = kBpm}));

  const Groove engine{.Kick = "x...x...x...x...", .Snare = kBackbeat, .Hat = "xoxoXoxoxoxoXoxo", .Extra = "..x...x...x..xx.",
                      .SnareFill = "....x.......xxxx"};
  const Groove idle{.Kick = "x...x...x...x...", .Hat = "xoxoxoxoxoxoxoxo", .Extra = "..x...x...x...x."};
  song.Sections = {
      {.Chords = "Em:32 C:16 D:16",  // 0: the machines start
       .Bass = "0.0.3.0.0.3.0.2.", .Pad = false, .Drums = idle},
      {.Chords = "Em:32 C:16 D:16",  // 1: the riff
       .Lead = "E5:2 -:2 E5:2 G5:2 -:2 E5:2 B5:4 | A5:2 G5:2 F#5:2 G5:2 E5:8 | E5:2 -:2 E5:2 G5:2 -:2 G5:2 C6:4 | B5:4 A5:4 F#5:4 D5:4",
       .Bass = "0.0.3.0.0.3.0.2.", .Arp = "0.2.0.2.0.2.0.2.", .Drums = engine},
      {.Chords = "Em:32 Am:16 B:16",  // 2: the riff turning
       .Lead = "E5:2 -:2 E5:2 G5:2 -:2 E5:2 B5:4 | A5:2 G5:2 F#5:2 G5:2 E5:8 | A5:2 -:2 A5:2 C6:2 -:2 C6:2 E6:4 | D#6:4 B5:4 F#5:4 D#5:4",
       .Bass = "0.0.3.0.0.3.0.2.", .Arp = "0.2.0.2.0.2.0.2.", .Drums = engine},
      {.Chords = "C:16 D:16 Bm:16 Em:16",  // 3: the long arm swings
       .Lead = "G5:8 E5:4 C5:4 | A5:8 F#5:4 D5:4 | B5:8 F#5:4 D5:4 | E5:12 -:4",
       .Bells = "~:8 G6:8 | ~:8 A6:8 | ~:8 F#6:8 | ~:8 E6:8",
       .Bass = "0.0.0.0.2.2.3.3.", .Arp = "0123012301230123", .Drums = engine},
      {.Chords = "Em:64",  // 4: the press alone
       .Bass = "0.0.3.0.0.3.0.2.", .Arp = "0...2...3...2...", .Pad = false,
       .Drums = {.Kick = "x...x...x...x...", .Hat = kSilent, .Extra = "x.x.x.x.x.x.x.x.", .HatFill = "xxxxXxxxxxxxXxxx"}},
  };
  song.Orders = {0, 1, 2, 3, 1, 2, 4, 3, 1, 2};
  song.RestartPosition = 1;
  return song;
}

// ---- Fire Below. C minor, 138 beats a minute; a galloping bass, a sawtooth lead that keeps
// leaning on the flat second, hard snares.
Song FireBelow() {
  constexpr int kBpm = 138;
  Song song{.Title = "Fire Below", .Bpm = kBpm,
            .Levels = {.Lead = 52, .Bass = 44, .Pad = 14, .Arp = 18, .Bells = 26, .Kick = 58, .Snare = 46, .Hat = 20,
                       .EchoDelay = 3, .EchoShare = 0.3}};
  const xm::Instrument lead = Vibrato(
      Tone({.Name = "Saw lead", .Midi = 72, .Shape = Wave::Saw, .Cutoff = 2800, .AttackCutoff = 7000, .CutoffTau = 0.05,
            .Punch = 0.4, .PunchTau = 0.04, .Hold = 0.12, .LoopSeconds = 0.1},
           {.Attack = 0.004, .Decay = 0.3, .Sustain = 0.65, .Release = 0.12}, {.Bpm = kBpm}),
      3, 16, 20);
  song.Instruments = Band(kBpm, lead,
                          {.Name = "Drive bass", .Midi = 36, .Shape = Wave::Saw, .Cutoff = 1100, .AttackCutoff = 4000,
                           .CutoffTau = 0.03, .Punch = 0.5, .Hold = 0.12, .LoopSeconds = 0.2},
                          {.Name = "Dark strings", .Midi = 60, .Shape = Wave::Saw, .Cutoff = 1000, .AttackCutoff = 1000,
                           .Voices = 3, .Hold = 0.01, .LoopSeconds = 0.5},
                          {.Name = "Sting", .Midi = 72, .Shape = Wave::Pulse, .Cutoff = 2000, .AttackCutoff = 7000,
                           .CutoffTau = 0.03, .Punch = 0.6, .Hold = 0.15, .LoopSeconds = 0.05},
                          72);
  AddDrums(song.Instruments, kBpm, 1.0, 1.0, 0.07);
  AddOpenHat(song.Instruments, kBpm);

  const Groove run{.Kick = "x.....x.x.....x.", .Snare = "....X.......X...", .Hat = kEighths, .Extra = "x...............",
                   .SnareFill = "....X...xxXxXXXX"};
  const Groove gallop{.Kick = "x.....x.x.x...x.", .Snare = "....X.......X...", .Hat = "x.xxx.xxx.xxx.xx", .Extra = "..x...x...x...x.",
                      .SnareFill = "....X.......XXXX"};
  song.Sections = {
      {.Chords = "Cm:32 Db:32",  // 0: the heat rising
       .Bells = "G5:8 C6:8 | Eb6:8 D6:8 | Db6:8 Ab5:8 | F5:8 C6:8",
       .Bass = "0.000.000.000.00",
       .Drums = {.Kick = "x.......x.......", .Hat = kEighths, .SnareFill = "x.x.x.x.xxxxXXXX"}},
      {.Chords = "Cm:16 Db:16 Bb:16 Cm:16",  // 1: the run
       .Lead = "C5:2 D5:2 Eb5:4 G5:4 Eb5:2 C5:2 | Db5:4 F5:4 Ab5:6 G5:2 | F5:4 D5:4 Bb4:4 D5:4 | C5:12 -:4",
       .Bass = "0.0.0.0.0.0.0.0.", .Drums = run},
      {.Chords = "Cm:16 Db:16 Ab:16 G:16",  // 2: the run, cornered
       .Lead = "C5:2 D5:2 Eb5:4 G5:4 Eb5:2 C5:2 | Db5:4 F5:4 Ab5:6 G5:2 | Eb5:4 C5:4 Ab5:6 G5:2 | G5:4 B4:4 D5:4 F5:4",
       .Bass = "0.0.0.0.0.0.0.0.", .Arp = "0.2.3.2.0.2.3.2.", .Drums = run},
      {.Chords = "Ab:16 Bb:16 Fm:16 G:16",  // 3: climbing out
       .Lead = "C6:6 Bb5:2 Ab5:4 Eb5:4 | D6:6 C6:2 Bb5:4 F5:4 | Ab5:4 C6:4 F6:4 Eb6:2 C6:2 | B5:8 D6:4 G5:4",
       .Bass = "0.0.0.030.0.0.03", .Arp = "0123212301232123", .Drums = gallop},
      {.Chords = "Ab:16 Bb:16 Db:16 G:16",  // 4: and falling back
       .Lead = "C6:6 Bb5:2 Ab5:4 Eb5:4 | D6:6 C6:2 Bb5:4 F5:4 | F5:4 Ab5:4 Db6:6 C6:2 | B5:4 G5:4 D5:4 B4:4",
       .Bells = "Eb6:16 | F6:16 | Ab6:16 | G6:16",
       .Bass = "0.0.0.030.0.0.03", .Arp = "0123212301232123", .Drums = gallop},
  };
  song.Orders = {0, 1, 2, 3, 4, 1, 2, 0, 3, 4, 2};
  song.RestartPosition = 1;
  return song;
}

// clang-format on

}  // namespace

void GenerateMusic(DataTree& tree) {
  const std::pair<const char*, Song (*)()> kModules[] = {
      {"MUSIC/TITLE.XM", VaultDoors},  {"MUSIC/CREDITS.XM", GoldAtLast},  {"MUSIC/CAVERNS.XM", DeepCaverns},
      {"MUSIC/MEADOW.XM", OpenMeadow}, {"MUSIC/MACHINE.XM", MachineHall}, {"MUSIC/LAVA.XM", FireBelow},
  };
  for (const auto& [path, compose] : kModules) tree.Add(path, xm::Write(Arrange(compose())));
}

}  // namespace zandrel::data
