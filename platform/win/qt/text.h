// The system's texts in Qt's strings. Level and bank texts are bytes of the Windows ANSI
// code page (1252); paths and messages built on Linux may be UTF-8.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace zandrel::win::qt {

QString FromAnsi(std::string_view ansi);
// Characters the code page lacks become '?', as the system's own conversion does.
std::string ToAnsi(const QString& text);

// A message of the program: shown as UTF-8 when it is valid UTF-8 (ASCII included), else
// read in the ANSI code page.
QString FromMessage(std::string_view text);

}  // namespace zandrel::win::qt
