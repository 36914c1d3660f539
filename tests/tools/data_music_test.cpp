#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/music.h"
#include "platform/win/files.h"
#include "tests/tools/bank_music.h"
#include "tools/data/data_tree.h"
#include "tools/data/generators.h"
#include "tools/data/music_score.h"
#include "tools/data/music_xm.h"

namespace zandrel::data {
namespace {

// ---- a reader of the module files, independent of the writer ----------------------------------

struct ReadInstrument {
  std::string Name;
  std::vector<std::int16_t> Sample;
  std::uint32_t LoopStart = 0, LoopLength = 0;
  int RelativeNote = 0, Finetune = 0;
  int EnvelopePoints = 0;
};

struct ReadModule {
  std::string Name;
  int Version = 0, Channels = 0, Speed = 0, Bpm = 0, Restart = 0, Flags = 0;
  std::vector<int> Orders;
  std::vector<xm::Pattern> Patterns;
  std::vector<ReadInstrument> Instruments;
};

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : b_(bytes) {}
  bool Has(std::size_t n) const { return at_ + n <= b_.size(); }
  std::uint32_t U8() { return Has(1) ? b_[at_++] : Fail(); }
  std::uint32_t U16() { return U8() | U8() << 8; }
  std::uint32_t U32() { return U16() | U16() << 16; }
  std::string Text(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(U8());
    return s.substr(0, s.find('\0'));
  }
  void Skip(std::size_t n) { Has(n) ? void(at_ += n) : void(Fail()); }
  void Seek(std::size_t at) { at <= b_.size() ? void(at_ = at) : void(Fail()); }
  std::size_t At() const { return at_; }
  bool AtEnd() const { return at_ == b_.size(); }

 private:
  std::uint32_t Fail() { throw std::out_of_range("the module ends early"); }
  const std::vector<std::uint8_t>& b_;
  std::size_t at_ = 0;
};

ReadModule Read(const std::vector<std::uint8_t>& bytes) {
  Reader r(bytes);
  ReadModule m;
  if (r.Text(17) != "Extended Module: ") throw std::runtime_error("no module signature");
  m.Name = r.Text(20);
  if (r.U8() != 0x1A) throw std::runtime_error("no 1A byte");
  r.Skip(20);
  m.Version = static_cast<int>(r.U16());
  const std::size_t headerAt = r.At();
  const std::uint32_t headerSize = r.U32();
  const std::uint32_t songLength = r.U16();
  m.Restart = static_cast<int>(r.U16());
  m.Channels = static_cast<int>(r.U16());
  const std::uint32_t patterns = r.U16();
  const std::uint32_t instruments = r.U16();
  m.Flags = static_cast<int>(r.U16());
  m.Speed = static_cast<int>(r.U16());
  m.Bpm = static_cast<int>(r.U16());
  for (std::uint32_t i = 0; i < 256; ++i) {
    const int order = static_cast<int>(r.U8());
    if (i < songLength) m.Orders.push_back(order);
  }
  r.Seek(headerAt + headerSize);

  for (std::uint32_t p = 0; p < patterns; ++p) {
    const std::size_t start = r.At();
    const std::uint32_t length = r.U32();
    if (r.U8() != 0) throw std::runtime_error("unknown packing");
    xm::Pattern pattern;
    pattern.Rows = static_cast<int>(r.U16());
    const std::uint32_t packed = r.U16();
    r.Seek(start + length);
    const std::size_t end = r.At() + packed;
    while (r.At() < end) {
      xm::Cell cell;
      std::uint8_t* fields[] = {&cell.Note, &cell.Instrument, &cell.Volume, &cell.Effect, &cell.Param};
      const std::uint32_t first = r.U8();
      const std::uint32_t flags = first & 0x80 ? first : 0x1F;
      for (int i = 0; i < 5; ++i) {
        if (flags & (1u << i)) *fields[i] = static_cast<std::uint8_t>(i == 0 && !(first & 0x80) ? first : r.U8());
      }
      pattern.Cells.push_back(cell);
    }
    if (r.At() != end) throw std::runtime_error("a pattern's cells overrun its size");
    m.Patterns.push_back(std::move(pattern));
  }

  for (std::uint32_t i = 0; i < instruments; ++i) {
    const std::size_t start = r.At();
    const std::uint32_t size = r.U32();
    ReadInstrument instrument;
    instrument.Name = r.Text(22);
    r.Skip(1);
    const std::uint32_t samples = r.U16();
    if (samples != 1) throw std::runtime_error("an instrument without exactly one sample");
    const std::uint32_t sampleHeader = r.U32();
    r.Seek(start + 225);
    instrument.EnvelopePoints = static_cast<int>(r.U8());
    r.Seek(start + size);
    const std::size_t sampleStart = r.At();
    const std::uint32_t length = r.U32();
    instrument.LoopStart = r.U32() / 2;
    instrument.LoopLength = r.U32() / 2;
    r.Skip(2);
    const std::uint32_t type = r.U8();
    r.Skip(1);
    instrument.RelativeNote = static_cast<std::int8_t>(r.U8());
    r.Seek(sampleStart + sampleHeader);
    if (!(type & 0x10) || length % 2 != 0) throw std::runtime_error("a sample that is not 16-bit");
    if ((type & 3) == 0) instrument.LoopLength = 0;
    instrument.Finetune = static_cast<std::int8_t>(bytes[sampleStart + 13]);
    std::int16_t value = 0;
    for (std::uint32_t s = 0; s < length / 2; ++s) {
      value = static_cast<std::int16_t>(value + static_cast<std::int16_t>(r.U16()));
      instrument.Sample.push_back(value);
    }
    m.Instruments.push_back(std::move(instrument));
  }
  if (!r.AtEnd()) throw std::runtime_error("bytes after the last sample");
  return m;
}

double Seconds(const ReadModule& m) {
  double rows = 0;
  for (const int order : m.Orders) rows += m.Patterns.at(static_cast<std::size_t>(order)).Rows;
  return rows * m.Speed * 2.5 / m.Bpm;
}

// ---- the generated modules ---------------------------------------------------------------------

// The bank's tracker modules: tree path -> title.
std::map<std::string, std::string> ModulesOfTheBank() {
  std::map<std::string, std::string> modules;
  for (const auto& [n, entry] : ReadBankMusicTable()) {
    if (audio::ChooseMusic(entry.File).Kind == audio::MusicKind::Module) modules[entry.File] = entry.Name;
  }
  return modules;
}

class DataMusic : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const auto start = std::chrono::steady_clock::now();
    GenerateMusic(tree_);
    seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const auto& [path, bytes] : tree_.Files()) modules_.emplace(path, Read(bytes));
  }
  static DataTree tree_;
  static double seconds_;
  static std::map<std::string, ReadModule> modules_;
};
DataTree DataMusic::tree_;
double DataMusic::seconds_ = 0;
std::map<std::string, ReadModule> DataMusic::modules_;

TEST_F(DataMusic, EveryModuleTheBankNamesIsMadeUnderItsTitle) {
  const std::map<std::string, std::string> expected = ModulesOfTheBank();
  ASSERT_EQ(expected.size(), 6u) << "the bank could not be read";
  EXPECT_EQ(tree_.Files().size(), expected.size());
  for (const auto& [path, title] : expected) {
    ASSERT_TRUE(modules_.count(path)) << path;
    EXPECT_EQ(modules_.at(path).Name, title) << path;
  }
}

TEST_F(DataMusic, EveryModuleIsAWholeSmallLoopingSong) {
  for (const auto& [path, m] : modules_) {
    SCOPED_TRACE(path);
    const std::size_t size = tree_.Files().at(path).size();
    EXPECT_GE(size, 20u * 1024);
    EXPECT_LE(size, 400u * 1024);
    EXPECT_EQ(m.Version, 0x0104);
    EXPECT_EQ(m.Flags & 1, 1) << "linear frequencies";
    ASSERT_FALSE(m.Orders.empty());
    EXPECT_GT(m.Restart, 0) << "the loop should skip the introduction";
    EXPECT_LT(m.Restart, static_cast<int>(m.Orders.size()));
    EXPECT_GE(std::set<int>(m.Orders.begin(), m.Orders.end()).size(), 4u) << "too little variation";
    const double seconds = Seconds(m);
    EXPECT_GE(seconds, path == "MUSIC/TITLE.XM" ? 90.0 : 60.0);
    EXPECT_LE(seconds, 120.0);

    std::set<int> used;
    std::vector<int> notesPerChannel(static_cast<std::size_t>(m.Channels));
    for (const int order : m.Orders) {
      ASSERT_LT(order, static_cast<int>(m.Patterns.size()));
      const xm::Pattern& pattern = m.Patterns[static_cast<std::size_t>(order)];
      ASSERT_EQ(pattern.Cells.size(), static_cast<std::size_t>(pattern.Rows * m.Channels));
      for (std::size_t i = 0; i < pattern.Cells.size(); ++i) {
        const xm::Cell& cell = pattern.Cells[i];
        EXPECT_LE(cell.Note, xm::kKeyOff);
        EXPECT_LE(cell.Instrument, m.Instruments.size());
        EXPECT_TRUE(cell.Volume == 0 || cell.Volume <= 0x50);
        if (cell.Note >= 1 && cell.Note <= 96) {
          ++notesPerChannel[i % static_cast<std::size_t>(m.Channels)];
          used.insert(cell.Instrument);
        }
      }
    }
    for (int c = 0; c < m.Channels; ++c)
      EXPECT_GT(notesPerChannel[static_cast<std::size_t>(c)], 0) << "channel " << c << " is silent";
    EXPECT_EQ(used.size(), m.Instruments.size()) << "an instrument is never played";
  }
}

// A tone's loop must join without a click, and the note C-4 must sound as middle C: the
// sample's period, measured, and the tuning in its header have to agree.
TEST_F(DataMusic, LoopedInstrumentsJoinCleanlyAndAreInTune) {
  for (const auto& [path, m] : modules_) {
    for (const ReadInstrument& instrument : m.Instruments) {
      SCOPED_TRACE(path + " " + instrument.Name);
      ASSERT_FALSE(instrument.Sample.empty());
      if (instrument.LoopLength == 0) continue;
      ASSERT_LE(instrument.LoopStart + instrument.LoopLength, instrument.Sample.size());
      EXPECT_GT(instrument.EnvelopePoints, 0) << "a held note could never be released";
      const std::int16_t* loop = instrument.Sample.data() + instrument.LoopStart;
      const int n = static_cast<int>(instrument.LoopLength);

      int largestStep = 0;
      for (int i = 1; i < n; ++i) largestStep = std::max(largestStep, std::abs(loop[i] - loop[i - 1]));
      EXPECT_LE(std::abs(loop[0] - loop[n - 1]), largestStep * 1.1 + 2) << "the loop's seam jumps";

      // The first strong peak of the loop's circular autocorrelation is its period.
      const auto correlation = [&](int lag) {
        double sum = 0, energy = 0;
        for (int i = 0; i < n; ++i) {
          sum += static_cast<double>(loop[i]) * loop[(i + lag) % n];
          energy += static_cast<double>(loop[i]) * loop[i];
        }
        return sum / energy;
      };
      int lag = 8;
      while (lag < n / 2 && !(correlation(lag) > 0.8 && correlation(lag) >= correlation(lag - 1) &&
                              correlation(lag) >= correlation(lag + 1)))
        ++lag;
      ASSERT_LT(lag, n / 2) << "no period found";
      const double before = correlation(lag - 1), here = correlation(lag), after = correlation(lag + 1);
      const double period = lag + 0.5 * (before - after) / (before - 2.0 * here + after);
      const double rate = 8363.0 * std::pow(2.0, (instrument.RelativeNote + instrument.Finetune / 128.0) / 12.0);
      const double cents = 1200.0 * std::log2(rate / period / 261.6256);
      EXPECT_NEAR(cents, 0.0, 8.0);
    }
  }
}

TEST_F(DataMusic, GenerationIsQuick) { EXPECT_LT(seconds_, 6.0); }

// ---- the writer and the score on small cases ---------------------------------------------------

xm::Module Small() {
  xm::Module m;
  m.Name = "Small";
  m.Channels = 2;
  m.Orders = {0, 0};
  m.RestartPosition = 1;
  xm::Pattern p{4, std::vector<xm::Cell>(8)};
  p.Cells[0] = {49, 1, 0x50, 0x08, 0x80};  // every field: written plainly
  p.Cells[3] = {xm::kKeyOff, 0, 0, 0, 0};
  p.Cells[5] = {0, 0, 0, 0x0F, 0x03};
  m.Patterns = {p};
  xm::Instrument instrument;
  instrument.Name = "Saw";
  instrument.Sample = {0, 1000, -32768, 32767, -5, 7};
  instrument.LoopStart = 2;
  instrument.LoopLength = 4;
  instrument.RelativeNote = -3;
  instrument.Finetune = -28;
  instrument.Envelope = {{0, 64}, {10, 32}};
  instrument.SustainPoint = 1;
  m.Instruments = {instrument};
  return m;
}

TEST(MusicWriter, SmallModuleReadsBackExactly) {
  const xm::Module m = Small();
  const ReadModule back = Read(xm::Write(m));
  EXPECT_EQ(back.Name, "Small");
  EXPECT_EQ(back.Channels, 2);
  EXPECT_EQ(back.Restart, 1);
  EXPECT_EQ(back.Orders, (std::vector<int>{0, 0}));
  ASSERT_EQ(back.Patterns.size(), 1u);
  EXPECT_EQ(back.Patterns[0].Rows, 4);
  EXPECT_EQ(back.Patterns[0].Cells, m.Patterns[0].Cells);
  ASSERT_EQ(back.Instruments.size(), 1u);
  const ReadInstrument& instrument = back.Instruments[0];
  EXPECT_EQ(instrument.Sample, m.Instruments[0].Sample);  // the differences wrap around
  EXPECT_EQ(instrument.LoopStart, 2u);
  EXPECT_EQ(instrument.LoopLength, 4u);
  EXPECT_EQ(instrument.RelativeNote, -3);
  EXPECT_EQ(instrument.Finetune, -28);
  EXPECT_EQ(instrument.EnvelopePoints, 2);
}

TEST(MusicWriter, RefusesWhatTheFormatCannotHold) {
  const struct {
    const char* what;
    void (*spoil)(xm::Module&);
  } kCases[] = {
      {"an order without its pattern", [](xm::Module& m) { m.Orders.push_back(1); }},
      {"a restart past the orders", [](xm::Module& m) { m.RestartPosition = 2; }},
      {"a loop past the sample", [](xm::Module& m) { m.Instruments[0].LoopLength = 5; }},
      {"a cell naming a missing instrument", [](xm::Module& m) { m.Patterns[0].Cells[2].Instrument = 2; }},
      {"cells not filling the pattern", [](xm::Module& m) { m.Patterns[0].Cells.pop_back(); }},
      {"envelope points out of order", [](xm::Module& m) { m.Instruments[0].Envelope[1].Tick = 0; }},
      {"a sustain point past the envelope", [](xm::Module& m) { m.Instruments[0].SustainPoint = 2; }},
      {"too many channels", [](xm::Module& m) { m.Channels = 33; }},
  };
  for (const auto& c : kCases) {
    xm::Module m = Small();
    c.spoil(m);
    EXPECT_THROW(xm::Write(m), std::logic_error) << c.what;
  }
}

TEST(MusicScore, NotesChordsAndMelodiesLandWhereWritten) {
  EXPECT_EQ(music::NoteNumber("C4"), 60);
  EXPECT_EQ(music::NoteNumber("F#5"), 78);
  EXPECT_EQ(music::NoteNumber("Bb3"), 58);
  const std::vector<music::Chord> chords = music::Chords("Am:8 G7 Dsus4:16");
  ASSERT_EQ(chords.size(), 3u);
  EXPECT_EQ(chords[0].Tones, (std::vector<int>{57, 60, 64}));
  EXPECT_EQ(chords[1].Tones, (std::vector<int>{55, 59, 62, 65}));
  EXPECT_EQ(chords[1].Rows, 8);
  EXPECT_EQ(chords[2].Tones, (std::vector<int>{50, 55, 57}));

  music::PatternBuilder builder(2, 16);
  builder.Melody(0, 1, 40, "C4:4 ~:4 -:2 |", 12, 6);
  builder.ChordRhythm(1, 2, 40, music::Chords("C:16"), "0...3...-.......", -1);
  const xm::Pattern p = builder.Build();
  const auto cell = [&](int channel, int row) { return p.Cells[static_cast<std::size_t>(row * 2 + channel)]; };
  EXPECT_EQ(cell(0, 6).Note, 72 - 11);  // C5, on the tracker's scale
  EXPECT_EQ(cell(0, 10).Note, 0);       // held
  EXPECT_EQ(cell(0, 14).Note, xm::kKeyOff);
  EXPECT_EQ(cell(1, 0).Note, 36 - 11);  // the root an octave down
  EXPECT_EQ(cell(1, 4).Note, 48 - 11);  // past the last chord tone: the root an octave up
  EXPECT_EQ(cell(1, 8).Note, xm::kKeyOff);
}

TEST(MusicScore, RefusesScoresThatDoNotFit) {
  const struct {
    const char* what;
    void (*write)(music::PatternBuilder&);
  } kCases[] = {
      {"a melody too short", [](music::PatternBuilder& b) { b.Melody(0, 1, 40, "C4:4 D4:4"); }},
      {"a melody too long", [](music::PatternBuilder& b) { b.Melody(0, 1, 40, "C4:16 D4:4"); }},
      {"a bar line inside a bar", [](music::PatternBuilder& b) { b.Melody(0, 1, 40, "C4:4 | D4:12"); }},
      {"an unknown note", [](music::PatternBuilder& b) { b.Melody(0, 1, 40, "H4:16"); }},
      {"a note off the tracker's scale", [](music::PatternBuilder& b) { b.Melody(0, 1, 40, "C9:16"); }},
      {"a rhythm not a bar long",
       [](music::PatternBuilder& b) { b.ChordRhythm(0, 1, 40, music::Chords("C:16"), "0...", 0); }},
      {"a progression too long",
       [](music::PatternBuilder& b) { b.ChordRhythm(0, 1, 40, music::Chords("C:32"), "0...............", 0); }},
      {"an unknown chord",
       [](music::PatternBuilder& b) {
         b.Pad({0, 1}, 1, 40, music::Chords("Cm9:16"), 55);
       }},
  };
  for (const auto& c : kCases) {
    music::PatternBuilder builder(2, 16);
    EXPECT_THROW(c.write(builder), std::logic_error) << c.what;
  }
}

}  // namespace
}  // namespace zandrel::data
