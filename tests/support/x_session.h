// A private X desktop for one test: Xvfb on a display of its own, openbox as
// the window manager, and on request the xcompmgr compositor and a private
// D-Bus session (on which the accessibility bus starts when first asked
// for), with HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR in a scratch folder.
// Programs started through it see only that desktop.
//
// Every program runs in a process group of its own and gets SIGKILL if the
// test process dies; when the session (or the Program) goes, its whole group
// is stopped, and whatever those programs left orphaned is reaped.
#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

namespace TestSupport {

// A program started for a test, talking line by line.
class Program {
 public:
  // Its standard error goes to the file `errorLog` (nowhere when empty).
  Program(const QString& path, const QStringList& arguments, const QProcessEnvironment& environment,
          const QString& errorLog = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return started_; }
  qint64 pid() const { return process_.processId(); }

  // Writes `words`, separated by tabs, as one line on its standard input.
  void send(const QStringList& words);

  // The first line of standard output not yet taken that starts with
  // `prefix`, waiting up to `milliseconds` for it; lines before it are
  // taken too. None when it does not come.
  std::optional<QString> waitFor(const QString& prefix, int milliseconds = 10'000);

  // Every line of standard output so far, taken or not.
  const QStringList& lines();

  // Closes its standard input and waits for it to exit: its exit status, or
  // none when it crashed or did not end within `milliseconds`.
  std::optional<int> finish(int milliseconds = 10'000);

  // What it wrote on standard error so far.
  QString errors() const;

 private:
  void readAvailable();

  QString errorLog_;
  QProcess process_;
  bool started_ = false;
  QStringList lines_;
  qsizetype taken_ = 0;
  QByteArray partial_;
};

class XSession {
 public:
  struct Options {
    QSize size{1280, 800};
    bool compositor = false;
    bool dbus = false;
  };

  explicit XSession(Options options);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  // Empty when the desktop is up; otherwise what went wrong.
  const QString& failure() const { return failure_; }
  const QString& display() const { return display_; }
  QProcessEnvironment environment() const { return environment_; }

  // Starts `path` on this desktop, with `extra` added to its environment.
  std::unique_ptr<Program> start(const QString& path, const QStringList& arguments = {},
                                 const QProcessEnvironment& extra = {});

  // Runs `path` to its end (such as xdotool) and returns its standard
  // output; a test failure when it does not exit with 0.
  QString run(const QString& path, const QStringList& arguments);

  // The viewable top-level window titled `title`, if any, and its frame in
  // root coordinates.
  std::optional<xcb_window_t> windowTitled(const QString& title) const;
  std::optional<QRect> geometry(xcb_window_t window) const;

  // The window with the keyboard focus.
  xcb_window_t focus() const;

  // The names of `window`'s _NET_WM_STATE atoms.
  QStringList netWmStates(xcb_window_t window) const;

  // Paints the root window in `colour` where no window covers it.
  void setBackground(QRgb colour);

  // What the screen shows now.
  QImage screenshot() const;

  // Polls `condition` every 20 ms until it holds or `milliseconds` pass.
  static bool eventually(const std::function<bool()>& condition, int milliseconds = 10'000);

 private:
  QString atomName(xcb_atom_t atom) const;

  QTemporaryDir home_;
  QProcessEnvironment environment_;
  QString display_;
  QString failure_;
  std::unique_ptr<Program> server_;
  std::unique_ptr<Program> windowManager_;
  std::unique_ptr<Program> compositor_;
  std::unique_ptr<Program> bus_;
  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
};

}  // namespace TestSupport
