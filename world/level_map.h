// The level in memory: a box of cells, each an object code and a light byte, with the
// start and exit cells, music cells, texts and sentry placements.
#pragma once

#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/cells.h"
#include "world/object_type.h"
#include "world/sentry.h"

namespace zandrel::world {

// Cells in world units, as the level names them.
using engine::CellCentre;
using engine::CellOf;
using engine::kCellSize;

constexpr std::int32_t kNeutralLight = 128;     // the light byte of an unlit cell
constexpr std::int32_t kEmptyMusicCell = -666;  // x of a music cell no position matches
constexpr int kMusicCellCount = 256;

struct MusicCell {
  std::int32_t X = kEmptyMusicCell, Y = 0, Z = 0;
  std::int32_t Music = 0;  // entry of the bank's music table
  bool Used() const { return X != kEmptyMusicCell; }
  friend bool operator==(const MusicCell&, const MusicCell&) = default;
};

class LevelMap {
 public:
  // The types' `Lingot` flags and `IngotCount`s are kept up to date by SetCell; a map
  // without types (a tool's) keeps no counts.
  explicit LevelMap(ObjectTypes* types = nullptr) : types_(types) {}

  // Takes another map's level, keeping this map's object types.
  void Assign(LevelMap&& other);

  std::int32_t SizeX() const { return sizeX_; }
  std::int32_t SizeY() const { return sizeY_; }
  std::int32_t SizeZ() const { return sizeZ_; }
  std::size_t CellCount() const { return cellCount_; }

  bool Contains(std::int32_t x, std::int32_t y, std::int32_t z) const {
    return static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(sizeX_) &&
           static_cast<std::uint32_t>(y) < static_cast<std::uint32_t>(sizeY_) &&
           static_cast<std::uint32_t>(z) < static_cast<std::uint32_t>(sizeZ_);
  }
  // Offset of a cell inside a grid: x fastest, then y, then z.
  std::size_t Offset(std::int32_t x, std::int32_t y, std::int32_t z) const {
    return static_cast<std::size_t>(x) +
           static_cast<std::size_t>(sizeX_) *
               (static_cast<std::size_t>(y) + static_cast<std::size_t>(sizeY_) * static_cast<std::size_t>(z));
  }

  // The object code of a cell; 0 outside the level.
  std::uint8_t GetCell(std::int32_t x, std::int32_t y, std::int32_t z) const {
    return Contains(x, y, z) ? grids_[Offset(x, y, z)] : 0;
  }
  // The light byte of a cell; 0 outside the level.
  std::uint8_t GetLight(std::int32_t x, std::int32_t y, std::int32_t z) const {
    return Contains(x, y, z) ? grids_[cellCount_ + Offset(x, y, z)] : 0;
  }
  // Stores a code, keeping the ingot counts exact; nothing outside the level.
  void SetCell(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t code);
  // Stores a light byte; nothing outside the level.
  void SetLight(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t value);

  // New zero-filled grids of sx * sy * sz cells. On failure (a size below 1, a count
  // beyond kMaxCells, no memory) the map is left empty, sizes 0, and false is answered.
  bool SetLevelSize(std::int32_t sx, std::int32_t sy, std::int32_t sz);

  // The grids as stored; writing through them bypasses the ingot counts (CountIngots
  // makes them exact again).
  std::span<std::uint8_t> ObjectGrid() { return {grids_.data(), cellCount_}; }
  std::span<std::uint8_t> LightGrid() { return {grids_.data() + cellCount_, cellCount_}; }
  std::span<const std::uint8_t> ObjectGrid() const { return {grids_.data(), cellCount_}; }
  std::span<const std::uint8_t> LightGrid() const { return {grids_.data() + cellCount_, cellCount_}; }

  // Recounts, for every type with `Lingot` set, the cells that hold its code.
  void CountIngots();

  // The largest number of cells a level may have (two grids of 128 MiB).
  static constexpr std::size_t kMaxCells = std::size_t{1} << 27;
  // The number of cells of a level of those sizes; 0 when a size is below 1 or the count
  // exceeds kMaxCells.
  static std::size_t CellCountFor(std::int32_t sx, std::int32_t sy, std::int32_t sz);

  std::string BankName;
  std::int32_t StartX = 0, StartY = 0, StartZ = 0;
  std::int32_t StartHeading = 0;
  std::int32_t ExitX = 0, ExitY = 0, ExitZ = 0;
  std::array<MusicCell, kMusicCellCount> MusicCells{};
  std::string LevelName;
  std::string Author;
  std::uint8_t Outside = 0;
  std::int32_t SentryCount = 0;
  std::int32_t RandomSeed = 0;
  SentryTable Sentries{};

 private:
  ObjectTypes* types_;
  std::int32_t sizeX_ = 0, sizeY_ = 0, sizeZ_ = 0;
  std::size_t cellCount_ = 0;
  std::vector<std::uint8_t> grids_;  // the object grid, then the light grid
};

}  // namespace zandrel::world
