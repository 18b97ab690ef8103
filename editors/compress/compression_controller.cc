// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/compress/compression_controller.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QIcon>
#include <QMimeDatabase>
#include <QPointer>
#include <QStandardPaths>
#include <QThreadPool>
#include <cmath>

#include "editors/common/editor_geometry.h"
#include "editors/common/editor_text.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/compression.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"
#include "whirlpane/metadata.h"

namespace Whirlpane {

CompressionController::CompressionController(const std::filesystem::path& file, const QImage& image,
                                             std::optional<MediaEngine::FileStamp> opened)
    : EditorFrame(file,
                  //: The Compress editor's window title: the tool that makes a file smaller.
                  tr("Compress"),
                  //: The Compress editor's Save button.
                  tr("Compress & Save"), "compress"),
      opened_(opened) {
  preview_ = new PreviewView(QRectF(16, 53, 388, 340), surface());
  preview_->setObjectName("editor.compress.preview");
  preview_->setImage(image);
  if (image.isNull()) {
    fileIcon_ = new QLabel(surface());
    fileIcon_->setGeometry(172, 178, 76, 90);
    fileIcon_->setObjectName("editor.compress.icon");
    fileIcon_->setAlignment(Qt::AlignCenter);
    fileIcon_->setPixmap(Whirlpane::fileIcon(file, fileIcon_->size()));
  }
  auto* name = new EditorLabel(QRectF(24, 405, 372, 20), editorFont(12, QFont::Medium),
                               labelColor(1), surface());
  name->setText(QString::fromStdString(file.filename().string()));
  auto* size = new EditorLabel(QRectF(24, 430, 140, 18), editorFont(11), hintColor(), surface());
  size->setText(originalSizeText(file));
  // The copy's size, right beside the original's, above the slider that sets it.
  estimateLabel_ = new EditorLabel(QRectF(164, 430, 232, 18), editorFont(11, QFont::Medium),
                                   labelColor(1), surface(), Qt::AlignRight | Qt::AlignVCenter);
  estimateLabel_->setObjectName("editor.compress.estimate");
  //: The slider of the JPEG or WebP quality the file is written at.
  quality_ = new SliderRow(tr("Quality"), 465, 18, 384, 0.1, 1.0, defaultQuality,
                           "editor.compress.quality", surface(), percentValueText);
  quality_->handler = [this](double) { estimateSoon(); };
  // Down to the action bar, for languages that need more lines.
  auto* note = new EditorLabel(QRectF(24, 488, 372, 44), editorFont(10), hintColor(), surface(),
                               Qt::AlignLeft | Qt::AlignTop, 3);
  note->setText(tr("Lower quality makes a smaller file. A new copy is saved beside the original."));
  std::string format;
  try {
    format = MediaEngine::normalized(MediaEngine::lowerExtension(file));
  } catch (const std::exception&) {
  }
  if (format != "pdf") {
    // Images are written afresh from their pixels: nothing of the file's
    // metadata comes along. A PDF keeps its document information.
    // Right below the note, however many lines it takes.
    const qreal top =
        488 +
        std::ceil(QFontMetricsF(note->font())
                      .boundingRect(QRectF(0, 0, 372, 44), Qt::TextWordWrap, note->text())
                      .height()) +
        6;
    metadataNote_ = new EditorLabel(QRectF(24, top, 372, 578 - top), editorFont(10), hintColor(),
                                    surface(), Qt::AlignLeft | Qt::AlignTop, 3);
    metadataNote_->setObjectName("editor.compress.metadata-note");
    //: Below the slider: what the compressed copy of a photo leaves out of the file.
    metadataNote_->setText(
        tr("The copy carries no metadata: the date taken, the place and the camera are left out "
           "too."));
  }
  estimateTimer_.setSingleShot(true);
  estimateTimer_.setInterval(estimateDelay);
  connect(&estimateTimer_, &QTimer::timeout, this, [this] { startEstimate(); });
  startEstimate();
}

void CompressionController::resetEditor() {
  quality_->setValue(defaultQuality);
  estimateSoon();
}

void CompressionController::saveEditor() {
  const double q = quality_->value();
  performSave([file = sourceFile(), q, opened = opened_] {
    return MediaEngine::compress(file, q, opened);
  });
}

std::optional<long long> CompressionController::estimate() const {
  if (estimating_ || estimateTimer_.isActive() || estimateQuality_ != quality_->value())
    return std::nullopt;
  return estimate_;
}

void CompressionController::estimateSoon() {
  //: Beside the original's size while the size of the compressed copy is worked out.
  estimateLabel_->setText(tr("New copy: estimating\u2026"));
  estimateTimer_.start();
}

void CompressionController::startEstimate() {
  if (estimating_) return;  // estimated() starts the newest value
  estimating_ = true;
  const double q = quality_->value();
  estimateLabel_->setText(tr("New copy: estimating\u2026"));
  QThreadPool::globalInstance()->start(
      [file = sourceFile(), q, self = QPointer<CompressionController>(this)] {
        std::optional<long long> bytes;
        bool noSmaller = false;
        try {
          bytes = MediaEngine::compressedSize(file, q);
        } catch (const MediaEngine::Failure& error) {
          noSmaller = error.kind() == MediaEngine::Failure::Kind::noReduction;
        } catch (const std::exception&) {
          // Save says what is wrong; the size is simply not shown.
        }
        // Handed to the interface's thread, where the editor may have gone.
        QMetaObject::invokeMethod(
            qApp,
            [self, q, bytes, noSmaller] {
              if (self) self->estimated(q, bytes, noSmaller);
            },
            Qt::QueuedConnection);
      });
}

void CompressionController::estimated(double quality, std::optional<long long> bytes,
                                      bool noSmaller) {
  estimating_ = false;
  estimateQuality_ = quality;
  estimate_ = bytes;
  if (quality != quality_->value() || estimateTimer_.isActive()) {
    // Superseded: the slider moved while this one was made.
    if (!estimateTimer_.isActive()) startEstimate();
    return;
  }
  if (bytes) {
    //: The size the compressed copy will have; %1 is a size such as "1.2 MB".
    estimateLabel_->setText(
        tr("New copy: about %1").arg(QString::fromStdString(MediaEngine::byteCount(*bytes))));
  } else if (noSmaller) {
    //: Beside the original's size: at this quality the copy would not be smaller.
    estimateLabel_->setText(tr("New copy: no smaller"));
  } else {
    estimateLabel_->setText({});
  }
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
