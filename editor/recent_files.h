// The level files opened or saved last, newest first, kept in a small INI file of the
// user's configuration folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"

namespace zandrel::editor {

class RecentFiles {
 public:
  static constexpr std::size_t kMaxFiles = 8;

  // Reads the list (a missing or unreadable file: none).
  explicit RecentFiles(std::filesystem::path iniFile);

  const std::vector<std::string>& Files() const { return files_; }
  // Puts the file first (once) and writes the list, replacing the file atomically.
  base::Status Add(std::string_view file);
  // Takes a file that can no longer be read off the list.
  base::Status Remove(std::string_view file);

 private:
  base::Status Write() const;

  std::filesystem::path iniFile_;
  std::vector<std::string> files_;
};

}  // namespace zandrel::editor
