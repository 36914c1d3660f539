// A small level with every field set to something other than its default.
#pragma once

#include <cstdint>

#include "world/level_map.h"

namespace zandrel::test {

// A 5 x 3 x 4 level: a floor, walls, ingots (code 20), a few lights, two sentries, two
// music cells (one after a gap) and texts with accented letters.
world::LevelMap SampleLevel();

// Compares every field the file stores; failures are reported through GoogleTest.
void ExpectSameLevel(const world::LevelMap& a, const world::LevelMap& b);

}  // namespace zandrel::test
