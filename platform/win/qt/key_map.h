// Qt key and mouse events as the virtual-key codes the editor reads.
#pragma once

#include <QKeyEvent>
#include <Qt>

namespace zandrel::win::qt {

// The virtual-key code of a key event, 0 when the editor has none for it. Letters follow the
// keyboard layout (the key labelled A is 'A'); digits and punctuation are named by their
// unshifted meaning, so Shift+1 is still '1'. Keys of the numeric pad (Qt::KeypadModifier)
// answer the pad's codes: Numpad0 + n, Add, Subtract, Multiply, Divide, Decimal; with Num
// Lock off they are the arrows and page keys they stand for. Shift, ctrl and alt answer their
// left or right code (160..165) when the native key tells the side, else the either-side code
// 16, 17 or 18. The native codes are those of the X keyboard (the xcb and wayland platforms):
// the keysym as native virtual key, the keycode as native scan code.
int VirtualKey(const QKeyEvent& event);

// 16, 17 or 18 for a sided shift, ctrl or alt code; 0 for any other code.
int SidelessKey(int vk);
// The other side's code of a sided shift, ctrl or alt code; 0 for any other code.
int OtherSideKey(int vk);

// Left 1, right 2, middle 4, the two extra buttons 5 and 6; 0 for any other.
int MouseButtonKey(Qt::MouseButton button);

}  // namespace zandrel::win::qt
