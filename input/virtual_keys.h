// The Windows virtual-key codes (0..255) by which the game and the editor name keys and mouse
// buttons. The platform translates its own key events into these codes.
#pragma once

namespace zandrel::input::vk {

inline constexpr int LButton = 1;
inline constexpr int RButton = 2;
inline constexpr int MButton = 4;
inline constexpr int XButton1 = 5;
inline constexpr int XButton2 = 6;
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;    // either shift key
inline constexpr int Control = 17;  // either ctrl key
inline constexpr int Menu = 18;     // either alt key
inline constexpr int Pause = 19;
inline constexpr int Capital = 20;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Prior = 33;  // page up
inline constexpr int Next = 34;   // page down
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Snapshot = 44;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
// Digits are '0'..'9' (48..57), letters 'A'..'Z' (65..90).
inline constexpr int LWin = 91;
inline constexpr int RWin = 92;
inline constexpr int Apps = 93;
inline constexpr int Numpad0 = 96;  // Numpad0 + n for the pad's digit n
inline constexpr int Multiply = 106;
inline constexpr int Add = 107;  // the pad's plus
inline constexpr int Separator = 108;
inline constexpr int Subtract = 109;  // the pad's minus
inline constexpr int Decimal = 110;
inline constexpr int Divide = 111;
inline constexpr int F1 = 112;  // F1 + n - 1 for Fn, up to F24 (135)
inline constexpr int F2 = 113;
inline constexpr int F3 = 114;
inline constexpr int F4 = 115;
inline constexpr int F5 = 116;
inline constexpr int F6 = 117;
inline constexpr int F7 = 118;
inline constexpr int F8 = 119;
inline constexpr int F9 = 120;
inline constexpr int F10 = 121;
inline constexpr int F11 = 122;
inline constexpr int F12 = 123;
inline constexpr int NumLock = 144;
inline constexpr int Scroll = 145;
inline constexpr int LShift = 160;
inline constexpr int RShift = 161;
inline constexpr int LControl = 162;
inline constexpr int RControl = 163;
inline constexpr int LMenu = 164;
inline constexpr int RMenu = 165;
inline constexpr int Oem1 = 186;         // ;:
inline constexpr int OemPlus = 187;      // =+
inline constexpr int OemComma = 188;     // ,<
inline constexpr int OemMinus = 189;     // -_
inline constexpr int OemPeriod = 190;    // .>
inline constexpr int Oem2 = 191;         // /?
inline constexpr int Oem3 = 192;         // `~
inline constexpr int GamepadView = 208;  // the controller's Back (View) button
inline constexpr int Oem4 = 219;         // [{
inline constexpr int Oem5 = 220;         // backslash |
inline constexpr int Oem6 = 221;         // ]}
inline constexpr int Oem7 = 222;         // '"
inline constexpr int Oem102 = 226;       // the extra key beside left shift

}  // namespace zandrel::input::vk
