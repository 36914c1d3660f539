// Controls as a test holds them: the eight flags, the keys that read as pressed, the text
// typed since it was last read and the pointer.
#pragma once

#include <set>
#include <string>
#include <utility>

#include "game/ports.h"

namespace zandrel::game {

class HeldControls final : public Controls {
 public:
  void ReadControls(input::ControlFlags& flags) override { flags = held; }
  bool KeyDown(int key) override { return keys.count(key) != 0; }
  void WaitAllKeysUp() override {}
  std::string TypedText() override { return std::exchange(typed, {}); }
  PointerState Pointer() override { return std::exchange(pointer, {pointer.X, pointer.Y, false}); }
  input::ControlFlags held{};
  std::set<int> keys;
  std::string typed;
  PointerState pointer;
};

}  // namespace zandrel::game
