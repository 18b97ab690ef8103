// A test program that shows the wheel on a real display: one WheelController
// driven by tab-separated commands on standard input, one a line, reporting
// on standard output what the wheel asks for.
//   show X Y drag|menu formats|tools [FILE...]  -> shown; nudged, once a drag
//                                                  showing has moved the pointer
//   hide                                        -> hidden, whenever it goes
//   wallpaper IMAGE     a picture behind all windows (for `make screenshots`)
// Also reported: "compositor yes|no", "ready", "action KEY FILE...".
#include <unistd.h>

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <string>

#include "app/chrome/desktop_glass.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_panel.h"

namespace {

using namespace Whirlpane;

void report(const QStringList& words) {
  std::printf("%s\n", qPrintable(words.join('\t')));
  std::fflush(stdout);
}

WheelController::Files paths(const QStringList& words, qsizetype from) {
  WheelController::Files files;
  for (qsizetype i = from; i < words.size(); ++i) files.emplace_back(words[i].toStdString());
  return files;
}

class HideWatcher : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) report({"hidden"});
    return false;
  }
};

// A picture below every other window: a compositor does not paint the root
// window's own background.
class Wallpaper : public QWidget {
 public:
  explicit Wallpaper(const QString& path)
      : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                             Qt::WindowDoesNotAcceptFocus),
        picture_(path) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle("Wallpaper");
    setGeometry(QGuiApplication::primaryScreen()->geometry());
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(rect(), picture_); }

 private:
  QImage picture_;
};

void run(WheelController& wheel, std::unique_ptr<Wallpaper>& wallpaper, const QStringList& words) {
  const QString& command = words.value(0);
  if (command == "show" && words.size() >= 5) {
    const bool dragging = words[3] == "drag";
    std::optional<WheelController::Files> files;
    if (words.size() > 5) files = paths(words, 5);
    wheel.showWheel(QPointF(words[1].toDouble(), words[2].toDouble()), words[4] == "tools",
                    dragging, files);
    report({"shown"});
    if (dragging) {
      // The controller nudges the pointer 30 ms after the window is exposed
      // and back 30 ms later.
      auto* exposed = new QTimer(qApp);
      QObject::connect(exposed, &QTimer::timeout, qApp, [exposed, &wheel] {
        if (!wheel.panel()->windowHandle()->isExposed()) return;
        exposed->stop();
        exposed->deleteLater();
        QTimer::singleShot(120, qApp, [] { report({"nudged"}); });
      });
      exposed->start(10);
    }
  } else if (command == "hide") {
    wheel.hideWheel();
  } else if (command == "wallpaper" && words.size() == 2) {
    wallpaper = std::make_unique<Wallpaper>(words[1]);
    wallpaper->show();
  } else {
    std::fprintf(stderr, "unknown command: %s\n", qPrintable(words.join(' ')));
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setFont(QFont("Inter"));
  const bool composited = compositorRunning();
  report({"compositor", composited ? "yes" : "no"});
  WheelController wheel(composited);
  HideWatcher hides;
  wheel.panel()->installEventFilter(&hides);
  wheel.onAction = [](const WheelAction& action, const WheelController::Files& urls) {
    QStringList words{"action", QString::fromStdString(action.key)};
    for (const auto& url : urls) words << QString::fromStdString(url.string());
    report(words);
  };
  std::unique_ptr<Wallpaper> wallpaper;
  std::string pending;
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[4096];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
      QApplication::quit();
      return;
    }
    pending.append(buffer, static_cast<size_t>(count));
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
      run(wheel, wallpaper, QString::fromStdString(pending.substr(0, end)).split('\t'));
      pending.erase(0, end + 1);
    }
  });
  report({"ready"});
  return QApplication::exec();
}
