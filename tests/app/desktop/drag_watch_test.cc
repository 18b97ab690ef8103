// The drag watcher's decisions with made-up readings: a
// tick at a time, the wheel stood in for by a few flags that follow what the
// watcher asks, as the application's wheel does.
#include "app/desktop/drag_watch.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <string>

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;
using Files = DragWatch::Files;
using Point = DragWatch::Point;

// The watcher, the wheel it drives, and the world it reads.
struct Session {
  DragWatch watch;
  // The wheel.
  bool visible = false, dragSession = false, tools = false;
  std::optional<double> hideAfterDrag;
  int shows = 0, hides = 0, toggles = 0;
  Point shownAt;
  Files shownFiles;
  std::optional<double> shownTime;
  // The world.
  long count = 0;
  Files files;
  int reads = 0;
  bool working = false, automatic = true, testing = false;

  void tick(double now, bool down, Point pointer, bool alt = false) {
    DragWatch::Readings in;
    in.testing = testing;
    in.down = down;
    in.alt = alt;
    in.now = now;
    in.pointer = pointer;
    in.changeCount = count;
    in.wheelVisible = visible;
    in.dragSession = dragSession;
    in.showingTools = tools;
    in.hideAfterDrag = hideAfterDrag;
    in.working = working;
    in.automaticDrag = automatic;
    const DragWatch::Step step = watch.tick(in, [this] {
      ++reads;
      return files;
    });
    if (step.setToolMode) {
      ++toggles;
      tools = *step.setToolMode;
    }
    if (step.hideAfterDrag) hideAfterDrag = step.hideAfterDrag;
    if (step.showAt) {
      ++shows;
      visible = dragSession = true;
      tools = false;
      hideAfterDrag.reset();
      shownAt = *step.showAt;
      shownFiles = step.files;
      shownTime = now;
    }
    if (step.hide) {
      ++hides;
      visible = dragSession = false;
      hideAfterDrag.reset();
    }
  }

  // A press at `from`, a drag that starts on the next tick, then the pointer
  // at path(i) on tick i (time i × 45 ms), `ticks` ticks in all, the button
  // held throughout.
  void drag(const std::function<Point(int)>& path, int ticks) {
    tick(0, false, path(0));
    tick(0.001, true, path(0));
    ++count;  // the drag source takes the selection
    for (int i = 1; i <= ticks; ++i) tick(i * DragWatch::tickSeconds, true, path(i));
  }
};

const Files photo{"/p/photo.jpg"};

struct Case {
  const char* name;
  Files files;
  std::function<Point(int)> path;
  bool shown;
};

TEST(DragWatch, ShowsTheWheelOnlyForARestingDragOfSupportedFiles) {
  const auto still = [](int) { return Point{500, 400}; };
  const Case cases[] = {
      {"a drag that rests", photo, still, true},
      {"jitter of 3 points", photo,
       [](int i) {
         return Point{500.0 + (i % 2) * 3, 400.0 + (i % 3 == 2) * 2};
       },
       true},
      {"4.0 points still rests", photo,
       [](int i) {
         return Point{500.0 + (i % 2) * 4, 400};
       },
       true},
      {"drift of 5 points a tick", photo,
       [](int i) {
         return Point{500.0 + 5 * i, 400};
       },
       false},
      {"4.5 points a tick", photo,
       [](int i) {
         return Point{500.0 + 4.5 * i, 400};
       },
       false},
      {"a PNG with a text file", {"/p/a.png", "/p/notes.txt"}, still, false},
      {"nothing readable (a folder alone)", {}, still, false},
      {"a file without an extension", {"/p/README"}, still, false},
      {"every supported kind, any case",
       {"/p/a.PNG", "/p/b.jpeg", "/p/c.heif", "/p/d.webp", "/p/e.TIFF", "/p/f.avif", "/p/g.bmp",
        "/p/h.gif", "/p/i.pdf", "/p/j.tif", "/p/k.heic", "/p/l.jpg"},
       still,
       true},
  };
  for (const Case& c : cases) {
    Session session;
    session.files = c.files;
    session.drag(c.path, 40);  // 1.8 s
    EXPECT_EQ(session.shows, c.shown ? 1 : 0) << c.name;
    if (c.shown) {
      EXPECT_EQ(session.shownFiles, c.files) << c.name;
      EXPECT_TRUE(session.dragSession) << c.name;
    }
  }
}

TEST(DragWatch, TheWheelComesAtThePointerAfterExactlyTheRestDelay) {
  Session session;
  session.files = photo;
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
  EXPECT_EQ(session.shownAt.y, 10);
  // Not again in the same press, even after moving and resting elsewhere.
  session.tick(2.0, true, {400, 300});
  session.tick(3.0, true, {400, 300});
  EXPECT_EQ(session.shows, 1);
}

TEST(DragWatch, APressWithoutANewDragNeverShowsNorReadsTheFiles) {
  Session session;
  session.files = photo;
  session.tick(0, false, {0, 0});
  ++session.count;  // a drag that ended before this press (GTK resets the owner)
  session.tick(0.045, false, {0, 0});
  for (int i = 2; i < 40; ++i) session.tick(i * 0.045, true, {500, 400});
  EXPECT_EQ(session.shows, 0);
  EXPECT_EQ(session.reads, 0) << "the files are read only after a change during the press";
}

TEST(DragWatch, RefusedFilesAreReadAgainUntilTheSourceAnswers) {
  Session session;
  session.files = {};  // the source has not answered yet
  session.tick(0, false, {0, 0});
  session.tick(0.045, true, {0, 0});
  ++session.count;
  session.tick(0.09, true, {0, 0});
  session.tick(0.135, true, {0, 0});
  EXPECT_EQ(session.reads, 2);
  session.files = photo;  // now it has
  session.tick(0.18, true, {0, 0});
  EXPECT_TRUE(session.watch.accepted());
  for (int i = 5; i < 20; ++i) session.tick(i * 0.045, true, {0, 0});
  EXPECT_EQ(session.reads, 3) << "no reading once the drag is accepted";
  EXPECT_EQ(session.shows, 1);
}

TEST(DragWatch, NoDragIsTakenWhileABatchRunsOrTheSettingIsOffOrInTestMode) {
  for (const char* which : {"working", "setting off", "test mode"}) {
    Session session;
    session.files = photo;
    session.working = std::string(which) == "working";
    session.automatic = std::string(which) != "setting off";
    session.testing = std::string(which) == "test mode";
    session.drag([](int) { return Point{500, 400}; }, 40);
    EXPECT_EQ(session.shows, 0) << which;
    EXPECT_EQ(session.reads, 0) << which;
  }
}

TEST(DragWatch, AltFlipsTheWheelOnANewPressOnly) {
  Session session;
  session.files = photo;
  session.tick(0, false, {0, 0});
  session.tick(0.045, true, {0, 0});
  ++session.count;
  // Alt held from before the showing until after it.
  double now = 0.09;
  for (; now < 0.8; now += 0.045) session.tick(now, true, {0, 0}, true);
  ASSERT_EQ(session.shows, 1);
  EXPECT_EQ(session.toggles, 0) << "Alt held from before the showing does not flip";
  session.tick(now += 0.045, true, {0, 0}, false);
  session.tick(now += 0.045, true, {0, 0}, true);  // pressed
  EXPECT_TRUE(session.tools);
  session.tick(now += 0.045, true, {0, 0}, true);  // held
  session.tick(now += 0.045, true, {0, 0}, true);
  EXPECT_EQ(session.toggles, 1);
  session.tick(now += 0.045, true, {0, 0}, false);
  session.tick(now += 0.045, true, {0, 0}, true);  // pressed again
  EXPECT_FALSE(session.tools);
  EXPECT_EQ(session.toggles, 2);
  // With the button up, Alt does nothing.
  session.tick(now += 0.045, false, {0, 0}, false);
  session.tick(now += 0.01, false, {0, 0}, true);
  EXPECT_EQ(session.toggles, 2);
}

TEST(DragWatch, AReleaseHidesTheWheelStrictlyAfterTheGrace) {
  Session session;
  session.files = photo;
  session.drag([](int) { return Point{500, 400}; }, 10);
  ASSERT_EQ(session.shows, 1);
  const double release = 2.0;
  session.tick(release, false, {500, 400});
  ASSERT_TRUE(session.hideAfterDrag);
  EXPECT_EQ(*session.hideAfterDrag, release + DragWatch::hideGrace);
  session.tick(release + 0.1, false, {500, 400});
  session.tick(release + DragWatch::hideGrace, false, {500, 400});
  EXPECT_TRUE(session.visible) << "not at the deadline itself";
  session.tick(release + DragWatch::hideGrace + 1e-6, false, {500, 400});
  EXPECT_FALSE(session.visible);
  EXPECT_EQ(session.hides, 1);
}

TEST(DragWatch, AReleaseBeforeTheShowingHidesNothing) {
  Session session;
  session.files = photo;
  session.drag([](int i) { return Point{500.0 + 10 * i, 400}; }, 10);
  session.tick(1.0, false, {0, 0});
  session.tick(2.0, false, {0, 0});
  EXPECT_FALSE(session.hideAfterDrag);
  EXPECT_EQ(session.hides, 0);
}

TEST(UriList, DecodesLocalFileUris) {
  const struct {
    std::string list;
    Files files;
  } cases[] = {
      {"file:///home/a/photo.jpg\r\n", {"/home/a/photo.jpg"}},
      {"file://localhost/tmp/a%20b.png", {"/tmp/a b.png"}},
      {"file:///%E2%82%AC%25.jpg", {"/\u20ac%.jpg"}},
      {"FILE:///Upper/Case.PNG", {"/Upper/Case.PNG"}},
      {"# a comment\r\nfile:///a.png\r\nfile:///b.pdf\r\n", {"/a.png", "/b.pdf"}},
      {"file:///a.png\nfile:///b.gif\n", {"/a.png", "/b.gif"}},
      {std::string("file:///a.png\r\n\0", 16), {"/a.png"}},  // a NUL at the end
      {"file://otherhost/x.png", {}},
      {"https://example.org/x.png", {}},
      {"smb://server/share/x.png\r\nfile:///y.png", {"/y.png"}},
      {"file:///bad%2", {}},
      {"file:///bad%zz.png", {}},
      {"file:///nul%00.png", {}},
      {"/a/plain/path.png", {}},
      {"", {}},
      {"\r\n\r\n", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(decodeUriList(c.list), c.files) << c.list;
}

TEST(UriList, FoldersAreDropped) {
  QTemporaryDir folder;
  const std::string path = folder.path().toStdString();
  const std::string list = "file://" + path + "\r\nfile://" + path + "/photo.png\r\n";
  EXPECT_EQ(filesFromUriList(list), Files{fs::path(path) / "photo.png"});
  EXPECT_TRUE(filesFromUriList("file://" + path + "\r\n").empty()) << "a folder alone is nothing";
  EXPECT_FALSE(allSupported(filesFromUriList("file://" + path)));
}

}  // namespace
}  // namespace Whirlpane
