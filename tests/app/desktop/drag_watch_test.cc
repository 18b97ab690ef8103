// SPDX-License-Identifier: GPL-3.0-or-later
// The drag watcher's decisions with made-up readings, a tick at a time; the
// wheel is a few flags that follow what the watcher asks.
#include "app/desktop/drag_watch.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <string>

namespace Whirlpane {
namespace {

using Files = DragWatch::Files;
using Point = DragWatch::Point;
const Files photo{"/p/photo.jpg"};

struct Session {
  DragWatch watch;
  bool visible = false, dragSession = false, tools = false;
  std::optional<double> hideAfterDrag;
  int shows = 0, toggles = 0, reads = 0;
  Point shownAt;
  Files shownFiles, files = photo;  // what the drag source answers
  long count = 0;
  bool working = false, automatic = true;

  void tick(double now, bool down, Point pointer, bool alt = false) {
    DragWatch::Readings in{down,        alt,   now,           pointer, count,    visible,
                           dragSession, tools, hideAfterDrag, working, automatic};
    const DragWatch::Step step = watch.tick(in, [this] {
      ++reads;
      return files;
    });
    if (step.setToolMode) tools = *step.setToolMode, ++toggles;
    if (step.hideAfterDrag) hideAfterDrag = step.hideAfterDrag;
    if (step.showAt) {
      ++shows, visible = dragSession = true, tools = false, hideAfterDrag.reset();
      shownAt = *step.showAt, shownFiles = step.files;
    }
    if (step.hide) visible = dragSession = false, hideAfterDrag.reset();
  }

  // A press, a drag that starts on the next tick, then the pointer at
  // path(i) on tick i, 45 ms apart, the button held throughout.
  void drag(const std::function<Point(int)>& path, int ticks = 40) {
    tick(0, false, path(0));
    tick(0.001, true, path(0));
    ++count;  // the drag source takes the selection
    for (int i = 1; i <= ticks; ++i) tick(i * DragWatch::tickSeconds, true, path(i));
  }
};

TEST(DragWatch, ShowsTheWheelOnlyForARestingDragOfSupportedFiles) {
  const auto still = [](int) { return Point{500, 400}; };
  // `step` points a tick, back every `period` ticks.
  const auto moving = [](double step, int period) {
    return [=](int i) { return Point{500 + step * (i % period), 400}; };
  };
  const struct {
    const char* name;
    Files files;
    std::function<Point(int)> path;
    bool shown;
  } cases[] = {
      {"a drag that rests", photo, still, true},
      {"jitter of 4.0 points still rests", photo, moving(4, 2), true},
      {"4.5 points a tick", photo, moving(4.5, 1000), false},
      {"a PNG with a text file", {"/p/a.png", "/p/notes.txt"}, still, false},
      {"every supported kind, any case",
       {"/p/a.PNG", "/p/b.jpeg", "/p/c.heif", "/p/d.webp", "/p/e.TIFF", "/p/f.avif", "/p/g.bmp",
        "/p/h.gif", "/p/i.pdf", "/p/j.tif", "/p/k.heic", "/p/l.jpg"},
       still,
       true},
  };
  for (const auto& c : cases) {
    Session session;
    session.files = c.files;
    session.drag(c.path);
    EXPECT_EQ(session.shows, c.shown ? 1 : 0) << c.name;
    EXPECT_EQ(session.shownFiles, c.shown ? c.files : Files{}) << c.name;
  }
  // No drag is taken while a batch runs, or with the setting off.
  for (const int which : {0, 1}) {
    Session session;
    session.working = which == 0, session.automatic = which != 1;
    session.drag(still);
    EXPECT_EQ(session.shows + session.reads, 0) << which;
  }
}

TEST(DragWatch, TheWheelComesAtThePointerWhenItHasRestedForTheDelay) {
  Session session;
  session.tick(0, false, {10, 10});
  session.tick(1.0, true, {10, 10});
  ++session.count;
  session.tick(1.045, true, {10, 10});  // accepted: rests from here
  EXPECT_TRUE(session.watch.accepted());
  session.tick(1.2, true, {40, 10});  // moved: rests from 1.2
  session.tick(1.45, true, {42, 11});
  session.tick(1.4999, true, {43, 12});
  EXPECT_EQ(session.shows, 0);
  session.tick(1.5, true, {44, 10});  // 0.3 s after the last move, 4.0 points off
  EXPECT_EQ(session.shows, 1);
  EXPECT_EQ(session.shownAt.x, 44);
  // Not again in the same press, even after moving and resting elsewhere.
  session.tick(2.0, true, {400, 300});
  session.tick(3.0, true, {400, 300});
  EXPECT_EQ(session.shows, 1);
}

TEST(DragWatch, OnlyAChangeDuringThePressIsADragAndItsFilesAreReadUntilKnown) {
  Session stale;
  stale.tick(0, false, {0, 0});
  ++stale.count;  // a drag that ended before this press (GTK resets the owner)
  for (int i = 1; i < 40; ++i) stale.tick(i * 0.045, i > 1, {500, 400});
  EXPECT_EQ(stale.shows + stale.reads, 0);

  Session session;
  session.files = {};  // the source has not answered yet
  session.tick(0, false, {0, 0});
  session.tick(0.045, true, {0, 0});
  ++session.count;
  session.tick(0.09, true, {0, 0});
  session.tick(0.135, true, {0, 0});
  EXPECT_EQ(session.reads, 2);
  session.files = photo;
  for (int i = 4; i < 20; ++i) session.tick(i * 0.045, true, {0, 0});
  EXPECT_EQ(session.reads, 3) << "no reading once the drag is accepted";
  EXPECT_EQ(session.shows, 1);
}

TEST(DragWatch, AltFlipsTheWheelOnANewPressOnly) {
  Session session;
  session.tick(0, false, {0, 0});
  session.tick(0.045, true, {0, 0});
  ++session.count;
  double now = 0.09;
  for (; now < 0.8; now += 0.045) session.tick(now, true, {0, 0}, true);
  ASSERT_EQ(session.shows, 1);
  EXPECT_EQ(session.toggles, 0) << "Alt held from before the showing";
  for (const bool alt : {false, true, true, true, false, true})
    session.tick(now += 0.045, true, {}, alt);
  EXPECT_EQ(session.toggles, 2);
  EXPECT_FALSE(session.tools);
  session.tick(now += 0.045, false, {}, false);  // with the button up, Alt does nothing
  session.tick(now += 0.01, false, {}, true);
  EXPECT_EQ(session.toggles, 2);
}

TEST(DragWatch, AReleaseHidesTheWheelStrictlyAfterTheGraceAndOnlyOnceShown) {
  Session session;
  session.drag([](int) { return Point{500, 400}; }, 10);
  ASSERT_EQ(session.shows, 1);
  const double release = 2.0, grace = DragWatch::hideGrace;
  session.tick(release, false, {500, 400});
  EXPECT_EQ(session.hideAfterDrag, release + grace);
  session.tick(release + grace, false, {500, 400});
  EXPECT_TRUE(session.visible) << "not at the deadline itself";
  session.tick(release + grace + 1e-6, false, {500, 400});
  EXPECT_FALSE(session.visible);

  Session early;
  early.drag([](int i) { return Point{500.0 + 10 * i, 400}; }, 10);
  early.tick(1.0, false, {0, 0});
  EXPECT_FALSE(early.hideAfterDrag);
}

TEST(UriList, DecodesLocalFileUrisAndDropsFolders) {
  const struct {
    std::string list;
    Files files;
  } cases[] = {
      {"file://localhost/tmp/a%20b.png", {"/tmp/a b.png"}},
      {"file:///%E2%82%AC%25.jpg", {"/\u20ac%.jpg"}},
      {"# a comment\r\nfile:///a.png\r\nfile:///b.pdf\r\n", {"/a.png", "/b.pdf"}},
      {std::string("file:///a.png\r\n\0", 16), {"/a.png"}},  // a NUL at the end
      {"file://otherhost/x.png\nhttps://example.org/x.png\n/a/plain/path.png\n\r\n", {}},
      {"file:///bad%zz.png\nfile:///nul%00.png", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(decodeUriList(c.list), c.files) << c.list;

  QTemporaryDir folder;
  const std::string path = folder.path().toStdString();
  EXPECT_EQ(filesFromUriList("file://" + path + "\r\nfile://" + path + "/photo.png\r\n"),
            Files{std::filesystem::path(path) / "photo.png"});
  EXPECT_TRUE(filesFromUriList("file://" + path).empty()) << "a folder alone is nothing";
}

}  // namespace
}  // namespace Whirlpane
