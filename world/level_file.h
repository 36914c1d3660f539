// The ".lev" file: a fixed header, the object and light grids, the music cells, the texts
// and the sentry placements, every field at an offset computed from the sizes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "world/level_map.h"

namespace zandrel::world {

constexpr std::size_t kLevelHeaderSize = 296;  // bank name, sizes, start, heading, exit
constexpr std::size_t kLevelFixedSize = 4913;  // every field but the grids and placements
constexpr std::size_t kSentryPlacementSize = 16;

// The length of a level file with that many cells and sentries.
std::uint64_t LevelFileSize(std::uint64_t cellCount, std::int32_t sentryCount);

// "The file <name> is missing or invalid."
std::string MissingLevelMessage(std::string_view fileName);

// Decodes a level. Everything is checked before use: sizes of at least 1, a cell count
// within LevelMap::kMaxCells, 0..255 sentries, and enough bytes for all of them; bytes
// after the last placement are ignored. A failure carries MissingLevelMessage(fileName).
base::Expected<LevelMap> ParseLevel(std::span<const std::uint8_t> bytes, std::string_view fileName);

// Encodes a level field for field; texts are cut to 255 bytes and padded with zeros.
std::vector<std::uint8_t> SerializeLevel(const LevelMap& map);

// Reads and decodes the file the name resolves to below `folder`, reading no more than the level can use.
base::Expected<LevelMap> LoadLevelFile(std::string_view fileName, const std::filesystem::path& folder);

// Writes a level, replacing the file atomically.
base::Status WriteLevel(const LevelMap& map, std::string_view fileName, const std::filesystem::path& folder);

}  // namespace zandrel::world
