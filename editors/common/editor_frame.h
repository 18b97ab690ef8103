// SPDX-License-Identifier: GPL-3.0-or-later
// The frame every editor is built in: a frameless, rounded, translucent window
// with a title bar that moves it, a close button, a content area the editor
// fills, and an action bar with Reset, a status line and Save (Return). The
// frame owns the save flow: the editor's work runs on the save thread, one
// save of an editor at a time, and on success the saved file is reported and
// the window closes; on failure the error is reported and the window stays.
//
// An editor derives from EditorFrame, adds its views to surface()
// between y = titleBarHeight and y = actionBarTop(), and overrides
// resetEditor() and saveEditor(); saveEditor() calls performSave() or
// saveImage(). The coordinator owns the controller; the controller owns its
// window.
//
// Thread safety: main thread only; performSave's work runs on the save thread.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/common/editor_error.h"

namespace Whirlpane {

class Backdrop;
class GrowAnimation;
class ActionButton;
class EditorFrame;
class EditorLabel;

// The editor window: Escape closes it, Return presses Save (where the focused
// control does not take Return itself). Tab walks its controls in reading
// order, row by row from the top, left to right in each row.
class EditorWindow : public QWidget {
  Q_OBJECT

 public:
  explicit EditorWindow(EditorFrame* controller);
  EditorFrame* controller() const { return controller_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  friend class EditorFrame;
  // Chains the controls Tab reaches in reading order.
  void orderFocusChain();
  EditorFrame* controller_;  // cleared when the controller goes first
};

// The content surface: the rounded face with its faint rim and hairlines,
// coordinates from the top left.
class EditorSurface : public QWidget {
  Q_OBJECT

 public:
  explicit EditorSurface(QWidget* parent) : QWidget(parent) {}
  // Hairlines across the surface at these heights.
  std::vector<qreal> separators;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool painted_ = false;
};

// The title strip: pressing and dragging on it moves the window.
class TitleBar : public QWidget {
  Q_OBJECT

 public:
  explicit TitleBar(QWidget* parent) : QWidget(parent) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QPointF grab_;  // the press, relative to the window, when the desktop cannot move it
};

// The messages of the editors' own failures, in the program's language:
// "The image could not be rendered." and "The file could not be saved.".
// Any thread.
std::string renderFailure();
std::string saveFailure();

class EditorFrame : public QObject {
  Q_OBJECT

 public:
  static constexpr qreal titleBarHeight = 38;
  static constexpr qreal actionBarHeight = 49;
  static constexpr QSize defaultSize{420, 630};

  // Builds the hidden window of `size` with `title`, a Save button reading
  // `saveTitle`, and object names "editor.<action>.window", ".close",
  // ".reset" and ".save".
  EditorFrame(std::filesystem::path file, const QString& title, const QString& saveTitle,
              const QString& action, QSize size = defaultSize);
  // Takes the window away (without calling onClosed).
  ~EditorFrame() override;
  EditorFrame(const EditorFrame&) = delete;
  EditorFrame& operator=(const EditorFrame&) = delete;

  const std::filesystem::path& sourceFile() const { return sourceFile_; }
  EditorWindow* window() const { return window_; }
  EditorSurface* surface() const { return surface_; }
  const QString& identifierWord() const { return action_; }
  qreal contentWidth() const;
  qreal actionBarTop() const;

  // Called with the written file after a successful save, before the window
  // closes.
  std::function<void(const std::filesystem::path&)> onSaved;
  // Called once, when the window closes (close button, Escape, a save); when
  // it closes while a save runs, once that save has come back (and reported
  // its file through onSaved).
  std::function<void()> onClosed;
  // Whether report() shows an alert on the window (true once shown).
  bool presentsErrors = false;

  const std::optional<EditorError>& lastError() const { return lastError_; }
  ActionButton* saveButton() const { return saveButton_; }
  // Null once removeReset() took it away.
  ActionButton* resetButton() const { return resetButton_; }
  EditorLabel* statusLabel() const { return status_; }
  bool isSaving() const { return isSaving_; }

  // Takes Reset away, for an editor with nothing to reset; resetButton() is
  // null after it.
  void removeReset();

  // Adds a hairline across the surface at height `y`.
  void separator(qreal y);

  // Reset and Save; the base versions do nothing.
  virtual void resetEditor() {}
  virtual void saveEditor() {}

  // Records `error` and, when presentsErrors and the window is open, shows it
  // in an alert on the window ("Couldn’t complete this file", the message
  // below).
  void report(const EditorError& error);

  // Saves `image` as `format` (at quality 0.9) under a free name beside the
  // source ending in `suffix`, through performSave(). A null image is
  // reported as "The image could not be rendered.".
  void saveImage(const QImage& image, std::string_view suffix, std::string_view format = "png");
  // The same with the image `render` makes on the save thread (a null one
  // reported the same way).
  void saveRendered(std::function<QImage()> render, std::string_view suffix,
                    std::string_view format = "png");

  // Runs `work` on the save thread unless a save of this editor is running
  // already (then nothing happens). While it runs Save is disabled and the
  // status line reads "Saving…". `work` returns the written file; what it
  // throws is reported (engine failures with their own message) and the
  // window stays open. On success onSaved gets the file and the window
  // closes.
  void performSave(std::function<std::filesystem::path()> work);

  // Where the whole picture of an editor that shows a reduced one first is.
  enum class PictureState { decoding, ready, failed };
  PictureState pictureState() const { return pictureState_; }

  // Decodes the whole picture with `decode` on the decoding thread while the
  // editor shows its reduced one. Until it is in, Save and the controls
  // given to waitForPicture() are disabled, the status line reads "Opening
  // the full picture…" and the pointer is busy over the window. The picture
  // goes to pictureDecoded() when it has the `expected` size. A failure (what
  // `decode` throws, or a picture of another size) is reported and stays in
  // the status line, and Save stays disabled: nothing is saved.
  void decodeFullPicture(std::function<QImage()> decode, QSize expected);
  // Keeps `control` disabled while the whole picture is decoded.
  void waitForPicture(QWidget* control);

  // Shows the window with its top-left corner at `origin`: it grows from 0.92
  // of its size and fades in where a compositor runs, and takes the focus.
  void present(QPointF origin);

  // Closes the window as its close button does.
  void close();

 protected:
  // The window is closing; calls onClosed.
  virtual void aboutToClose();
  // The whole picture decodeFullPicture() asked for, of the size expected.
  virtual void pictureDecoded(const QImage&) {}

 private:
  friend class EditorWindow;
  void finishSave(const std::optional<std::filesystem::path>& saved,
                  const std::optional<EditorError>& error);
  void finishDecode(const QImage& image, const std::optional<EditorError>& error, QSize expected);

  std::filesystem::path sourceFile_;
  QString title_;
  QString action_;
  EditorWindow* window_;
  QWidget* content_;
  Backdrop* backdrop_;
  EditorSurface* surface_;
  GrowAnimation* grow_;
  ActionButton* resetButton_;
  ActionButton* saveButton_;
  EditorLabel* status_;
  std::optional<EditorError> lastError_;
  bool composited_;
  bool isSaving_ = false;
  bool closed_ = false;
  PictureState pictureState_ = PictureState::ready;
  std::vector<QPointer<QWidget>> waiting_;
  // Set when the editor goes: a decode not yet begun is skipped.
  std::shared_ptr<std::atomic<bool>> abandoned_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace Whirlpane
