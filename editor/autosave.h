// Backups of the level being edited, written every two minutes to a rotating set of
// three files in the user's state folder, never over the user's own file; and the marker
// that tells the next start whether this run ended cleanly.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "world/level_map.h"

namespace zandrel::editor {

constexpr std::uint32_t kAutosaveInterval = 120000;  // ms
constexpr int kAutosaveSlots = 3;

struct Backup {
  std::filesystem::path File;  // the backup itself
  std::string LevelFile;       // the file the level was loaded from or saved to; empty: none
  std::string Written;         // when, as the local time "YYYY-MM-DD HH:MM"
};

class Autosave {
 public:
  explicit Autosave(std::filesystem::path folder) : folder_(std::move(folder)) {}

  const std::filesystem::path& Folder() const { return folder_; }

  // The marker of an earlier run is there and no editor with its process number runs.
  bool PreviousRunCrashed() const;
  // Writes the marker of this run.
  base::Status MarkRunning() const;
  // Removes the marker: the run ends cleanly.
  void MarkCleanExit() const;

  // The backup written last, if its file is there.
  std::optional<Backup> Latest() const;
  // Writes the level to the slot after the latest one.
  base::Status Write(const world::LevelMap& map, std::string_view levelFile) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace zandrel::editor
