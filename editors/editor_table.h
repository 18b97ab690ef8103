// SPDX-License-Identifier: GPL-3.0-or-later
// The editors behind the tools wheel, one row each: the key that names it,
// the wedge that opens it, its entry in the file managers' menus, and how it
// is built on a file. The tools wheel's
// wedges and the coordinator's editors are both made from this one table, so
// there is no tool without an editor, nor an editor without a wedge.
//
// Thread safety: the table is built once, on first use, and never changes.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Whirlpane {

class EditorFrame;

struct EditorEntry {
  // Builds the editor once its file is read: main thread only.
  using Finish = std::function<std::unique_ptr<EditorFrame>()>;
  // Reads from a file what the editor needs, on any thread (the coordinator
  // reads off the interface thread), and returns what builds the editor with
  // it; throws (an EditorError or the engine's failure) when it cannot.
  using Builder = std::function<Finish(const std::filesystem::path&)>;

  std::string key;        // lower case: what wedges, launches and tests name it by
  std::string label;      // the wedge's upper-case caption, in English
  std::string symbol;     // the wedge's icon (Resources/icons/<symbol>.svg)
  std::string menuLabel;  // the entry in the file managers' menus ("Crop…"), in English
  Builder build;

  // The wedge's caption in the program's language.
  QString wedgeLabel() const;
};

// The seven editors in wedge order: COMPRESS, METADATA, EDIT, ANNOTATE,
// ADD BG, CROP, REDACT.
const std::vector<EditorEntry>& editorTable();

}  // namespace Whirlpane
