// SPDX-License-Identifier: GPL-3.0-or-later
// The drag watcher's decisions, apart from where its readings come from: a
// plain class that is given, on every tick, the left button, Alt, the time,
// the pointer, the drag's change count and a way to read the dragged files,
// and answers what the wheel should do. The X11 readings are DragReader's
// (the platform's DragReader); TrayApplication::tick() joins the two.
//
// Thread safety: one object per thread; no shared state.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace Whirlpane {

class DragWatch {
 public:
  using Files = std::vector<std::filesystem::path>;

  static constexpr double tickSeconds = 0.045;
  static constexpr double restRadius = 4.0;  // points; 4.0 itself still rests
  static constexpr double restDelay = 0.3;   // seconds; reached at exactly 0.3
  static constexpr double hideGrace = 0.22;  // seconds after a release

  struct Point {
    double x = 0, y = 0;
  };

  // What one tick sees.
  struct Readings {
    bool down = false;     // the left button
    bool alt = false;      // the Alt (Mod1) modifier
    double now = 0;        // seconds, any origin that only grows
    Point pointer;         // logical desktop coordinates
    long changeCount = 0;  // raised by every new owner of the drag's selection
    bool wheelVisible = false;
    bool dragSession = false;  // the wheel is up for a drag
    bool showingTools = false;
    std::optional<double> hideAfterDrag;  // the wheel's pending hide
    bool working = false;                 // a conversion batch runs
    bool automaticDrag = true;            // the setting
  };

  // What the tick asks of the wheel, applied in this order: the tools switch,
  // the hide deadline, the showing, the hiding.
  struct Step {
    std::optional<bool> setToolMode;
    std::optional<double> hideAfterDrag;
    std::optional<Point> showAt;  // with `files`, formats wheel, for the drag
    Files files;
    bool hide = false;
  };

  // One tick. `readFiles` gives the dragged files as they are known now
  // (empty while they are not known yet); it is called only while the button
  // is down, the count changed since the last release and no drag is accepted
  // yet.
  Step tick(const Readings& in, const std::function<Files()>& readFiles);

  bool accepted() const { return dragStart_.has_value(); }
  const Files& pendingFiles() const { return pendingDragFiles_; }

 private:
  bool wasDown_ = false;
  long lastDragChange_ = -1;
  std::optional<double> dragStart_;
  Files pendingDragFiles_;
  bool dragWasShown_ = false;
  Point restPoint_;
  double restSince_ = 0;
  bool optionWasDown_ = false;
};

// The local files of a text/uri-list (RFC 2483): one URI a line, lines ending
// in CR LF or LF, "#" lines are comments; file:// URIs with an empty or
// "localhost" host, percent-decoded. Other URIs and malformed ones are left
// out. Nothing is looked up on disk.
std::vector<std::filesystem::path> decodeUriList(std::string_view list);

// decodeUriList without the folders (what a drag of files carries).
std::vector<std::filesystem::path> filesFromUriList(std::string_view list);

// The wheel takes a drag only when it carries at least one file and every
// file has a supported extension.
bool allSupported(const std::vector<std::filesystem::path>& files);

}  // namespace Whirlpane
