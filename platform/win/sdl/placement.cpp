#include "platform/win/sdl/placement.h"

#include <algorithm>

namespace zandrel::win::sdl {
namespace {

// How much of the window's top-left corner must lie on a display for the player to grab it.
constexpr int kGripWidth = 64;
constexpr int kGripHeight = 32;

bool Overlaps(const Rect& a, const Rect& b) {
  return a.X < b.X + b.Width && b.X < a.X + a.Width && a.Y < b.Y + b.Height && b.Y < a.Y + a.Height;
}

}  // namespace

Rect WindowedRect(const WindowSettings& settings, std::span<const Rect> displays) {
  Rect r{settings.Left, settings.Top, std::max(settings.DisplayWidth, settings.Width),
         std::max(settings.DisplayHeight, settings.Height)};
  if (displays.empty()) return r;
  const Rect grip{r.X, r.Y, kGripWidth, kGripHeight};
  if (std::any_of(displays.begin(), displays.end(), [&](const Rect& d) { return Overlaps(grip, d); })) {
    return r;
  }
  const Rect& first = displays.front();
  r.X = first.X + std::max(0, (first.Width - r.Width) / 2);
  r.Y = first.Y + std::max(0, (first.Height - r.Height) / 2);
  return r;
}

}  // namespace zandrel::win::sdl
