// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/editor_coordinator.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QUuid>
#include <utility>

#include "editors/common/editor_geometry.h"
#include "editors/common/save_queue.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace Whirlpane {
namespace {

QRectF availableAreaAt(QPointF point) {
  QScreen* screen = QGuiApplication::screenAt(point.toPoint());
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? QRectF(screen->availableGeometry()) : QRectF();
}

}  // namespace

EditorCoordinator::EditorCoordinator(Report report, const std::vector<EditorEntry>& editors)
    : report_(std::move(report)), self_(std::make_shared<EditorCoordinator*>(this)) {
  for (const EditorEntry& editor : editors) builders_[editor.key] = editor.build;
}

EditorCoordinator::~EditorCoordinator() {
  *self_ = nullptr;
  editors_.clear();
}

bool EditorCoordinator::hasEditor(const std::string& key) const {
  return builders_.count(MediaEngine::asciiLower(key)) > 0;
}

std::vector<std::string> EditorCoordinator::editorKeys() const {
  std::vector<std::string> keys;
  for (const auto& [key, builder] : builders_) keys.push_back(key);
  return keys;
}

const EditorEntry::Builder& EditorCoordinator::builder(const std::string& action) const {
  const auto builder = builders_.find(MediaEngine::asciiLower(action));
  if (builder == builders_.end()) {
    //: %1 is the name of an editor asked for that does not exist.
    throw EditorError(QCoreApplication::translate("Whirlpane::EditorCoordinator",
                                                  "The \u201C%1\u201D editor is not available.")
                          .arg(QString::fromStdString(action))
                          .toStdString());
  }
  return builder->second;
}

EditorFrame* EditorCoordinator::build(const std::string& action, const std::filesystem::path& file,
                                      Saved onSaved) {
  return adopt(builder(action)(file)(), std::move(onSaved));
}

EditorFrame* EditorCoordinator::adopt(std::unique_ptr<EditorFrame> editor, Saved onSaved) {
  if (QThread::currentThread() != mainThread_.thread()) {
    qFatal("EditorCoordinator: editors are built on the main thread only");
  }
  const std::string id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
  editor->onSaved = std::move(onSaved);
  editor->onClosed = [weak = std::weak_ptr<EditorCoordinator*>(self_), id] {
    const auto coordinator = weak.lock();
    if (coordinator && *coordinator) (*coordinator)->editors_.erase(id);
  };
  EditorFrame* built = editor.get();
  editors_.emplace(id, std::move(editor));
  return built;
}

QWidget* EditorCoordinator::makeOffscreenWindow(const std::string& action,
                                                const std::filesystem::path& file, Saved onSaved) {
  return build(action, file, std::move(onSaved))->window();
}

void EditorCoordinator::open(const std::string& action, const std::filesystem::path& file,
                             std::optional<QPointF> at, Saved onSaved) {
  if (QThread::currentThread() != mainThread_.thread()) {
    QMetaObject::invokeMethod(
        &mainThread_,
        [this, action, file, at, onSaved = std::move(onSaved)] { open(action, file, at, onSaved); },
        Qt::QueuedConnection);
    return;
  }
  EditorEntry::Builder read;
  try {
    read = builder(action);
  } catch (const std::exception& failure) {
    if (report_) report_(QString::fromStdString(MediaEngine::describe(failure)));
    return;
  }
  // The file is read (a picture decoded, its metadata gathered) off the
  // interface thread; the window is built and shown back on it.
  enqueueOpening([read = std::move(read), file, at, onSaved = std::move(onSaved),
                  weak = std::weak_ptr<EditorCoordinator*>(self_)] {
    EditorEntry::Finish finish;
    QString failure;
    try {
      finish = read(file);
    } catch (const std::exception& error) {
      failure = QString::fromStdString(MediaEngine::describe(error));
    }
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return;
    QMetaObject::invokeMethod(
        application,
        [weak, finish = std::move(finish), failure, at, onSaved] {
          const auto coordinator = weak.lock();
          if (coordinator && *coordinator) (*coordinator)->show(finish, failure, at, onSaved);
        },
        Qt::QueuedConnection);
  });
}

void EditorCoordinator::show(const EditorEntry::Finish& finish, const QString& failure,
                             std::optional<QPointF> at, Saved onSaved) {
  EditorFrame* editor = nullptr;
  try {
    if (!finish) throw EditorError(failure.toStdString());
    editor = adopt(finish(), std::move(onSaved));
  } catch (const std::exception& error) {
    if (report_) report_(QString::fromStdString(MediaEngine::describe(error)));
    return;
  }
  const QPointF point = at.value_or(QPointF(QCursor::pos()));
  editor->present(editorOrigin(point, availableAreaAt(point), editor->window()->size()));
}

std::vector<QWidget*> EditorCoordinator::openWindows() const {
  std::vector<QWidget*> windows;
  for (const auto& [id, editor] : editors_) {
    if (editor->window()) windows.push_back(editor->window());
  }
  return windows;
}

EditorFrame* EditorCoordinator::editorOf(const QWidget* window) const {
  for (const auto& [id, editor] : editors_) {
    if (editor->window() == window) return editor.get();
  }
  return nullptr;
}

}  // namespace Whirlpane
