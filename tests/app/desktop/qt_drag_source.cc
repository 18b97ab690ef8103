// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt 6 window titled "Drag source" at X, Y whose press starts a real drag of
// FILE... as text/uri-list through Qt's own XDND source, offering to copy or
// move, as a Qt file manager does. Usage: qt-drag-source X Y FILE...  Prints
// "ready" once the window is on screen and "dropped ACTION" after each drag
// (copy, move or none).
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class Source : public QWidget {
 public:
  explicit Source(QList<QUrl> urls) : urls_(std::move(urls)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override { pressedAt_ = event->position(); }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton)) return;
    if ((event->position() - pressedAt_).manhattanLength() < QApplication::startDragDistance()) {
      return;
    }
    auto* drag = new QDrag(this);
    auto* files = new QMimeData;
    files->setUrls(urls_);
    drag->setMimeData(files);
    const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction);
    std::printf("dropped %s\n", action == Qt::CopyAction   ? "copy"
                                : action == Qt::MoveAction ? "move"
                                                           : "none");
    std::fflush(stdout);
  }

 private:
  QList<QUrl> urls_;
  QPointF pressedAt_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 4) return 2;
  QList<QUrl> urls;
  for (int i = 3; i < argc; ++i) urls.append(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i])));
  Source window(urls);
  window.setWindowTitle(QStringLiteral("Drag source"));
  window.setGeometry(std::atoi(argv[1]), std::atoi(argv[2]), 200, 140);
  window.show();
  QTimer::singleShot(0, &window, [] {
    std::puts("ready");
    std::fflush(stdout);
  });
  return QApplication::exec();
}
