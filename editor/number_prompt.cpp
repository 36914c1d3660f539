#include "editor/number_prompt.h"

#include <algorithm>
#include <charconv>

namespace zandrel::editor {
namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string NumberPrompt(EditorDialogs& dialogs, std::string_view caption, std::string_view prompt,
                         std::string_view preset, std::string_view message) {
  for (;;) {
    std::string answer = dialogs.InputBox(caption, prompt, preset);
    if (answer.empty() || AllDigits(answer)) return answer;
    dialogs.Message(message);
  }
}

std::optional<std::int32_t> ToInteger(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string InvalidIntegerMessage(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid integer value.";
}

}  // namespace zandrel::editor
