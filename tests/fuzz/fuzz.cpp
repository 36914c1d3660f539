#include "tests/fuzz/fuzz.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace zandrel::fuzz {
namespace {

struct Scratch {
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zandrel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::filesystem::path path;
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const Scratch scratch;
  return scratch.path;
}

void WriteScratchFile(const std::filesystem::path& relative, std::span<const std::uint8_t> bytes) {
  const std::filesystem::path path = ScratchFolder() / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
}

}  // namespace zandrel::fuzz
