#include "input/key_state.h"

namespace zandrel::input {
namespace {

bool ValidKey(int vk) { return vk >= 0 && vk < kKeyCount; }

}  // namespace

void KeyState::Press(int vk) {
  if (!ValidKey(vk)) return;
  down_[vk] = true;
  pressedSinceQuery_[vk] = true;
}

void KeyState::Release(int vk) {
  if (!ValidKey(vk)) return;
  down_[vk] = false;
}

void KeyState::ReleaseAll() { down_.fill(false); }

bool KeyState::KeyDown(int vk) {
  if (!ValidKey(vk)) return false;
  const bool answer = down_[vk] || pressedSinceQuery_[vk];
  pressedSinceQuery_[vk] = false;
  return answer;
}

bool KeyState::AnyKeyDown() {
  bool any = false;
  for (int vk = 0; vk < kKeyCount; ++vk) any = KeyDown(vk) || any;
  return any;
}

bool KeyState::Held(int vk) const { return ValidKey(vk) && down_[vk]; }

}  // namespace zandrel::input
