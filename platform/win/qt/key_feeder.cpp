#include "platform/win/qt/key_feeder.h"

#include <QMouseEvent>

#include "platform/win/qt/key_map.h"

namespace zandrel::win::qt {

void FeedKey(const QKeyEvent& event, input::KeyState& keys) {
  if (event.isAutoRepeat()) return;
  const int code = VirtualKey(event);
  if (code == 0) return;
  const int sideless = SidelessKey(code);
  if (event.type() == QEvent::KeyPress) {
    keys.Press(code);
    if (sideless != 0) keys.Press(sideless);
    return;
  }
  if (event.type() != QEvent::KeyRelease) return;
  keys.Release(code);
  if (sideless != 0 && !keys.Held(OtherSideKey(code))) keys.Release(sideless);
}

bool KeyStateFeeder::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: FeedKey(*static_cast<QKeyEvent*>(event), keys_); break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      const int code = MouseButtonKey(static_cast<QMouseEvent*>(event)->button());
      if (code == 0) break;
      if (event->type() == QEvent::MouseButtonRelease) {
        keys_.Release(code);
      } else {
        keys_.Press(code);
      }
      break;
    }
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate: keys_.ReleaseAll(); break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zandrel::win::qt
