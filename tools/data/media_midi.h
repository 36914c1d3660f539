// Writing Standard MIDI Files: tracks of timed events, encoded as a format 1 file (one
// "MThd" header and one "MTrk" chunk per track).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel::data::midi {

// One track being written. Events are added at absolute times in ticks, in any order; the
// encoding sorts them by time. At one tick, meta events and controllers come first, then
// note-offs, then note-ons, so that a note repeated on the same key is not cut by the end
// of the one before. Channels are 0..15, keys, velocities, programs and controller values
// 0..127; anything else throws std::invalid_argument (a fault of the caller).
class Track {
 public:
  explicit Track(std::string_view name);

  void Tempo(std::uint32_t tick, double beatsPerMinute);
  // A time signature of `numerator` over 2^denominatorPower.
  void TimeSignature(std::uint32_t tick, int numerator, int denominatorPower);
  void Marker(std::uint32_t tick, std::string_view text);
  void Program(std::uint32_t tick, int channel, int program);
  void Controller(std::uint32_t tick, int channel, int controller, int value);
  // A note-on at `tick` and its note-off `length` ticks later (at least one).
  void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);

  // The "MTrk" chunk: delta times as variable-length numbers, ended by the end-of-track
  // event at the time of the last event.
  std::vector<std::uint8_t> Encode() const;

 private:
  enum class Order { Meta, Control, NoteOff, NoteOn };
  struct Event {
    std::uint32_t Tick;
    Order Kind;
    std::vector<std::uint8_t> Bytes;
  };
  void AddMeta(std::uint32_t tick, std::uint8_t type, std::span<const std::uint8_t> data);
  void AddChannel(std::uint32_t tick, Order kind, std::uint8_t status, int channel, std::initializer_list<int> data);

  std::vector<Event> events_;
};

// A format 1 file of the given tracks (the first one, by custom, holding the tempo map).
std::vector<std::uint8_t> EncodeFile(std::span<const Track> tracks, std::uint16_t ticksPerQuarter);

// A variable-length number as MIDI files store it: seven bits a byte, the highest first, every
// byte but the last with its top bit set. Values above 0x0FFFFFFF throw std::invalid_argument.
void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace zandrel::data::midi
