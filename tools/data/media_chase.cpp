// "The Chase": a fast, tense piece in D minor for General MIDI. A lead line over driving bass,
// strings that turn to tremolo and then to brass stabs, a pizzicato arpeggio that runs six
// steps against the four of the beat, and drums on channel 10. The theme comes back changed:
// new endings, a soaring middle part, a breakdown, a climax a little faster, and the theme
// again with a second voice a third below.
#include <array>
#include <stdexcept>
#include <string_view>

#include "tools/data/media.h"
#include "tools/data/media_score.h"

namespace zandrel::data::media {
namespace {

using namespace score;

constexpr int kLead = 0, kBass = 1, kChords = 2, kArp = 3, kSecond = 4, kDrums = 9;

enum class Drums { Intro, Main, Ride, Half, Drive };
enum class Bass { Intro, Drive, Long, Pulse, Gallop };
enum class Chords { Sustain, Tremolo, Stabs };

struct Section {
  std::string_view Name;
  double Bpm;
  std::array<std::string_view, 8> Harmony;  // a chord a bar; a section of 4 bars leaves the rest empty
  std::array<std::string_view, 2> Melody;   // phrases played one after the other; none: the lead rests
  Drums Beat;
  Bass Line;
  Chords Pad;
  bool Arpeggio;
  bool SecondVoice;  // the lead doubled a third below
};

// The score is laid out as music: bars apart, one section a line.
// clang-format off
constexpr std::string_view kTheme =
    "D5:2 D5:2 F5:2 D5:2 A5:4 G5:2 F5:2  E5:2 F5:2 E5:2 D5:2 C#5:4 D5:4 "
    "D5:2 D5:2 F5:2 D5:2 Bb5:4 A5:2 G5:2  A5:2 G5:2 F5:2 E5:2 G5:8 ";
constexpr std::string_view kThemeEnd =
    "D5:2 D5:2 F5:2 D5:2 A5:4 C6:2 Bb5:2  A5:2 F5:2 D5:2 F5:2 A5:4 D6:4 "
    "Bb5:2 A5:2 G5:2 Bb5:2 D6:4 Bb5:4  A5:2 G5:2 F5:2 E5:2 C#5:4 E5:2 A4:2";
constexpr std::string_view kThemeOtherEnd =
    "F5:2 E5:2 D5:2 E5:2 F5:2 G5:2 A5:4  Bb5:2 A5:2 G5:2 F5:2 E5:4 A4:4 "
    "D5:2 E5:2 F5:2 G5:2 A5:2 Bb5:2 C#6:4  D6:4 C#6:4 A5:4 E5:4";
constexpr std::string_view kMiddle =
    "F5:6 D5:2 F5:4 Bb5:4  G5:6 E5:2 G5:4 C6:4  A5:4 E5:4 A5:4 C6:4  D6:12 C6:2 A5:2 "
    "Bb5:6 F5:2 Bb5:4 D6:4  C6:6 G5:2 E6:4 C6:4  Bb5:4 G5:4 E5:4 G5:4  A5:2 B5:2 C#6:2 D6:2 E6:8";
constexpr std::string_view kClimax =
    "G5:1 A5:1 Bb5:1 C6:1 D6:2 Bb5:2 G5:2 D5:2 G5:2 Bb5:2  A5:1 Bb5:1 C#6:1 D6:1 E6:2 C#6:2 A5:2 E5:2 A5:2 C#6:2 "
    "D6:2 A5:2 F5:2 A5:2 D6:2 F6:2 E6:2 D6:2  F6:4 D6:2 Bb5:2 F5:4 Bb5:4 "
    "G5:1 A5:1 Bb5:1 C6:1 D6:2 G6:2 F6:2 D6:2 Bb5:2 G5:2  A5:1 Bb5:1 C#6:1 D6:1 E6:2 A6:2 G6:2 E6:2 C#6:2 A5:2 "
    "D6:2 F6:2 A6:4 G6:2 F6:2 E6:2 D6:2  C#6:4 E6:4 A6:8";
constexpr std::string_view kLast = "D6:4 A5:4 F5:4 D5:4  D5:4 F5:4 Bb5:8  A5:16  r:16";

const Section kSong[] = {
    {"Intro", 150, {"Dm", "Dm", "Dm", "Dm"}, {}, Drums::Intro, Bass::Intro, Chords::Sustain, false, false},
    {"Theme", 150, {"Dm", "Dm", "Bb", "C", "Dm", "Dm", "Gm", "A"}, {kTheme, kThemeEnd}, Drums::Main, Bass::Drive, Chords::Sustain, false, false},
    {"Theme again", 150, {"Dm", "Dm", "Bb", "C", "Dm", "Dm", "Gm", "A"}, {kTheme, kThemeOtherEnd}, Drums::Main, Bass::Drive, Chords::Sustain, true, false},
    {"Middle", 150, {"Bb", "C", "Am", "Dm", "Bb", "C", "Edim", "A"}, {kMiddle}, Drums::Ride, Bass::Long, Chords::Sustain, true, false},
    {"Breakdown", 150, {"Dm", "Eb", "Dm", "A"}, {}, Drums::Half, Bass::Pulse, Chords::Tremolo, true, false},
    {"Climax", 158, {"Gm", "A", "Dm", "Bb", "Gm", "A", "Dm", "A"}, {kClimax}, Drums::Drive, Bass::Gallop, Chords::Stabs, true, false},
    {"Theme in two voices", 150, {"Dm", "Dm", "Bb", "C", "Dm", "Dm", "Gm", "A"}, {kTheme, kThemeEnd}, Drums::Main, Bass::Drive, Chords::Sustain, false, true},
    {"Close", 150, {"Dm", "Bb", "A", "A"}, {kLast}, Drums::Main, Bass::Drive, Chords::Sustain, false, false},
};
// clang-format on

int Bars(const Section& s) { return s.Harmony[4].empty() ? 4 : 8; }

// The key two steps down the D minor scale; C sharp, the leading note, goes down to A, and
// a note outside the scale moves as the scale note below it does.
int ThirdBelow(int key) {
  static constexpr int kScale[] = {0, 2, 3, 5, 7, 8, 10};  // D E F G A Bb C, above D
  const int fromD = ((key - 2) % 12 + 12) % 12;
  const int d = key - fromD;
  if (fromD == 11) return d + 7;
  int degree = 6;
  while (kScale[degree] > fromD) --degree;
  return degree >= 2 ? d + kScale[degree - 2] : d - 12 + kScale[degree + 5];
}

struct DrumPart {
  int Key;
  std::string_view Steps;  // 'X' accent, 'x' normal, 'o' ghost
};

std::vector<DrumPart> DrumBar(Drums beat, bool fill) {
  constexpr int kKick = 36, kSnare = 38, kHat = 42, kOpenHat = 46, kRide = 51, kTambourine = 54, kHighTom = 50,
                kMidTom = 47, kLowTom = 45;
  if (fill) {
    return {{kKick, "X..x..X.X...X..."},    {kSnare, "....X...x.x.xxXX"},  {kHat, "xoxoxoxo........"},
            {kHighTom, "........X.x....."}, {kMidTom, "..........o.X..."}, {kLowTom, "............o.X."}};
  }
  switch (beat) {
    case Drums::Intro: return {{kKick, "X.....x.X.....x."}, {kHat, "x.o.x.o.x.o.x.o."}, {kSnare, "..........o....."}};
    case Drums::Main:
      return {{kKick, "X..x..X...x..x.."},
              {kSnare, "....X.......X..."},
              {kHat, "xoxoxoxoxoxoxo.o"},
              {kOpenHat, "..............x."}};
    case Drums::Ride:
      return {{kKick, "X.....x.X.....x."},
              {kSnare, "....X.......X..o"},
              {kRide, "x.x.x.x.x.x.x.x."},
              {kHat, "..o...o...o...o."}};
    case Drums::Half: return {{kKick, "X.........x....."}, {kSnare, "........X......."}, {kHat, "x...x...x...x..."}};
    case Drums::Drive:
      return {{kKick, "X.x.X.x.X.x.X.x."},
              {kSnare, "....X..o....X..x"},
              {kHat, "xxxxxxxxxxxxxxxx"},
              {kTambourine, "..x...x...x...x."}};
  }
  return {};
}

// 'r' root, 'o' the root an octave up, 'f' the fifth.
std::string_view BassBar(Bass line) {
  switch (line) {
    case Bass::Intro: return "r.r.r.r.r.r.r.ro";
    case Bass::Drive: return "r.r.o.r.r.r.o.rf";
    case Bass::Long: return "r--.r--.f--.o-r-";
    case Bass::Pulse: return "r.......r.....r.";
    case Bass::Gallop: return "r.rrr.rro.oor.rr";
  }
  return "";
}

int DrumVelocity(char mark) { return mark == 'X' ? 118 : mark == 'x' ? 92 : 58; }

class Writer {
 public:
  Writer()
      : conductor_("The Chase"),
        lead_("Lead"),
        bass_("Bass"),
        chords_("Strings and brass"),
        arp_("Pizzicato"),
        second_("Second voice"),
        drums_("Drums"),
        feel_(505) {
    conductor_.TimeSignature(0, 4, 2);
    struct Voice {
      midi::Track& Track;
      int Channel, Program, Volume, Pan, Reverb;
    };
    // Volumes leave room: a General MIDI synthesiser at full gain must not clip the sum.
    const Voice voices[] = {{lead_, kLead, 81, 58, 64, 40},     {bass_, kBass, 38, 66, 64, 10},
                            {chords_, kChords, 48, 50, 44, 60}, {arp_, kArp, 45, 48, 88, 50},
                            {second_, kSecond, 61, 48, 78, 50}, {drums_, kDrums, 0, 68, 64, 30}};
    for (const Voice& v : voices) {
      v.Track.Program(0, v.Channel, v.Program);
      v.Track.Controller(0, v.Channel, 7, v.Volume);
      v.Track.Controller(0, v.Channel, 10, v.Pan);
      v.Track.Controller(0, v.Channel, 91, v.Reverb);
    }
  }

  std::vector<std::uint8_t> Write() {
    std::uint32_t at = 0;
    double bpm = 0;
    Chords pad = Chords::Sustain;
    for (const Section& s : kSong) {
      conductor_.Marker(at, s.Name);
      if (s.Bpm != bpm) conductor_.Tempo(at, bpm = s.Bpm);
      if (s.Pad != pad)
        chords_.Program(at, kChords, (pad = s.Pad) == Chords::Stabs ? 61 : pad == Chords::Tremolo ? 44 : 48);
      if (!s.Melody[0].empty()) Melody(at, s);
      const int bars = Bars(s);
      for (int bar = 0; bar < bars; ++bar) {
        const std::uint32_t start = at + static_cast<std::uint32_t>(bar) * kBar;
        const std::vector<int> chord = ChordClasses(s.Harmony[static_cast<std::size_t>(bar)]);
        const bool lastBar = bar == bars - 1;
        Drum(start, s.Beat, lastBar, bar == 0);
        BassLine(start, s.Line, chord[0]);
        Pad(start, s.Pad, chord);
        if (s.Arpeggio) Arpeggio(start, chord);
      }
      at += static_cast<std::uint32_t>(bars) * kBar;
    }
    const midi::Track tracks[] = {conductor_, lead_, bass_, chords_, arp_, second_, drums_};
    return midi::EncodeFile(tracks, kQuarter);
  }

 private:
  void Melody(std::uint32_t at, const Section& s) {
    std::vector<Tone> phrase = Phrase(s.Melody[0]);
    const std::vector<Tone> rest = Phrase(s.Melody[1]);
    phrase.insert(phrase.end(), rest.begin(), rest.end());
    if (PhraseSteps(phrase) != Bars(s) * 16) throw std::logic_error("The Chase: a melody does not fill its section");
    std::uint32_t t = at;
    for (const Tone& tone : phrase) {
      const std::uint32_t length = static_cast<std::uint32_t>(tone.Steps) * kStep;
      if (tone.Key >= 0) {
        // Short notes detached, long ones nearly tied; the beats a little louder.
        const std::uint32_t sounding = tone.Steps <= 2 ? length * 3 / 4 : length - kStep / 4;
        const int velocity = feel_.Velocity((t - at) % kQuarter == 0 ? 104 : 92);
        lead_.Note(t, sounding, kLead, tone.Key, velocity);
        if (s.SecondVoice) second_.Note(t, sounding, kSecond, ThirdBelow(tone.Key), velocity - 14);
      }
      t += length;
    }
  }

  void Drum(std::uint32_t start, Drums beat, bool fill, bool sectionStart) {
    if (sectionStart) drums_.Note(start, kStep * 4, kDrums, 49, 112);  // crash
    for (const DrumPart& part : DrumBar(beat, fill)) {
      for (const Hit& hit : Pattern(part.Steps)) {
        drums_.Note(start + static_cast<std::uint32_t>(hit.Step) * kStep, kStep / 2, kDrums, part.Key,
                    feel_.Velocity(DrumVelocity(hit.Mark), 5));
      }
    }
  }

  void BassLine(std::uint32_t start, Bass line, int rootClass) {
    const int root = InRange(rootClass, 33);
    for (const Hit& hit : Pattern(BassBar(line))) {
      const int key = hit.Mark == 'o' ? root + 12 : hit.Mark == 'f' ? root + 7 : root;
      const std::uint32_t length = static_cast<std::uint32_t>(hit.Steps) * kStep;
      bass_.Note(start + static_cast<std::uint32_t>(hit.Step) * kStep, length * 4 / 5, kBass, key,
                 feel_.Velocity(hit.Step % 4 == 0 ? 110 : 96));
    }
  }

  void Pad(std::uint32_t start, Chords pad, const std::vector<int>& chord) {
    std::vector<int> keys;
    for (int pitchClass : chord) keys.push_back(InRange(pitchClass, 55));
    if (pad == Chords::Stabs) {
      for (const Hit& hit : Pattern("X..x..X.x..x..X.")) {
        for (int key : keys) {
          chords_.Note(start + static_cast<std::uint32_t>(hit.Step) * kStep, kStep, kChords, key,
                       hit.Mark == 'X' ? 112 : 96);
        }
      }
      return;
    }
    const int velocity = pad == Chords::Tremolo ? 84 : 68;
    for (int key : keys) chords_.Note(start, kBar - kStep / 4, kChords, key, velocity);
  }

  // Up and down the chord in sixes of sixteenths: a figure that slides against the bar.
  void Arpeggio(std::uint32_t start, const std::vector<int>& chord) {
    const int keys[] = {InRange(chord[0], 62), InRange(chord[1], 62), InRange(chord[2], 62),
                        InRange(chord[0], 62) + 12};
    static constexpr int kFigure[] = {0, 1, 2, 3, 2, 1};
    for (int step = 0; step < 16; ++step) {
      arp_.Note(start + static_cast<std::uint32_t>(step) * kStep, kStep / 2, kArp, keys[kFigure[step % 6]],
                feel_.Velocity(step % 6 == 0 ? 86 : 70));
    }
  }

  midi::Track conductor_, lead_, bass_, chords_, arp_, second_, drums_;
  Humaniser feel_;
};

}  // namespace

std::vector<std::uint8_t> ChaseMidi() { return Writer().Write(); }

}  // namespace zandrel::data::media
