// Texts stored in the original's files use the Windows ANSI code page (1252). Tools and
// text formats show them as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zandrel::win {

// Every byte becomes its character; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number.
std::string AnsiToUtf8(std::string_view ansi);

// The reverse; empty when the text is not valid UTF-8 or has a character the code page
// lacks.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);

}  // namespace zandrel::win
