// SPDX-License-Identifier: GPL-3.0-or-later
// The running desktop program: the tray icon and its menu, the hot key, the
// wheel, the program's own window (where no tray shows the icon, or when asked
// for), open requests from the desktop, the introduction, the error alert,
// and the conversions the wheel starts (one batch at a time, each file in a
// child process). Everything here runs on the main thread; the batch reports
// back through queued calls, in order.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/desktop/batch_conversion.h"
#include "app/desktop/drag_watch.h"
#include "app/desktop/launch_options.h"
#include "editors/editor_coordinator.h"
#include "wheel/wheel_action.h"

class QMenu;
class QMessageBox;

namespace Whirlpane {

class DragReader;
class HotKey;
class PortalShortcut;
class IntroductionWindow;
class ProgressToast;
class SingleInstance;
class WheelController;
class WheelWindow;

// The tools wheel's wedges: one per editor of the editor table, in its order.
std::vector<WheelAction> toolWedges();

class TrayApplication : public QObject {
  Q_OBJECT

 public:
  using Files = std::vector<std::filesystem::path>;

  // `program` is the whirlpane executable (batch children and login entry).
  explicit TrayApplication(std::filesystem::path program);
  ~TrayApplication() override;

  // The launch sequence, in order: wheel, tray, hot key, timer and drag
  // watch, launch options, introduction on first run.
  void launch(const LaunchOptions& options);

  // What a launch asks for, from this launch or handed over by a later one
  // (whose request requestProblem() passed): "--to" converts the files as a
  // drop on that format's wedge; "--editor" opens the editor on each file;
  // "--open" shows the wheel (or the tools, with "--tools") for its file at
  // the centre of the screen; "--show-wheel" is showWheelForShortcut();
  // files alone are an open request; "--window" shows the window; nothing at
  // all (a second plain "whirlpane") brings the window to the front where
  // there is one, else shows the program as showCurrentWheel() does.
  void carryOut(const LaunchOptions& request);

  // An open request (Open With): the supported files become the current
  // files, even when none is left; with any, the formats wheel (or the tools
  // wheel) comes up at the pointer. The files left out are named, with the
  // reason, in the alert of what the wheel does with the others.
  void open(const Files& files, bool tools = false);

  // The wheel's choice: a tool opens one editor per file; a format converts
  // the files as one batch, unless a batch is running already. A locked PDF
  // among them brings up an alert asking for its password, and is converted
  // again, alone, with the password typed (`password`, used for that batch
  // only); a wrong one is said so and asked for again.
  void perform(const Files& files, const WheelAction& action, std::string password = {});

  // The menu's and the hot key's rule: a visible wheel is hidden; otherwise
  // remembered files get the formats wheel at the pointer; otherwise the file
  // chooser opens.
  void showCurrentWheel();
  // "--show-wheel", the command a desktop's own keyboard shortcut runs: the
  // formats wheel (the tools with `tools`) at the pointer for the files of
  // the drag in progress, else the current files; with neither, the window
  // where there is one, else the wheel without files.
  void showWheelForShortcut(bool tools);
  // The program's own window (made on first use), at the front.
  void showWindow();
  // The file chooser. With `then`, a wedge chosen before any file was: the
  // chosen files go straight to it where they all can (a tool, or a format
  // each of them converts to); otherwise, and without `then`, the formats
  // wheel comes up for them.
  void chooseFile(std::optional<WheelAction> then = std::nullopt);
  void showIntroduction();
  void toggleAutomatic();
  void toggleLogin();
  // Stops a running batch politely (its children remove their own working
  // files) and ends the program.
  void quit();
  // "Couldn’t complete this file" (or "… 3 files" for `files` more than
  // one) with `text` as the detail, without blocking the caller: over the
  // editor the user is in, or any open editor, modal to it alone; with no
  // editor open, application modal.
  void showError(const QString& text, int files = 1);

  // The progress toast's title for a batch converting to `format` (a label
  // of the formats wheel): "Converting to PNG".
  static QString progressTitle(const std::string& format);

  // The tray menu as it would open now, built anew each time.
  std::unique_ptr<QMenu> buildStatusMenu();

  // Called every 45 ms by the timer: the drag watch, fed
  // by the X server's readings; idle in the test mode and without X11.
  void tick();
  // Whether drags bring the wheel up by themselves here (an X11 display
  // with XFixes, and not the test mode).
  bool watchesDrags() const;

  // State, for tests and the drag watch.
  const Files& currentFiles() const { return currentFiles_; }
  bool working() const { return working_; }
  WheelController& wheel() { return *wheel_; }
  QSystemTrayIcon& tray() { return tray_; }
  HotKey* hotKey() const { return hotKey_.get(); }
  PortalShortcut* portalShortcut() const { return portalShortcut_.get(); }
  ProgressToast* toast() const { return toast_.get(); }
  IntroductionWindow* introduction() const { return introduction_.get(); }
  WheelWindow* window() const { return window_.get(); }
  const EditorCoordinator& editors() const { return editor_; }
  // Ends the running batch and stops the files in progress, as the toast's
  // close button does.
  void cancelConversion() { batch_.cancel(); }

 private:
  void openEditor(const std::string& key, const std::filesystem::path& file,
                  std::optional<QPointF> at);
  void batchProgressed(int saved, int total);
  void batchFinished(BatchConversion::Result result);
  // Asks for the password of the next locked PDF, unless an alert asks already.
  void askForPassword();
  // Asks for a folder for `files`, whose own folders would not take their
  // outputs, and converts them into it with `action`; the folder takes every
  // such file from then on, until the program ends.
  void chooseOtherFolder(const Files& files, const WheelAction& action);
  void showWheelAtPointer();
  // One alert line for each file an open request left out: its name and why.
  static QStringList leftOutLines(const Files& files);
  // The window an alert belongs over: the active editor, else a visible one.
  QWidget* alertParent() const;
  // The files the wheel acts on when it opens without a drag, here and in
  // the wheel.
  void setCurrentFiles(Files files);

  std::filesystem::path program_;
  std::unique_ptr<WheelController> wheel_;
  QSystemTrayIcon tray_;
  std::unique_ptr<HotKey> hotKey_;
  std::unique_ptr<PortalShortcut> portalShortcut_;
  QTimer timer_;
  std::unique_ptr<IntroductionWindow> introduction_;
  std::unique_ptr<WheelWindow> window_;
  std::unique_ptr<ProgressToast> toast_;
  EditorCoordinator editor_;
  BatchConversion batch_;
  Files currentFiles_;
  bool working_ = false;
  WheelAction batchAction_;  // the running batch's
  // Where the outputs go of files whose own folder may not be written or is
  // full, once the user has chosen it.
  std::filesystem::path otherFolder_;
  // The files an open request left out of the current files, and those of
  // them the running batch reports.
  Files leftOut_;
  Files leftOutOfBatch_;
  // Conversions asked for while a batch runs, in order.
  std::deque<std::pair<Files, WheelAction>> waiting_;
  // Locked PDFs: those waiting to be asked for, the one whose password was
  // typed while a batch ran (converted next), and the alert asking now.
  struct Locked {
    std::filesystem::path file;
    std::string format;
    bool wrong = false;  // a password was tried and did not open it
  };
  std::deque<Locked> locked_;
  std::optional<std::pair<Locked, std::string>> unlockWaiting_;
  QPointer<QMessageBox> passwordAlert_;
  bool batchWithPassword_ = false;
  bool testing_ = false;
  // The drag watch: its decisions, its X11 readings, its clock, and the
  // "automaticDrag" setting as read when the button last went down.
  DragWatch dragWatch_;
  std::unique_ptr<DragReader> dragReader_;  // after timer_: its press watch posts to it
  QElapsedTimer clock_;
  bool buttonWasDown_ = false;
  bool automaticAtPress_ = true;
};

}  // namespace Whirlpane
