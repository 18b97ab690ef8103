// The owner of every open editor window. The dispatcher and the "--editor"
// launch option ask it to open an editor for an action ("crop", "add bg",
// ...) on a file; it picks the editor, and reports what cannot be opened.
//
// Thread safety: main thread only.
#pragma once

#include <QPointF>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace Whirlpane {

class EditorCoordinator {
 public:
  using Saved = std::function<void(const std::filesystem::path&)>;
  using Report = std::function<void(const QString& message)>;

  // `report` shows a failure to the user (the application's alert).
  explicit EditorCoordinator(Report report) : report_(std::move(report)) {}

  // The editor key an action names, compared without case: "crop",
  // "background" (also "add bg", "addbg"), "annotate", "redact", "edit",
  // "compress", "metadata". None for anything else.
  static std::optional<std::string> editorKey(const std::string& action);

  // Opens the editor for `action` on `url` near `at` (global coordinates; the
  // pointer when absent). `onSaved` receives each file the editor saves. An
  // action with no editor is reported as "The “<action>” editor is not
  // available.", quoting the action as given.
  void open(const std::string& action, const std::filesystem::path& url, std::optional<QPointF> at,
            Saved onSaved);

 private:
  Report report_;
};

}  // namespace Whirlpane
