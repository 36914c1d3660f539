#include "platform/win/sdl/window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "input/controls.h"
#include "input/virtual_keys.h"
#include "platform/win/sdl/message_box.h"

// The offscreen driver's OpenGL libraries keep allocations for the life of the process;
// the leak checker of sanitizer builds is told to leave what SDL's video start-up holds,
// which it can only see with full stacks (those libraries have no frame pointers).
extern "C" const char* __lsan_default_suppressions() { return "leak:libSDL2\n"; }
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

namespace zandrel::win::sdl {
namespace {
namespace vk = input::vk;

// Opens the window under SDL's display-less "dummy" video driver; a machine where even that
// cannot start skips these tests.
class SdlWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    WindowSettings settings;
    settings.OpenGl = false;  // the dummy driver has no OpenGL
    auto created = SdlWindow::Create(settings);
    if (!created) GTEST_SKIP() << "SDL video cannot start here: " << created.error();
    window = std::move(*created);
  }

  void PushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }

  void PushMouse(Uint32 type, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }

  void PushWindowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    e.window.windowID = SDL_GetWindowID(window->Handle());
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }

  // The codes that read down, each queried once.
  std::vector<int> CodesDown() {
    std::vector<int> down;
    for (int code = 0; code < input::kKeyCount; ++code) {
      if (keys.KeyDown(code)) down.push_back(code);
    }
    return down;
  }

  std::unique_ptr<SdlWindow> window;
  input::KeyState keys;
};

TEST_F(SdlWindowTest, OpensAtTheDisplaySize) {
  ASSERT_NE(window->Handle(), nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(window->Handle()), "Zandrel");
  EXPECT_EQ(window->ClientWidth(), 640);
  EXPECT_EQ(window->ClientHeight(), 480);
  EXPECT_FALSE(window->Fullscreen());
  EXPECT_FALSE(window->CloseRequested());
  window->PumpEvents(keys);
  EXPECT_FALSE(keys.AnyKeyDown());
}

struct KeyCase {
  SDL_Scancode scancode;
  SDL_Keycode sym;
  std::vector<int> codes;  // what reads down while it is held
};

TEST_F(SdlWindowTest, KeysArriveAsVirtualKeys) {
  const KeyCase cases[] = {
      {SDL_SCANCODE_A, SDLK_a, {'A'}},
      {SDL_SCANCODE_Z, SDLK_z, {'Z'}},
      {SDL_SCANCODE_Q, SDLK_a, {'A'}},  // a layout that puts A where Q is
      {SDL_SCANCODE_1, SDLK_1, {'1'}},
      {SDL_SCANCODE_0, SDLK_0, {'0'}},
      {SDL_SCANCODE_LEFT, SDLK_LEFT, {vk::Left}},
      {SDL_SCANCODE_UP, SDLK_UP, {vk::Up}},
      {SDL_SCANCODE_RIGHT, SDLK_RIGHT, {vk::Right}},
      {SDL_SCANCODE_DOWN, SDLK_DOWN, {vk::Down}},
      {SDL_SCANCODE_SPACE, SDLK_SPACE, {vk::Space}},
      {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, {vk::Escape}},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, {vk::Return}},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, {vk::Return}},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, {vk::Shift, vk::LShift}},
      {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, {vk::Shift, vk::RShift}},
      {SDL_SCANCODE_LCTRL, SDLK_LCTRL, {vk::Control, vk::LControl}},
      {SDL_SCANCODE_RCTRL, SDLK_RCTRL, {vk::Control, vk::RControl}},
      {SDL_SCANCODE_LALT, SDLK_LALT, {vk::Menu, vk::LMenu}},
      {SDL_SCANCODE_F1, SDLK_F1, {vk::F1}},
      {SDL_SCANCODE_F4, SDLK_F4, {115}},
      {SDL_SCANCODE_F9, SDLK_F9, {120}},
      {SDL_SCANCODE_F12, SDLK_F12, {123}},
      {SDL_SCANCODE_KP_0, SDLK_KP_0, {96}},
      {SDL_SCANCODE_KP_9, SDLK_KP_9, {105}},
      {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, {107}},
      {SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, {109}},
      {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, {111}},
      {SDL_SCANCODE_MUTE, SDLK_MUTE, {}},  // no virtual key: nothing
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(SDL_GetScancodeName(c.scancode));
    PushKey(SDL_KEYDOWN, c.scancode, c.sym);
    window->PumpEvents(keys);
    EXPECT_EQ(CodesDown(), c.codes);
    PushKey(SDL_KEYUP, c.scancode, c.sym);
    window->PumpEvents(keys);
    EXPECT_EQ(CodesDown(), std::vector<int>{});
  }
}

TEST_F(SdlWindowTest, ATapBetweenPumpsReadsOnce) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE, SDLK_SPACE);
  PushKey(SDL_KEYUP, SDL_SCANCODE_SPACE, SDLK_SPACE);
  window->PumpEvents(keys);
  EXPECT_TRUE(keys.KeyDown(vk::Space));
  EXPECT_FALSE(keys.KeyDown(vk::Space));
}

TEST_F(SdlWindowTest, ShiftStaysDownWhileEitherSideIsHeld) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
  PushKey(SDL_KEYUP, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT);
  window->PumpEvents(keys);
  // Left shift reads once more: it went down since the last query.
  EXPECT_EQ(CodesDown(), (std::vector<int>{vk::Shift, vk::LShift, vk::RShift}));
  PushKey(SDL_KEYUP, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
  window->PumpEvents(keys);
  EXPECT_EQ(CodesDown(), std::vector<int>{});
}

TEST_F(SdlWindowTest, MouseButtonsHaveTheirCodes) {
  const std::pair<Uint8, int> cases[] = {{SDL_BUTTON_LEFT, vk::LButton},
                                         {SDL_BUTTON_RIGHT, vk::RButton},
                                         {SDL_BUTTON_MIDDLE, vk::MButton},
                                         {SDL_BUTTON_X1, vk::XButton1}};
  for (const auto& [button, code] : cases) {
    SCOPED_TRACE(code);
    PushMouse(SDL_MOUSEBUTTONDOWN, button);
    window->PumpEvents(keys);
    EXPECT_EQ(CodesDown(), std::vector<int>{code});
    PushMouse(SDL_MOUSEBUTTONUP, button);
    window->PumpEvents(keys);
    EXPECT_EQ(CodesDown(), std::vector<int>{});
  }
}

TEST_F(SdlWindowTest, WaitAllKeysUpWaitsForTheMouseButtonToo) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN);
  PushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
  int pumps = 0;
  input::WaitAllKeysUp(keys, [&] {
    ++pumps;
    if (pumps == 2) PushKey(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN);
    if (pumps == 4) PushMouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    window->PumpEvents(keys);
    return !window->CloseRequested();
  });
  EXPECT_EQ(pumps, 4);
}

TEST_F(SdlWindowTest, LosingTheFocusReleasesEveryKey) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_UP, SDLK_UP);
  PushMouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
  window->PumpEvents(keys);
  EXPECT_EQ(CodesDown(), (std::vector<int>{vk::RButton, vk::Up}));
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  window->PumpEvents(keys);
  EXPECT_EQ(CodesDown(), std::vector<int>{});
}

TEST_F(SdlWindowTest, CloseRequests) {
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  window->PumpEvents(keys);
  EXPECT_TRUE(window->CloseRequested());
}

TEST_F(SdlWindowTest, QuitIsACloseRequest) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  window->PumpEvents(keys);
  EXPECT_TRUE(window->CloseRequested());
}

TEST_F(SdlWindowTest, AltEnterTogglesFullScreenAndKeepsThePlacement) {
  const Rect before = window->Placement();
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT);
  window->PumpEvents(keys);
  if (!window->Fullscreen()) GTEST_SKIP() << "no full-screen mode here: " << SDL_GetError();
  EXPECT_FALSE(keys.KeyDown(vk::Return));  // the toggle is not a key for the game
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  EXPECT_EQ(window->ClientWidth(), desktop.w);
  EXPECT_EQ(window->ClientHeight(), desktop.h);
  const Rect saved = window->Placement();
  EXPECT_EQ(saved.Width, before.Width);
  EXPECT_EQ(saved.Height, before.Height);
  EXPECT_TRUE(window->SetFullscreen(false));
  window->PumpEvents(keys);
  EXPECT_EQ(window->ClientWidth(), before.Width);
  EXPECT_EQ(window->ClientHeight(), before.Height);
}

TEST_F(SdlWindowTest, ALargerDisplayGrowsTheWindow) {
  window->SetDisplaySize(800, 600);
  EXPECT_EQ(window->ClientWidth(), 800);
  EXPECT_EQ(window->ClientHeight(), 600);
  window->SetDisplaySize(640, 480);  // the window keeps the larger size
  EXPECT_EQ(window->ClientWidth(), 800);
  EXPECT_EQ(window->ClientHeight(), 600);
}

// A virtual device of each kind: SDL maps a "game controller" one's buttons 0..3 to A, B, X, Y
// and its axes 0 and 1 to the left stick; a plain one is read by its numbers.
TEST_F(SdlWindowTest, JoystickArrivesLeavesAndComesBack) {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) GTEST_SKIP() << "no controller subsystem";
  for (const SDL_JoystickType type : {SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_JOYSTICK_TYPE_UNKNOWN}) {
    SCOPED_TRACE(type == SDL_JOYSTICK_TYPE_UNKNOWN ? "plain joystick" : "game controller");
    input::InputDevices devices(keys, &window->Joystick());
    devices.ProbeJoystick();
    ASSERT_TRUE(devices.NoJoystick());
    EXPECT_FALSE(window->Joystick().ReadJoystick().Connected);

    const int index = SDL_JoystickAttachVirtual(type, 2, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    EXPECT_EQ(SDL_IsGameController(index) != 0, type == SDL_JOYSTICK_TYPE_GAMECONTROLLER);
    window->PumpEvents(keys);
    SDL_Joystick* driver = SDL_JoystickOpen(index);
    ASSERT_NE(driver, nullptr) << SDL_GetError();
    SDL_JoystickSetVirtualAxis(driver, 0, -32768);
    SDL_JoystickSetVirtualAxis(driver, 1, 32767);
    SDL_JoystickSetVirtualButton(driver, 0, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(driver, 3, SDL_PRESSED);
    window->PumpEvents(keys);
    input::JoystickState s = window->Joystick().ReadJoystick();
    EXPECT_TRUE(s.Connected);
    EXPECT_EQ(s.X, 0u);
    EXPECT_EQ(s.Y, 65535u);
    EXPECT_EQ(s.Buttons, 1u | 8u);

    // Plugged in after start-up: the game never asks it (it probed once).
    EXPECT_FALSE(devices.JoyLeft());
    devices.ProbeJoystick();
    EXPECT_TRUE(devices.JoyLeft());
    EXPECT_TRUE(devices.JoyDown());
    EXPECT_TRUE(devices.JoyButton(1));
    EXPECT_TRUE(devices.JoyButton(4));
    EXPECT_FALSE(devices.JoyButton(2));

    SDL_JoystickClose(driver);
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    window->PumpEvents(keys);
    EXPECT_FALSE(window->Joystick().ReadJoystick().Connected);
    EXPECT_FALSE(devices.JoyLeft());

    const int again = SDL_JoystickAttachVirtual(type, 2, 4, 0);
    ASSERT_GE(again, 0) << SDL_GetError();
    window->PumpEvents(keys);
    s = window->Joystick().ReadJoystick();
    EXPECT_TRUE(s.Connected);
    EXPECT_EQ(s.X, 32768u);
    EXPECT_EQ(s.Buttons, 0u);
    SDL_JoystickDetachVirtual(again);
    window->PumpEvents(keys);
    EXPECT_FALSE(window->Joystick().ReadJoystick().Connected);
  }
}

TEST(SdlMessageBox, WithoutADisplayShowsNothingAndReturns) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SdlMessageBox box;
  box.Show("Zandrel", "No 3DFX card detected !");
  SUCCEED();
}

TEST(SdlWindowOpenGl, OpensWithAnOpenGlSurfaceWhereOneExists) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  WindowSettings settings;
  settings.DisplayWidth = 800;
  settings.DisplayHeight = 600;
  auto created = SdlWindow::Create(settings);
  if (!created) GTEST_SKIP() << "no OpenGL window here: " << created.error();
  EXPECT_NE(SDL_GetWindowFlags((*created)->Handle()) & SDL_WINDOW_OPENGL, 0u);
  EXPECT_EQ((*created)->ClientWidth(), 800);
  EXPECT_EQ((*created)->ClientHeight(), 600);
}

}  // namespace
}  // namespace zandrel::win::sdl
