#include <algorithm>
#include <cstring>

#include "platform/dplay/dplay.h"

namespace zandrel::dplay {

std::string FitName(std::string_view name, std::size_t fieldSize) {
  if (fieldSize == 0) return {};
  name = name.substr(0, name.find('\0'));
  std::size_t length = std::min(name.size(), fieldSize - 1);
  // A continuation byte just past the cut means the character before it would be split:
  // cut before that character's first byte instead.
  if (length < name.size()) {
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  }
  return std::string(name.substr(0, length));
}

void CopyName(std::string_view text, char* field, std::size_t fieldSize) {
  if (fieldSize == 0) return;
  const std::string fitted = FitName(text, fieldSize);
  std::memset(field, 0, fieldSize);
  std::memcpy(field, fitted.data(), fitted.size());
}

std::string FieldText(const char* field, std::size_t fieldSize) {
  return FitName(std::string_view(field, fieldSize), fieldSize);
}

}  // namespace zandrel::dplay
