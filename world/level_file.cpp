#include "world/level_file.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/win/files.h"

namespace zandrel::world {
namespace {

constexpr std::size_t kTextField = 256;
constexpr std::size_t kMusicCellSize = 16;

// Offsets of the fields that follow the grids, from the end of the light grid.
constexpr std::size_t kMusicCellsAt = 0;
constexpr std::size_t kLevelNameAt = kMusicCellsAt + kMusicCellCount * kMusicCellSize;  // 4096
constexpr std::size_t kAuthorAt = kLevelNameAt + kTextField;
constexpr std::size_t kOutsideAt = kAuthorAt + kTextField;
constexpr std::size_t kSentryCountAt = kOutsideAt + 1;
constexpr std::size_t kRandomSeedAt = kSentryCountAt + 4;
constexpr std::size_t kPlacementsAt = kRandomSeedAt + 4;
static_assert(kLevelHeaderSize + kPlacementsAt == kLevelFixedSize);

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int32_t Int(std::size_t at) const { return static_cast<std::int32_t>(Word(at)); }
  float Float(std::size_t at) const { return std::bit_cast<float>(Word(at)); }
  std::string Text(std::size_t at) const {
    const std::size_t length = bytes_[at];
    return std::string(reinterpret_cast<const char*>(bytes_.data() + at + 1), length);
  }

 private:
  std::uint32_t Word(std::size_t at) const {
    return static_cast<std::uint32_t>(bytes_[at]) | static_cast<std::uint32_t>(bytes_[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[at + 2]) << 16 | static_cast<std::uint32_t>(bytes_[at + 3]) << 24;
  }
  std::span<const std::uint8_t> bytes_;
};

class Writer {
 public:
  explicit Writer(std::size_t size) : bytes_(size, 0) {}
  void Int(std::size_t at, std::int32_t value) { Word(at, static_cast<std::uint32_t>(value)); }
  void Float(std::size_t at, float value) { Word(at, std::bit_cast<std::uint32_t>(value)); }
  void Text(std::size_t at, const std::string& text) {
    const std::size_t length = std::min<std::size_t>(text.size(), kTextField - 1);
    bytes_[at] = static_cast<std::uint8_t>(length);
    std::memcpy(bytes_.data() + at + 1, text.data(), length);
  }
  std::uint8_t* At(std::size_t at) { return bytes_.data() + at; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  void Word(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::uint64_t LevelFileSize(std::uint64_t cellCount, std::int32_t sentryCount) {
  return kLevelFixedSize + 2 * cellCount + kSentryPlacementSize * static_cast<std::uint64_t>(std::max(sentryCount, 0));
}

std::string MissingLevelMessage(std::string_view fileName) {
  return "The file " + std::string(fileName) + " is missing or invalid.";
}

base::Expected<LevelMap> ParseLevel(std::span<const std::uint8_t> bytes, std::string_view fileName) {
  const base::Failure invalid{MissingLevelMessage(fileName)};
  if (bytes.size() < kLevelHeaderSize) return invalid;
  const Reader in(bytes);
  const std::int32_t sx = in.Int(256), sy = in.Int(260), sz = in.Int(264);
  const std::size_t n = LevelMap::CellCountFor(sx, sy, sz);
  if (n == 0 || bytes.size() < LevelFileSize(n, 0)) return invalid;
  const std::uint64_t cells = n;
  const std::size_t tail = kLevelHeaderSize + 2 * n;  // start of the fields after the grids
  const std::int32_t sentryCount = in.Int(tail + kSentryCountAt);
  if (sentryCount < 0 || sentryCount > kMaxSentries) return invalid;
  if (bytes.size() < LevelFileSize(cells, sentryCount)) return invalid;

  LevelMap map;
  if (!map.SetLevelSize(sx, sy, sz)) return invalid;
  map.BankName = in.Text(0);
  map.StartX = in.Int(268);
  map.StartY = in.Int(272);
  map.StartZ = in.Int(276);
  map.StartHeading = in.Int(280);
  map.ExitX = in.Int(284);
  map.ExitY = in.Int(288);
  map.ExitZ = in.Int(292);
  std::copy_n(bytes.data() + kLevelHeaderSize, n, map.ObjectGrid().data());
  std::copy_n(bytes.data() + kLevelHeaderSize + n, n, map.LightGrid().data());
  for (std::size_t i = 0; i < map.MusicCells.size(); ++i) {
    const std::size_t at = tail + kMusicCellsAt + i * kMusicCellSize;
    map.MusicCells[i] = MusicCell{in.Int(at), in.Int(at + 4), in.Int(at + 8), in.Int(at + 12)};
  }
  map.LevelName = in.Text(tail + kLevelNameAt);
  map.Author = in.Text(tail + kAuthorAt);
  map.Outside = bytes[tail + kOutsideAt];
  map.SentryCount = sentryCount;
  map.RandomSeed = in.Int(tail + kRandomSeedAt);
  for (std::int32_t i = 0; i < sentryCount; ++i) {
    const std::size_t at = tail + kPlacementsAt + static_cast<std::size_t>(i) * kSentryPlacementSize;
    Sentry& sentry = map.Sentries[static_cast<std::size_t>(i)];
    sentry.X = in.Float(at);
    sentry.Y = in.Float(at + 4);
    sentry.Z = in.Float(at + 8);
    sentry.Heading = in.Float(at + 12);
  }
  return map;
}

std::vector<std::uint8_t> SerializeLevel(const LevelMap& map) {
  const std::size_t n = map.CellCount();
  const std::int32_t sentryCount = std::clamp(map.SentryCount, 0, kMaxSentries);
  Writer out(static_cast<std::size_t>(LevelFileSize(n, sentryCount)));
  out.Text(0, map.BankName);
  out.Int(256, map.SizeX());
  out.Int(260, map.SizeY());
  out.Int(264, map.SizeZ());
  out.Int(268, map.StartX);
  out.Int(272, map.StartY);
  out.Int(276, map.StartZ);
  out.Int(280, map.StartHeading);
  out.Int(284, map.ExitX);
  out.Int(288, map.ExitY);
  out.Int(292, map.ExitZ);
  std::copy_n(map.ObjectGrid().data(), n, out.At(kLevelHeaderSize));
  std::copy_n(map.LightGrid().data(), n, out.At(kLevelHeaderSize + n));
  const std::size_t tail = kLevelHeaderSize + 2 * n;
  for (std::size_t i = 0; i < map.MusicCells.size(); ++i) {
    const std::size_t at = tail + kMusicCellsAt + i * kMusicCellSize;
    const MusicCell& cell = map.MusicCells[i];
    out.Int(at, cell.X);
    out.Int(at + 4, cell.Y);
    out.Int(at + 8, cell.Z);
    out.Int(at + 12, cell.Music);
  }
  out.Text(tail + kLevelNameAt, map.LevelName);
  out.Text(tail + kAuthorAt, map.Author);
  *out.At(tail + kOutsideAt) = map.Outside;
  out.Int(tail + kSentryCountAt, sentryCount);
  out.Int(tail + kRandomSeedAt, map.RandomSeed);
  for (std::int32_t i = 0; i < sentryCount; ++i) {
    const std::size_t at = tail + kPlacementsAt + static_cast<std::size_t>(i) * kSentryPlacementSize;
    const Sentry& sentry = map.Sentries[static_cast<std::size_t>(i)];
    out.Float(at, sentry.X);
    out.Float(at + 4, sentry.Y);
    out.Float(at + 8, sentry.Z);
    out.Float(at + 12, sentry.Heading);
  }
  return out.Take();
}

base::Expected<LevelMap> LoadLevelFile(std::string_view fileName, const std::filesystem::path& folder) {
  const std::filesystem::path path = win::ResolvePath(fileName, folder);
  const base::Failure invalid{MissingLevelMessage(fileName)};
  // The header gives the sizes; no more than the largest file of those sizes is read.
  const std::optional<std::vector<std::uint8_t>> header = win::ReadFilePrefix(path, kLevelHeaderSize);
  if (!header) return invalid;
  if (header->size() < kLevelHeaderSize) return invalid;
  const Reader in(*header);
  const std::size_t cells = LevelMap::CellCountFor(in.Int(256), in.Int(260), in.Int(264));
  if (cells == 0) return invalid;
  const std::optional<std::vector<std::uint8_t>> bytes =
      win::ReadFilePrefix(path, static_cast<std::size_t>(LevelFileSize(cells, kMaxSentries)));
  if (!bytes) return invalid;
  return ParseLevel(*bytes, fileName);
}

base::Status WriteLevel(const LevelMap& map, std::string_view fileName, const std::filesystem::path& folder) {
  return win::WriteFileAtomic(win::ResolvePath(fileName, folder), SerializeLevel(map));
}

}  // namespace zandrel::world
