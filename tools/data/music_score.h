// Writing tracker patterns from a compact score: melodies as note names with lengths in rows,
// chord progressions, rhythms that pick chord tones, and drum lines.
#pragma once

#include <string_view>
#include <vector>

#include "tools/data/music_xm.h"

namespace zandrel::data::music {

// A chord: its notes as MIDI numbers from the root in octave 3 upwards.
struct Chord {
  std::vector<int> Tones;
  int Rows = 16;
};

// "Am:16 F:8 G7:8": chord names (root, optional # or b, then "", "m", "7", "m7", "maj7",
// "sus2", "sus4", "dim" or "5") with their lengths in rows; a missing length repeats the last.
std::vector<Chord> Chords(std::string_view text);

// The MIDI number of a note name such as "C4", "F#5" or "Bb3" (C4 is 60).
int NoteNumber(std::string_view name);

class PatternBuilder {
 public:
  PatternBuilder(int channels, int rows);

  int Rows() const { return rows_; }

  // Starts `midi` on a channel with an instrument (1-based) at a volume of 0..64.
  void Note(int channel, int row, int midi, int instrument, int volume);
  // Releases the channel's note.
  void Release(int channel, int row);

  // "E5:4 D5:2 C5 -:4 ~:2": notes with lengths in rows ("-" releases, "~" holds the note
  // before); a missing length repeats the last; "|" marks where a bar of 16 rows begins. Throws std::logic_error unless
  // the line fills the pattern from `from` to its end. Notes on the beat are a little louder.
  void Melody(int channel, int instrument, int volume, std::string_view line, int transpose = 0, int from = 0);

  // A rhythm of 16 rows repeated along the progression: a digit picks a chord tone counted from
  // the lowest (past the last it wraps up an octave), '.' holds, '-' releases. Chord tones are
  // placed from `octave` (the root's octave shift from octave 3) upwards.
  void ChordRhythm(int channel, int instrument, int volume, const std::vector<Chord>& chords, std::string_view rhythm,
                   int octave);

  // Holds each chord on the given channels, one voice each, every voice moved to the nearest
  // chord tone of the next chord (a voice that keeps its note is not struck again).
  void Pad(std::vector<int> channels, int instrument, int volume, const std::vector<Chord>& chords, int lowest);

  // A drum line of 16 rows repeated: 'x' strikes, 'X' accents, 'o' strikes softly, '.' rests.
  // `fill`, if given, replaces the last 16 rows.
  void Drums(int channel, int instrument, int volume, std::string_view line, std::string_view fill = {}, int midi = 60);

  // Copies a channel's notes onto another `delay` rows later at a share of their volume: an
  // echo. Notes pushed past the end are dropped.
  void Echo(int from, int to, int delay, double share);

  // Every note struck on the channel also sets its stereo position (0 left .. 255 right).
  void Pan(int channel, int panning);

  xm::Pattern Build() const;

 private:
  xm::Cell& At(int channel, int row);

  int channels_, rows_;
  std::vector<xm::Cell> cells_;
  std::vector<int> panning_;
};

}  // namespace zandrel::data::music
