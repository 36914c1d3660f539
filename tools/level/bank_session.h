// The object bank of a level loaded as the programs load it: the data tree found, the
// world holding the object types and, when the level is to be drawn, the software back
// end holding the textures. No sound device is opened.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "base/expected.h"
#include "engine/engine.h"
#include "engine/render_view.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/clock.h"
#include "world/bank_devices.h"
#include "world/world.h"

namespace zandrel::tools {

class BankSession {
 public:
  BankSession();

  // Finds the data tree (`dataOption` or the usual places) and reads the bank's types,
  // meshes and names.
  base::Status LoadTypes(const std::string& bankName, const std::string& dataOption);
  // The same, with a software view of that size taking the textures, fog and pictures.
  base::Status LoadDrawn(const std::string& bankName, const std::string& dataOption, int width, int height);

  world::World& World() { return *world_; }
  engine::Engine& Engine() { return engine_; }
  engine::RenderView& View() { return *view_; }
  engine::soft::SoftBackend& Backend() { return backend_; }

 private:
  base::Status Load(const std::string& bankName, const std::string& dataOption, bool drawn);

  std::unique_ptr<world::World> world_;
  engine::soft::SoftBackend backend_;
  engine::Engine engine_;
  std::unique_ptr<engine::RenderView> view_;
  win::ManualClock clock_;
};

}  // namespace zandrel::tools
