// Controls as a test holds them: the eight flags, and the keys that read as pressed.
#pragma once

#include <set>

#include "game/ports.h"

namespace zandrel::game {

class HeldControls final : public Controls {
 public:
  void ReadControls(input::ControlFlags& flags) override { flags = held; }
  bool KeyDown(int key) override { return keys.count(key) != 0; }
  void WaitAllKeysUp() override {}
  input::ControlFlags held{};
  std::set<int> keys;
};

}  // namespace zandrel::game
