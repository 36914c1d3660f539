#include "game/hud.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "engine/overlay.h"

namespace zandrel::game {
namespace {

constexpr float kTextY = 0.962f;

}  // namespace

void DrawCentred(engine::Engine& engine, engine::RenderView& view, const std::string& text, bool big, float y) {
  engine::DrawText(engine, view, text, big, y, 0.5f - engine::TextWidth(text, big) / 2);
}

std::string FormatNumber(std::int64_t number, int width) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

void DrawBottomBar(engine::Engine& engine, engine::RenderView& view, const world::World& world,
                   std::int32_t levelCount) {
  engine.Back->DrawPicture(engine.Pictures[engine::kBarSlot], false, view, 0, 0.945f, 1.0f, 0.055f);
  if (world.TimeLimitOn) {
    const std::int32_t left = world.TimeLeft;
    if (left > 20000 || left % 1000 > 500) {
      engine::DrawText(engine, view,
                       FormatNumber(std::min(left / 60000, 99), 2) + ":" + FormatNumber((left % 60000) / 1000, 2),
                       false, kTextY, 0.13f);
    }
  }
  engine::DrawText(engine, view, FormatNumber(std::min(world.Types[20].IngotCount, 99), 2), false, kTextY, 0.625f);
  const world::PlayerSlot& hero = world.Players[static_cast<std::size_t>(world.LocalSlot)];
  engine::DrawText(engine, view, FormatNumber(std::min(hero.Lives, 99), 2), false, kTextY, 0.787f);
  engine::DrawText(engine, view, FormatNumber(hero.LevelIndex + 1, 3) + "/" + FormatNumber(levelCount, 3), false,
                   kTextY, 0.8937f);
}

bool TimeLimitTickDue(world::World& world) {
  const std::int32_t left = world.TimeLeft;
  if (!world.TimeLimitOn || left > 11000 || left / 1000 == world.LastSecondTicked) return false;
  world.LastSecondTicked = left / 1000;
  return true;
}

void DrawRadar(engine::Engine& engine, engine::RenderView& view, const world::World& world) {
  engine.Back->DrawPicture(engine.Pictures[engine::kRadarSlot], true, view, 0.8f, 0.05f, 0.15625f, 0.2083f);
  const world::PlayerSlot& hero = world.Players[static_cast<std::size_t>(world.LocalSlot)];
  const auto heading = static_cast<std::int32_t>(std::lround(hero.Heading));
  const float c = engine::AngleCos(heading), s = engine::AngleSin(heading);
  for (std::int32_t i = 0; i < world.Map.SentryCount; ++i) {
    const world::Sentry& sentry = world.Map.Sentries[static_cast<std::size_t>(i)];
    const float dx = sentry.X - hero.X, dz = sentry.Z - hero.Z;
    if (!(std::sqrt(dx * dx + dz * dz) < 4096)) continue;
    const float x = ((c * dx - s * dz) / 4096 + 1) * 0.078125f + 0.8f;
    const float y = (1 - (s * dx + c * dz) / 4096) * 0.1041666f + 0.05f;
    const int dot = sentry.State == 0 ? engine::kRadarDot2Slot : engine::kRadarDot1Slot;
    engine.Back->DrawPicture(engine.Pictures[static_cast<std::size_t>(dot)], true, view, x, y, 0.0109375f, 0.014583f);
  }
}

}  // namespace zandrel::game
