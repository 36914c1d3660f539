// The PCX picture decoder.
#include "engine/pcx.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zandrel::engine::DecodePcx(zandrel::fuzz::Bytes(data, size), "TEXTURES\\FUZZ.PCX");
  return 0;
}
