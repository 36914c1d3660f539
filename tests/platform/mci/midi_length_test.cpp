#include "platform/mci/midi_length.h"

#include <gtest/gtest.h>

#include "tests/platform/mci/midi_writer.h"

namespace zandrel::mci {
namespace {

using test::MidiEvent;
using test::MidiFile;
using test::Tempo;

const std::vector<std::uint8_t> kNoteOn = {0x90, 0x3C, 0x64};
const std::vector<std::uint8_t> kNoteOff = {0x80, 0x3C, 0x00};

TEST(MidiLength, FollowsTheTempoMap) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> file;
    std::uint32_t ms;
  } cases[] = {
      {"120 beats a minute before any tempo", MidiFile(0, 480, {{{0, kNoteOn}, {960, kNoteOff}}}), 1000},
      {"tempo changes along one track",
       MidiFile(0, 480, {{{0, Tempo(1000000)}, {0, kNoteOn}, {480, Tempo(250000)}, {960, kNoteOff}}}), 1500},
      {"conductor track of a multi-track file, notes longer than it",
       MidiFile(1, 480, {{{0, Tempo(600000)}, {960, Tempo(300000)}}, {{0, kNoteOn}, {1920, kNoteOff}}}), 1800},
      {"tempo change in a later track applies to all",
       MidiFile(1, 480, {{{0, kNoteOn}, {960, kNoteOff}}, {{480, Tempo(1000000)}}}), 1500},
      {"tempo change at the last tick changes nothing",
       MidiFile(1, 480, {{{0, kNoteOn}, {480, kNoteOff}}, {{480, Tempo(100000)}}}), 500},
      {"running status", MidiFile(0, 96, {{{0, kNoteOn}, {96, {0x3C, 0x00}}, {96, {0x3E, 0x64}}, {96, {0x3E, 0x00}}}}),
       1500},
      {"program change, channel pressure and sysex",
       MidiFile(0, 480, {{{0, {0xC0, 0x05}}, {240, {0xD0, 0x40}}, {240, {0xF0, 0x02, 0x7E, 0xF7}}}}), 500},
      {"time code: 25 frames of 40 ticks a second, tempo ignored",
       MidiFile(0, 0xE728, {{{0, Tempo(100000)}, {2500, kNoteOff}}}), 2500},
      {"long delta in four bytes", MidiFile(0, 1000, {{{0x0FFFFFFF, kNoteOff}}}), 134217727},
  };
  for (const auto& c : cases) EXPECT_EQ(MidiLengthMs(c.file), c.ms) << c.name;
}

TEST(MidiLength, SkipsOtherChunksAndStopsAtDamage) {
  std::vector<std::uint8_t> file = MidiFile(1, 480, {{{0, Tempo(500000)}}, {{0, kNoteOn}, {480, kNoteOff}}});
  // A chunk of another kind between the header and the tracks.
  const std::vector<std::uint8_t> extra = {'X', 'Y', 'Z', 'W', 0, 0, 0, 3, 1, 2, 3};
  file.insert(file.begin() + 14, extra.begin(), extra.end());
  EXPECT_EQ(MidiLengthMs(file), 500u);

  // Cut inside the last note-off: the note-on is the last whole event.
  std::vector<std::uint8_t> cut = MidiFile(0, 480, {{{0, kNoteOn}, {480, kNoteOn}, {480, kNoteOff}}});
  cut.resize(cut.size() - 5);
  EXPECT_EQ(MidiLengthMs(cut), 500u);

  // Data bytes with no status to run on end the track.
  EXPECT_EQ(MidiLengthMs(MidiFile(0, 480, {{{480, {0x3C, 0x00}}, {480, kNoteOn}}})), 0u);
  // A system message inside a file.
  EXPECT_EQ(MidiLengthMs(MidiFile(0, 480, {{{480, kNoteOn}, {480, {0xF2, 0x00, 0x00}}}})), 500u);
  // A meta event longer than its track.
  EXPECT_EQ(MidiLengthMs(MidiFile(0, 480, {{{480, kNoteOn}, {480, {0xFF, 0x01, 0x7F, 'a'}}}})), 500u);
}

TEST(MidiLength, RefusesWhatIsNoMidiHeader) {
  const std::vector<std::uint8_t> good = MidiFile(0, 480, {{{0, kNoteOn}}});
  std::vector<std::uint8_t> wrongTag = good, zeroDivision = good, shortHeader = good, hugeHeader = good;
  wrongTag[0] = 'R';
  zeroDivision[12] = zeroDivision[13] = 0;
  shortHeader[7] = 5;
  hugeHeader[4] = 0x7F;
  std::vector<std::uint8_t> empty;
  for (const auto* file : {&wrongTag, &zeroDivision, &shortHeader, &hugeHeader, &empty}) {
    EXPECT_EQ(MidiLengthMs(*file), std::nullopt);
  }
  EXPECT_EQ(MidiLengthMs(std::span(good).first(13)), std::nullopt);
}

}  // namespace
}  // namespace zandrel::mci
