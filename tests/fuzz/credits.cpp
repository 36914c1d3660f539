// The credits text reader and the unscrambling of its lines.
#include <string>

#include "game/credits.h"
#include "tests/fuzz/fuzz.h"
#include "world/level_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  for (const std::string& line : game::ParseCreditsText(fuzz::Bytes(data, size))) world::Scramble(line);
  return 0;
}
