// The game world's process-wide records, held in one context: one instance per program.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/random.h"
#include "world/level_map.h"
#include "world/object_bank.h"
#include "world/object_tables.h"
#include "world/object_type.h"
#include "world/player_slot.h"

namespace zandrel::world {

struct World {
  World() = default;
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  ObjectTypes Types{};
  ObjectBank Bank;
  LevelMap Map{&Types};
  PlayerSlots Players{};
  std::int32_t LastSlot = 0;   // slots in use - 1
  std::int32_t LocalSlot = 0;  // this machine's player

  // The time limit started by timer objects.
  bool TimeLimitOn = false;
  std::int32_t TimeLeft = 0;  // ms
  std::int32_t LastSecondTicked = 0;

  std::int32_t CurrentMusicCell = -1;  // music number started by a music cell; -1 none

  // Door codes opened (by the last ingot, a lever or covered sensors) since the play frame
  // last took them for its events.
  std::vector<std::int32_t> OpenedDoors;

  ObjectTables Tables;

  // The frame clock, set by the frame loop: the tick count of this frame and the
  // milliseconds since the previous one.
  std::uint32_t Now = 0;
  std::int32_t FrameTime = 0;

  base::Random Random;  // the program's one generator, reseeded by each level
};

// A quantity per 90 ms scaled to this frame: x * FrameTime / 90, in single precision.
inline float TimeScaled(const World& world, float x) { return x * static_cast<float>(world.FrameTime) / 90.0f; }

// Starts a level from a file: reads it into the map (a missing or invalid file shows
// "The file <name> is missing or invalid." and changes nothing else), places every player
// slot at the start, counts the ingots, clears the level's run-time state, reseeds the
// random generator and makes sure the level's object bank is loaded with the quality.
// Answers whether the level was read; fails only when the bank cannot be loaded, which
// the program cannot survive.
base::Expected<bool> ReadLevel(World& world, BankServices& services, std::string_view fileName, TextureQuality quality);

// The same from a level already read: a program that shows the reader's message its own
// way reads the file with LoadLevelFile and starts the level here. Fails only when the
// bank cannot be loaded.
base::Status UseLevel(World& world, BankServices& services, LevelMap&& level, TextureQuality quality);

}  // namespace zandrel::world
