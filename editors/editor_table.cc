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
namespace {

using Path = std::filesystem::path;

// `Editor` built on `file`'s reduced picture, decoded the fast way while the
// window is made; `load` decodes the whole picture on the decoding thread.
// The file is stamped before anything is decoded: one replaced or changed
// before the whole picture is in fails to open rather than saving pixels
// other than those shown.
template <class Editor, class... Extra>
EditorEntry::Finish openedAtOnce(const Path& file, QImage (*load)(const Path&), Extra... extra) {
  const auto stamp = MediaEngine::fileStamp(file);
  const EditorPreview preview = loadEditorPreview(file);
  return [=]() -> std::unique_ptr<EditorFrame> {
    auto editor = std::make_unique<Editor>(file, preview, extra...);
    editor->decodeFullPicture(
        [file, stamp, load] {
          QImage image = load(file);
          if (MediaEngine::fileStamp(file) != stamp) {
            //: An editor's picture changed on disk while the editor was opening it.
            throw EditorError(QCoreApplication::translate("Whirlpane::EditorTable",
                                                          "The file changed while it was opened.")
                                  .toStdString());
          }
          return image;
        },
        preview.fullSize);
    return editor;
  };
}

}  // namespace

const std::vector<EditorEntry>& editorTable() {
  static const std::vector<EditorEntry> table{
      //: A wedge of the tools wheel, in capitals: the editor that makes a file smaller.
      {"compress", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "COMPRESS"), "arrows-inward",
       "Compress\u2026",
       [](const Path& file) {
         // A file that does not decode still opens, with its icon; whether it
         // can be compressed is the engine's call on save, from the file:
         // the reduced picture is all it shows. Stamped before reading, as
         // for Crop: what is saved is made from the file shown.
         const auto opened = MediaEngine::fileStamp(file);
         QImage image;
         try {
           image = loadEditorPreview(file).image;
         } catch (const std::exception&) {
         }
         return [file, image, opened]() -> std::unique_ptr<EditorFrame> {
           return std::make_unique<CompressionController>(file, image, opened);
         };
       }},
      //: A wedge of the tools wheel, in capitals: the editor that shows and removes a file's
      //: metadata.
      {"metadata", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "METADATA"), "tag",
       "Remove Metadata\u2026",
       [](const Path& file) {
         const auto opened = MediaEngine::fileStamp(file);
         return [file, metadata = MediaEngine::metadata(file),
                 opened]() -> std::unique_ptr<EditorFrame> {
           return std::make_unique<MetadataController>(file, metadata, opened);
         };
       }},
      //: A wedge of the tools wheel, in capitals, a verb: adjust brightness, contrast and
      //: saturation, turn and mirror.
      {"edit", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "EDIT"), "sliders", "Edit\u2026",
       [](const Path& file) { return openedAtOnce<AdjustmentController>(file, loadEditorImage); }},
      //: A wedge of the tools wheel, in capitals, a verb: draw and write on the picture.
      {"annotate", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "ANNOTATE"), "pencil-line",
       "Annotate\u2026",
       [](const Path& file) {
         return openedAtOnce<MarkupController>(file, loadMarkupImage, false);
       }},
      //: A wedge of the tools wheel, in capitals, short for "add background": put the picture on
      //: a backdrop. Keep it as short; an abbreviation is fine.
      {"background", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "ADD BG"), "photo",
       "Add Background\u2026",
       [](const Path& file) { return openedAtOnce<BackgroundController>(file, loadEditorImage); }},
      //: A wedge of the tools wheel, in capitals, a verb: cut the picture to a rectangle.
      {"crop", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "CROP"), "crop", "Crop\u2026",
       [](const Path& file) {
         // Stamped before decoding: a file replaced after this is never
         // mistaken for the one shown.
         const auto decoded = MediaEngine::fileStamp(file);
         return openedAtOnce<CropController>(file, loadEditorImage, decoded);
       }},
      //: A wedge of the tools wheel, in capitals, a verb: black out parts of the picture.
      {"redact", QT_TRANSLATE_NOOP("Whirlpane::EditorTable", "REDACT"), "eye-slash", "Redact\u2026",
       [](const Path& file) {
         return openedAtOnce<MarkupController>(file, loadMarkupImage, true);
       }},
  };
  return table;
}

QString EditorEntry::wedgeLabel() const {
  return QCoreApplication::translate("Whirlpane::EditorTable", label.c_str());
}

}  // namespace Whirlpane
