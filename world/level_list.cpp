#include "world/level_list.h"

#include <algorithm>
#include <charconv>

#include "platform/win/files.h"
#include "platform/win/ini.h"

namespace zandrel::world {
namespace {

constexpr std::string_view kSettingsFile = "zandrel.ini";

SavedGame SavedGameOf(const win::IniFile& ini, std::int32_t levelCount) {
  const std::string text = Scramble(ini.ReadString("Save", "Index", ""));
  const bool digits =
      !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  std::int32_t value = 0;
  if (!digits || std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) {
    return SavedGame{};
  }
  SavedGame saved;
  saved.Lives = std::min(value / 100000, 99);
  saved.LevelIndex = std::min(value % 100000, std::max(levelCount - 1, 0));
  return saved;
}

}  // namespace

base::Expected<std::vector<std::string>> BuildLevelList(const std::filesystem::path& folder) {
  std::optional<std::vector<std::string>> names = win::ListFolder("LEVEL\\*.*", folder);
  if (!names) return base::Failure{"GAME: Problem reading level files (LEVEL\\ folder)."};
  std::erase_if(*names, [](const std::string& name) { return name.size() < 2 || name == ".."; });
  if (names->empty()) return base::Failure{"GAME: No level files (LEVEL\\ folder)."};
  // std::string compares with char_traits<char>, which orders by unsigned character code.
  std::sort(names->begin(), names->end());
  if (names->size() > kMaxLevels) names->resize(kMaxLevels);
  for (std::string& name : *names) name.insert(0, "LEVEL\\");
  return std::move(*names);
}

std::string Scramble(std::string_view text) {
  std::string out(text);
  for (std::size_t k = 1; k <= out.size(); ++k) {
    out[k - 1] = static_cast<char>(static_cast<unsigned char>(out[k - 1]) ^ (k % 256));
  }
  return out;
}

SavedGame LoadSavedGame(const std::filesystem::path& startFolder, std::int32_t levelCount) {
  return SavedGameOf(win::IniFile(win::ProfilePath(startFolder, kSettingsFile)), levelCount);
}

SavedGame ParseSavedGame(std::span<const std::uint8_t> settingsFile, std::int32_t levelCount) {
  return SavedGameOf(win::IniFile({}, settingsFile), levelCount);
}

base::Status StoreSavedGame(const std::filesystem::path& startFolder, std::int32_t levelIndex, std::int32_t lives) {
  const std::int64_t value = static_cast<std::int64_t>(levelIndex) + static_cast<std::int64_t>(lives) * 100000;
  win::IniFile ini(win::ProfilePath(startFolder, kSettingsFile));
  return ini.WriteString("Save", "Index", Scramble(std::to_string(value)));
}

}  // namespace zandrel::world
