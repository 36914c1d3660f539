#include "world/world.h"

#include "platform/win/message.h"
#include "world/level_file.h"
#include "world/sentries.h"

namespace zandrel::world {
namespace {

void PlacePlayersAtStart(World& world) {
  const LevelMap& map = world.Map;
  // A start cell far outside the level is still a place: the first move brings it in.
  const auto at = [](std::int32_t cell, std::int32_t offset) {
    return static_cast<float>(static_cast<double>(cell) * kCellSize + offset);
  };
  const float x = at(map.StartX, kCellSize / 2);
  const float y = at(map.StartY, 480);  // falls onto the floor
  const float z = at(map.StartZ, kCellSize / 2);
  for (PlayerSlot& slot : world.Players) {
    slot.X = slot.CamX = x;
    slot.Y = slot.CamY = y;
    slot.Z = slot.CamZ = z;
    slot.Heading = static_cast<float>(map.StartHeading);
    slot.Pitch = slot.Roll = slot.PitchTarget = slot.RollTarget = 0;
    slot.VelX = slot.VelY = slot.VelZ = 0;
    slot.TurnDelta = 0;
    slot.VerticalSpeed = 0;
    slot.ActionTimer = 0;
    slot.WalkPhase = 0;
    slot.Animation = kPoseStand;
    slot.AnimationTime = 0;
    slot.Dead = false;
    slot.Climbing = false;
    slot.Width = 260;
    slot.Height = 480;
    slot.StepHeight = 256;
    slot.LightRadius = slot.LightTarget = 5000.0f;
    slot.WalkSpeed = 50;
    slot.TurnSpeed = 900;
  }
}

void ResetLevelRunState(World& world) {
  world.CurrentMusicCell = -1;
  world.OpenedDoors.clear();
  ObjectTables& tables = world.Tables;
  tables.LastHole = -1;
  tables.LastBlock = -1;
  for (CellAnimation& animation : tables.Animations) animation.InUse = false;
  world.TimeLimitOn = false;
  world.TimeLeft = 0;
  world.LastSecondTicked = 0;
}

}  // namespace

base::Expected<bool> ReadLevel(World& world, BankServices& services, std::string_view fileName,
                               TextureQuality quality) {
  base::Expected<LevelMap> level = LoadLevelFile(fileName, services.DataFolder);
  if (!level) {
    win::ShowMessage(level.error());
    return false;
  }
  if (base::Status used = UseLevel(world, services, std::move(*level), quality); !used) {
    return base::Failure{used.error()};
  }
  return true;
}

base::Status UseLevel(World& world, BankServices& services, LevelMap&& level, TextureQuality quality) {
  world.Map.Assign(std::move(level));
  PlacePlayersAtStart(world);
  world.Map.CountIngots();  // with the flags of the bank loaded so far
  ResetLevelRunState(world);
  InitSentries(world);
  base::Expected<bool> bank =
      LoadObjectBank(services, world, world.Map.BankName, quality == TextureQuality::High ? "High" : "Low");
  if (!bank) return base::Failure{bank.error()};
  return {};
}

}  // namespace zandrel::world
