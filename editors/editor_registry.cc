// Which editor opens for which key, and what each reads from the file first.
// An editor joins the tools by adding its line here.
#include <memory>

#include "editors/adjust/adjustment_controller.h"
#include "editors/background/background_controller.h"
#include "editors/common/editor_image.h"
#include "editors/compress/compression_controller.h"
#include "editors/crop/crop_controller.h"
#include "editors/editor_coordinator.h"
#include "editors/markup/markup_controller.h"
#include "editors/metadata/metadata_controller.h"
#include "whirlpane/metadata.h"

namespace Whirlpane {

void registerBuiltInEditors(EditorCoordinator& coordinator) {
  coordinator.registerEditor("background", [](const std::filesystem::path& url) {
    return std::make_unique<WPBackgroundController>(url, loadEditorImage(url));
  });
  coordinator.registerEditor("compress", [](const std::filesystem::path& url) {
    // A file that does not decode still opens, with its icon; whether it can
    // be compressed is the engine's call on save.
    QImage image;
    try {
      image = loadEditorImage(url);
    } catch (const std::exception&) {
    }
    return std::make_unique<WPCompressionController>(url, image);
  });
  coordinator.registerEditor("annotate", [](const std::filesystem::path& url) {
    return std::make_unique<WPMarkupController>(url, loadMarkupImage(url), false);
  });
  coordinator.registerEditor("redact", [](const std::filesystem::path& url) {
    return std::make_unique<WPMarkupController>(url, loadMarkupImage(url), true);
  });
  coordinator.registerEditor("crop", [](const std::filesystem::path& url) {
    return std::make_unique<WPCropController>(url, loadEditorImage(url));
  });
  coordinator.registerEditor("edit", [](const std::filesystem::path& url) {
    return std::make_unique<WPAdjustmentController>(url, loadEditorImage(url));
  });
  coordinator.registerEditor("metadata", [](const std::filesystem::path& url) {
    return std::make_unique<WPMetadataController>(url, MediaEngine::metadata(url));
  });
}

}  // namespace Whirlpane
