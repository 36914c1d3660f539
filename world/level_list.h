// The levels of the "LEVEL" folder in name order, and the one saved game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"

namespace zandrel::world {

constexpr std::size_t kMaxLevels = 32768;

// Lists "LEVEL\*.*" below `folder`: every entry (files and folders) of at least two
// characters, as "LEVEL\" + name, sorted by character codes ("A.lev" before "a.lev",
// "x10" before "x2"); at most kMaxLevels. Fails with the system's message when the folder
// cannot be listed or holds nothing.
base::Expected<std::vector<std::string>> BuildLevelList(const std::filesystem::path& folder);

// Exclusive-or of character k (counting from 1) with k mod 256; its own inverse.
std::string Scramble(std::string_view text);

struct SavedGame {
  std::int32_t LevelIndex = 0;
  std::int32_t Lives = 3;
};

// The saved game of the settings file found from the start folder: the level index
// limited to the list, lives to 0..99; a missing or damaged value gives index 0, 3 lives.
SavedGame LoadSavedGame(const std::filesystem::path& startFolder, std::int32_t levelCount);
// The same from the settings file's contents.
SavedGame ParseSavedGame(std::span<const std::uint8_t> settingsFile, std::int32_t levelCount);

// Saves the level index and lives, scrambled, in the settings file.
base::Status StoreSavedGame(const std::filesystem::path& startFolder, std::int32_t levelIndex, std::int32_t lives);

}  // namespace zandrel::world
