// Numbers asked of the user through the one-line input box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/ports.h"

namespace zandrel::editor {

// Repeats the input box while its answer is not empty and holds a character other than
// "0".."9", showing `message` after each such answer. The answer is then either empty (no
// number given) or all digits.
std::string NumberPrompt(EditorDialogs& dialogs, std::string_view caption, std::string_view prompt,
                         std::string_view preset, std::string_view message);

// The text as a 32-bit signed integer (an optional minus sign, decimal digits); nothing
// when it is not one or does not fit, where the system's conversion fails.
std::optional<std::int32_t> ToInteger(std::string_view text);

// "'TEXT' is not a valid integer value."
std::string InvalidIntegerMessage(std::string_view text);

}  // namespace zandrel::editor
