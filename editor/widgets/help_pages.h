// The help window's pages: the button that opens each, its title and its text. The text is
// rich text; "{I_Start}" and the like stand for the picture of that command icon.
#pragma once

#include <array>
#include <string_view>

namespace zandrel::editor::widgets {

struct HelpPage {
  std::string_view Button;
  std::string_view Title;
  std::string_view Text;
};

extern const std::array<HelpPage, 9> kHelpPages;

}  // namespace zandrel::editor::widgets
