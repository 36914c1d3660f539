// One editor tick at 640 x 480 on a level of 40 x 8 x 40 cells built with the editor's own
// commands on the generated object bank: keys, panel, animations, the cursor's glide, the
// level view and the preview drawn by the software back end, and the blit that shows the
// 8-bit picture in the window (indexed image to true colour, stretched onto the window's
// surface), as the window does it each tick. Qt runs on its offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <deque>
#include <filesystem>
#include <memory>

#include "editor/commands.h"
#include "editor/editor.h"
#include "editor/level_ops.h"
#include "editor/widgets/soft_screen_widget.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/clock.h"

namespace zandrel {
namespace {

constexpr int kClientWidth = 800, kClientHeight = 600;  // the view then draws at 640 x 480

class NoDialogs final : public editor::EditorDialogs {
 public:
  std::deque<std::string> Answers;
  std::string InputBox(std::string_view, std::string_view, std::string_view preset) override {
    if (Answers.empty()) return std::string(preset);
    std::string answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::optional<std::string> OpenLevelDialog(const std::filesystem::path&) override { return std::nullopt; }
  std::optional<std::string> SaveLevelDialog(const std::filesystem::path&) override { return std::nullopt; }
  void Message(std::string_view) override {}
  editor::Choice Ask(std::string_view, bool) override { return editor::Choice::No; }
};

class NoWindow final : public editor::EditorWindow {
 public:
  void SetCaption(std::string_view) override {}
  void ShowPanel(const editor::Panel&) override {}
  void FillObjectList(const std::vector<std::string>&) override {}
  void FillMusicList(const std::vector<std::string>&) override {}
  void FillSentryList(std::int32_t) override {}
  void SetOutsideChecked(bool) override {}
  void SetStretchChecked(bool) override {}
  void SetRecentFiles(const std::vector<std::string>&) override {}
  void ShowPanels(bool) override {}
  void SetBusyCursor(bool) override {}
  bool MapHasFocus() const override { return true; }
  void RestoreFocus() override {}
  void WaitAllKeysUp() override {}
  bool BoostDisplay(int, int) override { return false; }
  base::Status StartGame(const std::filesystem::path&) override { return {}; }
};

QApplication& Application() {
  static int argc = 1;
  static char name[] = "editor_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *application;
}

// Codes of the standard bank.
enum Code : std::uint8_t { kStone = 1, kBrick = 2, kMetal = 3, kEarth = 7, kLadder = 9, kIngot = 20, kTorch = 28 };

// A stone floor, brick walls round the edge, rows of pillars and earth, a metal gallery.
void BuildLevel(editor::Editor& e, NoDialogs& dialogs) {
  dialogs.Answers = {"40", "8", "40"};
  editor::NewLevel(e);
  const auto at = [&e](std::int32_t x, std::int32_t y, std::int32_t z) {
    editor::PlaceCursor(e.Cursor, static_cast<float>(x * 512 + 256), static_cast<float>(y * 512 + 256),
                        static_cast<float>(z * 512 + 256));
  };
  const auto plan = [&e, &at](editor::Axis axis, std::uint8_t code, std::int32_t x, std::int32_t y, std::int32_t z) {
    e.CurrentObject = code;
    at(x, y, z);
    editor::GeneratePlan(e, axis);
  };
  plan(editor::Axis::Y, kStone, 0, 0, 0);
  for (std::int32_t edge : {0, 39}) {
    plan(editor::Axis::X, kBrick, edge, 1, 0);
    plan(editor::Axis::Z, kBrick, 0, 1, edge);
  }
  for (std::int32_t z = 4; z < 40; z += 8) {
    for (std::int32_t x = 3; x < 37; x += 3) {
      for (std::int32_t y = 1; y <= 4; ++y) {
        e.CurrentObject = (x / 3) % 4 == 0 ? kLadder : kStone;
        at(x, y, z);
        editor::RunCommand(e, editor::Command::Put);
      }
      const std::uint8_t ground[] = {kEarth, kIngot, kTorch, kEarth};
      e.CurrentObject = ground[(x + z) % 4];
      at(x, 1, z + 2);
      editor::RunCommand(e, editor::Command::Put);
    }
  }
  for (std::int32_t x = 5; x < 35; ++x) {
    e.CurrentObject = kMetal;
    at(x, 5, 20);
    editor::RunCommand(e, editor::Command::Put);
  }
  e.CurrentObject = kIngot;
  at(20, 2, 17);
}

void BM_EditorTick(benchmark::State& state) {
  Application();
  win::ManualClock clock(1000);
  engine::soft::SoftBackend backend;
  NoDialogs dialogs;
  NoWindow window;
  editor::SilentSounds sounds;
  editor::SilentMusic music;
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "zandrel-editor-bench";
  auto e = std::make_unique<editor::Editor>(
      editor::EditorServices{backend, dialogs, window, sounds, music, clock, ZANDREL_DATA, scratch, scratch});
  if (base::Status started = editor::FirstActivation(*e); !started) {
    state.SkipWithError(started.error().c_str());
    return;
  }
  BuildLevel(*e, dialogs);
  e->History.MarkSaved();  // no backup is due while timing
  editor::ResizeView(*e, kClientWidth, kClientHeight);
  editor::widgets::SoftScreenWidget levelView;
  levelView.resize(kClientWidth - 135 - 20, kClientHeight - 5);
  QImage surface(levelView.size(), QImage::Format_RGB32);  // the window's backing store
  QPainter painter(&surface);
  for (int i = 0; i < 20; ++i) {
    clock.Advance(50);
    editor::EditorTick(*e);
  }
  std::int64_t polygons = 0;
  for (auto _ : state) {
    clock.Advance(50);
    editor::EditorTick(*e);
    const engine::RenderView& view = *e->LevelView;
    levelView.ShowScreen(view.Screen, view.ViewPalette);
    levelView.Paint(painter);
    polygons += view.PolygonCount;
  }
  state.counters["polygons"] = benchmark::Counter(static_cast<double>(polygons), benchmark::Counter::kAvgIterations);
  state.counters["width"] = e->LevelView->Screen.Width;
  editor::CloseEditor(*e);
  std::filesystem::remove_all(scratch);
}
BENCHMARK(BM_EditorTick)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zandrel
