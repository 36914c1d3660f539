// Letter case as the file system and the original's text keys treat it: ASCII letters
// only, every other byte as it is.
#pragma once

#include <string>
#include <string_view>

namespace zandrel::base {

char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zandrel::base
