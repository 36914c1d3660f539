#include "platform/win/message.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zandrel::win {
namespace {

MessageBoxDisplay* g_display = nullptr;
std::string g_caption = "Zandrel";

}  // namespace

MessageBoxDisplay* SetMessageBoxDisplay(MessageBoxDisplay* display) {
  MessageBoxDisplay* previous = g_display;
  g_display = display;
  return previous;
}

void SetMessageCaption(std::string_view caption) { g_caption = caption; }

void ShowMessage(std::string_view text) {
  std::fprintf(stderr, "%s: %.*s\n", g_caption.c_str(), static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
  if (g_display != nullptr) g_display->Show(g_caption, text);
}

void FatalError(std::string_view text) {
  ShowMessage(text);
  std::exit(1);
}

}  // namespace zandrel::win
