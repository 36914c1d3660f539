#include "engine/mesh_file.h"

#include <cstdio>

#include "engine/camera.h"
#include "platform/win/files.h"

namespace zandrel::engine {
namespace {

// Bytes beyond the end of a short file read as zero.
std::uint32_t Byte(std::span<const std::uint8_t> bytes, std::size_t at) { return at < bytes.size() ? bytes[at] : 0; }

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(Byte(bytes, at) | (Byte(bytes, at + 1) << 8));
}

std::int32_t Long(std::span<const std::uint8_t> bytes, std::size_t at) {
  const std::uint32_t value =
      Byte(bytes, at) | (Byte(bytes, at + 1) << 8) | (Byte(bytes, at + 2) << 16) | (Byte(bytes, at + 3) << 24);
  return static_cast<std::int32_t>(value);
}

Mesh Damaged(std::string_view fileName, const char* reason) {
  std::fprintf(stderr, "G3D: The file %.*s %s; it is drawn as an empty mesh\n", static_cast<int>(fileName.size()),
               fileName.data(), reason);
  return Mesh{};
}

bool FaceInRange(const MeshFace& face, std::size_t vertexCount) {
  if (face.A >= vertexCount) return false;
  if (face.Kind == kSprite) return true;  // b and c are its width and height
  return face.B < vertexCount && face.C < vertexCount;
}

std::int32_t Lerp(std::int32_t from, std::int32_t to, float t) {
  const float step = static_cast<float>(std::int64_t{to} - from) * t;
  return ClampToInt32(std::int64_t{Nearest(step)} + from);
}

}  // namespace

std::string MissingMeshMessage(std::string_view fileName) {
  return "G3D: The file " + std::string(fileName) + " is missing";
}

Mesh ParseMesh(std::span<const std::uint8_t> bytes, std::string_view fileName) {
  if (bytes.size() < 4) return Damaged(fileName, "is too short");
  const std::uint16_t highestVertex = Word(bytes, 0);
  const std::uint16_t highestFace = Word(bytes, 2);
  const std::size_t vertexCount = std::size_t{highestVertex} + 1;
  const std::size_t faceCount = std::size_t{highestFace} + 1;
  const std::size_t faceStart = 4 + 12 * vertexCount;

  Mesh mesh;
  CreateMesh(mesh, highestVertex, highestFace);
  for (std::size_t i = 0; i < vertexCount; ++i) {
    mesh.X[i] = Long(bytes, 4 + 4 * i);
    mesh.Y[i] = Long(bytes, 4 + 4 * (vertexCount + i));
    mesh.Z[i] = Long(bytes, 4 + 4 * (2 * vertexCount + i));
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < faceCount; ++i) {
    const std::size_t at = faceStart + kMeshFaceBytes * i;
    MeshFace& face = mesh.Faces[kept];
    face.A = Word(bytes, at);
    face.B = Word(bytes, at + 2);
    face.C = Word(bytes, at + 4);
    face.Texture = Word(bytes, at + 6);
    face.Orientation = Word(bytes, at + 8);
    face.TwoSided = Word(bytes, at + 10);
    face.Kind = Word(bytes, at + 12);
    if (FaceInRange(face, vertexCount)) ++kept;
  }
  mesh.Faces.resize(kept);

  const bool cut = bytes.size() < faceStart + kMeshFaceBytes * faceCount;
  if (cut || kept < faceCount) {
    std::string what = cut ? "is cut short: what it lacks reads as zero" : "";
    if (kept < faceCount) {
      what += (cut ? "; " : "") + std::to_string(faceCount - kept) + " face(s) naming a missing vertex are not drawn";
    }
    std::fprintf(stderr, "G3D: The file %.*s %s\n", static_cast<int>(fileName.size()), fileName.data(), what.c_str());
  }
  return mesh;
}

base::Expected<Mesh> LoadMesh(std::string_view fileName, const std::filesystem::path& folder) {
  if (!win::FileExists(fileName, folder)) return base::Failure{MissingMeshMessage(fileName)};
  const auto bytes = win::ReadFilePrefix(win::ResolvePath(fileName, folder), kMaxMeshFileBytes);
  if (!bytes) return Damaged(fileName, "cannot be read");
  return ParseMesh(*bytes, fileName);
}

void CreateMesh(Mesh& mesh, std::uint16_t highestVertex, std::uint16_t highestFace) {
  const std::size_t vertexCount = std::size_t{highestVertex} + 1;
  mesh.X.assign(vertexCount, 0);
  mesh.Y.assign(vertexCount, 0);
  mesh.Z.assign(vertexCount, 0);
  mesh.Faces.assign(std::size_t{highestFace} + 1, MeshFace{});
}

void CopyMesh(const Mesh& source, Mesh& target) {
  if (source.Empty()) return;
  target = source;
}

void FreeMesh(Mesh& mesh) { mesh = Mesh{}; }

bool WellFormed(const Mesh& mesh) { return mesh.Y.size() == mesh.X.size() && mesh.Z.size() == mesh.X.size(); }

void MeshLerp(const Mesh& from, const Mesh& to, Mesh& target, float t) {
  if (from.Empty() || to.Empty() || from.VertexCount() != to.VertexCount() || !WellFormed(from) || !WellFormed(to)) {
    return;
  }
  if (target.Empty() || target.VertexCount() != from.VertexCount() || !WellFormed(target)) CopyMesh(from, target);
  for (std::size_t i = 0; i < from.VertexCount(); ++i) {
    target.X[i] = Lerp(from.X[i], to.X[i], t);
    target.Y[i] = Lerp(from.Y[i], to.Y[i], t);
    target.Z[i] = Lerp(from.Z[i], to.Z[i], t);
  }
}

}  // namespace zandrel::engine
