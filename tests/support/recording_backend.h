// A back end for tests: opens views as the game's or the editor's back end does, draws
// nothing and records what the engine asks of it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/backend.h"
#include "engine/camera.h"

namespace zandrel::test {

class RecordingBackend : public engine::Backend {
 public:
  struct StoredImage {
    int Number = 0;
    bool First = false;
    engine::PcxImage Image;
    engine::Palette ViewPalette;  // the view palette at the time of the call
  };

  // The editor's rules: near depth 10, right limit width - 1, near-plane clipping,
  // squared depth keys, one pass.
  explicit RecordingBackend(bool editorRules = false) : editorRules_(editorRules) {}

  void OpenView(int width, int height, engine::RenderView& view) override {
    engine::SetProjection(view, width, height, editorRules_ ? 10 : 1, editorRules_ ? width - 1 : width);
    view.Rules = {editorRules_, editorRules_, editorRules_};
  }
  void ClearView(std::uint8_t, engine::RenderView&) override {}
  void StartScene(engine::RenderView&) override { ++StartCount; }
  void DrawPolygon(int index, engine::RenderView& view) override {
    Drawn.push_back(index);
    DrawnPolygons.push_back(view.Polygons[static_cast<std::size_t>(index)]);
  }
  struct DrawnPicture {
    const engine::Picture* Picture;
    bool Transparent;
    float X, Y, W, H;
  };
  void DrawPicture(const engine::Picture& picture, bool transparent, engine::RenderView&, float x, float y, float w,
                   float h) override {
    Pictures.push_back({&picture, transparent, x, y, w, h});
  }
  void SwapView(engine::RenderView&) override {}
  void BeginTextureImages(engine::RenderView&) override {
    ++Begins;
    Stored.clear();
  }
  void StoreTextureImage(int number, const engine::PcxImage& image, bool first, engine::RenderView& view) override {
    Stored.push_back({number, first, image, view.ViewPalette});
  }
  void FogChanged(engine::RenderView&) override { ++FogCount; }

  std::vector<int> Drawn;
  std::vector<engine::ScreenPolygon> DrawnPolygons;
  std::vector<DrawnPicture> Pictures;
  int StartCount = 0, FogCount = 0, Begins = 0;
  std::vector<StoredImage> Stored;

 private:
  bool editorRules_;
};

}  // namespace zandrel::test
