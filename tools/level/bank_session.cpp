#include "tools/level/bank_session.h"

#include "engine/scene.h"
#include "platform/win/data_tree.h"
#include "world/object_bank.h"

namespace zandrel::tools {

BankSession::BankSession()
    : world_(std::make_unique<world::World>()), engine_(backend_), view_(std::make_unique<engine::RenderView>()) {
  engine::StartEngineCore(engine_);
}

base::Status BankSession::LoadTypes(const std::string& bankName, const std::string& dataOption) {
  return Load(bankName, dataOption, false);
}

base::Status BankSession::LoadDrawn(const std::string& bankName, const std::string& dataOption, int width, int height) {
  backend_.OpenView(width, height, *view_);
  return Load(bankName, dataOption, true);
}

base::Status BankSession::Load(const std::string& bankName, const std::string& dataOption, bool drawn) {
  base::Expected<std::filesystem::path> data = win::FindDataTree(dataOption);
  if (!data) return base::Failure{data.error()};
  world::NoDevices none;
  world::BankCalls view(
      [&](std::string_view list, world::FogColour fog) {
        return world::LoadBankTextures(engine_, *view_, *data, list, fog);
      },
      nullptr);
  world::BankServices services{drawn ? static_cast<world::BankDevices&>(view) : none, clock_, *data};
  base::Expected<bool> loaded = world::LoadObjectBank(services, *world_, bankName, "High");
  if (!loaded) return base::Failure{loaded.error()};
  return {};
}

}  // namespace zandrel::tools
