#include "tools/data/media_midi.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

namespace zandrel::data::midi {
namespace {

void Check(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(what);
}

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Check(value <= 0x0FFFFFFF, "MIDI: a variable-length number above 28 bits");
  int shift = 21;
  while (shift > 0 && (value >> shift) == 0) shift -= 7;
  for (; shift > 0; shift -= 7) out.push_back(static_cast<std::uint8_t>(0x80 | ((value >> shift) & 0x7F)));
  out.push_back(static_cast<std::uint8_t>(value & 0x7F));
}

Track::Track(std::string_view name) {
  AddMeta(0, 0x03, {reinterpret_cast<const std::uint8_t*>(name.data()), name.size()});
}

void Track::AddMeta(std::uint32_t tick, std::uint8_t type, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> bytes = {0xFF, type};
  AppendVariableLength(bytes, static_cast<std::uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  events_.push_back({tick, Order::Meta, std::move(bytes)});
}

void Track::AddChannel(std::uint32_t tick, Order kind, std::uint8_t status, int channel,
                       std::initializer_list<int> data) {
  Check(channel >= 0 && channel < 16, "MIDI: a channel outside 0..15");
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(status | channel)};
  for (int value : data) {
    Check(value >= 0 && value < 128, "MIDI: a data byte outside 0..127");
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  events_.push_back({tick, kind, std::move(bytes)});
}

void Track::Tempo(std::uint32_t tick, double beatsPerMinute) {
  Check(beatsPerMinute >= 4.0 && beatsPerMinute <= 1000.0, "MIDI: a tempo outside 4..1000 beats a minute");
  const auto microseconds = static_cast<std::uint32_t>(std::lround(60'000'000.0 / beatsPerMinute));
  const std::uint8_t data[] = {static_cast<std::uint8_t>(microseconds >> 16),
                               static_cast<std::uint8_t>(microseconds >> 8), static_cast<std::uint8_t>(microseconds)};
  AddMeta(tick, 0x51, data);
}

void Track::TimeSignature(std::uint32_t tick, int numerator, int denominatorPower) {
  Check(numerator > 0 && numerator < 256 && denominatorPower >= 0 && denominatorPower < 8,
        "MIDI: an impossible time signature");
  // 24 clocks a metronome click, eight 32nd notes a quarter.
  const std::uint8_t data[] = {static_cast<std::uint8_t>(numerator), static_cast<std::uint8_t>(denominatorPower), 24,
                               8};
  AddMeta(tick, 0x58, data);
}

void Track::Marker(std::uint32_t tick, std::string_view text) {
  AddMeta(tick, 0x06, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void Track::Program(std::uint32_t tick, int channel, int program) {
  AddChannel(tick, Order::Control, 0xC0, channel, {program});
}

void Track::Controller(std::uint32_t tick, int channel, int controller, int value) {
  AddChannel(tick, Order::Control, 0xB0, channel, {controller, value});
}

void Track::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
  Check(length > 0 && tick + length > tick, "MIDI: a note without length");
  Check(velocity > 0, "MIDI: a note-on of velocity 0 is a note-off");
  AddChannel(tick, Order::NoteOn, 0x90, channel, {key, velocity});
  AddChannel(tick + length, Order::NoteOff, 0x80, channel, {key, 64});
}

std::vector<std::uint8_t> Track::Encode() const {
  std::vector<const Event*> sorted;
  sorted.reserve(events_.size());
  for (const Event& e : events_) sorted.push_back(&e);
  std::stable_sort(sorted.begin(), sorted.end(), [](const Event* a, const Event* b) {
    return a->Tick != b->Tick ? a->Tick < b->Tick : a->Kind < b->Kind;
  });

  std::vector<std::uint8_t> body;
  std::uint32_t now = 0;
  for (const Event* e : sorted) {
    AppendVariableLength(body, e->Tick - now);
    body.insert(body.end(), e->Bytes.begin(), e->Bytes.end());
    now = e->Tick;
  }
  const std::uint8_t end[] = {0x00, 0xFF, 0x2F, 0x00};
  body.insert(body.end(), std::begin(end), std::end(end));

  std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
  AppendBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<std::uint8_t> EncodeFile(std::span<const Track> tracks, std::uint16_t ticksPerQuarter) {
  Check(!tracks.empty() && tracks.size() < 0x10000, "MIDI: a file needs 1..65535 tracks");
  Check(ticksPerQuarter > 0 && ticksPerQuarter < 0x8000, "MIDI: ticks a quarter note outside 1..32767");
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  AppendBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
  AppendBigEndian(file, ticksPerQuarter, 2);
  for (const Track& track : tracks) {
    const std::vector<std::uint8_t> chunk = track.Encode();
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace zandrel::data::midi
