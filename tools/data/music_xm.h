// A tracker module in memory and its FastTracker 2 ("Extended Module", version 1.04) file form:
// patterns of note cells, instruments of one 16-bit sample each with volume envelopes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zandrel::data::xm {

inline constexpr std::uint8_t kKeyOff = 97;  // the note value that releases a held note
inline constexpr int kMaxChannels = 32;
inline constexpr int kMaxRows = 256;
inline constexpr int kMaxOrders = 256;
inline constexpr int kMaxEnvelopePoints = 12;

// One cell of a pattern; zero fields are empty. Note 1 is C-0, 49 is C-4, 97 releases.
// Volume is the volume column's byte (0x10 + 0..64 sets the volume).
struct Cell {
  std::uint8_t Note = 0, Instrument = 0, Volume = 0, Effect = 0, Param = 0;
  bool operator==(const Cell&) const = default;
};

struct Pattern {
  int Rows = 64;
  std::vector<Cell> Cells;  // Rows * channels, row by row
};

struct EnvelopePoint {
  std::uint16_t Tick = 0;
  std::uint8_t Value = 0;  // 0..64
};

struct Instrument {
  std::string Name;  // up to 22 characters
  std::vector<std::int16_t> Sample;
  std::uint32_t LoopStart = 0;  // in samples; LoopLength 0 plays the sample once
  std::uint32_t LoopLength = 0;
  std::uint8_t Volume = 64;
  std::int8_t Finetune = 0;      // 1/128 semitone
  std::int8_t RelativeNote = 0;  // semitones added to the played note
  std::uint8_t Panning = 128;
  std::vector<EnvelopePoint> Envelope;                               // the volume envelope; empty for none
  int SustainPoint = -1;                                             // the envelope point held until release, or -1
  std::uint16_t Fadeout = 0;                                         // volume lost per tick after release, of 65536
  std::uint8_t VibratoDepth = 0, VibratoRate = 0, VibratoSweep = 0;  // sine auto-vibrato
};

struct Module {
  std::string Name;  // up to 20 characters
  int Channels = 8;
  int Speed = 6;  // ticks per row
  int Bpm = 125;  // a tick lasts 2.5 / Bpm seconds
  int RestartPosition = 0;
  std::vector<std::uint8_t> Orders;
  std::vector<Pattern> Patterns;
  std::vector<Instrument> Instruments;
};

// The file's bytes; throws std::logic_error on a module the format cannot hold (counts,
// sizes or references out of range), which is a fault of the generator.
std::vector<std::uint8_t> Write(const Module& module);

}  // namespace zandrel::data::xm
