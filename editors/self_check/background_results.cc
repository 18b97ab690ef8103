// SPDX-License-Identifier: GPL-3.0-or-later
// Two pictures saved by the Add BG editor as a user saves them, for the
// documentation: a photo on the opening "Sunset" backdrop, and a cut-out PNG
// (clear around and inside its shapes) on "Dusk". Each editor is built hidden
// on Qt's offscreen platform, its swatch clicked and Return pressed; the
// written files are copied into FOLDER.
//   background-photo-sunset.png
//   background-cutout-dusk.png
// Usage: background-results FOLDER
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "editors/common/editor_frame.h"
#include "editors/controls/background_swatch.h"
#include "editors/editor_coordinator.h"
#include "editors/self_check/pictures.h"
#include "whirlpane/startup.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

QImage photo() { return hillsPhoto(QSize(720, 480)); }

// A sticker: a rounded card with a round window cut through it and a disc
// floating beside it, clear everywhere else.
QImage cutout() {
  QImage image(640, 440, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath card;
  card.addRoundedRect(QRectF(20, 60, 400, 320), 48, 48);
  QPainterPath window;
  window.addEllipse(QPointF(220, 220), 90, 90);
  QLinearGradient fill(20, 60, 420, 380);
  fill.setColorAt(0, QColor(255, 204, 102));
  fill.setColorAt(1, QColor(240, 120, 60));
  painter.fillPath(card.subtracted(window), fill);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(90, 200, 250));
  painter.drawEllipse(QPointF(520, 150), 90, 90);
  return image;
}

// Opens the editor on `source`, clicks the swatch named `swatch` unless none,
// saves with Return and copies the written file to `target`.
bool saveWith(EditorCoordinator& coordinator, const fs::path& source, const QString& swatch,
              const QString& target) {
  std::optional<fs::path> written;
  QWidget* window = coordinator.makeOffscreenWindow(
      "background", source, [&written](const fs::path& file) { written = file; });
  // Save waits for the whole picture.
  while (coordinator.editorOf(window)->pictureState() == EditorFrame::PictureState::decoding)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  if (!swatch.isEmpty()) window->findChild<BackgroundSwatch*>(swatch)->click();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  QElapsedTimer clock;
  clock.start();
  while (!written && clock.elapsed() < 60000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  QFile::remove(target);
  if (!written || !QFile::copy(QString::fromStdString(written->string()), target)) {
    std::fprintf(stderr, "could not write %s\n", qPrintable(target));
    return false;
  }
  std::printf("%s\n", qPrintable(target));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: background-results FOLDER\n");
    return 2;
  }
  MediaEngine::start();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(folder.path());
  QTemporaryDir scratch;
  const QString photoPath = scratch.filePath("photo.jpg");
  const QString cutoutPath = scratch.filePath("sticker.png");
  if (!photo().save(photoPath, "JPEG", 92) || !cutout().save(cutoutPath)) return 1;

  bool ok = true;
  EditorCoordinator coordinator([&ok](const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    ok = false;
  });
  try {
    ok &= saveWith(coordinator, photoPath.toStdString(), {},
                   folder.filePath("background-photo-sunset.png"));
    ok &= saveWith(coordinator, cutoutPath.toStdString(), "editor.background.gradient.9",
                   folder.filePath("background-cutout-dusk.png"));
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return ok ? 0 : 1;
}
