#include "tests/support/temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <string>

namespace zandrel::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zandrel-test-XXXXXX").string();
  path_ = ::mkdtemp(pattern.data());
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only files made by a test must not stop the clean-up.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ec);
  }
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::Write(std::string_view name, std::string_view contents) const {
  const std::filesystem::path file = path_ / name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(contents.data(), static_cast<std::streamsize>(contents.size()));
  return file;
}

}  // namespace zandrel::test
