// zandrel-editor: the level editor. One window over Qt: the level drawn by the 8-bit
// software back end, the command panel, the menus.
#include <QApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "editor/widgets/editor_devices.h"
#include "editor/widgets/screen_form.h"
#include "platform/mci/mci.h"
#include "platform/midas/midas.h"
#include "platform/win/clock.h"
#include "platform/win/data_tree.h"
#include "platform/win/files.h"
#include "platform/win/message.h"
#include "platform/win/qt/message_box.h"

namespace {

using namespace zandrel;
namespace widgets = editor::widgets;

constexpr const char* kUsage =
    "Usage: zandrel-editor [--data DIR] [FILE.lev]\n"
    "       zandrel-editor --screenshot OUT.png [--ticks N] [--data DIR] [FILE.lev]\n"
    "\n"
    "Opens the level editor's window, with FILE.lev loaded when one is given. The data tree\n"
    "is found from --data, $ZANDREL_DATA, the program's folder (data/) or the installed share\n"
    "folder. --screenshot runs N ticks of the ready editor (default 10), writes the window's\n"
    "picture as a PNG file and quits, for scripted checks (e.g. under xvfb-run or with\n"
    "QT_QPA_PLATFORM=offscreen); it plays no sound.\n"
    "Keys: arrows move and turn the cursor (Ctrl+Left/Right move sideways), H and B up and\n"
    "down, Page Up/Down top and down view, keypad +/- zoom, Space puts the object, Delete or\n"
    "Backspace empties the cell, E and A brighten and darken it, D and X put the start and\n"
    "the exit, S a music cell. Ctrl+Z undo, Ctrl+Y redo, Ctrl+S save, F9 plays the level.\n"
    "Backups of unsaved work go to $XDG_STATE_HOME/zandrel (default ~/.local/state/zandrel).\n";

struct Arguments {
  std::string Data, Level, Screenshot;
  int Ticks = 10;
};

// Exit status 2 and the reason on stderr for a bad command line.
int BadUsage(const std::string& reason) {
  std::fprintf(stderr, "zandrel-editor: %s\n%s", reason.c_str(), kUsage);
  return 2;
}

int Run(int argc, char** argv, const Arguments& args) {
  base::Expected<std::filesystem::path> data = win::FindDataTree(args.Data);
  if (!data) win::FatalError(data.error());
  win::SetMessageCaption("Level editor");
  QApplication application(argc, argv);
  QApplication::setApplicationName("zandrel-editor");
  // The desktop shows the window under the editor's desktop entry and icon.
  QGuiApplication::setDesktopFileName("io.github.zandrel.Zandrel.Editor");

  const bool shot = !args.Screenshot.empty();
  audio::Audio sound;
  sound.DataFolder = *data;
  widgets::EditorDeviceSounds deviceSounds(sound);
  widgets::EditorDeviceMusic deviceMusic;
  editor::SilentSounds silentSounds;
  editor::SilentMusic silentMusic;
  std::unique_ptr<mci::Mci> media;
  std::unique_ptr<midas::Midas> modules;
  win::RealClock clock;
  const std::filesystem::path programFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  widgets::TScreenForm form({shot ? static_cast<editor::EditorSounds&>(silentSounds) : deviceSounds,
                             shot ? static_cast<editor::EditorMusic&>(silentMusic) : deviceMusic, clock, *data,
                             win::StateFolder(), win::ConfigFolder(), programFolder / "zandrel", args.Level});
  win::qt::QtMessageBox box(&form);
  win::SetMessageBoxDisplay(&box);
  if (!shot) {
    deviceSounds.Attach(*form.State().LevelView);
    mci::MciOptions mediaOptions;
    mediaOptions.DataFolder = *data;
    media = mci::CreateMci(&form.Clips(), mediaOptions);
    modules = midas::CreateMixerMidas();
    deviceMusic.Attach({*modules, media.get(), &form.Clips(), form.State().World->Bank.Music, sound, *data,
                        [&form] { editor::ResetFrameClock(form.State()); }});
  }
  int status = 0;
  if (shot) {
    form.ScreenshotAfter(args.Ticks, args.Screenshot, [&](bool saved) {
      if (!saved) std::fprintf(stderr, "zandrel-editor: cannot write %s\n", args.Screenshot.c_str());
      status = saved ? 0 : 1;
      form.close();
    });
  }
  form.show();
  const int loop = application.exec();
  win::SetMessageBoxDisplay(nullptr);
  return status != 0 ? status : loop;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> list(argv + 1, argv + argc);
  Arguments args;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string& a = list[i];
    const bool hasValue = i + 1 < list.size();
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == "--data" && hasValue) {
      args.Data = list[++i];
    } else if (a == "--screenshot" && hasValue) {
      args.Screenshot = list[++i];
    } else if (a == "--ticks" && hasValue) {
      char* end = nullptr;
      const long ticks = std::strtol(list[++i].c_str(), &end, 10);
      if (*end != '\0' || ticks < 1 || ticks > 100000) return BadUsage("--ticks takes a number from 1 to 100000");
      args.Ticks = static_cast<int>(ticks);
    } else if (!a.empty() && a[0] != '-' && args.Level.empty()) {
      args.Level = std::filesystem::absolute(a).string();
    } else {
      return BadUsage("unknown argument " + a);
    }
  }
  return Run(argc, argv, args);
}
