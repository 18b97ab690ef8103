// SPDX-License-Identifier: GPL-3.0-or-later
// Times the Crop and Edit editors on one photograph, in the program's own
// windows on Qt's offscreen platform, and prints one line per measurement:
// "<name> <median ms> <runs>". Saves go through the editors' Save (the save
// thread, the engine's writer); their files are deleted after each run.
//   open            the picture decoded as an editor gets it
//   edit-reduce     the preview source made once when Edit opens
//   edit-step       one slider step: the preview rendered again
//   edit-render     the full-size render alone (colours, mirror, turn)
//   edit-save       Save after brightness, contrast and saturation were moved,
//                   one turn and a mirror (render at full size, PNG)
//   crop-save       Apply with the centred half (half of each side) selected
//   crop-save-grid  the same moved onto the JPEG's 16-pixel grid (no re-encoding)
// Usage: editor-bench PHOTO.jpg [RUNS]
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "editors/common/editor_image.h"
#include "editors/controls/slider_row.h"
#include "editors/crop/crop_canvas.h"
#include "editors/crop/crop_controller.h"
#include "editors/edit/adjustment_controller.h"
#include "whirlpane/startup.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

void report(const char* name, const std::vector<double>& times) {
  std::printf("%s %.1f %zu\n", name, median(times), times.size());
  std::fflush(stdout);
}

// Milliseconds `work` takes, `runs` times.
std::vector<double> timed(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer clock;
    clock.start();
    work();
    times.push_back(clock.nsecsElapsed() / 1e6);
  }
  return times;
}

// Presses Save and waits for the file; removes it afterwards.
void saveAndWait(EditorFrame& editor) {
  fs::path written;
  editor.onSaved = [&](const fs::path& file) { written = file; };
  editor.saveEditor();
  while (editor.isSaving()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  if (written.empty()) {
    std::fprintf(stderr, "editor-bench: the save failed\n");
    std::exit(1);
  }
  fs::remove(written);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  MediaEngine::start();
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: editor-bench PHOTO.jpg [RUNS]\n");
    return 2;
  }
  const fs::path photo = fs::absolute(argv[1]);
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

  QImage image;
  report("open", timed(runs, [&] { image = loadEditorImage(photo); }));
  report("edit-reduce", timed(runs, [&] { (void)previewSource(image); }));

  {
    AdjustmentController edit(photo, image);
    // A slider step as the user makes it (an arrow key moves the knob by a
    // hundredth of the range): the value text and the preview follow.
    Slider* slider = edit.brightness()->slider();
    int step = 0;
    report("edit-step", timed(runs * 20, [&] {
             QKeyEvent key(QEvent::KeyPress, ++step % 40 < 20 ? Qt::Key_Right : Qt::Key_Left,
                           Qt::NoModifier);
             QApplication::sendEvent(slider, &key);
           }));
    if (edit.brightness()->value() == 0) {
      std::fprintf(stderr, "editor-bench: the slider did not move\n");
      return 1;
    }
    edit.contrast()->slider()->setValue(1.2);
    edit.saturation()->slider()->setValue(1.5);
    edit.rotate();
    edit.flip();
    report("edit-render", timed(runs, [&] { (void)edit.render(false); }));
    report("edit-save", timed(runs, [&] { saveAndWait(edit); }));
  }

  const QSize size = image.size();
  const QRectF half(size.width() / 4, size.height() / 4, size.width() / 2, size.height() / 2);
  for (const bool grid : {false, true}) {
    CropController crop(photo, image, MediaEngine::fileStamp(photo));
    QRectF selection = half;
    // Moved onto the grid when asked, and off it otherwise.
    const double x = std::round(half.x() / 16) * 16, y = std::round(half.y() / 16) * 16;
    selection.moveTo(grid ? x : x + 3, grid ? y : y + 3);
    crop.canvas()->setSelection(selection);
    report(grid ? "crop-save-grid" : "crop-save", timed(runs, [&] { saveAndWait(crop); }));
  }
  return 0;
}
