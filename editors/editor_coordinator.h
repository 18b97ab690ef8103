// The owner of every open editor window. The dispatcher and the "--editor"
// launch option ask it to open an editor for an action ("compress", "Add BG",
// ...) on a file; it picks the editor, builds it with what it needs from the
// file, places it near the pointer and keeps it until its window closes. Its
// table is the only owner of an open editor.
//
// Editors join by registering a builder under their key (see
// registerEditor and editor_registry.cc).
//
// Thread safety: open() may be called from any thread; everything else on the
// main thread only.
#pragma once

#include <QObject>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editors/common/editor_controller.h"

namespace Whirlpane {

class EditorCoordinator {
 public:
  using Saved = std::function<void(const std::filesystem::path&)>;
  using Report = std::function<void(const QString& message)>;
  // Builds an editor on a file, reading from it what the editor needs;
  // throws (a WPEditorError or the engine's failure) when it cannot.
  using Builder = std::function<std::unique_ptr<WPEditorController>(const std::filesystem::path&)>;

  // `report` shows a failure to open an editor (the application's alert).
  // The editors built so far are registered (registerBuiltInEditors).
  explicit EditorCoordinator(Report report);
  ~EditorCoordinator();
  EditorCoordinator(const EditorCoordinator&) = delete;
  EditorCoordinator& operator=(const EditorCoordinator&) = delete;

  // The editor key an action names, compared without case: "crop",
  // "background" (also "add bg", "addbg"), "annotate", "redact", "edit",
  // "compress", "metadata"; any other action is its own key in lower case.
  static std::string editorKey(const std::string& action);

  // Makes `builder` the editor for `key` (replacing any before it).
  void registerEditor(const std::string& key, Builder builder);
  bool hasEditor(const std::string& action) const;
  // The keys of the registered editors, sorted.
  std::vector<std::string> editorKeys() const;

  // Opens the editor for `action` on `url`, its window centred on `at`
  // (global coordinates; the pointer when absent) and kept 8 inside the work
  // area of the screen there. `onSaved` receives the file the editor saves.
  // What cannot be opened is reported: an action with no editor as "The
  // “<action>” editor is not available.", quoting the action as given; a file
  // the editor cannot read with the engine's message. From another thread the
  // call is carried over to the main thread.
  void open(const std::string& action, const std::filesystem::path& url, std::optional<QPointF> at,
            Saved onSaved);

  // Builds and registers the editor for `action` on `url` without showing it,
  // and returns its window. Throws what open() reports. Main thread only.
  QWidget* makeOffscreenWindow(const std::string& action, const std::filesystem::path& url,
                               Saved onSaved = {});

  // The windows of the open editors.
  std::vector<QWidget*> openWindows() const;
  // The editor that owns `window`, or null.
  WPEditorController* editorOf(const QWidget* window) const;

 private:
  WPEditorController* build(const std::string& action, const std::filesystem::path& url,
                            Saved onSaved);

  Report report_;
  std::map<std::string, Builder> builders_;
  std::map<std::string, std::unique_ptr<WPEditorController>> editors_;  // by UUID
  // Lives on the main thread: calls from other threads are queued to it, and
  // are dropped when the coordinator has gone.
  QObject mainThread_;
  // Shared with the editors' onClosed callbacks, which must not outlive it.
  std::shared_ptr<EditorCoordinator*> self_;
};

// Registers every editor built so far; editors/editor_registry.cc.
void registerBuiltInEditors(EditorCoordinator& coordinator);

}  // namespace Whirlpane
