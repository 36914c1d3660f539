// zandrel-level render: a level drawn with the software back end into a PNG picture.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "world/world.h"

namespace zandrel::tools {

struct RenderOptions {
  std::string Data;  // the data tree (--data); empty: found as the programs find it
  int Width = 640, Height = 480;
  std::optional<std::array<std::int32_t, 5>> Camera;  // x, y, z, yaw, pitch; else behind the start
};

// The camera behind the start point: up to two and a half cells back along the start
// heading, stopping short of solid cells and the level's edge, raised a little and
// looking slightly down. Returns x, y, z, yaw, pitch.
std::array<std::int32_t, 5> CameraBehindStart(const world::World& world);

// Draws the level's cells around the camera as the game does and writes the picture.
// Returns an exit status of the tool's contract; the one-line error goes to `err`.
int RenderLevel(const std::string& file, const std::string& out, const RenderOptions& options, std::ostream& err);

}  // namespace zandrel::tools
