#include "world/level_map.h"

#include <new>

namespace zandrel::world {

void LevelMap::Assign(LevelMap&& other) {
  ObjectTypes* const types = types_;
  *this = std::move(other);
  types_ = types;
}

void LevelMap::SetCell(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t code) {
  if (!Contains(x, y, z)) return;
  std::uint8_t& cell = grids_[Offset(x, y, z)];
  if (types_ != nullptr) {
    if ((*types_)[cell].Lingot) --(*types_)[cell].IngotCount;
    if ((*types_)[code].Lingot) ++(*types_)[code].IngotCount;
  }
  cell = code;
}

void LevelMap::SetLight(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t value) {
  if (Contains(x, y, z)) grids_[cellCount_ + Offset(x, y, z)] = value;
}

std::size_t LevelMap::CellCountFor(std::int32_t sx, std::int32_t sy, std::int32_t sz) {
  if (sx < 1 || sy < 1 || sz < 1) return 0;
  // Each factor is at most 2^31, so no partial product of two overflows 64 bits.
  const std::uint64_t xy = static_cast<std::uint64_t>(sx) * static_cast<std::uint64_t>(sy);
  if (xy > kMaxCells) return 0;
  const std::uint64_t count = xy * static_cast<std::uint64_t>(sz);
  return count > kMaxCells ? 0 : static_cast<std::size_t>(count);
}

bool LevelMap::SetLevelSize(std::int32_t sx, std::int32_t sy, std::int32_t sz) {
  grids_ = {};
  sizeX_ = sizeY_ = sizeZ_ = 0;
  cellCount_ = 0;
  const std::size_t count = CellCountFor(sx, sy, sz);
  if (count == 0) return false;
  try {
    grids_.assign(count * 2, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  sizeX_ = sx;
  sizeY_ = sy;
  sizeZ_ = sz;
  cellCount_ = count;
  return true;
}

void LevelMap::CountIngots() {
  if (types_ == nullptr) return;
  std::array<std::int32_t, kObjectTypeCount> counts{};
  for (std::uint8_t code : ObjectGrid()) ++counts[code];
  for (int code = 0; code < kObjectTypeCount; ++code) {
    ObjectType& type = (*types_)[static_cast<std::size_t>(code)];
    if (type.Lingot) type.IngotCount = counts[static_cast<std::size_t>(code)];
  }
}

}  // namespace zandrel::world
