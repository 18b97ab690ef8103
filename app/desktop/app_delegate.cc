#include "app/desktop/app_delegate.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <system_error>

#include "app/chrome/desktop_glass.h"
#include "app/chrome/progress_toast.h"
#include "app/desktop/app_settings.h"
#include "app/desktop/autostart.h"
#include "app/desktop/drag_reader.h"
#include "app/desktop/hot_key.h"
#include "app/desktop/introduction_window.h"
#include "app/desktop/portal_shortcut.h"
#include "app/desktop/press_watch.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_panel.h"

namespace Whirlpane {
namespace {

const QString trayToolTip = QString::fromUtf8("Whirlpane \u2014 drag a file to convert or edit");
const QString errorTitle = QString::fromUtf8("Couldn\u2019t complete this file");

// Where a wheel opened without a pointer position goes: the centre of the
// primary screen's available area, or the pointer when there is no screen.
QPointF screenCentre() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    return QRectF(screen->availableGeometry()).center();
  }
  return QCursor::pos();
}

// The drag watch needs an X server; Wayland gives no global drag signal.
bool dragWatchAvailable() { return QGuiApplication::platformName() == "xcb"; }

}  // namespace

AppDelegate::AppDelegate(std::filesystem::path program)
    : program_(std::move(program)),
      editor_([this](const QString& message) { showError(message); }),
      batch_(program_) {}

AppDelegate::~AppDelegate() {
  qApp->removeEventFilter(this);
  batch_.stop();
}

void AppDelegate::launch(const LaunchOptions& options) {
  testing_ = options.testing;

  wheel_ = std::make_unique<WheelController>(compositorRunning());
  wheel_->onAction = [this](const WheelAction& action, const Files& urls) {
    perform(urls, action);
  };

  tray_.setIcon(QIcon(":/icons/whirlpane.svg"));
  tray_.setToolTip(trayToolTip);
  // The menu is made when it opens, so that its check marks are read afresh.
  connect(&tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason) {
    QMenu* shown = buildStatusMenu().release();
    connect(shown, &QMenu::aboutToHide, shown, &QObject::deleteLater);
    shown->popup(QCursor::pos());
  });
  // Shown even where no tray exists yet: a tray host that starts later (a
  // panel restarting) still gets the icon.
  tray_.show();

  // On X11 the key is grabbed on the server; under Wayland an X server (if
  // any) sees only its own windows' keys, so the desktop is asked instead.
  if (QGuiApplication::platformName() == "xcb") {
    hotKey_ = std::make_unique<HotKey>([this] { showCurrentWheel(); });
  }
  if (!hotKey_ || hotKey_->state() == HotKey::State::unavailable) {
    portalShortcut_ = std::make_unique<PortalShortcut>(QDBusConnection::sessionBus(),
                                                       [this] { showCurrentWheel(); });
  }
  if (hotKey_ && hotKey_->state() == HotKey::State::taken) {
    // Once, at launch: the program runs on without the key.
    const QString message = QStringLiteral(
        "Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Use the tray menu "
        "or Open With instead.");
    if (QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
      tray_.showMessage("Whirlpane", message);
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
  if (!testing_ && dragWatchAvailable()) {
    dragReader_ = std::make_unique<DragReader>();
    clock_.start();
    if (dragReader_->available()) {
      pressWatch_ = std::make_unique<PressWatch>([this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
              if (!timer_.isActive()) timer_.start();
            },
            Qt::QueuedConnection);
      });
    }
  }

  qApp->installEventFilter(this);

  if (options.open) {
    setCurrentFiles({*options.open});
    if (options.editor) {
      openEditor(*options.editor, currentFiles_.front(), std::nullopt);
    } else {
      wheel_->showWheel(screenCentre(), options.tools, false, std::nullopt);
    }
    return;
  }
  if (!testing_ && !hasOpenedWhirlpane()) {
    showIntroduction();
    setHasOpenedWhirlpane();
  }
  if (!options.files.empty()) open(options.files);
}

bool AppDelegate::watchesDrags() const { return dragReader_ && dragReader_->available(); }

void AppDelegate::tick() {
  if (testing_ || !watchesDrags()) return;
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
  const DragWatch::Step step = dragWatch_.tick(in, [this] { return dragReader_->files(); });
  if (step.setToolMode) wheel_->setToolMode(*step.setToolMode);
  if (step.hideAfterDrag) wheel_->hideAfterDrag = step.hideAfterDrag;
  // Centred on the pointer in Qt's logical coordinates (right on HiDPI
  // screens too).
  if (step.showAt) wheel_->showWheel(QCursor::pos(), false, true, step.files);
  if (step.hide) wheel_->hideWheel();
  // Back to rest once the press is over and the wheel is not waiting on it.
  if (!pointer->down && !wheel_->hideAfterDrag && !wheel_->dragSession()) timer_.stop();
}

void AppDelegate::open(const Files& files) {
  setCurrentFiles(supportedOnly(files));
  if (!currentFiles_.empty()) showWheelAtPointer();
}

void AppDelegate::setCurrentFiles(Files files) {
  currentFiles_ = std::move(files);
  wheel_->currentFiles = currentFiles_;
}

void AppDelegate::showWheelAtPointer() {
  wheel_->showWheel(QCursor::pos(), false, false, std::nullopt);
}

void AppDelegate::showCurrentWheel() {
  if (wheel_->panel()->isVisible()) {
    wheel_->hideWheel();
  } else if (!currentFiles_.empty()) {
    showWheelAtPointer();
  } else {
    chooseFile();
  }
}

void AppDelegate::chooseFile() {
  wheel_->hideWheel();
  auto* dialog = new QFileDialog(nullptr, "Choose a file to convert or edit.");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFileMode(QFileDialog::ExistingFiles);
  dialog->setNameFilter(
      "Images and PDFs (*.png *.jpg *.jpeg *.heic *.heif *.webp *.tif *.tiff *.avif *.bmp *.gif "
      "*.pdf *.PNG *.JPG *.JPEG *.HEIC *.HEIF *.WEBP *.TIF *.TIFF *.AVIF *.BMP *.GIF *.PDF)");
  connect(dialog, &QFileDialog::filesSelected, this, [this](const QStringList& chosen) {
    Files files;
    for (const QString& file : chosen) files.emplace_back(file.toStdString());
    setCurrentFiles(files);
    showWheelAtPointer();
  });
  dialog->open();
  dialog->activateWindow();
}

void AppDelegate::showIntroduction() {
  if (!introduction_) {
    introduction_ =
        std::make_unique<IntroductionWindow>(dragWatchAvailable(), [this] { chooseFile(); });
  }
  introduction_->show();
  introduction_->raise();
  introduction_->activateWindow();
}

void AppDelegate::toggleAutomatic() { setAutomaticDrag(!automaticDrag()); }

void AppDelegate::toggleLogin() {
  try {
    setOpensAtLogin(!opensAtLogin(), program_);
  } catch (const std::system_error& error) {
    showError(QString::fromStdString(error.what()));
  }
}

void AppDelegate::quit() {
  batch_.stop();
  qApp->quit();
}

void AppDelegate::showError(const QString& text) {
  auto* alert = new QMessageBox(QMessageBox::Warning, "Whirlpane", errorTitle, QMessageBox::Ok);
  alert->setObjectName("error-alert");
  alert->setInformativeText(text);
  alert->setWindowModality(Qt::ApplicationModal);
  alert->setAttribute(Qt::WA_DeleteOnClose);
  alert->show();
  alert->raise();
  alert->activateWindow();
}

std::unique_ptr<QMenu> AppDelegate::buildStatusMenu() {
  auto menu = std::make_unique<QMenu>();
  menu->setObjectName("status-menu");
  QAction* heading = menu->addAction("Whirlpane");
  heading->setEnabled(false);
  menu->addSeparator();
  QAction* openFile =
      menu->addAction(QString::fromUtf8("Open File\u2026"), this, [this] { chooseFile(); });
  openFile->setShortcut(QKeySequence("Ctrl+O"));
  menu->addAction("Show Wheel", this, [this] { showCurrentWheel(); });
  QAction* automatic =
      menu->addAction("Show When Dragging Files", this, [this] { toggleAutomatic(); });
  automatic->setCheckable(true);
  automatic->setChecked(automaticDrag());
  if (!dragWatchAvailable()) {
    // Wayland (or no X11 display): the watch never runs here.
    automatic->setToolTip(
        "No effect on this desktop: files dragged here do not open the wheel by themselves, "
        "because Wayland lets no program watch other programs' drags. Choose Show Wheel and "
        "drop the files on it instead.");
  }
  menu->setToolTipsVisible(true);
  menu->addAction(QString::fromUtf8("How to Use\u2026"), this, [this] { showIntroduction(); });
  QAction* login = menu->addAction("Open at Login", this, [this] { toggleLogin(); });
  login->setCheckable(true);
  login->setChecked(opensAtLogin());
  menu->addSeparator();
  QAction* quitAction = menu->addAction("Quit Whirlpane", this, [this] { quit(); });
  quitAction->setShortcut(QKeySequence("Ctrl+Q"));
  return menu;
}

void AppDelegate::openEditor(const std::string& key, const std::filesystem::path& url,
                             std::optional<QPointF> at) {
  editor_.open(key, url, at,
               [this](const std::filesystem::path& saved) { setCurrentFiles({saved}); });
}

void AppDelegate::perform(const Files& urls, const WheelAction& action) {
  const QPointF pointer = QCursor::pos();
  const QPointF centre = QRectF(wheel_->panel()->frameGeometry()).center();
  if (WheelAction::isTool(action.key)) {
    setCurrentFiles(urls);
    wheel_->hideWheel();
    for (const auto& url : urls) openEditor(action.key, url, centre);
    return;
  }
  if (working()) return;
  wheel_->hideWheel();
  toast_ = std::make_unique<ProgressToast>("Converting to " + QString::fromStdString(action.label),
                                           static_cast<int>(urls.size()), pointer);
  toast_->onCancel = [this] { batch_.cancel(); };
  toast_->show();
  working_ = true;
  wheel_->working = true;
  // The worker's reports are queued to this thread, so they arrive in order
  // and the end comes after the last progress.
  batch_.start(
      urls, action.key,
      [this](int saved, int total) {
        QMetaObject::invokeMethod(
            this, [this, saved, total] { batchProgressed(saved, total); }, Qt::QueuedConnection);
      },
      [this](BatchConversion::Result result) {
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result)]() mutable { batchFinished(std::move(result)); },
            Qt::QueuedConnection);
      });
}

void AppDelegate::batchProgressed(int saved, int total) {
  if (toast_) toast_->update(saved, total);
}

void AppDelegate::batchFinished(BatchConversion::Result result) {
  working_ = false;
  wheel_->working = false;
  if (toast_) toast_->finish();
  if (!result.outputs.empty()) setCurrentFiles({result.outputs.back()});
  if (!result.failures.empty()) {
    QStringList lines;
    for (const std::string& line : result.failures) lines << QString::fromStdString(line);
    showError(lines.join("\n\n"));
  }
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !wheel_ || !wheel_->panel()->isVisible()) return false;
  if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
  // Escape typed into another window of ours (an editor) is that window's.
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget && widget->window() != static_cast<QWidget*>(wheel_->panel())) return false;
  wheel_->hideWheel();
  return true;
}

}  // namespace Whirlpane
