#include "audio/wave_writer.h"

#include <stdexcept>
#include <string_view>
#include <utility>

namespace zandrel::audio {
namespace {

constexpr std::uint32_t kFormatChunkSize = 16;
// "WAVE", the "fmt " chunk with its header, the "data" chunk header.
constexpr std::uint32_t kHeaderBytes = 4 + 8 + kFormatChunkSize + 8;

class Writer {
 public:
  explicit Writer(std::size_t capacity) { bytes_.reserve(capacity); }

  void Tag(std::string_view tag) { bytes_.insert(bytes_.end(), tag.begin(), tag.end()); }
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::vector<std::uint8_t> EncodeWave(std::span<const std::int16_t> samples, std::uint32_t sampleRate,
                                     std::uint16_t channels, std::uint16_t bits) {
  if (channels != 1 && channels != 2) throw std::invalid_argument("a wave file has 1 or 2 channels");
  if (bits != 8 && bits != 16) throw std::invalid_argument("a wave file has 8 or 16 bits per sample");
  if (samples.size() % channels != 0) throw std::invalid_argument("the samples are not whole frames");
  const std::uint16_t bytesPerSample = bits / 8;
  // The RIFF size (header, data and pad byte) must stay within 32 bits.
  if (samples.size() > (0xFFFFFFFFull - kHeaderBytes - 1) / bytesPerSample) {
    throw std::invalid_argument("too many samples for a wave file");
  }
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * bytesPerSample);
  const std::uint32_t pad = dataSize & 1;  // chunks start on even offsets
  const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bytesPerSample);

  Writer out(8 + kHeaderBytes + dataSize + pad);
  out.Tag("RIFF");
  out.U32(kHeaderBytes + dataSize + pad);
  out.Tag("WAVE");
  out.Tag("fmt ");
  out.U32(kFormatChunkSize);
  out.U16(1);  // PCM
  out.U16(channels);
  out.U32(sampleRate);
  out.U32(sampleRate * blockAlign);
  out.U16(blockAlign);
  out.U16(bits);
  out.Tag("data");
  out.U32(dataSize);
  for (std::int16_t s : samples) {
    if (bits == 16) {
      out.U16(static_cast<std::uint16_t>(s));
    } else {
      out.U8(static_cast<std::uint8_t>((s >> 8) + 128));
    }
  }
  if (pad) out.U8(0);
  return out.Take();
}

}  // namespace zandrel::audio
