// The eight control flags of a player: the four directions and buttons 1 to 4 (jump, look,
// act, menu). The input devices fill the local player's each frame; network players'
// come from their messages.
#pragma once

#include <array>
#include <cstddef>

namespace zandrel::input {

enum Control : std::size_t { kUp, kDown, kLeft, kRight, kButton1, kButton2, kButton3, kButton4 };
inline constexpr std::size_t kControlCount = 8;
using ControlFlags = std::array<bool, kControlCount>;

}  // namespace zandrel::input
