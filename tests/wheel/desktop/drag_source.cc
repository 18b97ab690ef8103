// A test program that starts a real file drag, as a file manager does: a
// small window titled "Drag source" that, when pressed, drags its files as
// text/uri-list, offering to copy, move or link them. Without files it is a
// plain window to click on.
// Usage: drag-source X Y [FILE...]   (the window's top-left corner at X, Y)
// Reports on standard output: "ready" once the window is on screen, then
// "dropped copy|move|link|none" after each drag.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class DragSource : public QWidget {
 public:
  explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls)) {
    setWindowTitle("Drag source");
    setFixedSize(200, 140);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), QColor(70, 110, 160));
    if (!ready_) {
      ready_ = true;
      std::printf("ready\n");
      std::fflush(stdout);
    }
  }

  void mousePressEvent(QMouseEvent*) override {
    if (urls_.isEmpty()) return;
    auto* mime = new QMimeData;
    mime->setUrls(urls_);
    // On the heap: the target asks for the data after exec() has returned.
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const Qt::DropAction done =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    const char* word = done == Qt::CopyAction   ? "copy"
                       : done == Qt::MoveAction ? "move"
                       : done == Qt::LinkAction ? "link"
                                                : "none";
    std::printf("dropped %s\n", word);
    std::fflush(stdout);
  }

 private:
  QList<QUrl> urls_;
  bool ready_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 3) {
    std::fprintf(stderr, "Usage: drag-source X Y [FILE...]\n");
    return 2;
  }
  QList<QUrl> urls;
  for (qsizetype i = 3; i < arguments.size(); ++i) urls << QUrl::fromLocalFile(arguments[i]);
  DragSource window(urls);
  window.move(arguments[1].toInt(), arguments[2].toInt());
  window.show();
  return QApplication::exec();
}
