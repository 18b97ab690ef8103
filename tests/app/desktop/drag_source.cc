// A window titled "Drag source" at X, Y whose press starts a real drag of
// FILE... as a file manager does, offering to copy, move or link. Usage:
// drag-source X Y FILE... Reports "ready" once on screen, then
// "dropped copy|move|link|none" after each drag.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <QWidget>
#include <algorithm>
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
    auto* mime = new QMimeData;
    mime->setUrls(urls_);
    // On the heap: the target asks for the data after exec() has returned.
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const Qt::DropAction done =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    const char* words[] = {"none", "copy", "move", "none", "link"};
    std::printf("dropped %s\n", words[std::min(static_cast<int>(done), 4)]);
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
  if (arguments.size() < 3) return 2;
  QList<QUrl> urls;
  for (qsizetype i = 3; i < arguments.size(); ++i) urls << QUrl::fromLocalFile(arguments[i]);
  DragSource window(urls);
  window.move(arguments[1].toInt(), arguments[2].toInt());
  window.show();
  return QApplication::exec();
}
