// What the editor tests share: waiting for a save to come back, pressing
// keys on an editor window, and the mouse.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include "editors/common/editor_controller.h"

namespace EditorTests {

// Lets the event loop run until `editor` has no save running, or is gone
// (a save that closes the window releases it), at most 20 s.
inline void waitForSave(Whirlpane::WPEditorController* editor) {
  const QPointer<Whirlpane::WPEditorController> watched(editor);
  QElapsedTimer clock;
  clock.start();
  while (watched && watched->isSaving() && clock.elapsed() < 20000) {
    QApplication::processEvents();
  }
  QApplication::processEvents();
}

inline void press(QWidget* window, int key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(window, &down);
}

// Sends one left-button event of `type` at `at` in `target`'s coordinates.
inline void mouse(QWidget* target, QEvent::Type type, QPointF at) {
  QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

}  // namespace EditorTests
