// What would make a level unplayable: start or exit outside the map, a blocked start,
// codes the bank does not define, and no way from the start to the exit as far as a
// simple reachability over free cells, ladders, steps, jumps and falls can tell.
#pragma once

#include <string>
#include <vector>

#include "world/level_map.h"
#include "world/object_type.h"

namespace zandrel::world {

// The problems found, one sentence each; none for a playable level.
std::vector<std::string> CheckLevel(const LevelMap& map, const ObjectTypes& types);

}  // namespace zandrel::world
