#include "audio/wave_file.h"

#include <cstring>
#include <new>

#include "platform/win/files.h"

namespace zandrel::audio {
namespace {

constexpr const char* kOpenFailed = "mmioOpen Failed";
constexpr const char* kDescendFailed = "mmioDescend Failed";
constexpr const char* kNotWave = "Not a wave file";
constexpr const char* kReadError = "Error reading wave file";
constexpr const char* kNoMemory = "Failed to allocate memory";
constexpr const char* kCorrupt = "Corrupt Wave File";
constexpr std::uint32_t kPcmFormatBytes = 16;
constexpr std::uint64_t kLongMax = 0x7FFFFFFF;  // file offsets are signed 32-bit

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) { return U16(p) | static_cast<std::uint32_t>(U16(p + 2)) << 16; }

struct Chunk {
  std::uint32_t Id = 0;
  std::uint32_t Size = 0;
  std::uint64_t DataOffset = 0;  // first byte behind the chunk header
};

constexpr std::uint32_t Tag(const char (&t)[5]) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(t[0])) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(t[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(t[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(t[3])) << 24;
}

// The file with a read position, read the way buffered multimedia file I/O reads it:
// reads are bounded by the file, not by the chunk they start in.
class RiffFile {
 public:
  explicit RiffFile(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Read(void* to, std::uint64_t count) {
    if (position_ > bytes_.size() || count > bytes_.size() - position_) return false;
    if (count > 0) std::memcpy(to, bytes_.data() + position_, count);
    position_ += count;
    return true;
  }

  // The chunk header at the read position; a RIFF chunk's form type is read too.
  bool Descend(Chunk& chunk, std::uint32_t* formType) {
    std::uint8_t header[8];
    if (!Read(header, sizeof header)) return false;
    chunk.Id = U32(header);
    chunk.Size = U32(header + 4);
    chunk.DataOffset = position_;
    if (formType == nullptr) return true;
    std::uint8_t form[4];
    if (!Read(form, sizeof form)) return false;
    *formType = U32(form);
    return true;
  }

  // Walks the chunks from the read position to the end of `parent`; leaves the position
  // behind the header of the first one called `id`.
  bool FindChunk(const Chunk& parent, std::uint32_t id, Chunk& found) {
    const std::uint64_t end = parent.DataOffset + parent.Size;
    while (position_ < end) {
      if (!Descend(found, nullptr)) return false;
      if (found.Id == id) return true;
      if (!Seek(found.DataOffset + found.Size + (found.Size & 1))) return false;
    }
    return false;
  }

  // Moves behind a chunk's data and its pad byte.
  bool Ascend(const Chunk& chunk) { return Seek(chunk.DataOffset + chunk.Size + (chunk.Size & 1)); }

  // Any offset a signed 32-bit file offset can hold, past the end of the file too.
  bool Seek(std::uint64_t offset) {
    if (offset > kLongMax) return false;
    position_ = offset;
    return true;
  }

  std::uint64_t Remaining() const { return position_ < bytes_.size() ? bytes_.size() - position_ : 0; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::uint64_t position_ = 0;
};

// The sample part, or the message of what damaged it.
base::Status ReadData(RiffFile& file, const Chunk& riff, TIWave& wave) {
  Chunk data;
  if (!file.Seek(riff.DataOffset + 4) || !file.FindChunk(riff, Tag("data"), data)) return base::Failure{kReadError};
  // Samples the chunk claims beyond the end of the file: the read buffer runs dry.
  if (data.Size > file.Remaining()) return base::Failure{kCorrupt};
  wave.Data.resize(data.Size);
  file.Read(wave.Data.data(), data.Size);
  wave.DataSize = data.Size;
  return {};
}

}  // namespace

base::Expected<TIWave> TIWave::Read(std::string_view fileName, const std::filesystem::path& folder) {
  std::optional<std::vector<std::uint8_t>> bytes =
      win::ReadWholeFile(win::ResolvePath(fileName, folder), kMaxWaveFileBytes);
  if (!bytes) return base::Failure{kOpenFailed};
  return Parse(*bytes, std::string(fileName));
}

base::Expected<TIWave> TIWave::Parse(std::span<const std::uint8_t> bytes, std::string fileName) {
  TIWave wave;
  wave.FileName = std::move(fileName);
  RiffFile file(bytes);

  Chunk riff;
  std::uint32_t formType = 0;
  if (!file.Descend(riff, &formType)) return base::Failure{kDescendFailed};
  if (riff.Id != Tag("RIFF") || formType != Tag("WAVE")) return base::Failure{kNotWave};

  Chunk fmt;
  if (!file.FindChunk(riff, Tag("fmt "), fmt)) return base::Failure{kReadError};
  if (fmt.Size < kPcmFormatBytes) return base::Failure{kNotWave};
  std::uint8_t head[kPcmFormatBytes];
  if (!file.Read(head, sizeof head)) return base::Failure{kReadError};
  std::uint16_t extraSize = 0;
  if (U16(head) != dsound::kFormatPcm) {
    std::uint8_t extra[2];
    if (!file.Read(extra, sizeof extra)) return base::Failure{kReadError};
    extraSize = U16(extra);
  }
  wave.FormatSize = extraSize + 18u;
  try {
    wave.Format.resize(wave.FormatSize);
  } catch (const std::bad_alloc&) {
    return base::Failure{kNoMemory};
  }
  std::memcpy(wave.Format.data(), head, sizeof head);
  wave.Format[16] = static_cast<std::uint8_t>(extraSize);
  wave.Format[17] = static_cast<std::uint8_t>(extraSize >> 8);
  if (!file.Read(wave.Format.data() + 18, extraSize)) return base::Failure{kNotWave};
  if (!file.Ascend(fmt)) return base::Failure{kReadError};

  if (base::Status data = ReadData(file, riff, wave); !data) {
    wave.DataFailure = data.error();
    wave.Format.clear();
    wave.Data.clear();
    wave.DataSize = 0;
  }
  return wave;
}

std::uint16_t TIWave::Channels() const { return Format.empty() ? 0 : U16(Format.data() + 2); }

std::uint16_t TIWave::BitsPerSample() const { return Format.empty() ? 0 : U16(Format.data() + 14); }

std::optional<dsound::WaveFormat> TIWave::FormatRecord() const {
  if (Format.empty()) return std::nullopt;
  const std::uint8_t* p = Format.data();
  return dsound::WaveFormat{U16(p), U16(p + 2), U32(p + 4), U32(p + 8), U16(p + 12), U16(p + 14)};
}

}  // namespace zandrel::audio
