// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/drag_watch.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "app/desktop/launch_options.h"
#include "whirlpane/formats.h"

namespace Whirlpane {

namespace fs = std::filesystem;

DragWatch::Step DragWatch::tick(const Readings& in, const std::function<Files()>& readFiles) {
  Step step;
  // The test mode watches nothing.
  std::optional<double> hideAfter = in.hideAfterDrag;
  // Alt flips a wheel shown for a held drag, once per new press.
  if (in.wheelVisible && in.down && in.dragSession && in.alt && !optionWasDown_) {
    step.setToolMode = !in.showingTools;
  }
  optionWasDown_ = in.alt;
  if (!in.down) {
    // The drag that the wheel shows for has ended.
    if (wasDown_ && in.dragSession) {
      hideAfter = in.now + hideGrace;
      step.hideAfterDrag = hideAfter;
    }
  } else {
    // A new press forgets the last drag.
    if (!wasDown_) {
      dragStart_.reset();
      pendingDragFiles_.clear();
      dragWasShown_ = false;
    }
    if (!in.working && in.automaticDrag) {
      // A drag of supported files began during this press.
      if (in.changeCount != lastDragChange_ && !dragStart_) {
        Files files = readFiles ? readFiles() : Files{};
        if (allSupported(files)) {
          dragStart_ = in.now;
          pendingDragFiles_ = std::move(files);
          restPoint_ = in.pointer;
          restSince_ = in.now;
        }
      }
      // The wheel comes once the pointer has rested within the radius.
      if (dragStart_ && !dragWasShown_) {
        const double d = std::hypot(in.pointer.x - restPoint_.x, in.pointer.y - restPoint_.y);
        if (d > restRadius) {
          restPoint_ = in.pointer;
          restSince_ = in.now;
        } else if (in.now - restSince_ >= restDelay) {
          step.showAt = in.pointer;
          step.files = pendingDragFiles_;
          hideAfter.reset();  // a showing clears the pending hide
          dragWasShown_ = true;
        }
      }
    }
  }
  // The hide deadline, strictly passed.
  if (hideAfter && *hideAfter < in.now) step.hide = true;
  // Only a change during a press counts as a new drag.
  if (!in.down) lastDragChange_ = in.changeCount;
  wasDown_ = in.down;
  return step;
}

std::vector<fs::path> decodeUriList(std::string_view list) {
  std::vector<fs::path> files;
  while (!list.empty()) {
    const size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    list = end == std::string_view::npos ? std::string_view{} : list.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\0')) {
      line.remove_suffix(1);
    }
    if (line.empty() || line.front() == '#') continue;
    // Only file URIs: fileFromArgument also takes plain paths.
    constexpr std::string_view scheme = "file:";
    if (MediaEngine::asciiLower(line.substr(0, scheme.size())) != scheme) continue;
    if (auto file = fileFromArgument(line)) files.push_back(std::move(*file));
  }
  return files;
}

std::vector<fs::path> filesFromUriList(std::string_view list) {
  std::vector<fs::path> files = decodeUriList(list);
  std::erase_if(files, [](const fs::path& file) {
    std::error_code ignored;
    return fs::is_directory(file, ignored);
  });
  return files;
}

bool allSupported(const std::vector<fs::path>& files) {
  return !files.empty() && std::all_of(files.begin(), files.end(),
                                       [](const fs::path& file) { return supported(file); });
}

}  // namespace Whirlpane
