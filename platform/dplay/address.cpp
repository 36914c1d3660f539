#include "platform/dplay/address.h"

#include <charconv>

namespace zandrel::dplay {

std::optional<HostAndPort> ParseHostAndPort(std::string_view text, std::uint16_t defaultPort) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  HostAndPort result{std::string(text), defaultPort};
  if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
    const std::string_view digits = text.substr(colon + 1);
    unsigned port = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (port == 0 || port >= 0xFFFF) return std::nullopt;
    result.host = std::string(text.substr(0, colon));
    result.port = static_cast<std::uint16_t>(port);
  }
  if (result.host.empty() || result.port == 0 || result.port == 0xFFFF) return std::nullopt;
  return result;
}

}  // namespace zandrel::dplay
