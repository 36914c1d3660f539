#include "world/object_bank.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine.h"
#include "engine/overlay.h"
#include "engine/pcx.h"
#include "platform/win/clock.h"
#include "tests/support/recording_backend.h"
#include "tests/support/temp_dir.h"
#include "world/world.h"

namespace zandrel::world {
namespace {

// A ".3do" file: the vertices given, one face over the first three.
std::string MeshFile(const std::vector<std::array<std::int32_t, 3>>& vertices) {
  std::string bytes;
  auto put16 = [&bytes](std::uint16_t v) { bytes.append(reinterpret_cast<const char*>(&v), 2); };
  auto put32 = [&bytes](std::int32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
  put16(static_cast<std::uint16_t>(vertices.size() - 1));
  put16(0);
  for (int axis = 0; axis < 3; ++axis) {
    for (const auto& v : vertices) put32(v[static_cast<std::size_t>(axis)]);
  }
  for (std::uint16_t word : {0, 1, 2, 1, 0, 0, 3}) put16(word);
  return bytes;
}

std::string Pcx() {
  engine::PcxImage image;
  image.Width = 2;
  image.Height = 2;
  image.Indices = {1, 2, 3, 4};
  const std::vector<std::uint8_t> bytes = engine::EncodePcx(image);
  return std::string(bytes.begin(), bytes.end());
}

class ObjectBankTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string triangle = MeshFile({{-100, -256, -100}, {100, 0, -100}, {0, 200, 100}});
    for (const char* name : {"3DO/GAME/TRANSI1.3DO", "3DO/GAME/transi2.3do", "3DO/GAME/Transi3.3do",
                             "3DO/GAME/PODIUM.3DO", "3DO/GAME/FLAG.3DO", "3DO/GAME/HERO.3DO", "3DO/GAME/frame1.3do",
                             "3DO/GAME/Frame2.3do", "3DO/GAME/FRAME4.3DO"}) {
      dir_.Write(name, triangle);
    }
    dir_.Write("TEXTURES/LIST.TXT", "#IMAGES\n1=textures\\wall.pcx\n#TEXTURES\n1=1-1\n");
    dir_.Write("TEXTURES/WALL.PCX", Pcx());
    for (const char* name : {"INTERF/ZANDREL.PCX", "INTERF/TITLE.PCX", "INTERF/OPTION.PCX", "INTERF/SELECT.PCX",
                             "INTERF/BARRE.PCX", "INTERF/RADAR.PCX", "INTERF/RADARP1.PCX", "INTERF/RADARP2.PCX",
                             "INTERF/SMALFONT.PCX", "INTERF/BIGFONT.PCX"}) {
      dir_.Write(name, Pcx());
    }
    dir_.Write("Standard.bnk", R"([General]
Texture=textures\list.txt
FogRed=10
FogGreen=20
FogBlue=30
Hero=hero.3do
Music0=MUSIC\TITLE.XM
Music0Name=Title
Music0Loop=true
Music7Video=CLIP.AVI

[Object 1]
Name=Wall
Cube=TRUE
FaceBColor=12
FaceETexture=1

[Object 2]
Cube=false
Mesh1=FRAME1.3DO
Mesh2=frame2.3do
Mesh4=frame4.3do
Ymax=100
Ymax2=300
Speed=10
Door=TRUE

[object 3]
cube=
Collision=FALSE

[Object 4]
Cube=TrUe
Collision=nope
Death=true
Lingot=TRUE
LingotDoor=5
Timer=FALSE
TimerDuration=77
Xmin=abc
)");
  }

  base::Expected<bool> Load(std::string_view name, std::string_view quality) {
    BankServices services{devices_, clock_, dir_.path()};
    return LoadObjectBank(services, world_, name, quality);
  }

  test::TempDir dir_;
  test::RecordingBackend backend_;
  engine::Engine engine_{backend_};
  engine::RenderView view_;
  // Textures go to the recording back end; there is no sound device.
  BankCalls devices_{
      [this](std::string_view list, FogColour fog) { return LoadBankTextures(engine_, view_, dir_.path(), list, fog); },
      nullptr};
  win::ManualClock clock_{5000};
  World world_;
};

TEST_F(ObjectBankTest, ReadsTypesWithTheirDefaults) {
  ASSERT_TRUE(Load("standard.bnk", "High").ok());
  const ObjectType& wall = world_.Types[1];
  EXPECT_FALSE(wall.Empty);
  EXPECT_TRUE(wall.Cube);
  EXPECT_TRUE(wall.Collision);  // absent means solid
  EXPECT_EQ(wall.Name, "Wall");
  EXPECT_EQ(wall.Bounds, (Box{0, 511, 0, 0, 511, 511, 511, 511, 511}));
  EXPECT_EQ(wall.FaceColor, (std::array<std::uint8_t, 6>{66, 12, 66, 66, 66, 66}));
  EXPECT_EQ(wall.FaceTexture, (std::array<std::uint8_t, 6>{0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(wall.LoopDuration, 999000);
  EXPECT_EQ(wall.ActionVolume, 255);

  const ObjectType& door = world_.Types[2];
  EXPECT_FALSE(door.Cube);       // any value but TRUE makes a mesh object
  EXPECT_EQ(door.MeshCount, 2);  // frames 1 and 2; the gap before 4 ends the list
  EXPECT_FALSE(door.DisplayMesh.Empty());
  EXPECT_EQ(std::tie(door.Bounds.Ymax1, door.Bounds.Ymax2, door.Bounds.Ymax3, door.Bounds.Ymax4),
            std::tuple(356, 556, 356, 356));
  EXPECT_EQ(door.FrameBounds[1].Ymax2, 556);
  EXPECT_FLOAT_EQ(door.Speed, 0.09f);
  EXPECT_EQ(std::tie(door.AnimDoor, door.DoorOpen), std::tuple(2, 2));  // its own code
  EXPECT_TRUE(door.LoopDue);
  EXPECT_EQ(door.LoopTime, 5000u);

  EXPECT_TRUE(world_.Types[3].Empty);  // an empty "Cube" leaves the type empty
  EXPECT_TRUE(world_.Types[0].Empty);

  const ObjectType& ingot = world_.Types[4];
  EXPECT_TRUE(ingot.Cube);
  EXPECT_FALSE(ingot.Collision);
  EXPECT_TRUE(ingot.Death);
  EXPECT_TRUE(ingot.Lingot);
  EXPECT_EQ(ingot.LingotDoor, 5);
  EXPECT_FALSE(ingot.Timer);
  EXPECT_EQ(ingot.TimerDuration, 0);  // read only for timers
}

TEST_F(ObjectBankTest, ReadsTheBankWideData) {
  ASSERT_TRUE(Load("STANDARD.BNK", "low").ok());
  const ObjectBank& bank = world_.Bank;
  EXPECT_FALSE(bank.HighQuality);
  EXPECT_EQ(bank.LoadedQuality, "LOW");
  EXPECT_EQ(std::tie(view_.FogRed, view_.FogGreen, view_.FogBlue), std::tuple(10, 20, 30));
  ASSERT_EQ(backend_.Stored.size(), 1u);
  EXPECT_EQ(backend_.Stored[0].Number, 1);
  EXPECT_FALSE(engine_.Pictures[engine::kBigFontFirstSlot].Empty());
  EXPECT_EQ(bank.Transitions[0].X[0], -200);  // doubled
  EXPECT_EQ(bank.Transitions[2].Y[2], 400);
  EXPECT_EQ(bank.Particle.Y, (std::vector<std::int32_t>{-5, 5, 5}));
  EXPECT_FALSE(bank.Podium.Empty());
  EXPECT_TRUE(bank.Sky.Empty());
  for (const PlayerSlot& slot : world_.Players) {
    EXPECT_FALSE(slot.Poses[0].Empty());
    EXPECT_FALSE(slot.WorkingMesh.Empty());
    EXPECT_TRUE(slot.Poses[1].Empty());  // no key, no mesh
  }
  EXPECT_EQ(bank.Music[0].File, "MUSIC\\TITLE.XM");
  EXPECT_EQ(bank.Music[0].Name, "Title");
  EXPECT_TRUE(bank.Music[0].Loop);
  EXPECT_EQ(bank.Music[7].Video, "CLIP.AVI");
}

TEST_F(ObjectBankTest, LoadsOnceForTheSameNameAndQuality) {
  ASSERT_TRUE(Load("standard.bnk", "High").value());
  world_.Types[1].Name = "changed";
  EXPECT_FALSE(Load("STANDARD.BNK", "HIGH").value());
  EXPECT_EQ(world_.Types[1].Name, "changed");
  EXPECT_TRUE(Load("STANDARD.BNK", "Low").value());  // another quality reloads
  EXPECT_EQ(world_.Types[1].Name, "Wall");
  EXPECT_EQ(backend_.Begins, 1);  // same texture list: not loaded again
}

TEST_F(ObjectBankTest, AMissingBankReadsAsAnEmptyOne) {
  ASSERT_TRUE(Load("nothing.bnk", "High").ok());
  for (const ObjectType& type : world_.Types) EXPECT_TRUE(type.Empty);
  EXPECT_EQ(backend_.Begins, 0);
  EXPECT_TRUE(world_.Players[0].Poses[0].Empty());
}

TEST_F(ObjectBankTest, AMissingMeshIsFatal) {
  std::filesystem::remove(dir_ / "3DO/GAME/PODIUM.3DO");
  base::Expected<bool> loaded = Load("standard.bnk", "High");
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.error(), "G3D: The file 3DO/GAME/podium.3do is missing");
}

TEST(MeshBox, TakesExtremesAndQuadrantTops) {
  engine::Mesh mesh;
  mesh.X = {-200, 200, 200, -200, 0};
  mesh.Y = {-256, 10, 50, 100, -300};
  mesh.Z = {-100, -100, 100, 100, 0};
  // MidX = 0, MidZ = 0: vertex 4 sits on both middles, so it counts toward Ymax3.
  EXPECT_EQ(MeshBox(mesh), (Box{56, 456, -44, 156, 356, 0, 266, 306, 356}));
  EXPECT_EQ(MeshBox(engine::Mesh{}), (Box{768, 256, 768, 768, 256, -256, -256, -256, -256}));
}

TEST(MeshBox, VerticesAtTheEndsOfTheRangeDoNotOverflow) {
  engine::Mesh mesh;
  mesh.X = {INT32_MAX, INT32_MIN};
  mesh.Y = {INT32_MAX, INT32_MIN};
  mesh.Z = {INT32_MAX, INT32_MAX - 1};
  // The middle of INT32_MAX and INT32_MIN is 0 (it used to overflow); 256 more than the
  // largest coordinate stays the largest.
  EXPECT_EQ(MeshBox(mesh),
            (Box{INT32_MIN + 256, INT32_MAX, INT32_MIN + 256, 768, INT32_MAX, -256, -256, INT32_MAX, -256}));
}

TEST_F(ObjectBankTest, BoxOverridesAtTheEndOfTheRangeDoNotOverflow) {
  dir_.Write("Standard.bnk", "[Object 2]\nCube=false\nMesh1=FRAME1.3DO\nXmax=2147483392\nXmin=-2147483648\n");
  ASSERT_TRUE(Load("standard.bnk", "High").ok());
  EXPECT_EQ(world_.Types[2].Bounds.Xmax, INT32_MAX);
  EXPECT_EQ(world_.Types[2].Bounds.Xmin, INT32_MIN + 256);
  EXPECT_EQ(world_.Types[2].FrameBounds[0].Xmax, INT32_MAX);
}

}  // namespace
}  // namespace zandrel::world
