#include "world/object_bank.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "base/text_case.h"
#include "engine/mesh_file.h"
#include "platform/win/files.h"
#include "platform/win/ini.h"
#include "world/world.h"

namespace zandrel::world {
namespace {

constexpr std::int32_t kAbsent = 999;             // an override key that is not there
constexpr std::size_t kMaxBankBytes = 16u << 20;  // as much as any profile file is read

// A mesh coordinate (centred on the cell) as a box coordinate (from the cell's low corner):
// 256 more, kept at the end of the range for coordinates that large rather than wrapping.
std::int32_t CellLocal(std::int32_t centred) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{centred} + 256, INT32_MAX));
}

class BankReader {
 public:
  BankReader(const win::IniFile& ini, BankServices& services) : ini_(ini), services_(services) {}

  std::string Text(std::string_view section, std::string_view key) const { return ini_.ReadString(section, key, ""); }
  std::int32_t Int(std::string_view section, std::string_view key, std::int32_t fallback) const {
    return ini_.ReadInteger(section, key, fallback);
  }
  // True exactly when the value, upper-cased, is "TRUE".
  bool Bool(std::string_view section, std::string_view key, bool fallback) const {
    return base::UpperAscii(ini_.ReadString(section, key, fallback ? "TRUE" : "FALSE")) == "TRUE";
  }
  // A mesh named by a key, loaded from "3DO/GAME/"; none when the key is empty.
  base::Status Mesh(std::string_view section, std::string_view key, engine::Mesh& mesh) const {
    const std::string value = Text(section, key);
    if (value.empty()) return {};
    return LoadInto("3DO/GAME/" + value, mesh);
  }
  base::Status LoadInto(const std::string& file, engine::Mesh& mesh) const {
    base::Expected<engine::Mesh> loaded = engine::LoadMesh(file, services_.DataFolder);
    if (!loaded) return base::Failure{loaded.error()};
    mesh = std::move(*loaded);
    return {};
  }
  // The sound a key names, loaded by the program's sound device; none when the key is empty.
  SoundHandle Sound(std::string_view section, std::string_view key, bool upperCase = false) const {
    const std::string value = Text(section, key);
    if (value.empty()) return kNoSound;
    return services_.Devices.LoadSound(upperCase ? base::UpperAscii(value) : value);
  }
  const win::Clock& Clock() const { return services_.Clock; }

 private:
  const win::IniFile& ini_;
  BankServices& services_;
};

constexpr const char* kGeneral = "General";

base::Status LoadFixedMeshes(const BankReader& reader, ObjectBank& bank) {
  const char* transitions[] = {"3do\\Game\\Transi1.3do", "3do\\Game\\Transi2.3do", "3do\\Game\\Transi3.3do"};
  for (std::size_t i = 0; i < bank.Transitions.size(); ++i) {
    engine::Mesh& mesh = bank.Transitions[i];
    if (base::Status s = reader.LoadInto(transitions[i], mesh); !s) return s;
    for (auto* axis : {&mesh.X, &mesh.Y, &mesh.Z}) {
      for (std::int32_t& v : *axis) v *= 2;
    }
  }
  if (base::Status s = reader.LoadInto("3DO/GAME/podium.3do", bank.Podium); !s) return s;
  if (base::Status s = reader.LoadInto("3DO/GAME/flag.3do", bank.Flag); !s) return s;
  engine::Mesh& particle = bank.Particle;
  particle.X = {0, -5, 5};
  particle.Y = {-5, 5, 5};
  particle.Z = {0, 0, 0};
  particle.Faces = {engine::MeshFace{0, 1, 2, 0, 0, 1, engine::kFlatColour}};
  return {};
}

base::Status LoadHeroes(const BankReader& bank, World& world) {
  static constexpr const char* kPoseKeys[] = {"Hero",         "Hero_Walk1",   "Hero_Walk2",  "Hero_Walk3",
                                              "Hero_Walk4",   "Hero_Fall",    "Hero_Crouch", "Hero_Dead",
                                              "Hero_Ladder1", "Hero_Ladder2", "Hero_Shoot"};
  // Every slot owns its copies; each file is read once.
  std::array<engine::Mesh, kPoseCount> poses{};
  for (std::size_t i = 0; i < poses.size(); ++i) {
    if (base::Status s = bank.Mesh(kGeneral, kPoseKeys[i], poses[i]); !s) return s;
  }
  engine::Mesh shadow;
  if (base::Status s = bank.Mesh(kGeneral, "Shadow", shadow); !s) return s;
  for (PlayerSlot& slot : world.Players) {
    slot.Poses = poses;
    slot.WorkingMesh = poses[kPoseStand];
    slot.Shadow = shadow;
    slot.StepSound = bank.Sound(kGeneral, "StepSound");
    slot.HurtSound = bank.Sound(kGeneral, "HurtSound");
    slot.DeathSound = bank.Sound(kGeneral, "DeathSound");
  }
  return {};
}

void ReadBehaviour(const BankReader& bank, const std::string& section, std::int32_t code, ObjectType& type) {
  type.Name = bank.Text(section, "Name");
  type.Lever = bank.Bool(section, "Lever", false);
  if (type.Lever) {
    type.LeverAnim = bank.Int(section, "LeverAnim", 0);
    type.LeverOpen = bank.Int(section, "LeverOpen", 0);
    type.LeverDoor = bank.Int(section, "LeverDoor", 0);
  }
  type.Light = bank.Bool(section, "Light", false);
  type.Spring = bank.Bool(section, "Spring", false);
  type.OneUp = bank.Bool(section, "1UP", false);
  type.Timer = bank.Bool(section, "Timer", false);
  if (type.Timer) type.TimerDuration = bank.Int(section, "TimerDuration", 10000);
  type.Lingot = bank.Bool(section, "Lingot", false);
  if (type.Lingot) type.LingotDoor = bank.Int(section, "LingotDoor", 0);
  type.Dig = bank.Bool(section, "Dig", false);
  type.Recover = bank.Bool(section, "Recover", false);
  type.DigAnim = bank.Int(section, "DigAnim", 0);
  type.RecoverAnim = bank.Int(section, "RecoverAnim", 0);
  type.Ladder = bank.Bool(section, "Ladder", false);
  type.BlockKey = bank.Bool(section, "BlockKey", false);
  type.BlockKeySensor = bank.Int(section, "BlockKeySensor", 0);
  type.BlockSensor = bank.Bool(section, "BlockSensor", false);
  type.BlockSensorDoor = bank.Int(section, "BlockSensorDoor", 0);
  type.Door = bank.Bool(section, "Door", false);
  if (type.Door) {
    type.AnimDoor = bank.Int(section, "AnimDoor", code);
    type.DoorOpen = bank.Int(section, "DoorOpen", code);
  }
  type.Death = bank.Bool(section, "Death", false);
  type.Collision = bank.Bool(section, "Collision", true);
  type.CanPush = bank.Bool(section, "CanPush", false);
  type.Morph = bank.Bool(section, "Morph", false);
  type.AnimateCollision = bank.Bool(section, "AnimateCollision", false);
  type.LoopSound = bank.Sound(section, "LoopSound", true);
  type.ActionSound = bank.Sound(section, "ActionSound", true);
  type.LoopDuration = bank.Int(section, "LoopDuration", 999000);
  type.LoopVolume = bank.Int(section, "LoopVolume", 255);
  type.ActionVolume = bank.Int(section, "ActionVolume", 255);
}

void ReadCube(const BankReader& bank, const std::string& section, ObjectType& type) {
  type.Bounds = Box{0, 511, 0, 0, 511, 511, 511, 511, 511};
  static constexpr const char* kFaces = "ABCDEF";
  for (std::size_t f = 0; f < 6; ++f) {
    const std::string face(1, kFaces[f]);
    // Stored as bytes, as the cube's face fields always were.
    type.FaceColor[f] = static_cast<std::uint8_t>(bank.Int(section, "Face" + face + "Color", 66));
    type.FaceTexture[f] = static_cast<std::uint8_t>(bank.Int(section, "Face" + face + "Texture", 0));
  }
}

base::Status ReadMeshObject(const BankReader& bank, const std::string& section, ObjectType& type) {
  type.MeshCount = 0;
  while (type.MeshCount < kMaxFrames) {
    const std::size_t frame = static_cast<std::size_t>(type.MeshCount);
    const std::string key = "Mesh" + std::to_string(type.MeshCount + 1);
    if (bank.Text(section, key).empty()) break;
    if (base::Status s = bank.Mesh(section, key, type.Meshes[frame]); !s) return s;
    type.FrameBounds[frame] = MeshBox(type.Meshes[frame]);
    if (frame == 0) type.DisplayMesh = type.Meshes[0];
    ++type.MeshCount;
  }
  type.Bounds = MeshBox(type.Meshes[0]);
  // Overrides are cell-local like the computed boxes: value + 256.
  struct Override {
    const char* key;
    std::vector<std::int32_t Box::*> fields;
  };
  const Override overrides[] = {
      {"Xmin", {&Box::Xmin}},   {"Xmax", {&Box::Xmax}},
      {"Ymin", {&Box::Ymin}},   {"Ymax", {&Box::Ymax1, &Box::Ymax2, &Box::Ymax3, &Box::Ymax4}},
      {"Ymax1", {&Box::Ymax1}}, {"Ymax2", {&Box::Ymax2}},
      {"Ymax3", {&Box::Ymax3}}, {"Ymax4", {&Box::Ymax4}},
      {"Zmin", {&Box::Zmin}},   {"Zmax", {&Box::Zmax}}};
  for (const Override& o : overrides) {
    const std::int32_t value = bank.Int(section, o.key, kAbsent);
    if (value == kAbsent) continue;
    for (std::int32_t Box::*field : o.fields) {
      type.Bounds.*field = CellLocal(value);
      for (Box& frame : type.FrameBounds) frame.*field = CellLocal(value);
    }
  }
  type.Speed = static_cast<float>(bank.Int(section, "Speed", 0)) * 90.0f * 0.0001f;
  if (!(type.AnimPos >= 0 && type.AnimPos < static_cast<float>(type.MeshCount))) type.AnimPos = 0;
  type.LoopDue = true;
  type.LoopTime = bank.Clock().Ticks();
  return {};
}

}  // namespace

Box MeshBox(const engine::Mesh& mesh) {
  Box box{512, 0, 512, 512, 0, -512, -512, -512, -512};
  for (std::size_t i = 0; i < mesh.VertexCount(); ++i) {
    box.Xmin = std::min(box.Xmin, mesh.X[i]);
    box.Ymin = std::min(box.Ymin, mesh.Y[i]);
    box.Zmin = std::min(box.Zmin, mesh.Z[i]);
    box.Xmax = std::max(box.Xmax, mesh.X[i]);
    box.Zmax = std::max(box.Zmax, mesh.Z[i]);
  }
  const auto midX = static_cast<std::int32_t>((std::int64_t{box.Xmin} + box.Xmax) / 2);
  const auto midZ = static_cast<std::int32_t>((std::int64_t{box.Zmin} + box.Zmax) / 2);
  for (std::size_t i = 0; i < mesh.VertexCount(); ++i) {
    const bool east = mesh.X[i] >= midX, south = mesh.Z[i] >= midZ;
    std::int32_t& top = !east && !south ? box.Ymax1 : east && !south ? box.Ymax2 : east ? box.Ymax3 : box.Ymax4;
    top = std::max(top, mesh.Y[i]);
  }
  for (std::int32_t Box::*field : {&Box::Xmin, &Box::Xmax, &Box::Ymin, &Box::Zmin, &Box::Zmax, &Box::Ymax1, &Box::Ymax2,
                                   &Box::Ymax3, &Box::Ymax4}) {
    box.*field = CellLocal(box.*field);
  }
  return box;
}

base::Expected<bool> LoadObjectBank(BankServices& services, World& world, std::string_view bankName,
                                    std::string_view quality) {
  ObjectBank& bank = world.Bank;
  const std::string upperQuality = base::UpperAscii(quality);
  if (base::EqualIgnoringCase(bankName, bank.LoadedName) && upperQuality == bank.LoadedQuality) return false;
  bank.LoadedName = std::string(bankName);
  bank.LoadedQuality = upperQuality;
  bank.HighQuality = upperQuality == "HIGH";
  const std::vector<std::uint8_t> file =
      win::ReadWholeFile(win::ResolvePath(bankName, services.DataFolder), kMaxBankBytes)
          .value_or(std::vector<std::uint8_t>{});
  if (base::Status s = ReadObjectBank(services, world, file); !s) return base::Failure{s.error()};
  return true;
}

base::Status ReadObjectBank(BankServices& services, World& world, std::span<const std::uint8_t> bankFile) {
  ObjectBank& bank = world.Bank;
  const win::IniFile ini({}, bankFile);
  const BankReader reader(ini, services);

  const std::string textureList = reader.Text(kGeneral, "Texture");
  if (textureList != bank.LoadedTextureList) {
    bank.LoadedTextureList = textureList;
    // The fog components are bytes; larger values keep their low byte, as they always did.
    const FogColour fog{static_cast<std::uint8_t>(reader.Int(kGeneral, "FogRed", 0)),
                        static_cast<std::uint8_t>(reader.Int(kGeneral, "FogGreen", 0)),
                        static_cast<std::uint8_t>(reader.Int(kGeneral, "FogBlue", 0))};
    if (base::Status s = services.Devices.LoadTextures(textureList, fog); !s) return s;
  }
  if (base::Status s = LoadFixedMeshes(reader, bank); !s) return s;
  if (base::Status s = LoadHeroes(reader, world); !s) return s;
  if (base::Status s = reader.Mesh(kGeneral, "Ennemy_Mesh", bank.SentryMesh); !s) return s;
  bank.SentrySeenSound = reader.Sound(kGeneral, "Ennemy_SeenSound");
  bank.SentryLostSound = reader.Sound(kGeneral, "Ennemy_LostSound");
  if (base::Status s = reader.Mesh(kGeneral, "Sky", bank.Sky); !s) return s;

  for (int n = 0; n < kMusicEntryCount; ++n) {
    MusicEntry& entry = bank.Music[static_cast<std::size_t>(n)];
    const std::string key = "Music" + std::to_string(n);
    entry.File = reader.Text(kGeneral, key);
    entry.Name = reader.Text(kGeneral, key + "Name");
    if (std::string video = reader.Text(kGeneral, key + "Video"); !video.empty()) entry.Video = std::move(video);
    entry.Loop = reader.Bool(kGeneral, key + "Loop", false);
  }

  for (ObjectType& type : world.Types) type.Empty = true;
  for (std::int32_t code = 0; code < kObjectTypeCount; ++code) {
    ObjectType& type = world.Types[static_cast<std::size_t>(code)];
    const std::string section = "Object " + std::to_string(code);
    type.AnimPrev = 0;
    type.Speed = 0;
    const std::string cube = reader.Text(section, "Cube");
    if (cube.empty()) continue;  // an empty type keeps whatever else it held
    type.Empty = false;
    type.Cube = base::UpperAscii(cube) == "TRUE";
    ReadBehaviour(reader, section, code, type);
    if (type.Cube) {
      ReadCube(reader, section, type);
    } else if (base::Status s = ReadMeshObject(reader, section, type); !s) {
      return s;
    }
  }
  return {};
}

}  // namespace zandrel::world
