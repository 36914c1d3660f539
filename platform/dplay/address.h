// A session's place as the player types it: a host name or address, optionally ":port".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zandrel::dplay {

struct HostAndPort {
  std::string host;
  std::uint16_t port = 0;
};

// Nothing for an empty host, or a port that is not a number in 1..65534 (the port after
// it is the session's information socket).
std::optional<HostAndPort> ParseHostAndPort(std::string_view text, std::uint16_t defaultPort);

}  // namespace zandrel::dplay
