// Draws the pictures in docs/ with the real widgets on Qt's offscreen platform,
// at twice the logical size as on a high-density screen, in the Inter face so
// that they do not change with the machine:
//   wheel-formats.png        the formats wheel for a photo, nothing hovered
//   wheel-formats-hover.png  the same with wedge 2 hovered
//   wheel-pdf.png            the formats wheel for a PDF
//   wheel-tools.png          the tools wheel
//   toast.png                the progress toast at 2 of 5 saved
// Usage: whirlpane-screenshots FOLDER
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>

#include "app/chrome/backdrop.h"
#include "app/chrome/progress_bar.h"
#include "app/chrome/progress_toast.h"
#include "wheel/radial_menu.h"
#include "wheel/wheel_action.h"
#include "wheel/wheel_geometry.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

constexpr qreal scale = 2;

// `widget` and its children as they paint themselves, over transparency.
QImage picture(QWidget* widget) {
  QImage image(widget->size() * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::transparent);
  widget->render(&image, {}, {}, QWidget::DrawChildren | QWidget::IgnoreMask);
  return image;
}

bool save(const QImage& image, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name);
  if (!image.save(path)) {
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

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
  return picture(&panel);
}

void writeBytes(const fs::path& path, qint64 count) {
  QFile out(QString::fromStdString(path.string()));
  if (out.open(QIODevice::WriteOnly)) out.resize(count);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: whirlpane-screenshots FOLDER\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
  QApplication application(argc, argv);
  const QFont inter("Inter");
  if (QFontInfo(inter).family() != "Inter") {
    std::fprintf(stderr, "the Inter face is missing (Debian package fonts-inter)\n");
    return 1;
  }
  QApplication::setFont(inter);
  const QDir folder(QString::fromLocal8Bit(argv[1]));

  // The centre caption reads the file's size, so the files are real.
  QTemporaryDir scratch;
  const fs::path photo = fs::path(scratch.path().toStdString()) / "photo.jpg";
  const fs::path report = fs::path(scratch.path().toStdString()) / "report.pdf";
  writeBytes(photo, 2'400'000);
  writeBytes(report, 812'000);

  bool ok = save(wheel(WheelAction::formats(photo), photo, false, {}), folder, "wheel-formats.png");
  ok &=
      save(wheel(WheelAction::formats(photo), photo, false, 2), folder, "wheel-formats-hover.png");
  ok &= save(wheel(WheelAction::formats(report), report, false, {}), folder, "wheel-pdf.png");
  ok &= save(wheel(WheelAction::tools(), photo, true, {}), folder, "wheel-tools.png");

  ProgressToast toast("Converting to PNG", 5, {400, 300});
  toast.update(2, 5);
  while (toast.bar()->isAnimating()) toast.bar()->step();
  ok &= save(picture(toast.panel()), folder, "toast.png");
  return ok ? 0 : 1;
}
