#include "tools/level/bank_session.h"

#include "engine/scene.h"
#include "platform/win/data_tree.h"
#include "world/object_bank.h"

namespace zandrel::tools {

BankSession::BankSession()
    : world_(std::make_unique<world::World>()), engine_(backend_), view_(std::make_unique<engine::RenderView>()) {
  engine::StartEngineCore(engine_);
}

base::Status BankSession::Load(const std::string& bankName, const std::string& dataOption, int width, int height) {
  base::Expected<std::filesystem::path> data = win::FindDataTree(dataOption);
  if (!data) return base::Failure{data.error()};
  backend_.OpenView(width, height, *view_);
  world::BankServices services{engine_, *view_, audio_, clock_, *data};
  base::Expected<bool> loaded = world::LoadObjectBank(services, *world_, bankName, "High");
  if (!loaded) return base::Failure{loaded.error()};
  return {};
}

}  // namespace zandrel::tools
