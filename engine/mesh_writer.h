// Writing meshes in the ".3do" layout that ParseMesh reads (see engine/mesh_file.h).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/mesh.h"

namespace zandrel::engine {

// The file bytes of a mesh. A mesh the layout cannot hold gives no bytes at all: an
// empty mesh, one without faces, one with more than 65536 vertices or faces, or one
// whose X, Y and Z arrays differ in length.
std::vector<std::uint8_t> EncodeMesh(const Mesh& mesh);

}  // namespace zandrel::engine
