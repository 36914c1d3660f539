// Feeds the editor's key state from a widget's key, mouse and focus events.
#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QObject>

#include "input/key_state.h"

namespace zandrel::win::qt {

// A key going down or up, as the key state wants it: a sided shift, ctrl or alt also moves
// its either-side code, which stays down while the other side is held. Auto-repeated presses
// and the releases between them are dropped: the key stays down for the state query until
// it is really released. Keys without a code are ignored.
void FeedKey(const QKeyEvent& event, input::KeyState& keys);

// An event filter that feeds `keys` from every event of the objects it is installed on
// (installEventFilter), passing the events on untouched: key presses and releases, mouse
// buttons as the virtual keys 1, 2, 4, 5, 6, and losing the keyboard (focus out, window
// deactivated) releases every key, since the releases will not be seen.
class KeyStateFeeder final : public QObject {
 public:
  explicit KeyStateFeeder(input::KeyState& keys, QObject* parent = nullptr) : QObject(parent), keys_(keys) {}

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  input::KeyState& keys_;
};

}  // namespace zandrel::win::qt
