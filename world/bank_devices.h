// What reading an object bank asks of the program: the renderer takes the bank's textures
// and fog, the sound device its sounds. The world keeps only handles and names, so that a
// program without devices (the level tool, a test) reads a bank with NoDevices.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "base/expected.h"
#include "engine/engine.h"
#include "engine/render_view.h"
#include "world/world_sounds.h"

namespace zandrel::world {

// The colour the scene fades to with distance; the bank's components are bytes.
struct FogColour {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
};

class BankDevices {
 public:
  virtual ~BankDevices() = default;
  // The bank names a texture list other than the one loaded last: load it, set the fog and
  // reload the interface pictures and fonts. A file the program cannot run without fails
  // with the system's message.
  virtual base::Status LoadTextures(std::string_view textureList, FogColour fog) = 0;
  // A wave file named by the bank (in the data's spelling); kNoSound without a sound device.
  virtual SoundHandle LoadSound(std::string_view fileName) = 0;
};

// Reads a bank for its types, meshes and names alone.
class NoDevices final : public BankDevices {
 public:
  base::Status LoadTextures(std::string_view, FogColour) override { return {}; }
  SoundHandle LoadSound(std::string_view) override { return kNoSound; }
};

// A program's devices as two calls: how it loads the textures, how it loads a sound (none:
// no sound device).
class BankCalls final : public BankDevices {
 public:
  using Textures = std::function<base::Status(std::string_view textureList, FogColour fog)>;
  using Sounds = std::function<SoundHandle(std::string_view fileName)>;
  BankCalls(Textures textures, Sounds sounds) : textures_(std::move(textures)), sounds_(std::move(sounds)) {}
  base::Status LoadTextures(std::string_view textureList, FogColour fog) override {
    return textures_(textureList, fog);
  }
  SoundHandle LoadSound(std::string_view fileName) override { return sounds_ ? sounds_(fileName) : kNoSound; }

 private:
  Textures textures_;
  Sounds sounds_;
};

// The renderer's part of LoadTextures, the same in every program: the texture list of the
// data tree `folder` into the view, the fog, the interface pictures and fonts.
base::Status LoadBankTextures(engine::Engine& engine, engine::RenderView& view, const std::filesystem::path& folder,
                              std::string_view textureList, FogColour fog);

}  // namespace zandrel::world
