// A fresh folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <string_view>

namespace zandrel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // Writes a file below the folder (creating folders on the way) and returns its path.
  std::filesystem::path Write(std::string_view name, std::string_view contents) const;

 private:
  std::filesystem::path path_;
};

}  // namespace zandrel::test
