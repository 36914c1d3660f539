// The object bank ("Standard.bnk"): an INI file describing the 256 object types, the
// hero and sentry meshes and sounds, the sky, the fog colour, the texture list and the
// music table.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "engine/mesh.h"
#include "platform/win/clock.h"
#include "world/bank_devices.h"
#include "world/music_table.h"
#include "world/object_type.h"
#include "world/world_sounds.h"

namespace zandrel::world {

struct World;

// Bank-wide data, and what was loaded last (empty names: nothing yet).
struct ObjectBank {
  std::string LoadedName, LoadedQuality, LoadedTextureList;
  bool HighQuality = false;                   // cube faces use their textures, not their colours
  std::array<engine::Mesh, 3> Transitions{};  // the level-transition meshes, coordinates doubled
  engine::Mesh Podium, Flag;
  engine::Mesh Particle;  // the credits screen's triangle
  engine::Mesh SentryMesh;
  SoundHandle SentrySeenSound = kNoSound, SentryLostSound = kNoSound;
  engine::Mesh Sky;
  MusicTable Music{};
};

// What the loader reaches besides the world.
struct BankServices {
  BankDevices& Devices;  // the program's renderer and sound device take the bank's files
  const win::Clock& Clock;
  std::filesystem::path DataFolder;  // the data tree; the bank and its files live there
};

// Loads a bank with a texture quality ("High" or "Low", any case) unless that bank (name
// compared without regard to case) is already loaded with that quality. Answers whether
// it loaded; fails with the system's message when a file it cannot run without (texture
// list, image, picture, mesh) is missing. A missing bank file reads as an empty one.
base::Expected<bool> LoadObjectBank(BankServices& services, World& world, std::string_view bankName,
                                    std::string_view quality);

// What LoadObjectBank does once it has decided to load: reads the bank from the file's
// contents into the world, at the quality already set in world.Bank.
base::Status ReadObjectBank(BankServices& services, World& world, std::span<const std::uint8_t> bankFile);

// The box of a mesh's vertices, cell-local (see Box); a mesh with no vertices keeps the
// start values.
Box MeshBox(const engine::Mesh& mesh);

}  // namespace zandrel::world
