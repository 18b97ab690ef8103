// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' offscreen self-check: builds every registered editor in a
// hidden window on Qt's offscreen platform, drives it with synthetic mouse
// and key events as a user would, and draws each state to a PNG file, with a
// sheet of every control beside them. Drawn at twice the logical size in the
// Inter face, so that the pictures do not change with the machine. It fails
// (exit status 1) when an editor cannot be built or a picture not written.
//   editor-<key>.png           each editor as it opens on a photo (Compress
//                              once it shows the size of its copy)
//   editor-<key>-driven.png    the same after the synthetic input
//   editor-<key>-focus.png     then Tab pressed twice: the first control after
//                              Close shows its focus ring
//   editor-compress-icon.png   Compress on a file that does not decode
//   editor-compress-saving.png Compress while its save runs
//   controls.png               the controls in their states (without LANGUAGE)
// With LANGUAGE ("de", "ja") the editors are in that language.
// Usage: editor-self-check FOLDER [LANGUAGE]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextEdit>
#include <cstdio>
#include <filesystem>

#include "editors/common/editor_text.h"
#include "editors/compress/compression_controller.h"
#include "editors/controls/action_button.h"
#include "editors/controls/background_swatch.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/ratio_control.h"
#include "editors/controls/slider_row.h"
#include "editors/editor_coordinator.h"
#include "editors/self_check/pictures.h"
#include "whirlpane/startup.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

constexpr qreal scale = 2;

// A photo-like test picture: a sky, a sun and hills, with a comment.
bool writePhoto(const fs::path& path) {
  QImage image = hillsPhoto(QSize(1200, 800));
  image.setText("Description", "Hills at dusk");
  return image.save(QString::fromStdString(path.string()), "JPEG", 92);
}

void send(QWidget* target, QEvent::Type type, QPointF at) {
  QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

void click(QWidget* target, QPointF at) {
  send(target, QEvent::MouseButtonPress, at);
  send(target, QEvent::MouseButtonRelease, at);
}

// What a user does first in each editor: drag every slider to a third of its
// travel, pick the last segment of every ratio control, and scroll text down.
// The controls carry no meta-object of their own, so they are told apart by
// their C++ type.
template <typename Control>
std::vector<Control*> controlsIn(QWidget* window) {
  std::vector<Control*> found;
  for (QWidget* child : window->findChildren<QWidget*>()) {
    if (auto* control = dynamic_cast<Control*>(child)) found.push_back(control);
  }
  return found;
}

void drive(QWidget* window) {
  for (auto* slider : controlsIn<Slider>(window)) {
    const QRectF bar = slider->bar();
    send(slider, QEvent::MouseButtonPress, {bar.left() + 9, bar.center().y()});
    send(slider, QEvent::MouseMove, {bar.left() + 9 + (bar.width() - 18) / 3, bar.center().y()});
    send(slider, QEvent::MouseButtonRelease, {bar.left() + bar.width() / 3, bar.center().y()});
  }
  for (auto* control : controlsIn<RatioControl>(window)) {
    click(control, {control->width() - 2.0, control->height() / 2.0});
  }
  for (auto* text : window->findChildren<QTextEdit*>()) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(text, &down);
  }
}

// The controls on a plain surface, in their states.
QImage controlSheet() {
  QWidget sheet;
  sheet.resize(420, 300);
  sheet.setAutoFillBackground(true);
  QPalette palette = sheet.palette();
  palette.setColor(QPalette::Window, QColor(246, 238, 230));
  sheet.setPalette(palette);
  const struct {
    QString title;
    bool primary;
    bool enabled;
  } buttons[] = {
      {"Reset", false, true}, {"Reset", false, false}, {"Save", true, true}, {"Save", true, false}};
  qreal x = 14;
  for (const auto& b : buttons) {
    auto* button = new ActionButton(QRectF(x, 14, 80, 20), &sheet);
    button->setText(b.title);
    button->setPrimary(b.primary);
    button->setEnabled(b.enabled);
    if (b.primary) button->setFont(editorFont(11, QFont::Medium));
    x += 98;
  }
  auto* photoButton = new ActionButton(QRectF(14, 246, 36, 26), &sheet);
  photoButton->setSymbol("photo");
  auto* ratio = new RatioControl({"Free", "1:1", "4:3", "16:9", "9:16"}, QRectF(14, 50, 392, 24),
                                 "editor.sheet.ratio", &sheet);
  ratio->setSelectedSegment(2);
  new SliderRow("Padding", 100, 14, 392, 0, 200, 64.7, "editor.sheet.padding", &sheet);
  new SliderRow("Empty", 130, 14, 392, 5, 5, 5, "editor.sheet.empty", &sheet);
  const auto gradient = [](QColor from, QColor to) {
    return [from, to](QPainter& painter, const QRectF& r) {
      QLinearGradient fill(r.topLeft(), r.bottomRight());
      fill.setColorAt(0, from);
      fill.setColorAt(1, to);
      painter.fillRect(r, fill);
    };
  };
  auto* sunset = new BackgroundSwatch(QRectF(14, 152, 44, 32), "Sunset",
                                      gradient(QColor(255, 120, 80), QColor(120, 60, 200)), &sheet);
  sunset->setSelected(true);
  new BackgroundSwatch(QRectF(66, 152, 44, 32), "Ocean",
                       gradient(QColor(40, 160, 220), QColor(20, 60, 140)), &sheet);
  QImage photo(160, 90, QImage::Format_ARGB32_Premultiplied);
  photo.fill(QColor(70, 124, 72));
  auto* preview = new PreviewView(QRectF(130, 152, 276, 130), &sheet);
  preview->setImage(photo);
  new PreviewView(QRectF(14, 196, 96, 40), &sheet);
  return widgetPicture(&sheet, scale);
}

// Lets the Compress editor in `window` make the size of its copy (10 s at
// most); any other editor has nothing to wait for.
void settle(const EditorCoordinator& coordinator, QWidget* window) {
  auto* compress = dynamic_cast<CompressionController*>(coordinator.editorOf(window));
  for (QElapsedTimer clock; compress && !compress->estimate();) {
    if (!clock.isValid()) clock.start();
    if (clock.elapsed() > 10000) break;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "Usage: editor-self-check FOLDER [LANGUAGE]\n");
    return 2;
  }
  MediaEngine::start();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
  QApplication application(argc, argv);
  if (!useInterFace() || (argc == 3 && !useLanguage(argv[2]))) return 1;
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(folder.path());

  QTemporaryDir scratch;
  const fs::path photo = fs::path(scratch.path().toStdString()) / "photo.jpg";
  const fs::path broken = fs::path(scratch.path().toStdString()) / "report.pdf";
  if (!writePhoto(photo)) return 1;
  QFile damaged(QString::fromStdString(broken.string()));
  if (!damaged.open(QIODevice::WriteOnly) || damaged.write("%PDF-1.7 cut short") < 0) return 1;
  damaged.close();

  // The sheet's texts are its own: drawn once, in English.
  bool ok = argc == 3 || savePicture(controlSheet(), folder, "controls.png");
  EditorCoordinator coordinator([&ok](const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    ok = false;
  });
  try {
    for (const std::string& key : coordinator.editorKeys()) {
      QWidget* window = coordinator.makeOffscreenWindow(key, photo);
      // Pictured with the whole picture in, as the user mostly sees them.
      while (coordinator.editorOf(window)->pictureState() == EditorFrame::PictureState::decoding)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
      const QString name = "editor-" + QString::fromStdString(key);
      settle(coordinator, window);
      ok &= savePicture(widgetPicture(window, scale), folder, name + ".png");
      drive(window);
      settle(coordinator, window);
      ok &= savePicture(widgetPicture(window, scale), folder, name + "-driven.png");
      window->show();
      window->activateWindow();
      QApplication::processEvents();
      for (int i = 0; i < 2; ++i) {
        QWidget* focused = window->focusWidget() ? window->focusWidget() : window;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(focused, &tab);
      }
      ok &= savePicture(widgetPicture(window, scale), folder, name + "-focus.png");
      window->close();
    }
    QWidget* icon = coordinator.makeOffscreenWindow("compress", broken);
    ok &= savePicture(widgetPicture(icon, scale), folder, "editor-compress-icon.png");
    icon->close();
    QWidget* saving = coordinator.makeOffscreenWindow("compress", photo);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(saving, &enter);
    ok &= savePicture(widgetPicture(saving, scale), folder, "editor-compress-saving.png");
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return ok ? 0 : 1;
}
