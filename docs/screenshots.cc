// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the pictures in docs/ with the real widgets on Qt's offscreen platform,
// at twice the logical size as on a high-density screen, in the Inter face so
// that they do not change with the machine:
//   wheel-formats.png        the formats wheel for a photo, nothing hovered
//   wheel-formats-hover.png  the same with wedge 2 hovered
//   wheel-pdf.png            the formats wheel for a PDF
//   wheel-tools.png          the tools wheel
//   toast.png                the progress toast at 2 of 5 saved
//   password-alert.png       the alert asking for a locked PDF's password,
//                            after a wrong one, with a password typed
//   editors/editor-annotate-marked.png  Annotate with a stroke, a box, an
//                            arrow and a label on a photo
//   editors/editor-redact-marked.png    Redact with one box made and the
//                            next being dragged
// With LANGUAGE ("de", "ja") the pictures with words in them, in that
// language.
// Usage: whirlpane-screenshots FOLDER [LANGUAGE]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/desktop/tray_application.h"
#include "chrome/alerts.h"
#include "chrome/backdrop.h"
#include "chrome/progress_bar.h"
#include "chrome/progress_toast.h"
#include "editors/common/editor_text.h"
#include "editors/controls/ratio_control.h"
#include "editors/markup/markup_controller.h"
#include "editors/self_check/pictures.h"
#include "wheel/radial_menu.h"
#include "wheel/wheel_action.h"
#include "wheel/wheel_geometry.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

constexpr qreal scale = 2;

// The wheel as its panel holds it: the disc's backdrop, then the wheel view.
QImage wheel(const std::vector<WheelAction>& actions, const fs::path& file, bool tools,
             std::optional<int> hovered) {
  QWidget panel;
  const int side = static_cast<int>(WheelGeometry::panelSize);
  panel.resize(side, side);
  const int m = static_cast<int>(WheelGeometry::margin);
  auto* backdrop = makeGlassBackdrop(&panel, QRect(m, m, side - 2 * m, side - 2 * m),
                                     WheelGeometry::radius, true);
  auto* menu = new RadialMenu(&panel);
  menu->setGeometry(panel.rect());
  menu->setHasGlassBackdrop(backdrop->style() == BackdropStyle::glass);
  menu->setFiles({file});
  menu->setFile(file);
  menu->setIsTools(tools);
  menu->setActions(actions);
  menu->setHovered(hovered);
  return widgetPicture(&panel, scale);
}

void writeBytes(const fs::path& path, qint64 count) {
  QFile out(QString::fromStdString(path.string()));
  if (out.open(QIODevice::WriteOnly)) out.resize(count);
}

void send(QWidget* target, QEvent::Type type, QPointF at) {
  QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// A drag over the canvas through `points`, given as fractions of the image;
// without `release` the mark stays in progress.
void drag(AnnotationCanvas* canvas, std::vector<QPointF> points, bool release = true) {
  const QRectF r = canvas->layer().imageRect(canvas->size());
  for (QPointF& p : points) p = r.topLeft() + QPointF(p.x() * r.width(), p.y() * r.height());
  send(canvas, QEvent::MouseButtonPress, points.front());
  for (QPointF p : points) send(canvas, QEvent::MouseMove, p);
  if (release) send(canvas, QEvent::MouseButtonRelease, points.back());
}

// A photo of a parcel label on a desk: something to point at and something
// to hide.
QImage desk() {
  QImage image(1600, 1200, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient wood(0, 0, 1600, 1200);
  wood.setColorAt(0, QColor(186, 140, 99));
  wood.setColorAt(1, QColor(120, 82, 52));
  painter.fillRect(image.rect(), wood);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(250, 248, 240));
  painter.drawRoundedRect(QRectF(260, 300, 1080, 600), 24, 24);
  painter.setPen(QColor(40, 40, 48));
  painter.setFont(editorFont(64, QFont::Bold));
  painter.drawText(QPointF(330, 420), "PRIORITY PARCEL");
  painter.setFont(editorFont(52));
  painter.drawText(QPointF(330, 560), "Jane Doe");
  painter.drawText(QPointF(330, 650), "12 Harbour Street, Leith");
  painter.drawText(QPointF(330, 740), "Tel. 0131 496 0742");
  painter.fillRect(QRectF(1080, 560, 200, 260), QColor(40, 40, 48));
  return image;
}

// What the user types for the label on the parcel, in the pictures'
// language.
QString parcelLabel(const QString& language) {
  if (language == "de") return QString::fromUtf8("Zerbrechlich \u2013 diese Seite oben");
  if (language == "ja") return QString::fromUtf8("\u5929\u5730\u7121\u7528");  // this side up
  return "Fragile, this side up";
}

QImage markup(bool redaction, const fs::path& file, const QString& label) {
  MarkupController editor(file, desk(), redaction);
  AnnotationCanvas* canvas = editor.canvas();
  if (redaction) {
    drag(canvas, {{0.2, 0.41}, {0.42, 0.49}});
    drag(canvas, {{0.2, 0.55}, {0.62, 0.63}}, false);
  } else {
    std::vector<QPointF> loop;
    for (int i = 0; i <= 40; ++i) {
      const double t = i / 40.0 * 6.4;
      loop.push_back({0.5 + 0.27 * std::cos(t), 0.3 + 0.07 * std::sin(t)});
    }
    drag(canvas, loop);
    send(editor.toolControl(), QEvent::MouseButtonPress, {100, 13});  // Rectangle
    drag(canvas, {{0.66, 0.45}, {0.81, 0.70}});
    send(editor.toolControl(), QEvent::MouseButtonPress, {190, 13});  // Arrow
    drag(canvas, {{0.35, 0.92}, {0.64, 0.72}});
    send(editor.toolControl(), QEvent::MouseButtonPress, {320, 13});  // Text
    editor.textField()->setText(label);
    drag(canvas, {{0.06, 0.90}, {0.06, 0.90}});
  }
  return widgetPicture(editor.window(), scale);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "Usage: whirlpane-screenshots FOLDER [LANGUAGE]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
  QApplication application(argc, argv);
  if (!useInterFace() || (argc == 3 && !useLanguage(argv[2]))) return 1;
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(folder.path());

  // The centre caption reads the file's size, so the files are real.
  QTemporaryDir scratch;
  const fs::path photo = fs::path(scratch.path().toStdString()) / "photo.jpg";
  const fs::path report = fs::path(scratch.path().toStdString()) / "report.pdf";
  writeBytes(photo, 2'400'000);
  writeBytes(report, 812'000);

  // The formats wheels show format names and sizes alone: drawn in English
  // only.
  bool ok = true;
  if (argc == 2) {
    ok &= savePicture(wheel(WheelAction::formats(photo), photo, false, {}), folder,
                      "wheel-formats.png");
    ok &= savePicture(wheel(WheelAction::formats(photo), photo, false, 2), folder,
                      "wheel-formats-hover.png");
    ok &= savePicture(wheel(WheelAction::formats(report), report, false, {}), folder,
                      "wheel-pdf.png");
  }
  ok &= savePicture(wheel(toolWedges(), photo, true, {}), folder, "wheel-tools.png");

  ProgressToast toast(TrayApplication::progressTitle("PNG"), 5, {400, 300});
  toast.update(2, 5);
  while (toast.bar()->isAnimating()) toast.bar()->step();
  ok &= savePicture(widgetPicture(toast.panel(), scale), folder, "toast.png");

  QMessageBox* alert = askPDFPassword("report.pdf", true, nullptr, {});
  alert->findChild<QLineEdit*>("password-alert.field")->setText("password");
  ok &= savePicture(widgetPicture(alert, scale), folder, "password-alert.png");
  delete alert;

  QDir().mkpath(folder.filePath("editors"));
  const QString label = parcelLabel(argc == 3 ? argv[2] : "");
  ok &= savePicture(markup(false, photo, label), folder, "editors/editor-annotate-marked.png");
  ok &= savePicture(markup(true, photo, label), folder, "editors/editor-redact-marked.png");
  return ok ? 0 : 1;
}
