// SPDX-License-Identifier: GPL-3.0-or-later
// The Metadata editor: the file's metadata as text, and "Strip Metadata",
// which writes a copy without it beside the file through the engine. It has
// nothing to reset. The copy is made from the file whose metadata is shown:
// one replaced or changed since is refused.
//
// Thread safety: main thread only.
#pragma once

#include <QString>
#include <QTextEdit>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editors/common/editor_frame.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {

class MetadataController : public EditorFrame {
  Q_OBJECT

 public:
  using Entries = std::vector<std::pair<std::string, std::string>>;

  // `entries` were read from `file` after it was stamped `opened`.
  MetadataController(const std::filesystem::path& file, const Entries& entries,
                     std::optional<MediaEngine::FileStamp> opened);

  QTextEdit* entriesView() const { return entries_; }

  void saveEditor() override;

 private:
  QTextEdit* entries_;
  std::optional<MediaEngine::FileStamp> opened_;
};

// Each entry as its key, a line break and its value, entries separated by an
// empty line; "No metadata found." when there are none.
QString metadataText(const MetadataController::Entries& entries);

}  // namespace Whirlpane
