// Reading RIFF WAVE files into memory: the format record of the "fmt " chunk and the
// samples of the "data" chunk, which may stand in either order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "platform/dsound/dsound.h"

namespace zandrel::audio {

// Wave files larger than this are not opened.
constexpr std::size_t kMaxWaveFileBytes = 64u << 20;

// One wave file read into memory.
class TIWave {
 public:
  // Reads a file named in the data's spelling, relative to the data tree `folder`.
  static base::Expected<TIWave> Read(std::string_view fileName, const std::filesystem::path& folder);
  // Reads the bytes of a wave file. A damaged header fails with the system's message; a
  // damaged sample part gives a wave with neither format nor data.
  static base::Expected<TIWave> Parse(std::span<const std::uint8_t> bytes, std::string fileName);

  // 0 without a format.
  std::uint16_t Channels() const;
  std::uint16_t BitsPerSample() const;
  // The first 16 bytes of the format record; none without a format.
  std::optional<dsound::WaveFormat> FormatRecord() const;

  std::vector<std::uint8_t> Format;  // FormatSize bytes: 16, the extra size, the extra bytes; empty: none
  std::string FileName;
  std::uint32_t DataSize = 0;
  std::uint32_t FormatSize = 0;    // 18 + extra size
  std::vector<std::uint8_t> Data;  // DataSize bytes
  std::string DataFailure;         // why the sample part was dropped; empty when it was read
};

}  // namespace zandrel::audio
