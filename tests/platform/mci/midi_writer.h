// Standard MIDI Files for tests, from events given with their delta times.
#pragma once

#include <cstdint>
#include <vector>

namespace zandrel::test {

struct MidiEvent {
  std::uint32_t Delta;
  std::vector<std::uint8_t> Bytes;  // status (or running data) and data, meta events whole
};

// The event bytes of a tempo change (microseconds a quarter note).
std::vector<std::uint8_t> Tempo(std::uint32_t microsPerQuarter);

// A file of the given format and division; each track gets an end-of-track event.
std::vector<std::uint8_t> MidiFile(std::uint16_t format, std::uint16_t division,
                                   const std::vector<std::vector<MidiEvent>>& tracks);

}  // namespace zandrel::test
