// The building-object types named by cell codes.
#pragma once

#include <array>
#include <cstdint>

namespace zandrel::world {

struct ObjectType {
  bool Lingot = false;         // an ingot: the level keeps a count of its cells
  std::int32_t IngotCount = 0;  // cells of the level holding this code
};

constexpr int kObjectTypeCount = 256;
using ObjectTypes = std::array<ObjectType, kObjectTypeCount>;

// The object bank's texture quality.
enum class TextureQuality { High, Low };

}  // namespace zandrel::world
