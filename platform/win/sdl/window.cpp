#include "platform/win/sdl/window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "input/virtual_keys.h"
#include "platform/win/sdl/key_map.h"

namespace zandrel::win::sdl {
namespace {

constexpr std::size_t kTypedTextLimit = 256;

std::vector<Rect> Displays() {
  std::vector<Rect> displays;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect b;
    if (SDL_GetDisplayBounds(i, &b) == 0) displays.push_back({b.x, b.y, b.w, b.h});
  }
  return displays;
}

}  // namespace

base::Expected<std::unique_ptr<SdlWindow>> SdlWindow::Create(const WindowSettings& settings) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return base::Failure{std::string("Zandrel: no display (") + SDL_GetError() + ")"};
  }
  std::unique_ptr<SdlWindow> w(new SdlWindow);
  const Rect r = WindowedRect(settings, Displays());
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN;
  if (settings.OpenGl) flags |= SDL_WINDOW_OPENGL;
  w->window_ = SDL_CreateWindow("Zandrel", r.X, r.Y, r.Width, r.Height, flags);
  if (w->window_ == nullptr) {
    const std::string reason = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return base::Failure{"Zandrel: the window cannot be opened (" + reason + ")"};
  }
  w->windowed_ = r;
  // The stick reads the same whether or not the window has the focus, as the system's
  // joystick position query did. Without controllers the game simply has no joystick.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  w->controllers_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  w->joystick_.OpenFirst();
  if (settings.Fullscreen) w->SetFullscreen(true);
  SDL_StartTextInput();
  SDL_ShowWindow(w->window_);
  return w;
}

SdlWindow::~SdlWindow() {
  joystick_.Close();
  SDL_DestroyWindow(window_);
  if (controllers_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int SdlWindow::ClientWidth() const {
  int width = 0;
  SDL_GetWindowSize(window_, &width, nullptr);
  return width;
}

int SdlWindow::ClientHeight() const {
  int height = 0;
  SDL_GetWindowSize(window_, nullptr, &height);
  return height;
}

Rect SdlWindow::Placement() const {
  if (fullscreen_) return windowed_;
  Rect r;
  SDL_GetWindowPosition(window_, &r.X, &r.Y);
  SDL_GetWindowSize(window_, &r.Width, &r.Height);
  return r;
}

void SdlWindow::RememberPlacement() {
  if (!fullscreen_) windowed_ = Placement();
}

bool SdlWindow::SetFullscreen(bool on) {
  if (on == fullscreen_) return true;
  RememberPlacement();
  if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
  fullscreen_ = on;
  if (!on) {
    SDL_SetWindowSize(window_, windowed_.Width, windowed_.Height);
    SDL_SetWindowPosition(window_, windowed_.X, windowed_.Y);
  }
  return true;
}

void SdlWindow::ShowPointer(bool shown) { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

void SdlWindow::SetDisplaySize(int width, int height) {
  windowed_.Width = std::max(windowed_.Width, width);
  windowed_.Height = std::max(windowed_.Height, height);
  if (fullscreen_) return;
  const Rect now = Placement();
  SDL_SetWindowSize(window_, std::max(now.Width, width), std::max(now.Height, height));
}

void SdlWindow::HandleKey(const SDL_KeyboardEvent& event, input::KeyState& keys) {
  const int code = VirtualKey(event.keysym);
  if (code == 0) return;
  const bool down = event.state == SDL_PRESSED;
  if (down && code == input::vk::Return && (event.keysym.mod & KMOD_ALT) != 0) {
    if (event.repeat == 0) SetFullscreen(!fullscreen_);
    return;
  }
  const int sideless = SidelessKey(code);
  if (down) {
    keys.Press(code);
    if (sideless != 0) keys.Press(sideless);
    return;
  }
  keys.Release(code);
  // Either shift (ctrl, alt) keeps the common code down while the other is held.
  if (sideless != 0 && !keys.Held(OtherSideKey(code))) keys.Release(sideless);
}

void SdlWindow::PumpEvents(input::KeyState& keys) {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_QUIT: closeRequested_ = true; break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) closeRequested_ = true;
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) keys.ReleaseAll();
        if (event.window.event == SDL_WINDOWEVENT_MOVED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          RememberPlacement();
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: HandleKey(event.key, keys); break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        pointerSeen_ = true;
        pointerX_ = event.button.x;
        pointerY_ = event.button.y;
        const int code = MouseButtonKey(event.button.button);
        if (code != 0 && event.button.state == SDL_PRESSED) keys.Press(code);
        if (code != 0 && event.button.state == SDL_RELEASED) keys.Release(code);
        break;
      }
      case SDL_MOUSEMOTION:
        pointerSeen_ = true;
        pointerX_ = event.motion.x;
        pointerY_ = event.motion.y;
        break;
      case SDL_TEXTINPUT:
        if (typed_.size() < kTypedTextLimit) typed_ += event.text.text;
        break;
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP:
        if (event.cbutton.button != SDL_CONTROLLER_BUTTON_BACK) break;
        if (event.cbutton.state == SDL_PRESSED) {
          keys.Press(input::vk::GamepadView);
        } else {
          keys.Release(input::vk::GamepadView);
        }
        break;
      case SDL_JOYDEVICEADDED:
      case SDL_JOYDEVICEREMOVED: joystick_.HandleEvent(event); break;
      default: break;
    }
  }
}

std::string SdlWindow::TakeTypedText() { return std::exchange(typed_, {}); }

bool SdlWindow::PointerOnPicture(float& x, float& y) const {
  if (!pointerSeen_) return false;
  const int clientWidth = ClientWidth(), clientHeight = ClientHeight();
  int width = clientWidth, height = clientWidth * 3 / 4;
  if (height > clientHeight) {
    height = clientHeight;
    width = clientHeight * 4 / 3;
  }
  if (width <= 0 || height <= 0) return false;
  x = static_cast<float>(pointerX_ - (clientWidth - width) / 2) / static_cast<float>(width);
  y = static_cast<float>(pointerY_ - (clientHeight - height) / 2) / static_cast<float>(height);
  return true;
}

}  // namespace zandrel::win::sdl
