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
  drawn_ = false;
  return Load(bankName, dataOption);
}

base::Status BankSession::LoadDrawn(const std::string& bankName, const std::string& dataOption, int width, int height) {
  drawn_ = true;
  backend_.OpenView(width, height, *view_);
  return Load(bankName, dataOption);
}

base::Status BankSession::Load(const std::string& bankName, const std::string& dataOption) {
  base::Expected<std::filesystem::path> data = win::FindDataTree(dataOption);
  if (!data) return base::Failure{data.error()};
  data_ = *data;
  world::BankServices services{*this, clock_, data_};
  base::Expected<bool> loaded = world::LoadObjectBank(services, *world_, bankName, "High");
  if (!loaded) return base::Failure{loaded.error()};
  return {};
}

base::Status BankSession::LoadTextures(std::string_view textureList, world::FogColour fog) {
  if (!drawn_) return {};
  return world::LoadBankTextures(engine_, *view_, data_, textureList, fog);
}

}  // namespace zandrel::tools
