// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/editor_table.h"

#include <QCoreApplication>

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
      //: A wedge of the tools wheel, in capitals: the editor that makes a file smaller.
      {"compress", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "COMPRESS"), "arrows-inward",
       "Compress\u2026",
       [](const Path& file) {
         // A file that does not decode still opens, with its icon; whether it
         // can be compressed is the engine's call on save. Stamped before
         // reading, as for Crop: what is saved is made from the file shown.
         const auto opened = MediaEngine::fileStamp(file);
         QImage image;
         try {
           image = loadEditorImage(file);
         } catch (const std::exception&) {
         }
         return std::make_unique<CompressionController>(file, image, opened);
       }},
      //: A wedge of the tools wheel, in capitals: the editor that shows and removes a file's
      //: metadata.
      {"metadata", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "METADATA"), "tag",
       "Remove Metadata\u2026",
       [](const Path& file) {
         const auto opened = MediaEngine::fileStamp(file);
         return std::make_unique<MetadataController>(file, MediaEngine::metadata(file), opened);
       }},
      //: A wedge of the tools wheel, in capitals, a verb: adjust brightness, contrast and
      //: saturation, turn and mirror.
      {"edit", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "EDIT"), "sliders", "Edit\u2026",
       [](const Path& file) {
         return std::make_unique<AdjustmentController>(file, loadEditorImage(file));
       }},
      //: A wedge of the tools wheel, in capitals, a verb: draw and write on the picture.
      {"annotate", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "ANNOTATE"), "pencil-line",
       "Annotate\u2026",
       [](const Path& file) {
         return std::make_unique<MarkupController>(file, loadMarkupImage(file), false);
       }},
      //: A wedge of the tools wheel, in capitals, short for "add background": put the picture on
      //: a backdrop. Keep it as short; an abbreviation is fine.
      {"background", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "ADD BG"), "photo",
       "Add Background\u2026",
       [](const Path& file) {
         return std::make_unique<BackgroundController>(file, loadEditorImage(file));
       }},
      //: A wedge of the tools wheel, in capitals, a verb: cut the picture to a rectangle.
      {"crop", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "CROP"), "crop", "Crop\u2026",
       [](const Path& file) {
         // Stamped before decoding: a file replaced after this is never
         // mistaken for the one shown.
         const auto decoded = MediaEngine::fileStamp(file);
         return std::make_unique<CropController>(file, loadEditorImage(file), decoded);
       }},
      //: A wedge of the tools wheel, in capitals, a verb: black out parts of the picture.
      {"redact", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "REDACT"), "eye-slash", "Redact\u2026",
       [](const Path& file) {
         return std::make_unique<MarkupController>(file, loadMarkupImage(file), true);
       }},
  };
  return table;
}

QString EditorEntry::wedgeLabel() const {
  return QCoreApplication::translate("Whirlpane::EditorTable", label.c_str());
}

}  // namespace Whirlpane
