// The headless runner's input scripts, and the controls they give frame by frame.
#include <cstdint>
#include <utility>
#include <vector>

#include "game/headless.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  base::Expected<std::vector<game::ScriptLine>> script = game::ParseInputScript(fuzz::Text(data, size));
  if (!script) return 0;
  game::ScriptedControls controls(std::move(*script));
  for (const std::int64_t frame : {std::int64_t{0}, std::int64_t{1}, std::int64_t{1} << 40}) {
    controls.SetFrame(frame);
    input::ControlFlags flags{};
    controls.ReadControls(flags);
    controls.KeyDown(0x6B);
  }
  return 0;
}
