// SPDX-License-Identifier: GPL-3.0-or-later
// Times the background renderer on a photograph, for bench/run.
//
//   background-render-bench compose PHOTO OUT
//     decodes PHOTO, renders it at full size on "Sunset" (padding 160,
//     corners 24, shadow 24) and writes the RGBA bytes to OUT: the whole job,
//     beside ImageMagick doing the same composition.
//   background-render-bench stages PHOTO RUNS
//     decodes PHOTO once and prints the median of RUNS timings of each stage:
//     the full-size render, the one reduction for previews, and a preview
//     render (maxDimension 820) with the sliders at a different value each run,
//     each as wall time and processor time.
//   background-render-bench save PHOTO RUNS
//     Add BG's Save with its defaults on PHOTO as the editor does it, stage by
//     stage, median of RUNS: the full-size render, the copy into the engine's
//     RGBA form, the engine writing the PNG (into a scratch folder), each as
//     wall time and processor time.
//   background-render-bench draw STYLE PHOTO OUT.png
//     the editor's defaults (padding 160, corners 24, shadow 24) on the named
//     style, written as PNG, to look at.
#include <unistd.h>

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "editors/common/editor_image.h"
#include "editors/rendering/background_renderer.h"
#include "whirlpane/picture_file.h"
#include "whirlpane/startup.h"

using namespace Whirlpane;

namespace {

QImage load(const char* path) {
  QImageReader reader(QString::fromLocal8Bit(path));
  reader.setAllocationLimit(0);
  QImage image = reader.read();
  if (image.isNull()) {
    std::fprintf(stderr, "cannot read %s: %s\n", path, qPrintable(reader.errorString()));
    std::exit(1);
  }
  return image;
}

double cpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Median wall time and median processor time (all threads) of RUNS runs, in
// ms: on a shared machine the second shows the work when the first is
// stretched by other programs.
struct Timing {
  double wall;
  double cpu;
};

template <typename Work>
Timing median(int runs, Work work) {
  std::vector<double> walls;
  std::vector<double> cpus;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuMs();
    work(i);
    cpus.push_back(cpuMs() - cpuStart);
    walls.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(walls.begin(), walls.end());
  std::sort(cpus.begin(), cpus.end());
  return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

std::optional<QImage> full(const QImage& photo) {
  return BackgroundRenderer::render(photo, BackgroundStyle::gradients().front(), std::nullopt, 160,
                                    24, 24, std::nullopt, std::nullopt);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (argc == 4 && mode == "compose") {
    const std::optional<QImage> out = full(load(argv[2]));
    if (!out) return 1;
    const QImage rgba = out->convertToFormat(QImage::Format_RGBA8888);
    std::ofstream file(argv[3], std::ios::binary);
    for (int y = 0; y < rgba.height(); ++y)
      file.write(reinterpret_cast<const char*>(rgba.constScanLine(y)), rgba.width() * 4);
    return file ? 0 : 1;
  }
  if (argc == 4 && mode == "stages") {
    const QImage photo = load(argv[2]);
    const int runs = std::max(1, std::atoi(argv[3]));
    const Timing render = median(runs, [&](int) { full(photo); });
    ReducedPicture reduced;
    const Timing reduce =
        median(runs, [&](int) { reduced = BackgroundRenderer::reducePicture(photo, 820); });
    const Timing preview = median(runs * 4, [&](int i) {
      BackgroundRenderer::render(reduced, BackgroundStyle::gradients().front(), std::nullopt,
                                 160 + 7 * i, 24 + i, 24 + 3 * i, std::nullopt, 820);
    });
    // wall and processor ms of: full render, reduction, preview render
    std::printf("%.1f %.1f %.1f %.1f %.1f %.1f\n", render.wall, render.cpu, reduce.wall, reduce.cpu,
                preview.wall, preview.cpu);
    return 0;
  }
  if (argc == 4 && mode == "save") {
    MediaEngine::start();
    const QImage photo = loadEditorImage(argv[2]);
    const int runs = std::max(1, std::atoi(argv[3]));
    std::optional<QImage> out;
    MediaEngine::Picture picture;
    const Timing render = median(runs, [&](int) { out = full(photo); });
    if (!out) return 1;
    const Timing copy = median(runs, [&](int) { picture = pictureOf(*out); });
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("background-save-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const Timing write = median(runs, [&](int i) {
      MediaEngine::writePicture(picture, "png", folder / (std::to_string(i) + ".png"), argv[2]);
    });
    std::filesystem::remove_all(folder);
    // wall and processor ms of: render, copy, write
    std::printf("%.1f %.1f %.1f %.1f %.1f %.1f\n", render.wall, render.cpu, copy.wall, copy.cpu,
                write.wall, write.cpu);
    return 0;
  }
  if (argc == 5 && mode == "draw") {
    for (const auto* list : {&BackgroundStyle::gradients(), &BackgroundStyle::solids()}) {
      for (const BackgroundStyle& style : *list) {
        if (style.name != QString::fromLocal8Bit(argv[2])) continue;
        const auto out = BackgroundRenderer::render(load(argv[3]), style, std::nullopt, 160, 24, 24,
                                                    std::nullopt, std::nullopt);
        return out && out->save(QString::fromLocal8Bit(argv[4])) ? 0 : 1;
      }
    }
    std::fprintf(stderr, "no style %s\n", argv[2]);
    return 1;
  }
  std::fprintf(
      stderr,
      "usage: %s compose PHOTO OUT | stages PHOTO RUNS | save PHOTO RUNS | draw STYLE PHOTO OUT\n",
      argv[0]);
  return 2;
}
