#include "tests/platform/mci/midi_writer.h"

namespace zandrel::test {
namespace {

void Be(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void Quantity(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[4];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0 && count < 4);
  for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
}

}  // namespace

std::vector<std::uint8_t> Tempo(std::uint32_t micros) {
  return {0xFF,
          0x51,
          0x03,
          static_cast<std::uint8_t>(micros >> 16),
          static_cast<std::uint8_t>(micros >> 8),
          static_cast<std::uint8_t>(micros)};
}

std::vector<std::uint8_t> MidiFile(std::uint16_t format, std::uint16_t division,
                                   const std::vector<std::vector<MidiEvent>>& tracks) {
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd'};
  Be(file, 6, 4);
  Be(file, format, 2);
  Be(file, static_cast<std::uint32_t>(tracks.size()), 2);
  Be(file, division, 2);
  for (const auto& track : tracks) {
    std::vector<std::uint8_t> body;
    for (const MidiEvent& event : track) {
      Quantity(body, event.Delta);
      body.insert(body.end(), event.Bytes.begin(), event.Bytes.end());
    }
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    Be(file, static_cast<std::uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
  }
  return file;
}

}  // namespace zandrel::test
