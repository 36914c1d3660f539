#include "editor/widgets/editor_devices.h"

#include <QPainter>

namespace zandrel::editor::widgets {

ClipOverlay::ClipOverlay(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent);
  hide();
}

void ClipOverlay::ClientSize(int& width, int& height) const {
  width = this->width();
  height = this->height();
}

void ClipOverlay::ShowFrame(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth,
                            int destHeight) {
  if (rgba == nullptr || width <= 0 || height <= 0) return;
  const QImage source(rgba, width, height, width * 4, QImage::Format_RGBA8888);
  if (frame_.size() != source.size()) frame_ = QImage(source.size(), QImage::Format_RGBA8888);
  std::copy_n(source.constBits(), source.sizeInBytes(), frame_.bits());
  place_ = QRect(destX, destY, destWidth, destHeight);
  show();
  raise();
  update();
}

void ClipOverlay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!frame_.isNull()) painter.drawImage(place_, frame_);
}

void EditorDeviceMusic::Attach(const Devices& devices) {
  music_.Player.Library = &devices.Library;
  music_.Mci = devices.Mci;
  music_.Entries = &devices.Entries;
  music_.Sound = &devices.Sound;
  music_.DataFolder = devices.DataFolder;
  music_.Window = devices.Clips != nullptr ? this : nullptr;
  clips_ = devices.Clips;
  resetFrameClock_ = devices.ResetFrameClock;
}

void EditorDeviceMusic::StartModulePlayer() {
  if (music_.Sound == nullptr) return;
  dsound::DirectSound* const device = music_.Sound->Owner != nullptr ? music_.Sound->Owner->Device() : nullptr;
  audio::StartModulePlayer(music_.Player, audio::kModuleMixingRate, true, device, ClipOverlay::kHandle);
}

void EditorDeviceMusic::PollMusic() {
  if (music_.Mci != nullptr && music_.Mci->Poll()) audio::CloseClip(music_);
  audio::PollMusic(music_);
}

void EditorDeviceMusic::CloseModulePlayer() {
  audio::StopMusic(music_);
  if (music_.ClipOpen) audio::CloseClip(music_);
  audio::CloseModulePlayer(music_.Player);
}

void EditorDeviceMusic::ClientSize(int& width, int& height) const {
  width = height = 0;
  if (clips_ != nullptr) clips_->ClientSize(width, height);
}

void EditorDeviceMusic::ClipStarts() {
  if (clips_ != nullptr) clips_->show();
}

void EditorDeviceMusic::ClipEnded() {
  if (clips_ != nullptr) clips_->hide();
}

void EditorDeviceMusic::ResetFrameClock() {
  if (resetFrameClock_) resetFrameClock_();
}

}  // namespace zandrel::editor::widgets
