#include "tools/level/level_render.h"

#include <filesystem>
#include <ostream>

#include "engine/angles.h"
#include "engine/cube_faces.h"
#include "engine/png_writer.h"
#include "engine/scene.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/files.h"
#include "tools/level/bank_session.h"
#include "tools/level/level_commands.h"
#include "world/level_file.h"
#include "world/level_scene.h"

namespace zandrel::tools {
namespace {

constexpr std::int32_t kLampRadius = 5000;  // the hero's lamp at the start of a level
constexpr std::int32_t kSkyLight = 1000000;
constexpr std::int32_t kDrawnReach = 8;  // cells around the camera, as the game draws them

}  // namespace

std::array<std::int32_t, 5> CameraBehindStart(const world::World& world) {
  const world::LevelMap& map = world.Map;
  const float s = engine::AngleSin(map.StartHeading), c = engine::AngleCos(map.StartHeading);
  const float x0 = static_cast<float>(world::CellCentre(map.StartX));
  const float y = static_cast<float>(world::CellCentre(map.StartY) + 160);
  const float z0 = static_cast<float>(world::CellCentre(map.StartZ));
  float back = 0;
  constexpr float kStep = 32, kFarthest = 2.5f * world::kCellSize, kClearance = 96;
  while (back + kStep <= kFarthest) {
    const float probe = back + kStep + kClearance;
    const float px = x0 - s * probe, pz = z0 - c * probe;
    const std::int32_t cx = world::CellOf(px), cy = world::CellOf(y), cz = world::CellOf(pz);
    const world::ObjectType& t = world.Types[map.GetCell(cx, cy, cz)];
    if (px < 0 || pz < 0 || !map.Contains(cx, cy, cz) || (!t.Empty && t.Collision)) break;
    back += kStep;
  }
  return {static_cast<std::int32_t>(x0 - s * back), static_cast<std::int32_t>(y),
          static_cast<std::int32_t>(z0 - c * back), map.StartHeading, -1200};
}

int RenderLevel(const std::string& file, const std::string& out, const RenderOptions& options, std::ostream& err) {
  base::Expected<world::LevelMap> level = world::LoadLevelFile(file, {});
  if (!level) return Fail(err, world::MissingLevelMessage(file));
  BankSession session;
  const std::string bankName = level->BankName;
  if (base::Status loaded = session.LoadDrawn(bankName, options.Data, options.Width, options.Height); !loaded) {
    return Fail(err, loaded.error());
  }
  engine::Engine& engine = session.Engine();
  engine::RenderView& view = session.View();
  engine::soft::SoftBackend& backend = session.Backend();
  world::World* const world = &session.World();
  world->Map.Assign(std::move(*level));
  world->Map.CountIngots();
  const world::LevelMap& map = world->Map;

  const auto [x, y, z, yaw, pitch] = options.Camera.value_or(CameraBehindStart(*world));
  engine::CubeFaces faces = engine::MakeCubeFaces();
  backend.ClearView(view.FogIndex[0], view);
  if (map.Outside != 0 && !world->Bank.Sky.Empty()) {
    engine::BeginScene(engine, view, 0, 0, 0, yaw, pitch, 0);
    engine::AddLight(view, 0, 0, 0, kSkyLight);
    engine::AddMesh(engine, view, world->Bank.Sky, 0, 0, 0, 0, 0, 0, 0);
    engine::EndScene(engine, view);
  }
  engine::BeginScene(engine, view, x, y, z, yaw, pitch, 0);
  engine::AddLight(view, x, y, z, kLampRadius);
  world::AddLevelCells(
      engine, view, *world, faces,
      world::CellsAround(map, world::CellOf(static_cast<float>(x)), world::CellOf(static_cast<float>(y)),
                         world::CellOf(static_cast<float>(z)), kDrawnReach));
  engine::EndScene(engine, view);
  if (base::Status written = engine::WritePng(out, view.Screen, view.ViewPalette); !written) {
    return Fail(err, written.error());
  }
  return kSuccess;
}

}  // namespace zandrel::tools
