// The saved game, read from the settings file, for a short and a full level list.
#include <algorithm>
#include <cstdlib>

#include "tests/fuzz/fuzz.h"
#include "world/level_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  for (const std::int32_t levels : {0, 1, 30}) {
    const world::SavedGame saved = world::ParseSavedGame(fuzz::Bytes(data, size), levels);
    if (saved.LevelIndex < 0 || saved.LevelIndex > std::max(levels - 1, 0) || saved.Lives < 0 || saved.Lives > 99) {
      std::abort();
    }
  }
  return 0;
}
