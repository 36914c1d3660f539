#include "tests/editor/editor_harness.h"

#include <array>

#include "editor/level_ops.h"
#include "engine/mesh_writer.h"
#include "engine/pcx.h"
#include "input/virtual_keys.h"
#include "tests/support/ramp_palette.h"
#include "world/level_file.h"

namespace zandrel::editor::test {
namespace {

using ::zandrel::test::TempDir;

std::string Bytes(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A mesh of two-sided flat faces in one colour, one face per triangle of vertex indices.
engine::Mesh FlatMesh(std::vector<std::array<std::int32_t, 3>> vertices,
                      const std::vector<std::array<std::uint16_t, 3>>& triangles, std::uint16_t colour) {
  engine::Mesh mesh;
  for (const auto& v : vertices) {
    mesh.X.push_back(v[0]);
    mesh.Y.push_back(v[1]);
    mesh.Z.push_back(v[2]);
  }
  for (const auto& t : triangles) mesh.Faces.push_back({t[0], t[1], t[2], colour, 0, 1, engine::kFlatColour});
  return mesh;
}

engine::Mesh Box(std::int32_t half, std::uint16_t colour) {
  const std::int32_t h = half;
  return FlatMesh({{-h, -h, -h}, {h, -h, -h}, {h, h, -h}, {-h, h, -h}, {-h, -h, h}, {h, -h, h}, {h, h, h}, {-h, h, h}},
                  {{0, 1, 2},
                   {0, 2, 3},
                   {5, 4, 7},
                   {5, 7, 6},
                   {1, 5, 6},
                   {1, 6, 2},
                   {4, 0, 3},
                   {4, 3, 7},
                   {3, 2, 6},
                   {3, 6, 7},
                   {4, 5, 1},
                   {4, 1, 0}},
                  colour);
}

void WriteMesh(const TempDir& data, const std::string& name, const engine::Mesh& mesh) {
  data.Write(name, Bytes(engine::EncodeMesh(mesh)));
}

engine::PcxImage Image(std::uint8_t (*texel)(int x, int y)) {
  engine::PcxImage image;
  image.Width = image.Height = 128;
  image.Palette = ::zandrel::test::PaletteBytes(::zandrel::test::RampPalette({{{255, 255, 255},
                                                                               {255, 0, 0},
                                                                               {0, 255, 0},
                                                                               {0, 0, 255},
                                                                               {255, 255, 0},
                                                                               {255, 0, 255},
                                                                               {0, 255, 255},
                                                                               {255, 128, 0}}}));
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) image.Indices.push_back(texel(x, y));
  }
  return image;
}

}  // namespace

void WriteDataTree(const TempDir& data) {
  data.Write("Standard.bnk", R"([General]
Texture=TEXTURES\TEXTURES.LST
FogRed=0
FogGreen=0
FogBlue=40
Shadow=SHADOW.3DO
Ennemy_Mesh=SENTRY.3DO
Sky=SKY.3DO
Music0=MUSIC\ALPHA.XM
Music0Name=Alpha
Music1=MUSIC\BETA.XM
Music1Name=Beta
Music2=MUSIC\ALPHA2.XM
Music2Name=Alpha
Music3=MUSIC\UNNAMED.XM

[Object 1]
Name=Floor
Cube=TRUE
FaceATexture=1
FaceBTexture=1
FaceCTexture=1
FaceDTexture=1
FaceETexture=1
FaceFTexture=1

[Object 2]
Name=Wall
Cube=TRUE
FaceATexture=2
FaceBTexture=2
FaceCTexture=2
FaceDTexture=2
FaceETexture=2
FaceFTexture=2

[Object 3]
Name=Post
Cube=FALSE
Mesh1=POST.3DO

[Object 4]
Name=Twin
Cube=TRUE

[Object 6]
Name=Twin
Cube=TRUE

[Object 7]
Name=Gold
Cube=FALSE
Mesh1=POST.3DO
Lingot=TRUE
Collision=FALSE

[Object 8]
Name=Hummer
Cube=FALSE
Mesh1=POST.3DO
LoopSound=SOUNDS\HUM.WAV
LoopDuration=100
LoopVolume=200
)");
  data.Write("TEXTURES/TEXTURES.LST",
             "#IMAGES\n1=TEXTURES\\STRIPES.PCX\n2=TEXTURES\\UPRIGHT.PCX\n#TEXTURES\n1=1-1\n2=2-2\n");
  data.Write("TEXTURES/STRIPES.PCX", Bytes(engine::EncodePcx(Image([](int x, int y) {
               return static_cast<std::uint8_t>((x / 16 + y / 16) % 2 == 0 ? 2 * 32 + 28 : 2 * 32 + 12);
             }))));
  data.Write("TEXTURES/UPRIGHT.PCX", Bytes(engine::EncodePcx(Image([](int, int y) { return y < 64 ? kRed : kBlue; }))));
  const engine::Mesh triangle = FlatMesh({{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {{0, 1, 2}}, 1);
  for (const char* name : {"3DO/GAME/TRANSI1.3DO", "3DO/GAME/TRANSI2.3DO", "3DO/GAME/TRANSI3.3DO",
                           "3DO/GAME/PODIUM.3DO", "3DO/GAME/FLAG.3DO"}) {
    WriteMesh(data, name, triangle);
  }
  WriteMesh(data, "3DO/GAME/SHADOW.3DO",
            FlatMesh({{-180, 0, -180}, {180, 0, -180}, {180, 0, 180}, {-180, 0, 180}}, {{0, 1, 2}, {0, 2, 3}}, 10));
  WriteMesh(data, "3DO/GAME/SENTRY.3DO", Box(120, 5 * 32 + 28));
  WriteMesh(data, "3DO/GAME/SKY.3DO", Box(30000, 6 * 32 + 16));
  WriteMesh(data, "3DO/GAME/POST.3DO",
            FlatMesh({{-150, -256, -150}, {150, -256, -150}, {150, -256, 150}, {-150, -256, 150}, {0, 200, 0}},
                     {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}}, 7 * 32 + 28));
  // The cursor: a frame on the floor of its cell, leaving the cell's middle open.
  WriteMesh(data, "3DO/EDITOR/SELECT.3DO",
            FlatMesh({{-260, -250, -260},
                      {260, -250, -260},
                      {260, -250, 260},
                      {-260, -250, 260},
                      {-220, -250, -220},
                      {220, -250, -220},
                      {220, -250, 220},
                      {-220, -250, 220}},
                     {{0, 1, 5}, {0, 5, 4}, {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}}, 1));
  WriteMesh(data, "3DO/EDITOR/START.3DO", Box(100, 1));
  WriteMesh(data, "3DO/EDITOR/SFX.3DO", Box(80, 1));
  WriteMesh(data, "3DO/EDITOR/EXIT.3DO", Box(100, 1));
  std::filesystem::create_directories(data.path() / "LEVEL");
}

std::string ScriptedDialogs::InputBox(std::string_view caption, std::string_view prompt, std::string_view preset) {
  Prompts.push_back(std::string(caption) + "|" + std::string(prompt) + "|" + std::string(preset));
  if (Answers.empty()) {
    ADD_FAILURE() << "no answer for " << Prompts.back();
    return "";
  }
  std::optional<std::string> answer = Answers.front();
  Answers.pop_front();
  return answer ? *answer : std::string(preset);
}

std::optional<std::string> ScriptedDialogs::OpenLevelDialog(const std::filesystem::path& folder) {
  DialogFolders.push_back(folder);
  if (Files.empty()) return std::nullopt;
  std::optional<std::string> file = Files.front();
  Files.pop_front();
  return file;
}

std::optional<std::string> ScriptedDialogs::SaveLevelDialog(const std::filesystem::path& folder) {
  return OpenLevelDialog(folder);
}

Choice ScriptedDialogs::Ask(std::string_view text, bool withCancel) {
  Questions.emplace_back(text);
  if (Choices.empty()) {
    ADD_FAILURE() << "no choice for " << text;
    return withCancel ? Choice::Cancel : Choice::No;
  }
  const Choice choice = Choices.front();
  Choices.pop_front();
  return choice;
}

void FakeWindow::ShowPanel(const Panel& panel) {
  Shown = panel;
  ++PanelUpdates;
  if (panel.SelectMusic) SelectedMusic = *panel.SelectMusic;
}

bool FakeWindow::BoostDisplay(int width, int height) {
  if (!BoostOffered) return false;
  Boosts.emplace_back(width, height);
  return true;
}

base::Status FakeWindow::StartGame(const std::filesystem::path& levelFile) {
  Games.push_back(levelFile);
  return {};
}

world::SoundHandle RecordingSounds::LoadSound(std::string_view fileName) {
  Loaded.emplace_back(fileName);
  return static_cast<world::SoundHandle>(Loaded.size() - 1);
}

EditorHarness::EditorHarness() {
  WriteDataTree(data);
  editor = std::make_unique<Editor>(
      EditorServices{backend, dialogs, window, sounds, music, clock, data.path(), state.path(), config.path()});
}

void EditorHarness::Start(const std::string& levelFile) {
  const base::Status started = FirstActivation(*editor, levelFile);
  ASSERT_TRUE(started) << started.error();
}

void EditorHarness::Tick(std::uint32_t ms) {
  clock.Advance(ms);
  EditorTick(*editor);
}

void EditorHarness::Tap(std::initializer_list<int> keys) {
  for (int key : keys) editor->Keys.Press(key);
  Tick();
  for (int key : keys) editor->Keys.Release(key);
}

void EditorHarness::Settle() {
  for (int i = 0; i < 200; ++i) Tick();
}

void EditorHarness::NewLevel(std::int32_t x, std::int32_t y, std::int32_t z) {
  for (std::int32_t side : {x, y, z}) dialogs.Answers.push_back(std::to_string(side));
  editor::NewLevel(*editor);
}

void EditorHarness::PutCursor(std::int32_t x, std::int32_t y, std::int32_t z) {
  PlaceCursor(editor->Cursor, static_cast<float>(x * 512 + 256), static_cast<float>(y * 512 + 256),
              static_cast<float>(z * 512 + 256));
  editor->Cursor.TargetHeading = editor->Cursor.ShownHeading = 0;
}

std::vector<std::uint8_t> EditorHarness::Bytes() const { return world::SerializeLevel(editor->Map()); }

void EditorLevelTest::SetUp() {
  h.Start();
  h.NewLevel(size_[0], size_[1], size_[2]);
  h.PutCursor(cursor_[0], cursor_[1], cursor_[2]);
}

}  // namespace zandrel::editor::test
