#include "world/bank_devices.h"

#include "engine/overlay.h"
#include "engine/scene.h"
#include "engine/texture_list.h"

namespace zandrel::world {

base::Status LoadBankTextures(engine::Engine& engine, engine::RenderView& view, const std::filesystem::path& folder,
                              std::string_view textureList, FogColour fog) {
  if (base::Status s = engine::LoadTextureList(engine, view, textureList, folder); !s) return s;
  engine::SetFog(engine, view, fog.Red, fog.Green, fog.Blue);
  return engine::LoadInterfacePictures(engine, folder);
}

}  // namespace zandrel::world
