#include "engine/mesh_writer.h"

#include "engine/mesh_file.h"

namespace zandrel::engine {
namespace {

constexpr std::size_t kMostEntries = 65536;  // counts are stored less one in 16 bits

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLong(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((bits >> shift) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> EncodeMesh(const Mesh& mesh) {
  const std::size_t vertexCount = mesh.X.size();
  const std::size_t faceCount = mesh.Faces.size();
  if (vertexCount == 0 || faceCount == 0 || vertexCount > kMostEntries || faceCount > kMostEntries) return {};
  if (mesh.Y.size() != vertexCount || mesh.Z.size() != vertexCount) return {};

  std::vector<std::uint8_t> out;
  out.reserve(4 + 12 * vertexCount + kMeshFaceBytes * faceCount);
  PutWord(out, static_cast<std::uint16_t>(vertexCount - 1));
  PutWord(out, static_cast<std::uint16_t>(faceCount - 1));
  for (const auto* axis : {&mesh.X, &mesh.Y, &mesh.Z}) {
    for (const std::int32_t value : *axis) PutLong(out, value);
  }
  for (const MeshFace& face : mesh.Faces) {
    for (const std::uint16_t word :
         {face.A, face.B, face.C, face.Texture, face.Orientation, face.TwoSided, face.Kind}) {
      PutWord(out, word);
    }
  }
  return out;
}

}  // namespace zandrel::engine
