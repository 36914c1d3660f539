// The system's one-line input box.
#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <string_view>

namespace zandrel::win::qt {

// Shows a modal box titled `caption` with the line `prompt` over an edit field holding
// `text`, and OK and Cancel buttons. Answers the edited text, or nothing when the user
// cancelled or closed the box. Texts are in the ANSI code page, as the level keeps them.
std::optional<std::string> InputQuery(QWidget* parent, std::string_view caption, std::string_view prompt,
                                      std::string_view text);

}  // namespace zandrel::win::qt
