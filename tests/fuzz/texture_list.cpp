// The texture list reader.
#include "engine/texture_list.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zandrel::engine::ParseTextureList(zandrel::fuzz::Text(data, size));
  return 0;
}
