// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/editor_table.h"

#include "editors/background/background_controller.h"
#include "editors/common/editor_image.h"
#include "editors/compress/compression_controller.h"
#include "editors/crop/crop_controller.h"
#include "editors/edit/adjustment_controller.h"
#include "editors/markup/markup_controller.h"
#include "editors/metadata/metadata_controller.h"
#include "whirlpane/metadata.h"

namespace Whirlpane {

const std::vector<EditorEntry>& editorTable() {
  using Path = std::filesystem::path;
  static const std::vector<EditorEntry> table{
      {"compress", "COMPRESS", "arrows-inward", "Compress\u2026",
       [](const Path& file) {
         // A file that does not decode still opens, with its icon; whether it
         // can be compressed is the engine's call on save.
         QImage image;
         try {
           image = loadEditorImage(file);
         } catch (const std::exception&) {
         }
         return std::make_unique<CompressionController>(file, image);
       }},
      {"metadata", "METADATA", "tag", "Remove Metadata\u2026",
       [](const Path& file) {
         return std::make_unique<MetadataController>(file, MediaEngine::metadata(file));
       }},
      {"edit", "EDIT", "sliders", "Edit\u2026",
       [](const Path& file) {
         return std::make_unique<AdjustmentController>(file, loadEditorImage(file));
       }},
      {"annotate", "ANNOTATE", "pencil-line", "Annotate\u2026",
       [](const Path& file) {
         return std::make_unique<MarkupController>(file, loadMarkupImage(file), false);
       }},
      {"background", "ADD BG", "photo", "Add Background\u2026",
       [](const Path& file) {
         return std::make_unique<BackgroundController>(file, loadEditorImage(file));
       }},
      {"crop", "CROP", "crop", "Crop\u2026",
       [](const Path& file) {
         return std::make_unique<CropController>(file, loadEditorImage(file));
       }},
      {"redact", "REDACT", "eye-slash", "Redact\u2026",
       [](const Path& file) {
         return std::make_unique<MarkupController>(file, loadMarkupImage(file), true);
       }},
  };
  return table;
}

}  // namespace Whirlpane
