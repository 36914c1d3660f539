// The default data tree as it is being generated: files by their path in the tree.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"

namespace zandrel::data {

class DataTree {
 public:
  // Adds a file; a second file at the same path is an error in the generator.
  void Add(std::string_view path, std::vector<std::uint8_t> bytes);
  void Add(std::string_view path, std::string_view text);

  bool Has(std::string_view path) const { return files_.count(std::string(path)) != 0; }
  const std::map<std::string, std::vector<std::uint8_t>>& Files() const { return files_; }

  // Writes every file below `root`, replacing files that differ and leaving equal ones
  // untouched (so that builds stay incremental).
  base::Status WriteTo(const std::filesystem::path& root) const;

 private:
  std::map<std::string, std::vector<std::uint8_t>> files_;
};

}  // namespace zandrel::data
