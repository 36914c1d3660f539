#include "tools/data/data_tree.h"

#include <stdexcept>

#include "platform/win/files.h"

namespace zandrel::data {

void DataTree::Add(std::string_view path, std::vector<std::uint8_t> bytes) {
  if (!files_.emplace(std::string(path), std::move(bytes)).second) {
    throw std::logic_error("the data tree has two files named " + std::string(path));
  }
}

void DataTree::Add(std::string_view path, std::string_view text) {
  Add(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

base::Status DataTree::WriteTo(const std::filesystem::path& root) const {
  for (const auto& [path, bytes] : files_) {
    const std::filesystem::path target = root / path;
    if (win::ReadWholeFile(target, bytes.size()) == bytes) continue;
    if (base::Status written = win::WriteFileAtomic(target, bytes); !written) return written;
  }
  return {};
}

}  // namespace zandrel::data
