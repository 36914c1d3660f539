// Scene drawing: BeginScene, then AddLight and AddMesh, then EndScene, which lights,
// sorts far to near and hands every polygon of the frame to the back end.
#pragma once

#include <cstdint>

#include "engine/engine.h"
#include "engine/mesh.h"
#include "engine/render_view.h"

namespace zandrel::engine {

// The scratch mesh's room at engine start.
constexpr std::uint16_t kScratchHighestVertex = 5000;
constexpr std::uint16_t kScratchHighestFace = 15000;

// Once at program start: the scratch mesh with its starting room.
void StartEngineCore(Engine& engine);

// Makes sure the scratch mesh has room for the mesh: when the mesh has more vertices or
// more faces than the room, the scratch mesh is made again one vertex and one face
// larger than the mesh. Loaders may call it so that the first frame allocates nothing.
void FitScratchMesh(Engine& engine, const Mesh& mesh);

// Sets the camera and empties the frame (no lights, no polygons); the back end starts
// a fresh depth buffer.
void BeginScene(Engine& engine, RenderView& view, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw,
                std::int32_t pitch, std::int32_t roll);

// A point light in world units for this frame; beyond kMaxLights the call is ignored.
void AddLight(RenderView& view, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t radius);

// The fog colour, and the fog index table: every entry the view palette's nearest colour.
void SetFog(Engine& engine, RenderView& view, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Places the mesh's origin at world (x, y, z), turned by the three angles, and appends
// its visible triangles with `light` (0..255, may be negative) as their base light.
// Faces that look away, lie behind the near plane or off screen add nothing; so does a
// face whose texture number is beyond the texture table (kinds 0-2) or whose colour is
// above 255 (kinds 3 and above). Polygons beyond the list's capacity are dropped.
void AddMesh(Engine& engine, RenderView& view, const Mesh& mesh, std::int32_t x, std::int32_t y, std::int32_t z,
             std::int32_t yaw, std::int32_t pitch, std::int32_t roll, std::int32_t light);

// Lights every polygon corner, sorts the list far to near and draws it: opaque polygons
// first, then the rest, or everything in one pass when the view's rules ask for it.
// The frame's lights are used up.
void EndScene(Engine& engine, RenderView& view);

}  // namespace zandrel::engine
