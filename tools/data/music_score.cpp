#include "tools/data/music_score.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace zandrel::data::music {
namespace {

[[noreturn]] void Fail(std::string_view what, std::string_view text) {
  throw std::logic_error("score: " + std::string(what) + " in \"" + std::string(text) + "\"");
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && text[at] == ' ') ++at;
    const std::size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

// Splits "name:rows"; without ":rows" the length stays `rows`.
std::string_view NameAndRows(std::string_view word, int& rows) {
  const std::size_t colon = word.find(':');
  if (colon == std::string_view::npos) return word;
  const std::string digits(word.substr(colon + 1));
  if (digits.empty() || digits.size() > 3 || !std::all_of(digits.begin(), digits.end(), ::isdigit))
    Fail("a bad length", word);
  rows = std::atoi(digits.c_str());
  if (rows <= 0) Fail("a zero length", word);
  return word.substr(0, colon);
}

// The pitch class of a note letter with its accidental; `used` is how many characters it took.
int PitchClass(std::string_view name, std::size_t& used) {
  static constexpr int kLetters[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.empty() || name[0] < 'A' || name[0] > 'G') Fail("no note letter", name);
  int pitch = kLetters[name[0] - 'A'];
  used = 1;
  if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) {
    pitch += name[1] == '#' ? 1 : -1;
    used = 2;
  }
  return pitch;
}

std::uint8_t VolumeByte(int volume) { return static_cast<std::uint8_t>(0x10 + std::clamp(volume, 0, 64)); }

// Notes on the beat sound a little stronger than those between.
int Accented(int volume, int row) {
  if (row % 16 == 0) return volume + 3;
  return row % 4 == 0 ? volume : volume - 5;
}

}  // namespace

int NoteNumber(std::string_view name) {
  std::size_t used = 0;
  const int pitch = PitchClass(name, used);
  if (used + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[used]))) Fail("a bad note", name);
  return 12 * (name[used] - '0' + 1) + pitch;
}

std::vector<Chord> Chords(std::string_view text) {
  static const std::pair<std::string_view, std::vector<int>> kQualities[] = {
      {"", {0, 4, 7}},     {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}},
      {"sus2", {0, 2, 7}}, {"sus4", {0, 5, 7}}, {"dim", {0, 3, 6}},   {"5", {0, 7}}};
  std::vector<Chord> chords;
  int rows = 16;
  for (const std::string_view word : Words(text)) {
    const std::string_view name = NameAndRows(word, rows);
    std::size_t used = 0;
    const int root = 48 + PitchClass(name, used);
    const std::string_view quality = name.substr(used);
    const auto found =
        std::find_if(std::begin(kQualities), std::end(kQualities), [&](const auto& q) { return q.first == quality; });
    if (found == std::end(kQualities)) Fail("an unknown chord", word);
    Chord chord{{}, rows};
    for (const int step : found->second) chord.Tones.push_back(root + step);
    chords.push_back(std::move(chord));
  }
  return chords;
}

PatternBuilder::PatternBuilder(int channels, int rows)
    : channels_(channels),
      rows_(rows),
      cells_(static_cast<std::size_t>(channels * rows)),
      panning_(static_cast<std::size_t>(channels), -1) {
  if (channels < 1 || channels > xm::kMaxChannels || rows < 1 || rows > xm::kMaxRows)
    throw std::logic_error("score: a bad pattern size");
}

xm::Cell& PatternBuilder::At(int channel, int row) {
  if (channel < 0 || channel >= channels_ || row < 0 || row >= rows_)
    throw std::logic_error("score: a cell outside the pattern");
  return cells_[static_cast<std::size_t>(row * channels_ + channel)];
}

void PatternBuilder::Note(int channel, int row, int midi, int instrument, int volume) {
  const int note = midi - 11;  // MIDI 60, middle C, is the tracker's C-4
  if (note < 1 || note > 96 || instrument < 1 || instrument > 128) throw std::logic_error("score: a note out of range");
  xm::Cell& cell = At(channel, row);
  cell.Note = static_cast<std::uint8_t>(note);
  cell.Instrument = static_cast<std::uint8_t>(instrument);
  cell.Volume = VolumeByte(volume);
}

void PatternBuilder::Release(int channel, int row) { At(channel, row) = xm::Cell{.Note = xm::kKeyOff}; }

void PatternBuilder::Melody(int channel, int instrument, int volume, std::string_view line, int transpose, int from) {
  int row = from;
  int rows = 4;
  for (const std::string_view word : Words(line)) {
    if (word == "|") {
      if (row % 16 != 0) Fail("a bar line inside a bar", line);
      continue;
    }
    const std::string_view name = NameAndRows(word, rows);
    if (row + rows > rows_) Fail("a melody longer than its pattern", line);
    if (name == "-") {
      Release(channel, row);
    } else if (name != "~") {
      Note(channel, row, NoteNumber(name) + transpose, instrument, Accented(volume, row));
    }
    row += rows;
  }
  if (row != rows_) Fail("a melody shorter than its pattern", line);
}

void PatternBuilder::ChordRhythm(int channel, int instrument, int volume, const std::vector<Chord>& chords,
                                 std::string_view rhythm, int octave) {
  if (rhythm.size() != 16) Fail("a rhythm not 16 rows long", rhythm);
  int row = 0;
  for (const Chord& chord : chords) {
    const int count = static_cast<int>(chord.Tones.size());
    for (int r = row; r < row + chord.Rows; ++r) {
      if (r >= rows_) Fail("a progression longer than its pattern", rhythm);
      const char c = rhythm[static_cast<std::size_t>(r % 16)];
      if (c == '-') {
        Release(channel, r);
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        const int index = c - '0';
        const int midi = chord.Tones[static_cast<std::size_t>(index % count)] + 12 * (octave + index / count);
        Note(channel, r, midi, instrument, Accented(volume, r));
      } else if (c != '.') {
        Fail("an unknown rhythm mark", rhythm);
      }
    }
    row += chord.Rows;
  }
}

void PatternBuilder::Pad(std::vector<int> channels, int instrument, int volume, const std::vector<Chord>& chords,
                         int lowest) {
  const std::size_t voices = channels.size();
  std::vector<int> held;
  int row = 0;
  for (const Chord& chord : chords) {
    // Chord tones over two octaves from the lowest note; a voicing is `voices` of them in a row.
    std::vector<int> pitches;
    for (int midi = lowest; midi < lowest + 24; ++midi) {
      for (const int tone : chord.Tones) {
        if ((midi - tone) % 12 == 0) pitches.push_back(midi);
      }
    }
    if (pitches.size() < voices) throw std::logic_error("score: a chord with too few notes for its voices");
    std::size_t best = 0;
    int bestMove = INT_MAX;
    for (std::size_t first = 0; first + voices <= pitches.size(); ++first) {
      int move = 0;
      for (std::size_t v = 0; v < voices && !held.empty(); ++v) move += std::abs(pitches[first + v] - held[v]);
      if (held.empty()) move = static_cast<int>(first);  // the first chord sits lowest
      if (move < bestMove) {
        bestMove = move;
        best = first;
      }
    }
    for (std::size_t v = 0; v < voices; ++v) {
      const int midi = pitches[best + v];
      if (held.empty() || held[v] != midi) Note(channels[v], row, midi, instrument, volume);
    }
    held.assign(pitches.begin() + static_cast<long>(best), pitches.begin() + static_cast<long>(best + voices));
    row += chord.Rows;
  }
  if (row > rows_) throw std::logic_error("score: a progression longer than its pattern");
}

void PatternBuilder::Drums(int channel, int instrument, int volume, std::string_view line, std::string_view fill,
                           int midi) {
  if (line.size() != 16 || (!fill.empty() && fill.size() != 16)) Fail("a drum line not 16 rows long", line);
  for (int row = 0; row < rows_; ++row) {
    const std::string_view bar = !fill.empty() && row >= rows_ - 16 ? fill : line;
    const char c = bar[static_cast<std::size_t>(row % 16)];
    if (c == '.') continue;
    if (c != 'x' && c != 'X' && c != 'o') Fail("an unknown drum mark", bar);
    Note(channel, row, midi, instrument, c == 'X' ? volume + 8 : c == 'o' ? volume * 3 / 5 : volume);
  }
}

void PatternBuilder::Echo(int from, int to, int delay, double share) {
  for (int row = rows_ - 1 - delay; row >= 0; --row) {
    const xm::Cell source = At(from, row);
    if (source.Note == 0) continue;
    xm::Cell& target = At(to, row + delay);
    target = source;
    if (source.Volume >= 0x10) target.Volume = VolumeByte(static_cast<int>((source.Volume - 0x10) * share + 0.5));
  }
}

void PatternBuilder::Pan(int channel, int panning) {
  At(channel, 0);
  panning_[static_cast<std::size_t>(channel)] = std::clamp(panning, 0, 255);
}

xm::Pattern PatternBuilder::Build() const {
  xm::Pattern pattern{rows_, cells_};
  for (int row = 0; row < rows_; ++row) {
    for (int channel = 0; channel < channels_; ++channel) {
      const int panning = panning_[static_cast<std::size_t>(channel)];
      xm::Cell& cell = pattern.Cells[static_cast<std::size_t>(row * channels_ + channel)];
      if (panning >= 0 && cell.Note >= 1 && cell.Note <= 96 && cell.Effect == 0 && cell.Param == 0) {
        cell.Effect = 0x08;
        cell.Param = static_cast<std::uint8_t>(panning);
      }
    }
  }
  return pattern;
}

}  // namespace zandrel::data::music
