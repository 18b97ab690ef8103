// The Metadata editor: the file's metadata as text, and "Strip Metadata",
// which writes a copy without it beside the file through the engine. It has
// nothing to reset.
//
// Thread safety: main thread only.
#pragma once

#include <QString>
#include <QTextEdit>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "editors/common/editor_controller.h"

namespace Whirlpane {

class WPMetadataController : public WPEditorController {
 public:
  using Entries = std::vector<std::pair<std::string, std::string>>;

  WPMetadataController(const std::filesystem::path& url, const Entries& entries);

  QTextEdit* entriesView() const { return entries_; }

  void saveEditor() override;

 private:
  QTextEdit* entries_;
};

// Each entry as its key, a line break and its value, entries separated by an
// empty line; "No metadata found." when there are none.
QString metadataText(const WPMetadataController::Entries& entries);

}  // namespace Whirlpane
