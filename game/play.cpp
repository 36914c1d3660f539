#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "engine/camera.h"
#include "engine/overlay.h"
#include "engine/scene.h"
#include "game/fade.h"
#include "game/hero_controls.h"
#include "game/hud.h"
#include "game/screens.h"
#include "world/behaviour.h"
#include "world/level_scene.h"
#include "world/movement.h"
#include "world/sentries.h"

namespace zandrel::game {
namespace {

constexpr std::int32_t kDrawnReach = 8;

std::int32_t Trunc(float value) { return static_cast<std::int32_t>(value); }

// A quantity decaying by half per 90 ms, never past zero.
// The doors the world opened become events of the run.
void RecordOpenedDoors(Game& game) {
  for (const std::int32_t code : game.World->OpenedDoors) Record(game, EventType::DoorOpen, code);
  game.World->OpenedDoors.clear();
}

void Decay(const world::World& world, float& value) {
  const float d = world::TimeScaled(world, value * 0.5f);
  value -= std::abs(d) > std::abs(value) ? value : d;
}

void PlaceCamera(Game& game, world::PlayerSlot& hero) {
  world::World& world = *game.World;
  // The target cell: the layer under the feet, one cell ahead (further when that is the
  // hero's own column), raised to body height when an object there cannot be dug.
  hero.TargetY = world::CellOf(hero.Y - world::kCellSize);
  const auto heading = static_cast<std::int32_t>(hero.Heading);
  float d = world::kCellSize - static_cast<float>(hero.Width / 2);
  float ax = hero.X + engine::AngleSin(heading) * d, az = hero.Z + engine::AngleCos(heading) * d;
  if (world::CellOf(ax) == world::CellOf(hero.X) && world::CellOf(az) == world::CellOf(hero.Z)) {
    d = 1.5f * world::kCellSize - static_cast<float>(hero.Width / 2);
    ax = hero.X + engine::AngleSin(heading) * d;
    az = hero.Z + engine::AngleCos(heading) * d;
  }
  hero.TargetX = world::CellOf(ax);
  hero.TargetZ = world::CellOf(az);
  const world::ObjectType& above = world.Types[world.Map.GetCell(hero.TargetX, hero.TargetY + 1, hero.TargetZ)];
  if (!above.Empty && !above.Dig) ++hero.TargetY;

  hero.CamRoll = hero.View > 0 ? 0 : hero.Roll;
  if (hero.View <= 0) {
    hero.CamX = hero.X;
    hero.CamY = hero.Y + 50;
    hero.CamZ = hero.Z;
    hero.CamYaw = hero.Heading;
    hero.CamPitch = hero.Pitch;
    return;
  }
  const world::Direction look = world::DirectionTo({hero.X, hero.Y, hero.Z}, {hero.CamX, hero.CamY, hero.CamZ});
  hero.CamYaw = look.Heading;
  hero.CamPitch = look.Pitch;
  const float dx = hero.X - hero.CamX, dy = hero.Y - hero.CamY, dz = hero.Z - hero.CamZ;
  const float dist = std::sqrt(dx * dx + dy * dy + dz * dz);
  const auto pitch = static_cast<std::int32_t>(hero.Pitch);
  const auto back = static_cast<std::int32_t>(24576 - hero.Heading);
  const float wantX = hero.X + engine::AngleCos(pitch) * engine::AngleCos(back) * hero.View;
  const float wantY = hero.Y + dist / 2 - engine::AngleSin(pitch) * hero.View;
  const float wantZ = hero.Z + engine::AngleCos(pitch) * engine::AngleSin(back) * hero.View;
  world::MoveBody(world, hero.CamX, hero.CamY, hero.CamZ, hero.StepHeight, 280, 280,
                  world::TimeScaled(world, (wantX - hero.CamX) * 0.1f),
                  world::TimeScaled(world, (wantY - hero.CamY) * 0.2f),
                  world::TimeScaled(world, (wantZ - hero.CamZ) * 0.1f));
  if (dist > hero.View) {
    const auto yaw = static_cast<std::int32_t>(hero.CamYaw), camPitch = static_cast<std::int32_t>(hero.CamPitch);
    const float fx = engine::AngleCos(camPitch) * engine::AngleSin(yaw), fy = engine::AngleSin(camPitch),
                fz = engine::AngleCos(camPitch) * engine::AngleCos(yaw);
    const float step = world::TimeScaled(world, (dist - hero.View) / 3);
    world::MoveBody(world, hero.CamX, hero.CamY, hero.CamZ, hero.StepHeight, 280, 280, fx * step, fy * step, fz * step);
    if (dist - hero.View > 768) {
      hero.CamX += fx * world::kCellSize;
      hero.CamY += fy * world::kCellSize;
      hero.CamZ += fz * world::kCellSize;
    }
  }
}

// The cells drawn and heard around the camera.
world::CellBox CellsAroundCamera(const Game& game, const world::PlayerSlot& hero) {
  return world::CellsAround(game.World->Map, Trunc(hero.CamX) / world::kCellSize, Trunc(hero.CamY) / world::kCellSize,
                            Trunc(hero.CamZ) / world::kCellSize, kDrawnReach);
}

void DrawLevelScene(Game& game, world::PlayerSlot& hero, const world::CellBox& box) {
  world::World& world = *game.World;
  engine::Engine& engine = game.Engine;
  engine::RenderView& view = *game.View;
  const std::int32_t cx = Trunc(hero.CamX) / world::kCellSize, cy = Trunc(hero.CamY) / world::kCellSize,
                     cz = Trunc(hero.CamZ) / world::kCellSize;
  const auto yaw = Trunc(hero.CamYaw), pitch = Trunc(hero.CamPitch), roll = Trunc(hero.CamRoll);
  engine.Back->ClearView(view.FogIndex[0], view);
  if (!world.Bank.Sky.Empty() && world.Map.Outside != 0) {
    engine::BeginScene(engine, view, 0, 0, 0, yaw, pitch, roll);
    engine::AddLight(view, 0, 0, 0, 1000000);
    engine::AddMesh(engine, view, world.Bank.Sky, 0, 0, 0, 0, 0, 0, 0);
    engine::EndScene(engine, view);
  }
  engine::BeginScene(engine, view, Trunc(hero.CamX), Trunc(hero.CamY), Trunc(hero.CamZ), yaw, pitch, roll);
  engine::AddLight(view, Trunc(hero.CamX), Trunc(hero.CamY), Trunc(hero.CamZ), Trunc(hero.LightRadius));
  world::BlendPoses(world);
  const std::int32_t bodyLight = world.Map.GetLight(cx, cy, cz) - 78;
  for (std::int32_t i = 0; i <= world.LastSlot; ++i) {
    world::PlayerSlot& slot = world.Players[static_cast<std::size_t>(i)];
    if (slot.Gone || (i == world.LocalSlot && !(slot.View > 0.3f * static_cast<float>(slot.Width)))) continue;
    const std::int32_t l = slot.Climbing ? slot.LadderHeading : Trunc(slot.Heading);
    engine::AddMesh(engine, view, slot.WorkingMesh, Trunc(slot.X), Trunc(slot.Y), Trunc(slot.Z), 16384 - l, 0, 0,
                    bodyLight);
    world::AddShadow(engine, view, world, slot.Shadow, slot.X, slot.Y, slot.Z, -l - 8192);
  }
  for (std::int32_t i = 0; i < world.Map.SentryCount; ++i) {
    const world::Sentry& s = world.Map.Sentries[static_cast<std::size_t>(i)];
    if (std::abs(s.CellX - cx) >= 8 || std::abs(s.CellY - cy) >= 8 || std::abs(s.CellZ - cz) >= 8) continue;
    // Behind the camera or far off the screen: neither the sentry nor its shadow can show.
    if (!engine::PointVisible(view, 1280, Trunc(s.X), Trunc(s.Y), Trunc(s.Z))) continue;
    engine::AddMesh(engine, view, world.Bank.SentryMesh, Trunc(s.X), Trunc(s.Y), Trunc(s.Z), Trunc(s.Heading) + 16384,
                    0, 0, 0);
    world::AddShadow(engine, view, world, world.Players[0].Shadow, s.X, s.Y, s.Z,
                     -static_cast<std::int32_t>(std::lround(s.Heading)) - 8192);
  }
  for (world::CellAnimation& a : world.Tables.Animations) {
    if (!a.InUse) continue;
    const auto x = static_cast<std::int32_t>(std::lround(a.X)), y = static_cast<std::int32_t>(std::lround(a.Y)),
               z = static_cast<std::int32_t>(std::lround(a.Z));
    if (std::abs(x / world::kCellSize - cx) < 8 && std::abs(y / world::kCellSize - cy) < 8 &&
        std::abs(z / world::kCellSize - cz) < 8) {
      engine::AddMesh(engine, view, a.WorkMesh, x, y, z, 0, 0, 0, 0);
    }
  }
  world::AddSlidingBlocks(engine, view, world, game.Faces);
  world::AddLevelCells(engine, view, world, game.Faces, box, std::array{hero.TargetX, hero.TargetY, hero.TargetZ});
  engine::EndScene(engine, view);
}

void DrawLevelTitle(Game& game) {
  const LevelTitleState& t = game.LevelTitle;
  if (!t.TitleShown) return;
  const world::LevelMap& map = game.World->Map;
  if (!map.LevelName.empty()) DrawCentred(game.Engine, *game.View, map.LevelName, true, 0.5f - t.TitleOffset);
  if (!map.Author.empty()) DrawCentred(game.Engine, *game.View, "AUTHOR:" + map.Author, false, t.TitleOffset + 0.56f);
}

// The two title lines glide toward the middle for three seconds, apart after five, and are
// gone after ten.
void GlideLevelTitle(Game& game) {
  LevelTitleState& t = game.LevelTitle;
  if (!t.TitleShown) return;
  const std::uint32_t since = game.Frame.LastTick - t.TitleStart;
  if (since < 3000) t.TitleOffset -= world::TimeScaled(*game.World, t.TitleOffset * 0.2f);
  if (since > 5000) t.TitleOffset += world::TimeScaled(*game.World, (t.TitleOffset + 0.001f) * 0.2f);
  if (since > 10000) t.TitleShown = false;
}

// The music of a music cell the hero stands in, unless it plays already.
void StartCellMusic(Game& game, const world::PlayerSlot& hero) {
  world::World& world = *game.World;
  const std::int32_t hx = Trunc(hero.X) / world::kCellSize, hy = Trunc(hero.Y) / world::kCellSize,
                     hz = Trunc(hero.Z) / world::kCellSize;
  for (const world::MusicCell& m : world.Map.MusicCells) {
    if (m.X == hx && m.Y == hy && m.Z == hz && m.Music != world.CurrentMusicCell) {
      world.CurrentMusicCell = m.Music;
      game.Services.Music.PlayMusic(m.Music);
      Record(game, EventType::Music, m.Music);
    }
  }
}

void DrawMenu(Game& game) {
  game.Engine.Back->DrawPicture(game.Engine.Pictures[engine::kOptionSlot], true, *game.View, 0, 0, 1, 1);
  game.Engine.Back->DrawPicture(game.Engine.Pictures[engine::kSelectSlot], true, *game.View, 0.2f,
                                0.366f + 0.072f * static_cast<float>(game.Menu.MenuChoice), 0.075f, 0.0708f);
}

// The picture of the play view: the level scene, the level title, the radar, the menu.
void DrawPlayView(Game& game, world::PlayerSlot& hero, const world::CellBox& cells) {
  DrawLevelScene(game, hero, cells);
  DrawLevelTitle(game);
  if (game.World->Map.SentryCount > 0) DrawRadar(game.Engine, *game.View, *game.World);
  if (game.Menu.MenuOpen) DrawMenu(game);
}

}  // namespace

bool HeroTouchesSentry(Game& game) {
  const world::World& world = *game.World;
  const world::PlayerSlot& hero = world.Players[static_cast<std::size_t>(world.LocalSlot)];
  for (std::int32_t i = 0; i < world.Map.SentryCount; ++i) {
    const world::Sentry& s = world.Map.Sentries[static_cast<std::size_t>(i)];
    const std::int32_t dx = Trunc(hero.X - s.X), dy = Trunc(hero.Y - s.Y), dz = Trunc(hero.Z - s.Z);
    const std::int32_t sentryHeight = s.HalfHeight * 2;
    if (std::abs(dy) < (hero.Height + sentryHeight) / 2 && std::abs(dx) < (hero.Width + s.Width) / 2 &&
        std::abs(dz) < (hero.Width + s.Width) / 2) {
      return true;
    }
  }
  return false;
}

void KillHero(Game& game) {
  world::PlayerSlot& hero = game.Hero();
  if (hero.Dead) return;
  game.Services.Sounds.PlayAt(hero.DeathSound, Trunc(hero.X), Trunc(hero.Y), Trunc(hero.Z), 254);
  hero.LightTarget = 0;
  hero.ActionTimer = 2000;
  hero.Dead = true;
  hero.SavedView = hero.View;
  hero.View = world::kCellSize;
  hero.WalkPhase = 0;
  hero.Animation = world::kPoseDead;
  hero.AnimationTime = 700;
  Record(game, EventType::Death, 0);
  if (hero.Lives <= 0) {
    game.Frame.EndAction = EndAction::ToTitle;
    hero.View = hero.SavedView;
    StartFade(game, +1);
  }
}

void PlayFrame(Game& game) {
  FrameState& frame = game.Frame;
  world::World& world = *game.World;
  world::PlayerSlot& hero = game.Hero();
  if (world.LastSlot > 0) game.Network().SendPosition(game);
  hero.LightRadius += world::TimeScaled(world, (hero.LightTarget - hero.LightRadius) * 0.1f);
  if (frame.FadeDone) {
    if (frame.EndAction == EndAction::ToTitle) {
      StartFade(game, -1);
      ChangeScreen(game, Screen::Title);
    } else if (frame.EndAction == EndAction::NextLevel) {
      ++hero.LevelIndex;
      if (hero.LevelIndex < static_cast<std::int32_t>(game.LevelList.size())) {
        StartLevel(game, game.LevelList[static_cast<std::size_t>(hero.LevelIndex)]);
      } else {
        StartFade(game, -1);
        ChangeScreen(game, Screen::Credits);
        Record(game, EventType::Credits, 0);
      }
    }
    return;
  }
  if (hero.Lives < 0) {
    // The game is over. The last death may have come during the level's fade-in, which
    // refused the fade-out to the title: it starts now.
    StartFade(game, +1);
    return;
  }
  if (hero.ActionTimer > 0) {
    hero.ActionTimer = std::max(hero.ActionTimer - frame.FrameTime, 0);
  } else {
    HeroControls(game);
    RecordOpenedDoors(game);
    if (hero.Dead) {
      --hero.Lives;
      Record(game, EventType::LifeLost, hero.Lives);
      if (hero.Lives < 0) {
        Record(game, EventType::GameOver, 0);
        return;
      }
      hero.View = hero.SavedView;
      StartLevel(game, game.LevelList[static_cast<std::size_t>(hero.LevelIndex)]);
      Notice(game, std::to_string(hero.Lives) + " LIVES LEFT");
    }
  }
  if (frame.VideoPlaying) return;
  world::UpdateWorld(world, *game.View, game.Services.Sounds);
  RecordOpenedDoors(game);
  const bool menuOpen = game.Menu.MenuOpen;
  if (!menuOpen) {
    world::UpdateSentries(world, game.Services.Sounds);
    if (world.TimeLimitOn) {
      world.TimeLeft -= frame.FrameTime;
      if (world.TimeLeft < 0) {
        world.TimeLeft = 0;
        world.TimeLimitOn = false;
        KillHero(game);
      }
    }
    const world::Point feet{hero.X, hero.Y - static_cast<float>(hero.Height / 2) + 5, hero.Z};
    const world::ObjectType& under =
        world.Types[world.Map.GetCell(world::CellOf(feet.X), world::CellOf(feet.Y), world::CellOf(feet.Z))];
    if (!under.Empty && (under.Death || under.Dig) && world::InsideShape(world, feet)) KillHero(game);
    if (world::CellOf(hero.X) == world.Map.ExitX && world::CellOf(hero.Y) == world.Map.ExitY &&
        world::CellOf(hero.Z) == world.Map.ExitZ && !frame.FadeActive) {
      frame.EndAction = EndAction::NextLevel;
      StartFade(game, +1);
      Record(game, EventType::ExitReached, 0);
    }
    hero.VerticalSpeed -= world::TimeScaled(world, 24);
    if (hero.Climbing) {
      hero.VerticalSpeed = 0;
      const world::ObjectType& here =
          world.Types[world.Map.GetCell(world::CellOf(hero.X), world::CellOf(hero.Y), world::CellOf(hero.Z))];
      if (here.Empty || !here.Ladder) {
        hero.Climbing = false;
        hero.VerticalSpeed = 102.4f;
        hero.Z += hero.LadderOffsetZ;
        hero.X += hero.LadderOffsetX;
      }
    }
    for (std::int32_t i = 0; i <= world.LastSlot; ++i) {
      world::PlayerSlot& slot = world.Players[static_cast<std::size_t>(i)];
      if (slot.Gone) continue;
      slot.Heading += slot.TurnDelta;
      Decay(world, slot.TurnDelta);
      slot.Pitch += world::TimeScaled(world, (slot.PitchTarget - slot.Pitch) * 0.2f);
      slot.Roll += world::TimeScaled(world, (slot.RollTarget - slot.Roll) * 0.2f);
      const bool hit = world::MoveBody(
          world, slot.X, slot.Y, slot.Z, slot.StepHeight, slot.Height, slot.Width, world::TimeScaled(world, slot.VelX),
          world::TimeScaled(world, slot.VelY + slot.VerticalSpeed), world::TimeScaled(world, slot.VelZ));
      Decay(world, slot.VelX);
      Decay(world, slot.VelY);
      Decay(world, slot.VelZ);
      if (hit && std::abs(slot.VerticalSpeed) > 1) {
        if (slot.VerticalSpeed < 0) slot.Landed = true;
        if (slot.VerticalSpeed < -200) {
          slot.ActionTimer = std::abs(static_cast<std::int32_t>(std::lround(slot.VerticalSpeed)));
          game.Services.Sounds.PlayAt(slot.HurtSound, Trunc(slot.X), Trunc(slot.Y), Trunc(slot.Z), 254);
          slot.Animation = world::kPoseCrouch;
          slot.AnimationTime = 300;
        } else if (slot.VerticalSpeed < -50) {
          game.Services.Sounds.PlayAt(slot.StepSound, Trunc(slot.X), Trunc(slot.Y), Trunc(slot.Z), 254);
        }
        slot.VerticalSpeed = 0;
      }
    }
  }
  // The play view, in its order: the camera placed, the music of a music cell, the due loop
  // sounds of the cells around, the picture, the level title moved on, a sentry's touch,
  // the sounds heard from where the camera now is; then the bottom bar, and the time
  // limit's last seconds ticking as the bar shows them.
  PlaceCamera(game, hero);
  StartCellMusic(game, hero);
  const world::CellBox cells = CellsAroundCamera(game, hero);
  world::PlayLoopSounds(*game.World, game.Services.Sounds, cells);
  DrawPlayView(game, hero, cells);
  GlideLevelTitle(game);
  if (!hero.Dead && HeroTouchesSentry(game)) KillHero(game);
  game.Services.Sounds.UpdateSounds(game.View->Cam);
  DrawBottomBar(game.Engine, *game.View, world, static_cast<std::int32_t>(game.LevelList.size()));
  if (TimeLimitTickDue(world)) game.Services.Sounds.PlayInterface(InterfaceSound::Timer);
}

}  // namespace zandrel::game
