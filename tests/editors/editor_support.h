// What the editor tests share: waiting for a save to come back, and pressing
// keys on an editor window.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include "editors/common/editor_controller.h"

namespace EditorTests {

// Lets the event loop run until `editor` has no save running (at most 20 s).
// A successful save closes the window, and the editor may go with it.
inline void waitForSave(const Whirlpane::WPEditorController& editor) {
  const QPointer<const Whirlpane::WPEditorController> watched(&editor);
  QElapsedTimer clock;
  clock.start();
  while (watched && watched->isSaving() && clock.elapsed() < 20000) QApplication::processEvents();
  QApplication::processEvents();
}

inline void press(QWidget* window, int key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(window, &down);
}

}  // namespace EditorTests
