#include <algorithm>

#include "engine/overlay.h"
#include "engine/scene.h"
#include "game/fade.h"
#include "game/hud.h"
#include "game/screens.h"
#include "world/level_scene.h"

namespace zandrel::game {
namespace {

constexpr std::int32_t kDrawnReach = 8;

void DrawCentred(Game& game, const std::string& text, bool big, float y) {
  engine::DrawText(game.Engine, *game.View, text, big, y, 0.5f - engine::TextWidth(text, big) / 2);
}

// The level seen through the hero's eyes, without motion yet.
void DrawLevelScene(Game& game) {
  world::World& world = *game.World;
  world::PlayerSlot& hero = game.Hero();
  hero.CamX = hero.X;
  hero.CamY = hero.Y + 50;
  hero.CamZ = hero.Z;
  const auto cx = static_cast<std::int32_t>(hero.CamX), cy = static_cast<std::int32_t>(hero.CamY),
             cz = static_cast<std::int32_t>(hero.CamZ);
  const auto yaw = static_cast<std::int32_t>(hero.Heading), pitch = static_cast<std::int32_t>(hero.Pitch);
  game.Engine.Back->ClearView(game.View->FogIndex[0], *game.View);
  if (world.Map.Outside != 0 && !world.Bank.Sky.Empty()) {
    engine::BeginScene(game.Engine, *game.View, 0, 0, 0, yaw, pitch, 0);
    engine::AddLight(*game.View, 0, 0, 0, 1000000);
    engine::AddMesh(game.Engine, *game.View, world.Bank.Sky, 0, 0, 0, 0, 0, 0, 0);
    engine::EndScene(game.Engine, *game.View);
  }
  engine::BeginScene(game.Engine, *game.View, cx, cy, cz, yaw, pitch, 0);
  engine::AddLight(*game.View, cx, cy, cz, static_cast<std::int32_t>(hero.LightRadius));
  world::AddLevelCells(game.Engine, *game.View, world, game.Faces,
                       world::CellsAround(world.Map, cx / 512, cy / 512, cz / 512, kDrawnReach));
  engine::EndScene(game.Engine, *game.View);
}

void DrawLevelTitle(Game& game) {
  LevelTitleState& t = game.LevelTitle;
  if (!t.TitleShown) return;
  const world::LevelMap& map = game.World->Map;
  if (!map.LevelName.empty()) DrawCentred(game, map.LevelName, true, 0.5f - t.TitleOffset);
  if (!map.Author.empty()) DrawCentred(game, "AUTHOR:" + map.Author, false, t.TitleOffset + 0.56f);
  const std::uint32_t since = game.Frame.LastTick - t.TitleStart;
  if (since < 3000) t.TitleOffset -= world::TimeScaled(*game.World, t.TitleOffset * 0.2f);
  if (since > 5000) t.TitleOffset += world::TimeScaled(*game.World, (t.TitleOffset + 0.001f) * 0.2f);
  if (since > 10000) t.TitleShown = false;
}

}  // namespace

void PlayFrame(Game& game) {
  FrameState& frame = game.Frame;
  world::PlayerSlot& hero = game.Hero();
  if (frame.FadeDone) {
    if (frame.EndAction == kEndToTitle) {
      StartFade(game, -1);
      ChangeScreen(game, kScreenTitle);
    } else if (frame.EndAction == kEndNextLevel) {
      ++hero.LevelIndex;
      if (hero.LevelIndex < static_cast<std::int32_t>(game.LevelList.size())) {
        StartLevel(game, game.LevelList[static_cast<std::size_t>(hero.LevelIndex)]);
      } else {
        StartFade(game, -1);
        ChangeScreen(game, kScreenCredits);
      }
    }
    return;
  }
  if (hero.Controls[kButton4] && !frame.FadeActive) {
    frame.EndAction = kEndToTitle;
    StartFade(game, +1);
  }
  DrawLevelScene(game);
  DrawLevelTitle(game);
  if (game.World->Map.SentryCount > 0) DrawRadar(game.Engine, *game.View, *game.World);
  if (DrawBottomBar(game.Engine, *game.View, *game.World, static_cast<std::int32_t>(game.LevelList.size()))) {
    game.Services.Sounds.PlayInterface(InterfaceSound::Timer);
  }
}

}  // namespace zandrel::game
