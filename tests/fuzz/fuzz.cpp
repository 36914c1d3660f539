#include "tests/fuzz/fuzz.h"

#include <string_view>

#include "tests/support/temp_dir.h"

namespace zandrel::fuzz {
namespace {

const test::TempDir& Scratch() {
  static const test::TempDir scratch;
  return scratch;
}

}  // namespace

const std::filesystem::path& ScratchFolder() { return Scratch().path(); }

void WriteScratchFile(const std::filesystem::path& relative, std::span<const std::uint8_t> bytes) {
  Scratch().Write(relative.string(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace zandrel::fuzz
