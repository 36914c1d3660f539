#include "platform/mci/midi_length.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zandrel::mci {
namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds a quarter note

struct TempoChange {
  std::uint64_t Tick;
  std::uint32_t MicrosPerQuarter;
};

std::uint32_t Be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// Reads the events of one track chunk: its last tick, and its tempo changes.
class TrackReader {
 public:
  explicit TrackReader(std::span<const std::uint8_t> data) : data_(data) {}

  std::uint64_t Read(std::vector<TempoChange>& tempos) {
    std::uint64_t tick = 0, lastWhole = 0;
    std::uint8_t running = 0;
    while (at_ < data_.size()) {
      const auto delta = Number();
      if (!delta || at_ >= data_.size()) break;
      tick += *delta;
      std::uint8_t status = data_[at_];
      if (status & 0x80) {
        ++at_;
      } else if (running != 0) {
        status = running;
      } else {
        break;  // data without a status to run on
      }
      if (status == 0xFF) {
        if (at_ >= data_.size()) break;
        const std::uint8_t type = data_[at_++];
        const auto length = Number();
        if (!length || *length > data_.size() - at_) break;
        if (type == 0x51 && *length >= 3) {
          const std::uint32_t tempo = static_cast<std::uint32_t>(data_[at_]) << 16 |
                                      static_cast<std::uint32_t>(data_[at_ + 1]) << 8 | data_[at_ + 2];
          if (tempo > 0) tempos.push_back({tick, tempo});
        }
        at_ += static_cast<std::size_t>(*length);
        lastWhole = tick;
        if (type == 0x2F) break;  // end of track
      } else if (status == 0xF0 || status == 0xF7) {
        const auto length = Number();
        if (!length || *length > data_.size() - at_) break;
        at_ += static_cast<std::size_t>(*length);
        lastWhole = tick;
      } else if (status >= 0x80 && status < 0xF0) {
        running = status;
        const std::size_t bytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (bytes > data_.size() - at_) break;
        at_ += bytes;
        lastWhole = tick;
      } else {
        break;  // system messages have no place in a file
      }
    }
    return lastWhole;
  }

 private:
  // A variable-length quantity: at most four bytes of seven bits.
  std::optional<std::uint32_t> Number() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      if (at_ >= data_.size()) return std::nullopt;
      const std::uint8_t byte = data_[at_++];
      value = value << 7 | (byte & 0x7F);
      if (!(byte & 0x80)) return value;
    }
    return std::nullopt;
  }

  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<std::uint32_t> MidiLengthMs(std::span<const std::uint8_t> file) {
  if (file.size() < 14 || Be32(file.data()) != 0x4D546864 || Be32(file.data() + 4) < 6) return std::nullopt;
  const std::uint32_t headerLength = Be32(file.data() + 4);
  if (headerLength > file.size() - 8) return std::nullopt;
  const std::uint16_t division = static_cast<std::uint16_t>(file[12] << 8 | file[13]);
  if (division == 0) return std::nullopt;

  std::vector<TempoChange> tempos;
  std::uint64_t lastTick = 0;
  for (std::size_t at = 8 + headerLength; file.size() - at >= 8;) {
    const std::uint32_t length = Be32(file.data() + at + 4);
    const std::size_t body = at + 8;
    const std::size_t available = std::min<std::size_t>(length, file.size() - body);
    if (Be32(file.data() + at) == 0x4D54726B) {  // "MTrk"; other chunks are skipped
      lastTick = std::max(lastTick, TrackReader(file.subspan(body, available)).Read(tempos));
    }
    if (length > file.size() - body) break;
    at = body + length;
  }

  double micros = 0;
  if (division & 0x8000) {
    // Time code: frames a second (29 stands for 29.97) times ticks a frame.
    const int frames = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
    const int ticksPerFrame = division & 0xFF;
    if (frames <= 0 || ticksPerFrame == 0) return std::nullopt;
    const double perSecond = (frames == 29 ? 29.97 : frames) * ticksPerFrame;
    micros = static_cast<double>(lastTick) * 1e6 / perSecond;
  } else {
    // Tempo changes at one tick: the one read last holds.
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.Tick < b.Tick; });
    std::uint64_t tick = 0;
    std::uint32_t tempo = kDefaultTempo;
    for (const TempoChange& change : tempos) {
      if (change.Tick >= lastTick) break;
      micros += static_cast<double>(change.Tick - tick) * tempo;
      tick = change.Tick;
      tempo = change.MicrosPerQuarter;
    }
    micros += static_cast<double>(lastTick - tick) * tempo;
    micros /= division;
  }
  return static_cast<std::uint32_t>(std::min(micros / 1000.0, 4294967295.0));
}

}  // namespace zandrel::mci
