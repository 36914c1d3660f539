#include "game/hero_controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/angles.h"
#include "game/fade.h"
#include "game/screens.h"
#include "world/behaviour.h"
#include "world/level_list.h"

namespace zandrel::game {
namespace {

constexpr float kJumpSpeed = 1280.0f / 7.0f;  // 182.857...
constexpr float kSpringSpeed = 435.2f;

// Plays a type's action sound at the hero.
void PlayAction(Game& game, const world::ObjectType& type, const world::PlayerSlot& hero) {
  game.Services.Sounds.PlayAt(type.ActionSound, static_cast<std::int32_t>(std::lround(hero.X)),
                              static_cast<std::int32_t>(std::lround(hero.Y)),
                              static_cast<std::int32_t>(std::lround(hero.Z)), type.ActionVolume);
}

void Pickups(Game& game, world::PlayerSlot& hero) {
  world::World& world = *game.World;
  const std::int32_t x = world::CellOf(hero.X), y = world::CellOf(hero.Y), z = world::CellOf(hero.Z);
  const world::ObjectType& type = world.Types[world.Map.GetCell(x, y, z)];
  if (type.Empty) return;
  const std::int32_t code = world.Map.GetCell(x, y, z);
  if (type.Lingot || type.Timer || type.OneUp || type.Light) Record(game, EventType::Pickup, code);
  if (type.Lingot) {
    PlayAction(game, type, hero);
    world.Map.SetCell(x, y, z, 0);
    if (type.IngotCount <= 0) {
      world::OpenDoors(world, game.Services.Sounds, type.LingotDoor);
    }
  }
  if (type.Timer) {
    PlayAction(game, type, hero);
    world.Map.SetCell(x, y, z, 0);
    world.TimeLimitOn = true;
    world.TimeLeft += type.TimerDuration;
  }
  if (type.Spring) {
    PlayAction(game, type, hero);
    hero.VerticalSpeed = kSpringSpeed;
  }
  if (type.OneUp) {
    PlayAction(game, type, hero);
    world.Map.SetCell(x, y, z, 0);
    if (hero.Lives < 99) ++hero.Lives;
  }
  if (type.Light) {
    PlayAction(game, type, hero);
    world.Map.SetCell(x, y, z, 0);
    hero.LightTarget = hero.LightTarget == 5000 ? 2000 : 5000;
  }
}

// A ladder's face seen along one axis: the hero's coordinates along it and across it, the
// ladder cell's, and the ladder box's extent on both.
struct LadderAxis {
  float& Along;
  float& Across;
  float& OffsetAlong;
  float& OffsetAcross;
  std::int32_t CellAlong, CellAcross;
  std::int32_t Low, High, AcrossLow, AcrossHigh;
};

// Stands the hero against the face he looks at (the low one when facing the axis's plus
// direction), centred across it; false when he is already beyond the face.
bool StandAtLadderFace(const LadderAxis& axis, bool facingPlus, float half) {
  const float face = static_cast<float>(axis.CellAlong * world::kCellSize + (facingPlus ? axis.Low : axis.High));
  const float stand = facingPlus ? face - half : face + half;
  if (facingPlus ? axis.Along > stand : axis.Along < stand) return false;
  axis.Along = stand;
  axis.Across = static_cast<float>(axis.CellAcross * world::kCellSize + (axis.AcrossLow + axis.AcrossHigh) / 2);
  axis.OffsetAcross = 0;
  axis.OffsetAlong = facingPlus ? half : -half;
  return true;
}

void WalkPose(Game& game, world::PlayerSlot& hero) {
  hero.WalkPhase += world::TimeScaled(*game.World, 0.8f);
  if (hero.WalkPhase > 1 && hero.Landed && world::NextWalkPose(hero)) {
    game.Services.Sounds.PlayAt(hero.StepSound, static_cast<std::int32_t>(hero.X), static_cast<std::int32_t>(hero.Y),
                                static_cast<std::int32_t>(hero.Z), 254);
  }
  if (hero.Landed && !hero.Controls[input::kButton1]) hero.Landed = false;
}

void LadderPose(Game& game, world::PlayerSlot& hero) {
  hero.WalkPhase += world::TimeScaled(*game.World, 0.4f);
  if (hero.WalkPhase > 1) {
    hero.WalkPhase = 0;
    hero.Animation = hero.Animation == world::kPoseLadder1 ? world::kPoseLadder2 : world::kPoseLadder1;
    hero.AnimationTime = 200;
    game.Services.Sounds.PlayAt(hero.StepSound, static_cast<std::int32_t>(hero.X), static_cast<std::int32_t>(hero.Y),
                                static_cast<std::int32_t>(hero.Z), 254);
  }
}

// Places the hero against the ladder of his cell, facing it; false when he stands beyond
// its face.
bool GrabLadder(const world::World& world, world::PlayerSlot& hero) {
  const std::int32_t cx = world::CellOf(hero.X), cy = world::CellOf(hero.Y), cz = world::CellOf(hero.Z);
  const world::ObjectType& type = world.Types[world.Map.GetCell(cx, cy, cz)];
  if (type.Empty || !type.Ladder) return false;
  const world::Box& b = type.Bounds;
  const auto heading = static_cast<std::int32_t>(hero.Heading);
  const float s = engine::AngleSin(heading) * world::kCellSize, c = engine::AngleCos(heading) * world::kCellSize;
  const bool alongX = b.Xmax - b.Xmin > b.Zmax - b.Zmin;
  const float half = static_cast<float>(hero.Width / 2);
  if (std::abs(c) >= std::abs(s) && alongX) {
    if (!StandAtLadderFace(
            {hero.Z, hero.X, hero.LadderOffsetZ, hero.LadderOffsetX, cz, cx, b.Zmin, b.Zmax, b.Xmin, b.Xmax}, c > 0,
            half)) {
      return false;
    }
    hero.Heading = c > 0 ? 0.0f : 16384.0f;
  } else {
    if (!StandAtLadderFace(
            {hero.X, hero.Z, hero.LadderOffsetX, hero.LadderOffsetZ, cx, cz, b.Xmin, b.Xmax, b.Zmin, b.Zmax}, s > 0,
            half)) {
      return false;
    }
    hero.Heading = s > 0 ? 8192.0f : 24576.0f;
  }
  hero.LadderHeading = static_cast<std::int32_t>(hero.Heading);
  hero.VelX = hero.VelZ = 0;
  hero.Climbing = true;
  return true;
}

constexpr std::uint32_t kMenuRepeatDelay = 400;  // ms before a held Up or Down steps again
constexpr std::uint32_t kMenuRepeatStep = 125;   // ms between its later steps

// Up or Down: a press steps at once; held, it steps again after the delay, then each step.
bool MenuStep(MenuState& menu, bool held, bool pressed, std::uint32_t now) {
  if (pressed) {
    menu.RepeatAt = now + kMenuRepeatDelay;
    return true;
  }
  if (!held || static_cast<std::int32_t>(now - menu.RepeatAt) < 0) return false;
  menu.RepeatAt += kMenuRepeatStep;
  return true;
}

void Menu(Game& game, world::PlayerSlot& hero, const input::ControlFlags& pressed) {
  MenuState& menu = game.Menu;
  const input::ControlFlags& c = hero.Controls;
  GameSounds& sounds = game.Services.Sounds;
  if (pressed[input::kButton1] || pressed[input::kButton2] || pressed[input::kButton3]) {
    sounds.PlayInterface(InterfaceSound::Click);
    const std::int32_t levelCount = static_cast<std::int32_t>(game.LevelList.size());
    switch (menu.MenuChoice) {
      case 0:
        StartLevel(game, game.LevelList[static_cast<std::size_t>(hero.LevelIndex)]);
        Notice(game, "LEVEL RESTARTED");
        menu.MenuOpen = false;
        break;
      case 1: {
        const world::SavedGame saved = world::LoadSavedGame(game.Services.DataFolder, levelCount);
        hero.LevelIndex = saved.LevelIndex;
        hero.Lives = saved.Lives;
        StartLevel(game, game.LevelList[static_cast<std::size_t>(hero.LevelIndex)]);
        Notice(game, "GAME LOADED");
        menu.MenuOpen = false;
        break;
      }
      case 2:
        if (base::Status saved = world::StoreSavedGame(game.Services.DataFolder, hero.LevelIndex, hero.Lives); saved) {
          Notice(game, "GAME SAVED");
        } else {
          std::fprintf(stderr, "zandrel: %s\n", saved.error().c_str());
          Notice(game, "SAVE FAILED");
        }
        menu.MenuOpen = false;
        break;
      case 3:
        hero.View += world::kCellSize;
        if (hero.View > 3 * world::kCellSize) hero.View = 0;
        Notice(game, ViewName(hero.View));
        break;
      case 4:
        game.Frame.EndAction = EndAction::ToTitle;
        StartFade(game, +1);
        break;
      default: menu.MenuOpen = false; break;
    }
  }
  const std::uint32_t now = game.Frame.LastTick;
  if (MenuStep(menu, c[input::kUp], pressed[input::kUp], now)) {
    menu.MenuChoice = menu.MenuChoice == 0 ? 5 : menu.MenuChoice - 1;
    sounds.PlayInterface(InterfaceSound::Choice);
  }
  if (MenuStep(menu, c[input::kDown], pressed[input::kDown], now)) {
    menu.MenuChoice = menu.MenuChoice == 5 ? 0 : menu.MenuChoice + 1;
    sounds.PlayInterface(InterfaceSound::Choice);
  }
  if (pressed[input::kButton4]) {
    menu.MenuOpen = false;
    sounds.PlayInterface(InterfaceSound::Click);
  }
}

}  // namespace

const char* ViewName(float view) {
  if (view >= 3 * world::kCellSize) return "CAMERA VIEW 3";
  if (view >= 2 * world::kCellSize) return "CAMERA VIEW 2";
  if (view >= world::kCellSize) return "CAMERA VIEW 1";
  return "1ST PERSON VIEW";
}

void HeroControls(Game& game) {
  world::World& world = *game.World;
  world::PlayerSlot& hero = game.Hero();
  const input::ControlFlags& c = hero.Controls;
  input::ControlFlags pressed{};
  for (std::size_t i = 0; i < c.size(); ++i) pressed[i] = c[i] && !game.Menu.HeldBefore[i];
  game.Menu.HeldBefore = c;
  Pickups(game, hero);

  bool anyControl = false;
  for (bool held : c) anyControl = anyControl || held;
  if (!anyControl && !hero.Climbing) {
    hero.Animation = world::kPoseStand;
    hero.AnimationTime = 200;
  }
  if (!hero.Landed && !hero.Climbing) {
    hero.Animation = world::kPoseFall;
    hero.AnimationTime = 100;
  }
  if (game.Menu.MenuOpen) {
    Menu(game, hero, pressed);
    return;
  }

  hero.PitchTarget =
      std::abs(hero.VerticalSpeed) <= 256.0f / 3.0f ? 0.0f : std::clamp(hero.VerticalSpeed * 40, -7000.0f, 7000.0f);
  hero.RollTarget = 0;

  Controls& input = game.Services.Input;
  if (input.KeyDown(input::vk::Add) && hero.View >= world::kCellSize) {
    hero.View -= world::kCellSize;
    game.Services.Sounds.PlayInterface(InterfaceSound::Click);
  }
  if (input.KeyDown(input::vk::Subtract) && hero.View < 3 * world::kCellSize) {
    hero.View += world::kCellSize;
    game.Services.Sounds.PlayInterface(InterfaceSound::Click);
  }

  if (c[input::kButton1]) {
    if (hero.Climbing) {
      hero.Climbing = false;
      hero.VerticalSpeed = kJumpSpeed;
      return;
    }
    if (std::abs(hero.VerticalSpeed) < 51.2f && hero.Landed) {
      hero.VerticalSpeed = kJumpSpeed;
      hero.Landed = false;
    }
  }

  const auto heading = static_cast<std::int32_t>(hero.Heading);
  const float walk = static_cast<float>(hero.WalkSpeed);
  bool stop = false;
  if (c[input::kButton2]) {
    if (c[input::kUp]) hero.PitchTarget = -6000;
    if (c[input::kDown]) hero.PitchTarget = 6000;
  } else if (hero.Climbing && (c[input::kUp] || c[input::kDown])) {
    // On a ladder Up comes first, and either one ends the walking steps.
    if (c[input::kUp]) {
      hero.VelY = world::TimeScaled(world, walk);
      hero.PitchTarget = 6000;
    } else {
      hero.VelY = -world::TimeScaled(world, walk);
      hero.PitchTarget = -6000;
      const world::ObjectType& below = world.Types[world.Map.GetCell(
          world::CellOf(hero.X), world::CellOf(hero.Y - static_cast<float>(hero.Height)), world::CellOf(hero.Z))];
      if (below.Empty || !below.Ladder) hero.Climbing = false;
    }
    LadderPose(game, hero);
    stop = true;
  } else {
    // Up and Down held together both apply: the steps cancel and the hero stands.
    if (c[input::kUp]) {
      hero.VelX += world::TimeScaled(world, engine::AngleSin(heading) * walk);
      hero.VelZ += world::TimeScaled(world, engine::AngleCos(heading) * walk);
      WalkPose(game, hero);
    }
    if (c[input::kDown]) {
      hero.VelX -= world::TimeScaled(world, engine::AngleSin(heading) * walk);
      hero.VelZ -= world::TimeScaled(world, engine::AngleCos(heading) * walk);
      WalkPose(game, hero);
    }
  }
  if (stop) return;

  if (c[input::kRight]) {
    hero.TurnDelta = world::TimeScaled(world, static_cast<float>(hero.TurnSpeed));
    hero.RollTarget = 500;
  }
  if (c[input::kLeft]) {
    hero.TurnDelta = -world::TimeScaled(world, static_cast<float>(hero.TurnSpeed));
    hero.RollTarget = -500;
  }

  if (c[input::kButton3]) {
    const world::ObjectType& target = world.Types[world.Map.GetCell(hero.TargetX, hero.TargetY, hero.TargetZ)];
    if (!target.Empty && target.Dig) {
      if (world::Dig(world, game.Services.Sounds, hero.TargetX, hero.TargetY, hero.TargetZ, 10000))
        Record(game, EventType::Dig);
      hero.Animation = world::kPoseShoot;
      hero.ActionTimer = 500;
      hero.AnimationTime = 250;
    } else if (!target.Empty && target.CanPush &&
               std::abs(hero.Y - static_cast<float>(hero.TargetY * world::kCellSize)) <
                   static_cast<float>(hero.Height)) {
      if (world::Push(world, game.Services.Sounds, hero.TargetX, hero.TargetY, hero.TargetZ,
                      static_cast<std::int32_t>(std::lround(hero.Heading)))) {
        Record(game, EventType::Push);
      }
      hero.Animation = world::kPoseShoot;
      hero.AnimationTime = 100;
      hero.ActionTimer = 500;
    } else if (!target.Empty && target.Lever) {
      world::ThrowLever(world, game.Services.Sounds, hero.TargetX, hero.TargetY, hero.TargetZ);
      Record(game, EventType::Lever, 0,
             std::to_string(hero.TargetX) + "," + std::to_string(hero.TargetY) + "," + std::to_string(hero.TargetZ));
      hero.Animation = world::kPoseShoot;
      hero.AnimationTime = 100;
      hero.ActionTimer = 300;
    }
  }

  if (c[input::kUp]) {
    if (hero.Climbing) {
      hero.Climbing = false;
      return;
    }
    GrabLadder(world, hero);
  }

  if (pressed[input::kButton4]) {
    game.Menu.MenuOpen = true;
    game.Menu.MenuChoice = 0;
    game.Services.Sounds.PlayInterface(InterfaceSound::Click);
  }
}

}  // namespace zandrel::game
