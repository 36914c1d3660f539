#include "editor/editor_view.h"

#include <algorithm>
#include <cmath>

#include "editor/editor.h"
#include "engine/angles.h"
#include "engine/camera.h"
#include "engine/mesh_file.h"
#include "engine/palette.h"
#include "engine/scene.h"
#include "world/level_scene.h"

namespace zandrel::editor {
namespace {

constexpr std::int32_t kCursorLight = 5000;  // the light that travels with the cursor
constexpr std::int32_t kSkyLight = 100000;
constexpr std::int32_t kPreviewLight = 10000;
constexpr std::int32_t kMarkerLight = 128;
constexpr std::int32_t kCameraRise = 60;  // the camera stands this much above the cursor

// The cell of a camera coordinate: a negative coordinate is first raised by 511, so that
// the division rounds down.
std::int32_t CameraCell(std::int32_t coordinate) {
  return static_cast<std::int32_t>((std::int64_t{coordinate} - (coordinate < 0 ? 511 : 0)) / world::kCellSize);
}

bool Inside(const world::CellBox& box, std::int32_t x, std::int32_t y, std::int32_t z) {
  return x >= box.Lo[0] && x <= box.Hi[0] && y >= box.Lo[1] && y <= box.Hi[1] && z >= box.Lo[2] && z <= box.Hi[2];
}

void AddMarker(Editor& editor, const engine::Mesh& mesh, std::int32_t x, std::int32_t y, std::int32_t z,
               std::int32_t yaw) {
  engine::AddMesh(editor.Engine, *editor.LevelView, mesh, engine::CellCentre(x), engine::CellCentre(y),
                  engine::CellCentre(z), yaw, 0, 0, kMarkerLight);
}

std::int32_t Rounded(float value) { return Truncated(std::round(value)); }

// Sums of angles and of coordinates held within the int32 range: headings read from a
// file may be anything, and angles are not reduced to one turn (32768 units are not
// quite 2 pi here).
std::int32_t Held(std::int64_t value) { return engine::ClampToInt32(value); }

}  // namespace

void ShareTextures(const engine::RenderView& level, engine::RenderView& preview) {
  preview.ViewPalette = level.ViewPalette;
  preview.FogIndex = level.FogIndex;
  preview.FogRed = level.FogRed;
  preview.FogGreen = level.FogGreen;
  preview.FogBlue = level.FogBlue;
  preview.ShadingTables = level.ShadingTables;
  preview.Textures = level.Textures;
  preview.HighestTexture = level.HighestTexture;
  const std::size_t count = std::min(level.ImageBlocks.size(), preview.ImageBlocks.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::unique_ptr<engine::ImageBlock>& block = level.ImageBlocks[i];
    preview.ImageBlocks[i] = block ? std::make_unique<engine::ImageBlock>(*block) : nullptr;
  }
}

std::uint8_t MarkerColour(const engine::Palette& palette, int red, int green, int blue) {
  return engine::NearestColour(palette, red, green, blue, 1, 255);
}

void LoadEditorMarkers(Editor& editor) {
  struct Marker {
    engine::Mesh EditorMarkers::*Mesh;
    const char* File;
    int Red, Green, Blue;
  };
  static constexpr Marker kMarkers[] = {
      {&EditorMarkers::Cursor, "3do/editor/select.3do", 255, 255, 255},
      {&EditorMarkers::Start, "3do/editor/start.3do", 255, 255, 255},
      {&EditorMarkers::Music, "3do/editor/sfx.3do", 0, 255, 255},
      {&EditorMarkers::Exit, "3do/editor/exit.3do", 255, 255, 0},
  };
  for (const Marker& marker : kMarkers) {
    engine::Mesh& mesh = editor.Markers.*marker.Mesh;
    base::Expected<engine::Mesh> loaded = engine::LoadMesh(marker.File, editor.StartFolder);
    mesh = loaded ? std::move(*loaded) : engine::Mesh{};
    const std::uint8_t colour = MarkerColour(editor.LevelView->ViewPalette, marker.Red, marker.Green, marker.Blue);
    for (engine::MeshFace& face : mesh.Faces) {
      face.Kind = engine::kFlatColour;
      face.Texture = colour;
    }
    engine::FitScratchMesh(editor.Engine, mesh);
  }
}

void DrawEditorView(Editor& editor) {
  world::World& world = *editor.World;
  const world::LevelMap& map = world.Map;
  engine::Engine& engine = editor.Engine;
  engine::RenderView& view = *editor.LevelView;
  const EditorCursor& c = editor.Cursor;

  const std::int32_t a = Truncated(c.ShownX), b = Truncated(c.ShownY), cz = Truncated(c.ShownZ);
  const std::int32_t h = Truncated(c.ShownHeading), look = Truncated(c.ShownLook), zoom = Truncated(c.ShownZoom);
  const std::int32_t f = Held(std::int64_t{h} + engine::kHalfTurn);
  const float distance = static_cast<float>(zoom);
  const float cosLook = engine::AngleCos(look);
  const std::int32_t camX = Held(std::int64_t{a} + engine::Nearest(distance * engine::AngleSin(f) * cosLook));
  const std::int32_t camY = Held(std::int64_t{b} + kCameraRise +
                                 engine::Nearest(distance * engine::AngleSin(std::int64_t{look} + engine::kHalfTurn)));
  const std::int32_t camZ = Held(std::int64_t{cz} + engine::Nearest(distance * engine::AngleCos(f) * cosLook));
  const std::int32_t cellX = CameraCell(camX), cellY = CameraCell(camY), cellZ = CameraCell(camZ);
  const world::CellBox box = world::CellsAround(map, cellX, cellY, cellZ, kViewReach);
  const std::int32_t yaw = Held(std::int64_t{f} + engine::kHalfTurn);

  // The fog colour: light 0 of colour 255.
  engine.Back->ClearView(view.ShadingTables.size() > 255 ? view.ShadingTables[255] : 0, view);
  if (map.Outside != 0 && !world.Bank.Sky.Empty()) {
    engine::BeginScene(engine, view, 0, 0, 0, yaw, look, 0);
    engine::AddLight(view, 0, 0, 0, kSkyLight);
    engine::AddMesh(engine, view, world.Bank.Sky, 0, 0, 0, 0, 0, 0, 0);
    engine::EndScene(engine, view);
  }
  engine::BeginScene(engine, view, camX, camY, camZ, yaw, look, 0);
  engine::AddLight(view, a, b, cz, kCursorLight);
  const engine::Mesh& shadow = world.Players[0].Shadow;
  world::AddShadow(engine, view, world, shadow, c.ShownX, c.ShownY, c.ShownZ,
                   Held(-std::int64_t{h} - engine::kQuarterTurn));
  for (std::int32_t i = 0; i < std::clamp(map.SentryCount, 0, world::kMaxSentries); ++i) {
    const world::Sentry& s = map.Sentries[static_cast<std::size_t>(i)];
    if (std::abs(std::int64_t{s.CellX} - cellX) >= kViewReach ||
        std::abs(std::int64_t{s.CellY} - cellY) >= kViewReach ||
        std::abs(std::int64_t{s.CellZ} - cellZ) >= kViewReach) {
      continue;
    }
    const std::int32_t heading = Truncated(s.Heading);
    engine::AddMesh(engine, view, world.Bank.SentryMesh, Truncated(s.X), Truncated(s.Y), Truncated(s.Z),
                    Held(std::int64_t{heading} + engine::kHalfTurn), 0, 0, 0);
    world::AddShadow(engine, view, world, shadow, s.X, s.Y, s.Z, Held(-std::int64_t{heading} - engine::kQuarterTurn));
  }
  for (const world::CellAnimation& animation : world.Tables.Animations) {
    if (!animation.InUse) continue;
    engine::AddMesh(engine, view, animation.WorkMesh, Rounded(animation.X), Rounded(animation.Y), Rounded(animation.Z),
                    0, 0, 0, 0);
  }
  world::AddSlidingBlocks(engine, view, world, editor.Faces);
  world::PlayLoopSounds(world, editor.Services.Sounds, box);
  world::AddLevelCells(engine, view, world, editor.Faces, box);

  const CellPos cursor = ShownCell(c);
  AddMarker(editor, editor.Markers.Cursor, cursor.X, cursor.Y, cursor.Z, 0);
  if (Inside(box, map.StartX, map.StartY, map.StartZ)) {
    AddMarker(editor, editor.Markers.Start, map.StartX, map.StartY, map.StartZ, Held(-std::int64_t{map.StartHeading}));
  }
  if (Inside(box, map.ExitX, map.ExitY, map.ExitZ)) {
    AddMarker(editor, editor.Markers.Exit, map.ExitX, map.ExitY, map.ExitZ, 0);
  }
  for (const world::MusicCell& m : map.MusicCells) {
    if (Inside(box, m.X, m.Y, m.Z)) AddMarker(editor, editor.Markers.Music, m.X, m.Y, m.Z, 0);
  }
  engine::EndScene(engine, view);
  editor.Services.Sounds.UpdateSounds();
}

void DrawPreview(Editor& editor) {
  engine::Engine& engine = editor.Engine;
  engine::RenderView& preview = *editor.PreviewView;
  const engine::RenderView& level = *editor.LevelView;
  // The animated textures show the frame the level view shows.
  const std::size_t slots = std::min(static_cast<std::size_t>(std::max(level.HighestTexture, 0)) + 1,
                                     std::min(level.Textures.size(), preview.Textures.size()));
  std::copy_n(level.Textures.begin(), slots, preview.Textures.begin());

  engine.Back->ClearView(0, preview);
  engine::BeginScene(engine, preview, 0, 0, -editor.PreviewDistance, 0, 0, 0);
  engine::AddLight(preview, 0, 0, 0, kPreviewLight);
  const world::ObjectType& type = editor.World->Types[editor.CurrentObject];
  if (!type.Empty && type.Cube) {
    const engine::CubeLook look = world::CubeLookOf(type, editor.World->Bank.HighQuality);
    for (int face = 0; face < engine::kCubeFaceCount; ++face) {
      engine::AddCubeFace(engine, preview, editor.Faces, look, face, 0, 0, 0, editor.PreviewYaw, editor.PreviewPitch, 0,
                          0);
    }
  } else if (!type.Empty) {
    engine::AddMesh(engine, preview, type.DisplayMesh, 0, 0, 0, editor.PreviewYaw, editor.PreviewPitch, 0, 0);
  }
  engine::EndScene(engine, preview);
}

}  // namespace zandrel::editor
