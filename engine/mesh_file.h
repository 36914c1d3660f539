// ".3do" mesh files and the mesh operations: create, copy, free, interpolate.
//
// File layout, little-endian: V and F (highest vertex and face index, 16 bits each),
// then the X, Y and Z arrays of V + 1 signed 32-bit values, then F + 1 faces of seven
// 16-bit words (a, b, c, texture, orientation, two-sided, kind).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "engine/mesh.h"

namespace zandrel::engine {

constexpr std::size_t kMeshFaceBytes = 14;
// The largest file a mesh can use: 65536 vertices and 65536 faces.
constexpr std::size_t kMaxMeshFileBytes = 4 + 12 * std::size_t{65536} + kMeshFaceBytes * 65536;

// "G3D: The file <name> is missing".
std::string MissingMeshMessage(std::string_view fileName);

// Decodes a mesh. A file cut short keeps what it holds: the vertices and faces it lacks
// read as zero. A face naming a vertex the mesh does not have (for a sprite face only
// vertex a names one) cannot be drawn and is left out, so the mesh may keep fewer faces
// than it counts, even none. Either damage sends a one-line warning naming the file to
// standard error. A file without its two counts gives an empty mesh, with a warning.
// Bytes after the last face are ignored.
Mesh ParseMesh(std::span<const std::uint8_t> bytes, std::string_view fileName);

// Loads the file the name resolves to below `folder`.
// Fails with MissingMeshMessage when there is no such file; a file that exists but
// cannot be read gives an empty mesh.
base::Expected<Mesh> LoadMesh(std::string_view fileName, const std::filesystem::path& folder);

// Replaces the mesh by one of V + 1 vertices and F + 1 faces, all zero.
void CreateMesh(Mesh& mesh, std::uint16_t highestVertex, std::uint16_t highestFace);

// Makes the target a copy of the source; an empty source leaves the target as it was.
void CopyMesh(const Mesh& source, Mesh& target);

// Empties the mesh and releases its arrays.
void FreeMesh(Mesh& mesh);

// Whether the X, Y and Z arrays have one length, as every mesh made here has; other
// meshes are not drawn or interpolated.
bool WellFormed(const Mesh& mesh);

// Vertex-wise interpolation: target = nearest((to - from) x t) + from on each axis, ties
// to even; faces are not touched. Nothing happens when from or to is empty, or when
// they differ in vertex count. A target that is empty or differs from `from` in vertex
// count first becomes a copy of `from`.
void MeshLerp(const Mesh& from, const Mesh& to, Mesh& target, float t);

}  // namespace zandrel::engine
