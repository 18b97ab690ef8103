#include "editors/editor_coordinator.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "editors/common/editor_geometry.h"
#include "whirlpane/failure.h"

namespace Whirlpane {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 2> aliases{{
    {"add bg", "background"},
    {"addbg", "background"},
}};

QRectF availableAreaAt(QPointF point) {
  QScreen* screen = QGuiApplication::screenAt(point.toPoint());
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? QRectF(screen->availableGeometry()) : QRectF();
}

}  // namespace

EditorCoordinator::EditorCoordinator(Report report)
    : report_(std::move(report)), self_(std::make_shared<EditorCoordinator*>(this)) {
  registerBuiltInEditors(*this);
}

EditorCoordinator::~EditorCoordinator() {
  *self_ = nullptr;
  editors_.clear();
}

std::string EditorCoordinator::editorKey(const std::string& action) {
  std::string lower = action;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const auto& [name, key] : aliases) {
    if (lower == name) return std::string(key);
  }
  return lower;
}

void EditorCoordinator::registerEditor(const std::string& key, Builder builder) {
  builders_[key] = std::move(builder);
}

bool EditorCoordinator::hasEditor(const std::string& action) const {
  return builders_.count(editorKey(action)) > 0;
}

std::vector<std::string> EditorCoordinator::editorKeys() const {
  std::vector<std::string> keys;
  for (const auto& [key, builder] : builders_) keys.push_back(key);
  return keys;
}

WPEditorController* EditorCoordinator::build(const std::string& action,
                                             const std::filesystem::path& url, Saved onSaved) {
  Q_ASSERT_X(QThread::currentThread() == mainThread_.thread(), "EditorCoordinator",
             "editors are built on the main thread");
  const auto builder = builders_.find(editorKey(action));
  if (builder == builders_.end()) {
    throw WPEditorError("The \u201C" + action + "\u201D editor is not available.");
  }
  std::unique_ptr<WPEditorController> editor = builder->second(url);
  const std::string id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
  editor->onSaved = std::move(onSaved);
  editor->onClosed = [weak = std::weak_ptr<EditorCoordinator*>(self_), id] {
    const auto coordinator = weak.lock();
    if (coordinator && *coordinator) (*coordinator)->editors_.erase(id);
  };
  WPEditorController* built = editor.get();
  editors_.emplace(id, std::move(editor));
  return built;
}

QWidget* EditorCoordinator::makeOffscreenWindow(const std::string& action,
                                                const std::filesystem::path& url, Saved onSaved) {
  return build(action, url, std::move(onSaved))->window();
}

void EditorCoordinator::open(const std::string& action, const std::filesystem::path& url,
                             std::optional<QPointF> at, Saved onSaved) {
  if (QThread::currentThread() != mainThread_.thread()) {
    QMetaObject::invokeMethod(
        &mainThread_,
        [this, action, url, at, onSaved = std::move(onSaved)] { open(action, url, at, onSaved); },
        Qt::QueuedConnection);
    return;
  }
  WPEditorController* editor = nullptr;
  try {
    editor = build(action, url, std::move(onSaved));
  } catch (const std::exception& failure) {
    if (report_) report_(QString::fromStdString(MediaEngine::describe(failure)));
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

WPEditorController* EditorCoordinator::editorOf(const QWidget* window) const {
  for (const auto& [id, editor] : editors_) {
    if (editor->window() == window) return editor.get();
  }
  return nullptr;
}

}  // namespace Whirlpane
