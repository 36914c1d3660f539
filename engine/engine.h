// The engine's process-wide records: the scratch mesh that AddMesh works in, the picture
// slots, and the back end in use. One instance per program.
#pragma once

#include <vector>

#include "engine/backend.h"
#include "engine/image.h"
#include "engine/mesh.h"

namespace zandrel::engine {

struct Engine {
  explicit Engine(Backend& backend) : Back(&backend) {}
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  Backend* Back;
  Mesh Scratch;  // room for the largest mesh drawn so far
  std::vector<Picture> Pictures = std::vector<Picture>(kPictureSlotCount);
};

}  // namespace zandrel::engine
