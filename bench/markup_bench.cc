// SPDX-License-Identifier: GPL-3.0-or-later
// Times the markup editors on a large photo: a repaint of the canvas with 200
// marks at the size the editor shows it, and rendering the marks into the
// full image plus writing it as PNG through the engine, as a save does. Also
// writes the photo's decoded pixels and the same marks as an ImageMagick
// drawing, so that bench/markup can time `convert -draw` on equal terms.
// Prints the medians "repaint" (wall ms), "repaint-cpu" (this thread's
// processor ms), "save" (wall ms) and "save-cpu" (the process's processor
// ms), and "bytes" (the PNG's size).
// Usage: markup-bench PHOTO FOLDER [SAVE_RUNS]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

#include "editors/common/editor_image.h"
#include "editors/markup/annotation_canvas.h"
#include "editors/markup/markup_controller.h"
#include "whirlpane/picture_file.h"
#include "whirlpane/startup.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

// This thread's processor time in milliseconds: what a repaint costs, apart
// from the time other processes on a loaded machine take from it.
double threadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The whole process's processor time in milliseconds (the engine's encoder
// may use several threads).
double processMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// 200 marks of every kind, made by gestures on the view as a user makes them:
// 60 pen strokes of 40 points, 40 rectangles, 40 arrows, 30 labels and 30
// redactions, interleaved.
void drawMarks(AnnotationCanvas& canvas) {
  AnnotationLayer& layer = canvas.layer();
  const QSizeF view = canvas.size();
  const QRectF r = layer.imageRect(view);
  std::mt19937 random(20);
  std::uniform_real_distribution<double> x(r.left(), r.right()), y(r.top(), r.bottom());
  std::uniform_real_distribution<double> offset(-40, 40);  // a tenth of the view
  const Tool order[] = {Tool::pen,  Tool::rectangle, Tool::pen,   Tool::arrow,
                        Tool::text, Tool::pen,       Tool::redact};
  int made[5] = {};
  const int wanted[5] = {60, 40, 40, 30, 30};
  layer.textValue = "Confidential note";
  for (int i = 0; layer.count() < 200; ++i) {
    const Tool tool = order[i % 7];
    if (made[int(tool)] == wanted[int(tool)]) continue;
    layer.setTool(tool);
    layer.strokeWidth = 4 + i % 12;
    const int before = layer.count();
    const QPointF from(x(random), y(random));
    layer.press(from, view);
    const int steps = tool == Tool::pen ? 39 : 1;
    QPointF at = from;
    for (int s = 0; s < steps; ++s) {
      at = tool == Tool::pen ? at + QPointF(std::sin(s * 0.4) * 3, 1.5)
                             : from + QPointF(offset(random), offset(random));
      layer.drag(at, view);
    }
    if (tool != Tool::text) layer.release(at, view);
    if (layer.count() > before) ++made[int(tool)];
  }
}

// The same marks as ImageMagick drawing primitives, in image pixels.
void writeDrawing(const AnnotationLayer& layer, const fs::path& path) {
  std::ofstream out(path);
  out << "stroke-linecap round\nstroke-linejoin round\n";
  for (const Annotation* mark : layer.drawingOrder()) {
    const QString ink = mark->color.name();
    const auto point = [&](QPointF p) {
      return std::to_string(p.x()) + "," + std::to_string(p.y());
    };
    const QPointF p = mark->points.front(), q = mark->points.back();
    out << "stroke '" << ink.toStdString() << "' stroke-width " << mark->width << " fill none\n";
    switch (mark->tool) {
      case Tool::pen:
        out << "polyline";
        for (QPointF v : mark->points) out << ' ' << point(v);
        out << '\n';
        break;
      case Tool::rectangle:
        out << "rectangle " << point(p) << ' ' << point(q) << '\n';
        break;
      case Tool::arrow:
        if (const auto head = arrowHead(p, q, mark->width)) {
          out << "line " << point(p) << ' ' << point(head->base) << "\nstroke none fill '"
              << ink.toStdString() << "' polygon " << point(head->triangle[0]) << ' '
              << point(head->triangle[1]) << ' ' << point(head->triangle[2]) << '\n';
        }
        break;
      case Tool::text:
        out << "stroke none fill '" << ink.toStdString() << "' font-size "
            << std::max(18.0, 5 * mark->width) << " text " << point(p) << " '"
            << mark->text.toStdString() << "'\n";
        break;
      case Tool::redact: {
        const QRect box = layer.redactionRect(*mark);
        out << "stroke none fill black rectangle " << box.left() << ',' << box.top() << ' '
            << box.right() << ',' << box.bottom() << '\n';
        break;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "Usage: markup-bench PHOTO FOLDER [SAVE_RUNS]\n");
    return 2;
  }
  MediaEngine::start();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const fs::path photo = argv[1], folder = argv[2];
  const int saveRuns = argc > 3 ? std::atoi(argv[3]) : 5;
  const QImage image = loadMarkupImage(photo);  // as the editors load it

  AnnotationCanvas canvas(image, nullptr);
  canvas.resize(388, 367);  // as the editor lays it out
  drawMarks(canvas);
  QImage screen(canvas.size() * 2, QImage::Format_ARGB32_Premultiplied);
  screen.setDevicePixelRatio(2);  // a high-density screen: the costlier case
  canvas.render(&screen);         // the first paint resamples the photo once
  std::vector<double> repaints, repaintsCpu;
  for (int i = 0; i < 31; ++i) {
    QElapsedTimer clock;
    clock.start();
    const double cpu = threadMilliseconds();
    canvas.render(&screen);
    repaintsCpu.push_back(threadMilliseconds() - cpu);
    repaints.push_back(clock.nsecsElapsed() / 1e6);
  }

  std::vector<double> saves, savesCpu;
  const fs::path target = folder / "marked.png";
  for (int i = 0; i < saveRuns; ++i) {
    fs::remove(target);
    QElapsedTimer clock;
    clock.start();
    const double cpu = processMilliseconds();
    const QImage rendered = canvas.renderedImage();
    MediaEngine::writePicture(pictureOf(rendered), "png", target, photo, 0.9);
    savesCpu.push_back(processMilliseconds() - cpu);
    saves.push_back(clock.nsecsElapsed() / 1e6);
  }

  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  QFile raw(QString::fromStdString((folder / "photo.rgba").string()));
  if (!raw.open(QIODevice::WriteOnly) ||
      raw.write(reinterpret_cast<const char*>(rgba.constBits()), rgba.sizeInBytes()) < 0) {
    return 1;
  }
  writeDrawing(canvas.layer(), folder / "marks.mvg");
  std::printf(
      "size %dx%d\nmarks %d\nrepaint %.2f\nrepaint-cpu %.2f\nsave %.1f\nsave-cpu %.1f\nbytes "
      "%lld\n",
      image.width(), image.height(), canvas.count(), median(repaints), median(repaintsCpu),
      median(saves), median(savesCpu), static_cast<long long>(fs::file_size(target)));
  return 0;
}
