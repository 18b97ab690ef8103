// SPDX-License-Identifier: GPL-3.0-or-later
// The owner of every open editor window. The application and the "--editor"
// launch option ask it to open an editor by its key ("compress", "crop", ...)
// on a file; it picks the editor, builds it with what it needs from the
// file, places it near the pointer and keeps it until its window closes. Its
// table is the only owner of an open editor.
//
// Editors join by a row in editor_table.cc.
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

#include "editors/common/editor_frame.h"
#include "editors/editor_table.h"

namespace Whirlpane {

class EditorCoordinator {
 public:
  using Saved = std::function<void(const std::filesystem::path&)>;
  using Report = std::function<void(const QString& message)>;

  // `report` shows a failure to open an editor (the application's alert);
  // `editors` are the editors it opens (tests bring editors of their own).
  explicit EditorCoordinator(Report report,
                             const std::vector<EditorEntry>& editors = editorTable());
  ~EditorCoordinator();
  EditorCoordinator(const EditorCoordinator&) = delete;
  EditorCoordinator& operator=(const EditorCoordinator&) = delete;

  // Whether `key` (in any case) names one of its editors.
  bool hasEditor(const std::string& key) const;
  // The keys of its editors, sorted.
  std::vector<std::string> editorKeys() const;

  // Opens the editor `action` names (its key, in any case) on `file`, its window centred on `at`
  // (global coordinates; the pointer when absent) and kept 8 inside the work
  // area of the screen there. `onSaved` receives the file the editor saves.
  // What cannot be opened is reported: an action with no editor as "The
  // “<action>” editor is not available.", quoting the action as given; a file
  // the editor cannot read with the engine's message. The file is read on a
  // thread of the editors' own and the window shown when it has been; from
  // another thread the call is carried over to the main thread first.
  // Nothing is shown when the coordinator has gone meanwhile.
  void open(const std::string& action, const std::filesystem::path& file, std::optional<QPointF> at,
            Saved onSaved);

  // Builds and registers the editor for `action` on `file` without showing it,
  // and returns its window. Throws what open() reports. Main thread only.
  QWidget* makeOffscreenWindow(const std::string& action, const std::filesystem::path& file,
                               Saved onSaved = {});

  // The windows of the open editors.
  std::vector<QWidget*> openWindows() const;
  // The editor that owns `window`, or null.
  EditorFrame* editorOf(const QWidget* window) const;

 private:
  // The builder of `action`; throws the failure open() reports for none.
  const EditorEntry::Builder& builder(const std::string& action) const;
  EditorFrame* build(const std::string& action, const std::filesystem::path& file, Saved onSaved);
  // Registers `editor`, built on the main thread.
  EditorFrame* adopt(std::unique_ptr<EditorFrame> editor, Saved onSaved);
  // Builds what was read (or reports `failure`) and shows it.
  void show(const EditorEntry::Finish& finish, const QString& failure, std::optional<QPointF> at,
            Saved onSaved);

  Report report_;
  std::map<std::string, EditorEntry::Builder> builders_;
  std::map<std::string, std::unique_ptr<EditorFrame>> editors_;  // by UUID
  // Lives on the main thread: calls from other threads are queued to it, and
  // are dropped when the coordinator has gone.
  QObject mainThread_;
  // Shared with the editors' onClosed callbacks, which must not outlive it.
  std::shared_ptr<EditorCoordinator*> self_;
};

}  // namespace Whirlpane
