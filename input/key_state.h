// The state of the 256 virtual keys (keyboard keys and mouse buttons), fed by the platform's
// events and read by the game the way the system's asynchronous key query answers.
#pragma once

#include <array>

namespace zandrel::input {

inline constexpr int kKeyCount = 256;

class KeyState {
 public:
  // The platform reports a key or mouse button going down or up. Codes outside 0..255 are
  // ignored.
  void Press(int vk);
  void Release(int vk);
  // Every key up at once (the window lost the keyboard and will not see the releases).
  // Presses not yet read stay readable once.
  void ReleaseAll();

  // True when the key is down now or was pressed since the previous query of that key, so a
  // press and release between two frames reads as pressed once. Codes outside 0..255 read false.
  bool KeyDown(int vk);
  // Queries every code 0..255 as KeyDown does; true when any answered true.
  bool AnyKeyDown();
  // The key is down now; reading it leaves pending presses alone.
  bool Held(int vk) const;

 private:
  std::array<bool, kKeyCount> down_{};
  std::array<bool, kKeyCount> pressedSinceQuery_{};
};

}  // namespace zandrel::input
