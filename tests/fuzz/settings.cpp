// The settings file reader.
#include "game/settings.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zandrel::game::ParseSettings(zandrel::fuzz::Bytes(data, size));
  return 0;
}
