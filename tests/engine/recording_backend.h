// A back end for engine tests: opens views as the game's or the editor's back end does
// and records what the engine asks it to draw.
#pragma once

#include <vector>

#include "engine/backend.h"
#include "engine/camera.h"

namespace zandrel::engine::test {

class RecordingBackend : public Backend {
 public:
  // The editor's rules: near depth 10, right limit width - 1, near-plane clipping,
  // squared depth keys, one pass.
  explicit RecordingBackend(bool editorRules = false) : editorRules_(editorRules) {}

  void OpenView(int width, int height, RenderView& view) override {
    SetProjection(view, width, height, editorRules_ ? 10 : 1, editorRules_ ? width - 1 : width);
    view.Rules = {editorRules_, editorRules_, editorRules_};
  }
  void ClearView(std::uint8_t, RenderView&) override {}
  void StartScene(RenderView&) override { ++StartCount; }
  void DrawPolygon(int index, RenderView& view) override {
    Drawn.push_back(index);
    DrawnPolygons.push_back(view.Polygons[static_cast<std::size_t>(index)]);
  }
  void DrawPicture(const Picture&, bool, RenderView&, float, float, float, float) override {}
  void SwapView(RenderView&) override {}
  void BeginTextureImages(RenderView&) override {}
  void StoreTextureImage(int, const PcxImage&, bool, RenderView&) override {}
  void FogChanged(RenderView&) override { ++FogCount; }

  std::vector<int> Drawn;
  std::vector<ScreenPolygon> DrawnPolygons;
  int StartCount = 0;
  int FogCount = 0;

 private:
  bool editorRules_;
};

}  // namespace zandrel::engine::test
