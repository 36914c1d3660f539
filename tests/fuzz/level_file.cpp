// The binary level reader; a level it accepts must survive the text form and the checker.
#include <cstdlib>

#include "tests/fuzz/fuzz.h"
#include "world/level_check.h"
#include "world/level_file.h"
#include "world/level_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  world::ObjectTypes types{};
  base::Expected<world::LevelMap> map = world::ParseLevel(fuzz::Bytes(data, size), "LEVEL\\FUZZ.LEV");
  if (!map) return 0;
  world::CheckLevel(*map, types);
  if (!world::ParseLevelText(world::DumpLevelText(*map))) std::abort();  // the text form holds every level
  return 0;
}
