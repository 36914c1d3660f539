// The level text reader; a level it accepts must be written back as the same text.
#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz.h"
#include "world/level_file.h"
#include "world/level_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  base::Expected<world::LevelMap> map = world::ParseLevelText(fuzz::Text(data, size));
  if (!map) return 0;
  const std::string text = world::DumpLevelText(*map);
  base::Expected<world::LevelMap> again = world::ParseLevelText(text);
  if (!again || world::DumpLevelText(*again) != text) std::abort();
  if (!world::ParseLevel(world::SerializeLevel(*map), "LEVEL\\FUZZ.LEV")) std::abort();
  return 0;
}
