#include <stdexcept>
#include <string>

#include "engine/mesh_writer.h"
#include "tools/data/generators.h"
#include "tools/data/meshes_parts.h"

namespace zandrel::data {

void meshes::AddMeshFile(DataTree& tree, std::string_view name, const MeshBuilder& mesh, std::string_view folder) {
  std::vector<std::uint8_t> bytes = engine::EncodeMesh(mesh.Build());
  const std::string path = "3DO/" + std::string(folder) + "/" + std::string(name) + ".3DO";
  if (bytes.empty()) throw std::logic_error("the mesh " + path + " cannot be written");
  tree.Add(path, std::move(bytes));
}

void GenerateMeshes(DataTree& tree) {
  using namespace meshes;
  AddActorMeshes(tree);
  AddObjectMeshes(tree);
  AddSceneryMeshes(tree);
  AddScreenMeshes(tree);
}

}  // namespace zandrel::data
