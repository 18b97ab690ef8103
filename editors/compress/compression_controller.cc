// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/compress/compression_controller.h"

#include <QIcon>
#include <QMimeDatabase>
#include <QStandardPaths>

#include "editors/common/editor_geometry.h"
#include "editors/common/editor_text.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/compression.h"
#include "whirlpane/metadata.h"

namespace Whirlpane {

CompressionController::CompressionController(const std::filesystem::path& file, const QImage& image)
    : EditorFrame(file,
                  //: The Compress editor's window title: the tool that makes a file smaller.
                  tr("Compress"),
                  //: The Compress editor's Save button.
                  tr("Compress & Save"), "compress") {
  preview_ = new PreviewView(QRectF(16, 53, 388, 360), surface());
  preview_->setObjectName("editor.compress.preview");
  preview_->setImage(image);
  if (image.isNull()) {
    fileIcon_ = new QLabel(surface());
    fileIcon_->setGeometry(172, 168, 76, 90);
    fileIcon_->setObjectName("editor.compress.icon");
    fileIcon_->setAlignment(Qt::AlignCenter);
    fileIcon_->setPixmap(Whirlpane::fileIcon(file, fileIcon_->size()));
  }
  auto* name = new EditorLabel(QRectF(24, 429, 372, 20), editorFont(12, QFont::Medium),
                               labelColor(1), surface());
  name->setText(QString::fromStdString(file.filename().string()));
  auto* size = new EditorLabel(QRectF(24, 456, 372, 18), editorFont(11), hintColor(), surface());
  size->setText(originalSizeText(file));
  //: The slider of the JPEG or WebP quality the file is written at.
  quality_ = new SliderRow(tr("Quality"), 492.5 + 13, 18, 384, 0.1, 1.0, defaultQuality,
                           "editor.compress.quality", surface(), percentValueText);
  // Down to the action bar, for languages that need a third line.
  auto* note = new EditorLabel(QRectF(24, 537, 372, 44), editorFont(10), hintColor(), surface(),
                               Qt::AlignLeft | Qt::AlignTop, 3);
  note->setText(tr("Lower quality makes a smaller file. A new copy is saved beside the original."));
}

void CompressionController::resetEditor() { quality_->setValue(defaultQuality); }

void CompressionController::saveEditor() {
  const double q = quality_->value();
  performSave([file = sourceFile(), q] { return MediaEngine::compress(file, q); });
}

QPixmap fileIcon(const std::filesystem::path& file, QSize size) {
  // Outside a desktop session Qt knows no icon theme and no folder of them:
  // look in the XDG data folders, and in the GNOME default theme when no
  // theme is chosen, which has the generic file icons.
  static const bool themed = [] {
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder : QStandardPaths::locateAll(
             QStandardPaths::GenericDataLocation, "icons", QStandardPaths::LocateDirectory)) {
      if (!paths.contains(folder)) paths << folder;
    }
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty()) QIcon::setThemeName("Adwaita");
    if (QIcon::fallbackThemeName().isEmpty()) QIcon::setFallbackThemeName("Adwaita");
    return true;
  }();
  (void)themed;
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(file.string()));
  QIcon icon = QIcon::fromTheme(type.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
  if (icon.isNull()) icon = QIcon::fromTheme("text-x-generic");
  return icon.pixmap(size);
}

QString originalSizeText(const std::filesystem::path& file) {
  std::error_code error;
  const auto bytes = std::filesystem::file_size(file, error);
  //: The size of the file as it is; %1 is a size such as "2.4 MB".
  return CompressionController::tr("Original: %1")
      .arg(QString::fromStdString(
          MediaEngine::byteCount(error ? 0 : static_cast<long long>(bytes))));
}

}  // namespace Whirlpane
