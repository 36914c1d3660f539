// The mesh reader, and what the bank and the animations do with a mesh read.
#include "engine/mesh_file.h"
#include "tests/fuzz/fuzz.h"
#include "world/object_bank.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  const engine::Mesh mesh = engine::ParseMesh(fuzz::Bytes(data, size), "3DO\\GAME\\FUZZ.3DO");
  world::MeshBox(mesh);
  engine::Mesh target;
  engine::MeshLerp(mesh, mesh, target, 0.5f);
  return 0;
}
