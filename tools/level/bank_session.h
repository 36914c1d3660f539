// The object bank of a level loaded as the programs load it: the data tree found, the
// software back end holding the textures, the world holding the object types.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "audio/sound.h"
#include "engine/engine.h"
#include "engine/render_view.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/clock.h"
#include "base/expected.h"
#include "world/world.h"

namespace zandrel::tools {

class BankSession {
 public:
  BankSession();

  // Finds the data tree (`dataOption` or the usual places), opens a view of that size and
  // loads the bank with high detail. The data tree becomes the current folder.
  base::Status Load(const std::string& bankName, const std::string& dataOption, int width, int height);

  world::World& World() { return *world_; }
  engine::Engine& Engine() { return engine_; }
  engine::RenderView& View() { return *view_; }
  engine::soft::SoftBackend& Backend() { return backend_; }

 private:
  std::unique_ptr<world::World> world_;
  engine::soft::SoftBackend backend_;
  engine::Engine engine_;
  std::unique_ptr<engine::RenderView> view_;
  audio::Audio audio_;
  win::ManualClock clock_;
};

}  // namespace zandrel::tools
