// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/tray_application.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <system_error>

#include "app/desktop/autostart.h"
#include "app/desktop/introduction_window.h"
#include "app/desktop/wheel_window.h"
#include "chrome/alerts.h"
#include "chrome/progress_toast.h"
#include "platform/platform.h"
#include "platform/portal/portal_shortcut.h"
#include "settings/settings.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_panel.h"
#include "whirlpane/formats.h"

namespace Whirlpane {
namespace {

// Where a wheel opened without a pointer position goes: the centre of the
// primary screen's available area, or the pointer when there is no screen.
QPointF screenCenter() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    return QRectF(screen->availableGeometry()).center();
  }
  return QCursor::pos();
}

// Where a wheel or toast asked for at the pointer goes: there where the
// program may read the pointer and place its windows; elsewhere (Wayland,
// where QCursor::pos() is only the last point seen over our own windows) the
// compositor places the window, and the screen's centre is only what Qt
// believes meanwhile.
QPointF pointerOrCenter() {
  return Platform::current().placesWindows() ? QPointF(QCursor::pos()) : screenCenter();
}

}  // namespace

std::vector<WheelAction> toolWedges() {
  std::vector<WheelAction> wedges;
  for (const EditorEntry& editor : editorTable()) {
    wedges.push_back({editor.wedgeLabel().toStdString(), editor.symbol, editor.key});
  }
  return wedges;
}

TrayApplication::TrayApplication(std::filesystem::path program)
    : program_(std::move(program)),
      editor_([this](const QString& message) { showError(message); }),
      batch_(program_) {}

TrayApplication::~TrayApplication() { batch_.stop(); }

void TrayApplication::launch(const LaunchOptions& options) {
  testing_ = options.testing;

  wheel_ = std::make_unique<WheelController>(Platform::current().compositing(), toolWedges());
  wheel_->busy = [this] { return working_; };
  wheel_->onAction = [this](const WheelAction& action, const Files& files) {
    perform(files, action);
  };
  wheel_->wheel()->onActionWithoutFiles = [this](const WheelAction& action) { chooseFile(action); };

  tray_.setIcon(QIcon(":/icons/whirlpane.svg"));
  //: The tray icon's tool tip.
  tray_.setToolTip(tr("Whirlpane \u2014 drag a file to convert or edit"));
  // The menu is made when it opens, so that its check marks are read afresh.
  connect(&tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason) {
    QMenu* shown = buildStatusMenu().release();
    connect(shown, &QMenu::aboutToHide, shown, &QObject::deleteLater);
    shown->popup(QCursor::pos());
  });
  // Shown even where no tray exists yet: a tray host that starts later (a
  // panel restarting) still gets the icon.
  tray_.show();
  // Where nothing shows the icon (GNOME without its extension), the program
  // has a window of its own, or it could not be reached at all.
  if (options.window || !QSystemTrayIcon::isSystemTrayAvailable()) showWindow();

  // Where the display takes no key grabs (Wayland, whose X server if any sees
  // only its own windows' keys), the desktop is asked instead.
  hotKey_ = Platform::current().grabHotKey([this] { showCurrentWheel(); });
  if (!hotKey_ || hotKey_->state() == HotKey::State::unavailable) {
    portalShortcut_ = std::make_unique<PortalShortcut>(QDBusConnection::sessionBus(),
                                                       [this] { showCurrentWheel(); });
  }
  if (hotKey_ && hotKey_->state() == HotKey::State::taken) {
    // Once, at launch: the program runs on without the key.
    //: "Open With" is the file manager's menu of programs for a file.
    const QString message =
        tr("Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Use the tray menu "
           "or Open With instead.");
    if (QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
      tray_.showMessage("Whirlpane", message);
    } else if (window_) {
      //: "Open With" is the file manager's menu of programs for a file.
      auto* box = new QMessageBox(QMessageBox::Information, "Whirlpane",
                                  tr("Another program uses Ctrl+Alt+Space, so it cannot open the "
                                     "wheel. Drop files on Whirlpane's window or use Open With "
                                     "instead."),
                                  QMessageBox::Ok, window_.get());
      box->setAttribute(Qt::WA_DeleteOnClose);
      box->show();
    } else {
      auto* box = new QMessageBox(QMessageBox::Information, "Whirlpane", message);
      box->setAttribute(Qt::WA_DeleteOnClose);
      box->show();
    }
  }

  // The tick runs while there is a drag to watch: from a press until the
  // button is up again and the wheel has nothing left to do for the drag. At
  // rest only the press watch asks the X server, on its own thread, so the
  // interface is not woken 22 times a second for nothing.
  timer_.setInterval(45);
  connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
  // The test mode keeps the watch from showing the wheel, but the pointer is
  // still read for a wheel that waits for a drag.
  dragReader_ = Platform::current().watchDrags([this] {
    if (testing_) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (!timer_.isActive()) timer_.start();
        },
        Qt::QueuedConnection);
  });
  clock_.start();
  if (dragReader_) {
    wheel_->buttonDown = [this]() -> std::optional<bool> {
      const std::optional<DragReader::Pointer> pointer = dragReader_->readPointer();
      if (!pointer) return std::nullopt;
      return pointer->down;
    };
  }

  // A launch that asks for something does that, without the introduction.
  const bool asks = options.open || options.format || options.editor || options.showWheel;
  if (!asks && !testing_ && !hasOpenedWhirlpane()) {
    showIntroduction();
    setHasOpenedWhirlpane();
  }
  if (asks || !options.allFiles().empty()) carryOut(options);
}

void TrayApplication::carryOut(const LaunchOptions& request) {
  const Files files = request.allFiles();
  if (request.format) {
    const std::string format = MediaEngine::normalized(*request.format);
    const WheelAction action{MediaEngine::asciiUpper(format), std::nullopt, format};
    // The wheel offers no conversion while a batch runs; a file manager's
    // menu may ask for one meanwhile, and it waits for its turn.
    if (working()) {
      waiting_.emplace_back(files, action);
    } else {
      perform(files, action);
    }
  } else if (request.editor) {
    setCurrentFiles(files);
    for (const auto& file : files) openEditor(*request.editor, file, std::nullopt);
  } else if (request.open) {
    setCurrentFiles(files);
    wheel_->showWheel(screenCenter(), request.tools, false, std::nullopt);
  } else if (request.showWheel) {
    showWheelForShortcut(request.tools);
  } else if (!files.empty()) {
    open(files, request.tools);
  } else if (request.window || window_) {
    showWindow();
  } else {
    showCurrentWheel();
  }
}

void TrayApplication::showWheelForShortcut(bool tools) {
  // The drag watch knows a drag's files only while its button is held.
  const bool dragging = buttonWasDown_ && !dragWatch_.pendingFiles().empty();
  if (dragging) {
    wheel_->showWheel(QCursor::pos(), tools, true, dragWatch_.pendingFiles());
  } else if (!currentFiles_.empty() || !window_) {
    wheel_->showWheel(pointerOrCenter(), tools, false, std::nullopt);
  } else {
    showWindow();
  }
}

void TrayApplication::showWindow() {
  if (!window_) {
    window_ = std::make_unique<WheelWindow>(toolWedges());
    WindowWheel* disc = window_->wheel();
    disc->onAction = [this](const WheelAction& action, const Files& files) {
      perform(files, action);
    };
    disc->onActionWithoutFiles = [this](const WheelAction& action) { chooseFile(action); };
    disc->onCenterClick = [this] { chooseFile(); };
    disc->onOpenWheel = [this](const Files& files, bool tools) {
      setCurrentFiles(files);
      const QPoint centre = window_->wheel()->mapToGlobal(window_->wheel()->rect().center());
      wheel_->showWheel(centre, tools, false, std::nullopt);
    };
    disc->onMenu = [this](QPoint at) {
      QMenu* shown = buildStatusMenu().release();
      connect(shown, &QMenu::aboutToHide, shown, &QObject::deleteLater);
      shown->popup(at);
    };
    // Without a tray the window is the program: closing it ends it.
    window_->onClose = [this] {
      if (!QSystemTrayIcon::isSystemTrayAvailable()) quit();
    };
  }
  window_->present();
}

bool TrayApplication::watchesDrags() const { return dragReader_ && !testing_; }

void TrayApplication::tick() {
  if (!watchesDrags()) return;
  const std::optional<DragReader::Pointer> pointer = dragReader_->readPointer();
  if (!pointer) return;
  DragWatch::Readings in;
  in.down = pointer->down;
  in.alt = pointer->alt;
  in.now = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
  if (pointer->down) {
    // X gives device pixels; the rest radius is in logical points.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double ratio = screen ? screen->devicePixelRatio() : 1.0;
    in.pointer = {pointer->x / ratio, pointer->y / ratio};
    // The setting file is read once a press, not on every tick.
    if (!buttonWasDown_) automaticAtPress_ = automaticDrag();
  }
  buttonWasDown_ = pointer->down;
  in.changeCount = dragReader_->changeCount();
  in.wheelVisible = wheel_->panel()->isVisible();
  in.dragSession = wheel_->dragSession();
  in.showingTools = wheel_->showingTools();
  in.hideAfterDrag = wheel_->hideAfterDrag;
  in.working = working();
  in.automaticDrag = automaticAtPress_;
  const DragWatch::Step step =
      dragWatch_.tick(in, [this] { return filesFromUriList(dragReader_->uriList()); });
  if (step.setToolMode) wheel_->setToolMode(*step.setToolMode);
  if (step.hideAfterDrag) wheel_->hideAfterDrag = step.hideAfterDrag;
  // Centred on the pointer in Qt's logical coordinates (right on HiDPI
  // screens too).
  if (step.showAt) wheel_->showWheel(QCursor::pos(), false, true, step.files);
  if (step.hide) wheel_->hideWheel();
  // Back to rest once the press is over and the wheel is not waiting on it.
  if (!pointer->down && !wheel_->hideAfterDrag && !wheel_->dragSession()) timer_.stop();
}

void TrayApplication::open(const Files& files, bool tools) {
  setCurrentFiles(supportedOnly(files));
  for (const auto& file : files) {
    if (!supported(file)) leftOut_.push_back(file);
  }
  if (!currentFiles_.empty()) wheel_->showWheel(pointerOrCenter(), tools, false, std::nullopt);
}

void TrayApplication::setCurrentFiles(Files files) {
  leftOut_.clear();
  currentFiles_ = std::move(files);
  wheel_->currentFiles = currentFiles_;
}

void TrayApplication::showWheelAtPointer() {
  wheel_->showWheel(pointerOrCenter(), false, false, std::nullopt);
}

void TrayApplication::showCurrentWheel() {
  if (wheel_->panel()->isVisible()) {
    wheel_->hideWheel();
  } else if (!currentFiles_.empty()) {
    showWheelAtPointer();
  } else {
    chooseFile();
  }
}

void TrayApplication::chooseFile(std::optional<WheelAction> then) {
  wheel_->hideWheel();
  //: The file chooser's title.
  auto* dialog = new QFileDialog(nullptr, tr("Choose a file to convert or edit."));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFileMode(QFileDialog::ExistingFiles);
  //: The file chooser's filter: the extensions follow in brackets.
  dialog->setNameFilter(sourceNameFilter(tr("Images and PDFs"), true));
  connect(dialog, &QFileDialog::filesSelected, this, [this, then](const QStringList& chosen) {
    Files files;
    for (const QString& file : chosen) files.emplace_back(file.toStdString());
    setCurrentFiles(files);
    const auto takes = [&then](const std::filesystem::path& file) {
      const std::vector<WheelAction> offered = WheelAction::convertibleTo(file);
      return std::any_of(offered.begin(), offered.end(),
                         [&then](const WheelAction& action) { return action.key == then->key; });
    };
    if (then && (editor_.hasEditor(then->key) || std::all_of(files.begin(), files.end(), takes))) {
      perform(files, *then);
    } else {
      showWheelAtPointer();
    }
  });
  dialog->open();
  dialog->activateWindow();
}

void TrayApplication::showIntroduction() {
  if (!introduction_) {
    introduction_ = std::make_unique<IntroductionWindow>(
        Platform::current().canWatchDrags(), window_ != nullptr, [this] { chooseFile(); });
  }
  introduction_->show();
  introduction_->raise();
  introduction_->activateWindow();
}

void TrayApplication::toggleAutomatic() { setAutomaticDrag(!automaticDrag()); }

void TrayApplication::toggleLogin() {
  try {
    setOpensAtLogin(!opensAtLogin(), program_);
  } catch (const std::system_error& error) {
    showError(QString::fromStdString(error.what()));
  }
}

void TrayApplication::quit() {
  batch_.stop();
  qApp->quit();
}

void TrayApplication::showError(const QString& text, int files) {
  showErrorAlert(text, alertParent(), files);
}

QStringList TrayApplication::leftOutLines(const Files& files) {
  QStringList lines;
  for (const auto& file : files) {
    const QString name = QString::fromStdString(file.filename().string());
    if (file.extension().empty()) {
      //: A file the wheel was opened with but cannot take; %1 is its name.
      lines << tr("%1: left out, because it has no extension that tells its format.").arg(name);
    } else {
      //: A file the wheel was opened with but cannot take; %1 is its name.
      lines << tr("%1: left out, because Whirlpane takes only images and PDFs.").arg(name);
    }
  }
  return lines;
}

QWidget* TrayApplication::alertParent() const {
  // The window the user is in, when it is one of ours; else an open editor,
  // which would otherwise hide the alert and be blocked by it.
  QWidget* active = QApplication::activeWindow();
  if (active && active->isVisible() && editor_.editorOf(active)) return active;
  for (QWidget* window : editor_.openWindows()) {
    if (window->isVisible()) return window;
  }
  return nullptr;
}

std::unique_ptr<QMenu> TrayApplication::buildStatusMenu() {
  auto menu = std::make_unique<QMenu>();
  menu->setObjectName("status-menu");
  QAction* heading = menu->addAction("Whirlpane");
  heading->setEnabled(false);
  menu->addSeparator();
  //: The tray menu's item that opens the file chooser.
  QAction* openFile = menu->addAction(tr("Open File\u2026"), this, [this] { chooseFile(); });
  openFile->setShortcut(QKeySequence("Ctrl+O"));
  //: The wheel is Whirlpane's round menu of formats and tools.
  menu->addAction(tr("Show Wheel"), this, [this] { showCurrentWheel(); });
  //: A check item: the wheel comes up by itself while files are dragged.
  QAction* automatic =
      menu->addAction(tr("Show When Dragging Files"), this, [this] { toggleAutomatic(); });
  automatic->setCheckable(true);
  automatic->setChecked(automaticDrag());
  if (!Platform::current().canWatchDrags()) {
    // Wayland (or no X11 display): the watch never runs here.
    automatic->setToolTip(
        window_
            //: Where the program has its own window (no tray).
            ? tr("No effect on this desktop: files dragged here do not open the wheel by "
                 "themselves, because Wayland lets no program watch other programs' drags. Drop "
                 "the files on Whirlpane's window instead.")
            //: "Show Wheel" is the menu item of that name.
            : tr("No effect on this desktop: files dragged here do not open the wheel by "
                 "themselves, because Wayland lets no program watch other programs' drags. Choose "
                 "Show Wheel and drop the files on it instead."));
  }
  menu->setToolTipsVisible(true);
  //: The tray menu's item that shows the introduction again.
  menu->addAction(tr("How to Use\u2026"), this, [this] { showIntroduction(); });
  //: A check item: Whirlpane starts when the user logs in.
  QAction* login = menu->addAction(tr("Open at Login"), this, [this] { toggleLogin(); });
  login->setCheckable(true);
  login->setChecked(opensAtLogin());
  menu->addSeparator();
  //: The tray menu's last item: ends the program.
  QAction* quitAction = menu->addAction(tr("Quit Whirlpane"), this, [this] { quit(); });
  quitAction->setShortcut(QKeySequence("Ctrl+Q"));
  return menu;
}

void TrayApplication::openEditor(const std::string& key, const std::filesystem::path& file,
                                 std::optional<QPointF> at) {
  editor_.open(key, file, at,
               [this](const std::filesystem::path& saved) { setCurrentFiles({saved}); });
}

void TrayApplication::perform(const Files& files, const WheelAction& action, std::string password) {
  const QPointF pointer = pointerOrCenter();
  const QPointF center = QRectF(wheel_->panel()->frameGeometry()).center();
  // What the open request left out is reported with what happens to the rest.
  const Files leftOut = files == currentFiles_ ? leftOut_ : Files{};
  if (editor_.hasEditor(action.key)) {
    setCurrentFiles(files);
    wheel_->hideWheel();
    for (const auto& file : files) openEditor(action.key, file, center);
    if (!leftOut.empty()) {
      showError(leftOutLines(leftOut).join("\n\n"), static_cast<int>(leftOut.size()));
    }
    return;
  }
  if (working()) return;
  leftOutOfBatch_ = leftOut;
  wheel_->hideWheel();
  toast_ = std::make_unique<ProgressToast>(progressTitle(action.label),
                                           static_cast<int>(files.size()), pointer);
  toast_->onCancel = [this] { batch_.cancel(); };
  toast_->show();
  working_ = true;
  batchAction_ = action;
  batchWithPassword_ = !password.empty();
  // The worker's reports are queued to this thread, so they arrive in order
  // and the end comes after the last progress.
  batch_.start(
      files, action.key,
      [this](int saved, int total) {
        QMetaObject::invokeMethod(
            this, [this, saved, total] { batchProgressed(saved, total); }, Qt::QueuedConnection);
      },
      [this](BatchConversion::Result result) {
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result)]() mutable { batchFinished(std::move(result)); },
            Qt::QueuedConnection);
      },
      otherFolder_, std::move(password));
}

void TrayApplication::chooseOtherFolder(const Files& files, const WheelAction& action) {
  //: The folder chooser's title, for converted files their own folder cannot take.
  auto* dialog = new QFileDialog(nullptr, tr("Choose a folder for the converted files"));
  dialog->setObjectName("other-folder-chooser");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  connect(dialog, &QFileDialog::fileSelected, this, [this, files, action](const QString& chosen) {
    otherFolder_ = chosen.toStdString();
    if (working()) {
      waiting_.emplace_back(files, action);
    } else {
      perform(files, action);
    }
  });
  dialog->open();
  dialog->activateWindow();
}

QString TrayApplication::progressTitle(const std::string& format) {
  //: The progress toast's title; %1 is a format name such as PNG.
  return tr("Converting to %1").arg(QString::fromStdString(format));
}

void TrayApplication::batchProgressed(int saved, int total) {
  if (toast_) toast_->update(saved, total);
}

void TrayApplication::batchFinished(BatchConversion::Result result) {
  working_ = false;
  if (toast_) toast_->finish();
  if (!result.outputs.empty()) setCurrentFiles({result.outputs.back()});
  QStringList lines = leftOutLines(std::exchange(leftOutOfBatch_, {}));
  for (const std::string& line : result.failures) lines << QString::fromStdString(line);
  if (!lines.empty()) {
    QMessageBox* alert =
        showErrorAlert(lines.join("\n\n"), alertParent(), static_cast<int>(lines.size()));
    if (!result.unwritable.empty()) {
      //: The failure alert's button for files whose folder cannot take the converted files.
      QPushButton* choose =
          alert->addButton(tr("Choose Another Folder\u2026"), QMessageBox::AcceptRole);
      choose->setObjectName("choose-other-folder");
      connect(choose, &QPushButton::clicked, this,
              [this, files = std::move(result.unwritable), action = batchAction_] {
                chooseOtherFolder(files, action);
              });
    }
  }
  for (auto& file : result.locked) locked_.push_back({file, batchAction_.key, batchWithPassword_});
  if (unlockWaiting_) {
    auto [locked, password] = std::move(*std::exchange(unlockWaiting_, std::nullopt));
    perform({locked.file}, {MediaEngine::asciiUpper(locked.format), std::nullopt, locked.format},
            std::move(password));
  } else if (!waiting_.empty()) {
    auto [files, action] = std::move(waiting_.front());
    waiting_.pop_front();
    perform(files, action);
  }
  askForPassword();
}

void TrayApplication::askForPassword() {
  if (passwordAlert_ || locked_.empty()) return;
  Locked locked = std::move(locked_.front());
  locked_.pop_front();
  passwordAlert_ = askPDFPassword(
      QString::fromStdString(locked.file.filename().string()), locked.wrong, alertParent(),
      [this, locked](const QString& typed) {
        std::string password = typed.toStdString();
        if (working()) {
          unlockWaiting_.emplace(locked, std::move(password));
        } else {
          perform({locked.file},
                  {MediaEngine::asciiUpper(locked.format), std::nullopt, locked.format},
                  std::move(password));
        }
      });
  // The next locked file is asked for once this alert has gone.
  connect(passwordAlert_.data(), &QObject::destroyed, this, [this] {
    QMetaObject::invokeMethod(
        this, [this] { askForPassword(); }, Qt::QueuedConnection);
  });
}

}  // namespace Whirlpane
