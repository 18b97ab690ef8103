// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor tests share: a scratch folder with a coordinator, waiting
// for a save, keys, the mouse and the sliders as the user works them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "editors/common/editor_frame.h"
#include "editors/controls/slider_row.h"
#include "editors/editor_coordinator.h"
#include "tests/support/test_support.h"

namespace EditorTests {

// Runs the event loop until `done` holds, for 20 s at most.
inline void waitUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 20000) QApplication::processEvents();
}

// `saved` collects the files the windows opened by open() report written,
// `reports` what the coordinator reports.
class EditorTest : public ::testing::Test {
 protected:
  // `editors`: what the coordinator opens, the real editors unless told.
  explicit EditorTest(const std::vector<Whirlpane::EditorEntry>& editors = Whirlpane::editorTable())
      : coordinator([this](const QString& message) { reports << message; }, editors) {}

  void SetUp() override { TestSupport::startVips(); }

  // The editor with its whole picture decoded, unless `decoded` is false.
  template <class Editor = Whirlpane::EditorFrame>
  Editor* open(const std::string& action, const std::filesystem::path& file, bool decoded = true) {
    QWidget* window = coordinator.makeOffscreenWindow(
        action, file, [this](const std::filesystem::path& written) { saved.push_back(written); });
    auto* editor = dynamic_cast<Editor*>(coordinator.editorOf(window));
    if (decoded && editor) waitForPicture(editor);
    return editor;
  }

  // Runs the event loop until `count` editor windows are open (20 s).
  void waitForWindows(size_t count) {
    waitUntil([&] { return coordinator.openWindows().size() >= count; });
  }

  // Runs the event loop until `editor`'s whole picture is in or failed (20 s).
  static void waitForPicture(Whirlpane::EditorFrame* editor) {
    waitUntil(
        [&] { return editor->pictureState() != Whirlpane::EditorFrame::PictureState::decoding; });
  }

  TestSupport::ScratchFolder folder;
  std::vector<std::filesystem::path> saved;
  QStringList reports;
  Whirlpane::EditorCoordinator coordinator;
};

// Runs the event loop until `editor` has no save running or is gone (20 s).
inline void waitForSave(Whirlpane::EditorFrame* editor) {
  const QPointer<Whirlpane::EditorFrame> watched(editor);
  waitUntil([&] { return !watched || !watched->isSaving(); });
  QApplication::processEvents();
}

inline void press(QWidget* window, int key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(window, &down);
}

// One left-button event of `type` at `at` in `target`'s coordinates.
inline void mouse(QWidget* target, QEvent::Type type, QPointF at) {
  QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Drags `row`'s knob from where it is to `value`.
inline void slide(Whirlpane::SliderRow* row, double value) {
  Whirlpane::Slider* slider = row->slider();
  const QRectF bar = slider->bar();
  const auto at = [&](double v) {
    const double share = (v - slider->minimum()) / (slider->maximum() - slider->minimum());
    return QPointF(bar.left() + 9 + (bar.width() - 18) * share, bar.center().y());
  };
  mouse(slider, QEvent::MouseButtonPress, at(slider->value()));
  mouse(slider, QEvent::MouseMove, at(value));
  mouse(slider, QEvent::MouseButtonRelease, at(value));
}

}  // namespace EditorTests
