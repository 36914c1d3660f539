// SDL key and mouse events as the virtual-key codes the game reads.
#pragma once

#include <SDL2/SDL.h>

namespace zandrel::win::sdl {

// The virtual-key code of a key, 0 when the game has none for it. Letters follow the keyboard
// layout (the key labelled A is 'A'), as virtual keys do; every other key is named by its
// position. Shift, ctrl and alt answer their left or right codes (160..165); the
// either-side codes 16, 17 and 18 come from SidelessKey. The pad's Enter is Return (13).
int VirtualKey(const SDL_Keysym& key);

// 16, 17 or 18 for the sided shift, ctrl and alt codes; 0 for any other code.
int SidelessKey(int vk);

// The other side's code of a sided shift, ctrl or alt code.
int OtherSideKey(int vk);

// Left 1, right 2, middle 4, the two extra buttons 5 and 6; 0 for any other.
int MouseButtonKey(Uint8 button);

}  // namespace zandrel::win::sdl
