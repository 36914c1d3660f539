#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

#include "platform/dplay/dplay.h"

namespace zandrel::dplay {

std::vector<std::string> LocalBroadcastAddresses() {
  std::vector<std::string> addresses;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return addresses;
  for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
    const unsigned flags = i->ifa_flags;
    if ((flags & IFF_UP) == 0 || (flags & IFF_LOOPBACK) != 0 || (flags & IFF_BROADCAST) == 0) continue;
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || i->ifa_broadaddr == nullptr ||
        i->ifa_broadaddr->sa_family != AF_INET) {
      continue;
    }
    char text[INET_ADDRSTRLEN] = {};
    const in_addr broadcast = reinterpret_cast<const sockaddr_in*>(i->ifa_broadaddr)->sin_addr;
    if (inet_ntop(AF_INET, &broadcast, text, sizeof text) == nullptr) continue;
    if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) addresses.emplace_back(text);
  }
  freeifaddrs(list);
  return addresses;
}

}  // namespace zandrel::dplay
