#include "platform/dplay/enet_play.h"

namespace zandrel::dplay {
namespace {

class EnetNetwork final : public Network {
 public:
  explicit EnetNetwork(Settings settings) : settings_(std::move(settings)) {}
  ~EnetNetwork() override { enet_deinitialize(); }

  HRESULT DirectPlayEnumerate(const EnumProvidersCallback& callback) override {
    if (callback(kLocalNetworkProvider, kLocalNetworkProviderName)) callback(kAddressProvider, kAddressProviderName);
    return DP_OK;
  }

  HRESULT DirectPlayCreate(const Guid& provider, std::unique_ptr<DirectPlay>& object) override {
    if (provider == kLocalNetworkProvider) {
      object = std::make_unique<EnetPlay>(settings_, ProviderKind::kLocalNetwork);
    } else if (provider == kAddressProvider) {
      object = std::make_unique<EnetPlay>(settings_, ProviderKind::kAddress);
    } else {
      return DPERR_UNAVAILABLE;
    }
    return DP_OK;
  }

 private:
  const Settings settings_;
};

class NullNetwork final : public Network {
 public:
  HRESULT DirectPlayEnumerate(const EnumProvidersCallback&) override { return DP_OK; }
  HRESULT DirectPlayCreate(const Guid&, std::unique_ptr<DirectPlay>&) override { return DPERR_UNAVAILABLE; }
};

}  // namespace

std::unique_ptr<Network> CreateEnetNetwork(Settings settings) {
  if (enet_initialize() != 0) return CreateNullNetwork();
  const ENetSocket probe = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
  if (probe == ENET_SOCKET_NULL) {
    enet_deinitialize();
    return CreateNullNetwork();
  }
  enet_socket_destroy(probe);
  return std::make_unique<EnetNetwork>(std::move(settings));
}

std::unique_ptr<Network> CreateNullNetwork() { return std::make_unique<NullNetwork>(); }

}  // namespace zandrel::dplay
