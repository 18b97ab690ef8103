// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/common/editor_frame.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QEasingCurve>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <ctime>

#include "chrome/alerts.h"
#include "chrome/backdrop.h"
#include "chrome/close_circle_button.h"
#include "chrome/grow_animation.h"
#include "editors/common/editor_geometry.h"
#include "editors/common/editor_image.h"
#include "editors/common/editor_text.h"
#include "editors/common/save_queue.h"
#include "editors/controls/action_button.h"
#include "platform/platform.h"
#include "whirlpane/failure.h"

namespace Whirlpane {
namespace {

constexpr qreal cornerRadius = 20;

// With WHIRLPANE_TRACE set, the editors' milestones go to the standard error
// as "whirlpane-trace <event> <CLOCK_MONOTONIC ms> worst-gap <ms>": when the
// window first shows its picture, when the whole picture is in, when a save
// comes back. The worst gap is the longest wait so far of a 16 ms timer on
// the interface thread, which runs from the first editor on.
class Trace {
 public:
  static Trace* get() {
    static Trace* trace = qEnvironmentVariableIsSet("WHIRLPANE_TRACE") ? new Trace : nullptr;
    return trace;
  }

  void note(const char* event) {
    std::fprintf(stderr, "whirlpane-trace %s %.1f worst-gap %.1f\n", event, now(), worstGap_);
    std::fflush(stderr);
  }

 private:
  Trace() {
    timer_.setInterval(16);
    timer_.setTimerType(Qt::PreciseTimer);
    last_ = now();
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const double at = now();
      worstGap_ = std::max(worstGap_, at - last_);
      last_ = at;
    });
    timer_.start();
  }

  static double now() {
    timespec at{};
    clock_gettime(CLOCK_MONOTONIC, &at);
    return at.tv_sec * 1e3 + at.tv_nsec / 1e6;
  }

  QTimer timer_;
  double last_ = 0;
  double worstGap_ = 0;
};

void trace(const char* event) {
  if (Trace* trace = Trace::get()) trace->note(event);
}

// The warm (or, on glass, white) wash between the backdrop and the surface.
class Tint : public QWidget {
  Q_OBJECT

 public:
  Tint(QWidget* parent, QColor color) : QWidget(parent), color_(color) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
  }

 private:
  QColor color_;
};

}  // namespace

std::string renderFailure() {
  //: An editor could not make the picture it was to save.
  return QCoreApplication::translate("Whirlpane::EditorFrame", "The image could not be rendered.")
      .toStdString();
}

std::string saveFailure() {
  //: An editor's save failed without a reason of its own.
  return QCoreApplication::translate("Whirlpane::EditorFrame", "The file could not be saved.")
      .toStdString();
}

EditorWindow::EditorWindow(EditorFrame* controller)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      controller_(controller) {
  // The window takes the keys while no control has the focus, but is no
  // stop of Tab's.
  setFocusPolicy(Qt::ClickFocus);
}

void EditorWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  orderFocusChain();
}

void EditorWindow::orderFocusChain() {
  struct Stop {
    QWidget* widget;
    QRectF place;   // in the window; a scrolled control's is its scroll area's
    QPointF inner;  // a scrolled control's place in what scrolls
  };
  std::vector<Stop> stops;
  for (QWidget* each : findChildren<QWidget*>()) {
    if (!(each->focusPolicy() & Qt::TabFocus) || each->focusProxy()) continue;
    QWidget* anchor = each;
    for (QWidget* up = each->parentWidget(); up && up != this; up = up->parentWidget()) {
      if (qobject_cast<QAbstractScrollArea*>(up)) anchor = up;
    }
    const QPoint inner = anchor == each ? QPoint() : each->mapTo(anchor, QPoint(0, 0));
    stops.push_back({each, QRectF(anchor->mapTo(this, QPoint(0, 0)), anchor->size()), inner});
  }
  // A row: controls whose middles lie within 8 points of the row's first.
  std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
    return a.place.center().y() < b.place.center().y();
  });
  for (size_t first = 0; first < stops.size();) {
    size_t end = first + 1;
    while (end < stops.size() &&
           stops[end].place.center().y() - stops[first].place.center().y() < 8)
      ++end;
    std::stable_sort(stops.begin() + first, stops.begin() + end, [](const Stop& a, const Stop& b) {
      if (a.place.left() != b.place.left()) return a.place.left() < b.place.left();
      return std::pair(a.inner.y(), a.inner.x()) < std::pair(b.inner.y(), b.inner.x());
    });
    first = end;
  }
  for (size_t i = 1; i < stops.size(); ++i) setTabOrder(stops[i - 1].widget, stops[i].widget);
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  // Keys a focused control left alone come here.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && controller_) {
    ActionButton* save = controller_->saveButton();
    if (save && save->isVisibleTo(this) && save->isEnabled()) save->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (controller_) controller_->aboutToClose();
}

void EditorSurface::paintEvent(QPaintEvent*) {
  if (!painted_) {
    painted_ = true;
    // The picture is painted after the surface it lies on, in the same pass.
    if (Trace::get()) QTimer::singleShot(0, this, [] { trace("first-paint"); });
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  for (qreal y : separators) {
    painter.fillRect(QRectF(0, y, width(), 0.5), QColor::fromRgbF(0, 0, 0, 0.09f));
  }
  painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.38f), 0.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), cornerRadius,
                          cornerRadius);
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  grab_ = event->globalPosition() - window()->pos();
  // The window manager moves the window where it offers that (X11's
  // _NET_WM_MOVERESIZE); otherwise the window follows the pointer.
  if (QWindow* handle = window()->windowHandle(); handle && handle->startSystemMove()) {
    grab_ = {-1, -1};
  }
}

void TitleBar::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || grab_ == QPointF(-1, -1)) return;
  window()->move((event->globalPosition() - grab_).toPoint());
}

EditorFrame::EditorFrame(std::filesystem::path file, const QString& title, const QString& saveTitle,
                         const QString& action, QSize size)
    : sourceFile_(std::move(file)),
      title_(title),
      action_(action),
      composited_(Platform::current().compositing()) {
  Trace::get();  // the interface thread is watched from the first editor on
  const qreal w = size.width();
  const qreal h = size.height();
  const QString prefix = "editor." + action + ".";

  window_ = new EditorWindow(this);
  window_->setObjectName(prefix + "window");
  window_->setWindowTitle(title);
  window_->setAccessibleName(title);
  // Without a compositor transparent pixels are black: the window stays
  // opaque and the backdrop cuts it to its rounded shape.
  window_->setAttribute(Qt::WA_TranslucentBackground, composited_);
  window_->setFixedSize(size);

  content_ = new QWidget(window_);
  content_->setGeometry(0, 0, size.width(), size.height());
  backdrop_ = makeGlassBackdrop(content_, content_->rect(), cornerRadius, true);
  auto* tint = new Tint(content_, currentBackdropStyle() == BackdropStyle::glass
                                      ? QColor::fromRgbF(1, 1, 1, 0.2f)
                                      : QColor::fromRgbF(1, 0.93f, 0.86f, 0.16f));
  tint->setGeometry(content_->rect());
  surface_ = new EditorSurface(content_);
  surface_->setGeometry(content_->rect());

  auto* titleBar = new TitleBar(surface_);
  titleBar->setGeometry(0, 0, size.width(), static_cast<int>(titleBarHeight));
  auto* titleLabel = new EditorLabel(QRectF(50, 10.5, w - 100, 18), editorFont(14, QFont::DemiBold),
                                     labelColor(0.82), titleBar, Qt::AlignCenter);
  titleLabel->setText(title);
  QPointer<EditorFrame> self(this);
  //: The close button's name for screen readers; %1 is the editor's title.
  auto* closeButton = new CloseCircleButton(QRect(12, 8, 22, 22), prefix + "close",
                                            tr("Close %1").arg(title), titleBar);
  closeButton->handler = [self] {
    if (self) self->close();
  };

  separator(titleBarHeight);
  separator(actionBarTop());

  //: The editor's button that undoes every change made in the window.
  const QString resetTitle = tr("Reset");
  const QFont resetFont = editorFont(11);
  const qreal r = resetButtonWidth(QFontMetricsF(resetFont).horizontalAdvance(resetTitle));
  resetButton_ = new ActionButton(QRectF(14, h - 34.5, r, 20), surface_);
  resetButton_->setText(resetTitle);
  resetButton_->setObjectName(prefix + "reset");
  // The title as written: a button's text would lose an "&" as a mnemonic.
  resetButton_->setAccessibleName(resetTitle);
  resetButton_->setFont(resetFont);
  resetButton_->handler = [self] {
    if (self) self->resetEditor();
  };

  const QFont saveFont = editorFont(11, QFont::Medium);
  const qreal b = saveButtonWidth(QFontMetricsF(saveFont).horizontalAdvance(saveTitle));
  saveButton_ = new ActionButton(QRectF(w - 14 - b, h - 34.5, b, 20), surface_);
  saveButton_->setText(saveTitle);
  saveButton_->setPrimary(true);
  saveButton_->setObjectName(prefix + "save");
  saveButton_->setAccessibleName(saveTitle);
  saveButton_->setFont(saveFont);
  saveButton_->handler = [self] {
    if (self && self->pictureState_ == PictureState::ready) self->saveEditor();
  };

  status_ = new EditorLabel(QRectF(24 + r, h - 31.5, statusLineWidth(w, r, b), 15), editorFont(10),
                            hintColor(), surface_);

  grow_ = new GrowAnimation(content_);
  if (!composited_) {
    grow_->onFrame = [window = window_, backdrop = backdrop_](qreal scale) {
      window->setMask(backdrop->windowShape(scale));
    };
  }
}

EditorFrame::~EditorFrame() {
  *abandoned_ = true;
  window_->controller_ = nullptr;
  // The editor deriving from this frame is already gone: hiding moves the
  // focus out of its fields, and their signals (a field's editingFinished)
  // must not reach its handlers any more.
  for (QObject* child : window_->findChildren<QObject*>()) child->blockSignals(true);
  window_->hide();
  // The window may be going away from inside one of its own events.
  window_->deleteLater();
}

qreal EditorFrame::contentWidth() const { return surface_->width(); }

qreal EditorFrame::actionBarTop() const { return surface_->height() - actionBarHeight; }

void EditorFrame::removeReset() {
  delete resetButton_;
  resetButton_ = nullptr;
}

void EditorFrame::separator(qreal y) {
  surface_->separators.push_back(y);
  surface_->update();
}

void EditorFrame::report(const EditorError& error) {
  lastError_ = error;
  if (!presentsErrors || closed_) return;
  showErrorAlert(QString::fromStdString(error.message), window_);
}

void EditorFrame::saveImage(const QImage& image, std::string_view suffix, std::string_view format) {
  if (image.isNull()) {
    report(EditorError(renderFailure()));
    return;
  }
  saveRendered([image] { return image; }, suffix, format);
}

void EditorFrame::saveRendered(std::function<QImage()> render, std::string_view suffix,
                               std::string_view format) {
  std::filesystem::path target;
  try {
    target = MediaEngine::uniqueSibling(sourceFile_, suffix, format);
  } catch (const std::exception& failure) {
    report(EditorError(MediaEngine::describe(failure)));
    return;
  }
  // Even the copy into the engine's form is a whole picture's worth of
  // bytes: it is made on the save thread.
  performSave(
      [render = std::move(render), format = std::string(format), target, source = sourceFile_] {
        const QImage image = render();
        if (image.isNull()) throw EditorError(renderFailure());
        MediaEngine::writePicture(pictureOf(image), format, target, source, 0.9);
        return target;
      });
}

void EditorFrame::performSave(std::function<std::filesystem::path()> work) {
  // Nothing is saved from a picture not wholly decoded.
  if (isSaving_ || pictureState_ != PictureState::ready) return;
  isSaving_ = true;
  saveButton_->setEnabled(false);
  //: The action bar's status line while the new file is written.
  status_->setText(tr("Saving\u2026"));
  // The controller may be gone when the work ends (its window closed
  // meanwhile); the pointer is only read back on the main thread.
  QPointer<EditorFrame> self(this);
  enqueueSave([self, work = std::move(work)] {
    std::optional<std::filesystem::path> saved;
    std::optional<EditorError> error;
    try {
      saved = work();
    } catch (const std::exception& failure) {
      error = EditorError(MediaEngine::describe(failure));
    } catch (...) {
      error = EditorError(saveFailure());
    }
    // Saves still running when the program ends finish after the
    // application object has gone; there is nobody left to tell.
    if (QCoreApplication* application = QCoreApplication::instance()) {
      QMetaObject::invokeMethod(
          application,
          [self, saved, error] {
            if (self) self->finishSave(saved, error);
          },
          Qt::QueuedConnection);
    }
  });
}

void EditorFrame::finishSave(const std::optional<std::filesystem::path>& saved,
                             const std::optional<EditorError>& error) {
  trace(error ? "save-failed" : "saved");
  isSaving_ = false;
  saveButton_->setEnabled(true);
  status_->setText({});
  if (error || !saved) {
    report(error.value_or(EditorError(saveFailure())));
  } else if (const auto savedHandler = onSaved) {
    // onSaved may not outlive the controller's closing; keep a copy.
    savedHandler(*saved);
  }
  if (closed_) {
    // The window was closed while the save ran: the editor stayed until now
    // so that the written file is still reported.
    if (const auto closedHandler = onClosed) closedHandler();
    return;
  }
  if (saved && !error) close();
}

void EditorFrame::waitForPicture(QWidget* control) {
  waiting_.emplace_back(control);
  if (pictureState_ != PictureState::ready) control->setEnabled(false);
}

void EditorFrame::decodeFullPicture(std::function<QImage()> decode, QSize expected) {
  pictureState_ = PictureState::decoding;
  saveButton_->setEnabled(false);
  for (const QPointer<QWidget>& control : waiting_) {
    if (control) control->setEnabled(false);
  }
  //: The action bar's status line while an editor decodes the whole picture; the window shows
  //: a reduced copy meanwhile.
  status_->setText(tr("Loading\u2026"));
  window_->setCursor(Qt::BusyCursor);
  QPointer<EditorFrame> self(this);
  enqueueDecode([self, decode = std::move(decode), expected, abandoned = abandoned_] {
    if (*abandoned) return;
    QImage image;
    std::optional<EditorError> error;
    try {
      image = decode();
    } catch (const std::exception& failure) {
      error = EditorError(MediaEngine::describe(failure));
    } catch (...) {
      error = EditorError(renderFailure());
    }
    if (QCoreApplication* application = QCoreApplication::instance()) {
      QMetaObject::invokeMethod(
          application,
          [self, image = std::move(image), error, expected] {
            if (self) self->finishDecode(image, error, expected);
          },
          Qt::QueuedConnection);
    }
  });
}

void EditorFrame::finishDecode(const QImage& image, const std::optional<EditorError>& error,
                               QSize expected) {
  window_->unsetCursor();
  // The file changed between the two decodes: what was shown is not what
  // would be saved.
  if (error || image.size() != expected) {
    pictureState_ = PictureState::failed;
    //: The action bar's status line when the whole picture could not be decoded; nothing can
    //: be saved.
    status_->setText(tr("Could not open"));
    report(error.value_or(EditorError(renderFailure())));
    trace("picture-failed");
    return;
  }
  trace("picture-ready");
  pictureState_ = PictureState::ready;
  status_->setText({});
  saveButton_->setEnabled(true);
  for (const QPointer<QWidget>& control : waiting_) {
    if (control) control->setEnabled(true);
  }
  pictureDecoded(image);
}

void EditorFrame::present(QPointF origin) {
  presentsErrors = true;
  window_->move(origin.toPoint());
  const bool fades = composited_ && Platform::current().fadesWindows();
  window_->setWindowOpacity(fades ? 0 : 1);
  window_->show();
  window_->raise();
  window_->activateWindow();
  QEasingCurve curve(QEasingCurve::BezierSpline);
  curve.addCubicBezierSegment({0.2, 0.9}, {0.3, 1.0}, {1, 1});
  grow_->play(0.92, 200, curve);
  if (fades) {
    auto* fade = new QPropertyAnimation(window_, "windowOpacity", window_);
    fade->setDuration(160);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
  }
}

void EditorFrame::close() { window_->close(); }

void EditorFrame::aboutToClose() {
  if (closed_) return;
  closed_ = true;
  *abandoned_ = true;
  // A save still running ends the editor's life when it comes back.
  if (isSaving_) return;
  // onClosed usually lets the controller go: nothing here may be touched
  // after it, and the callback itself is kept alive by the copy.
  if (const auto closedHandler = onClosed) closedHandler();
}

}  // namespace Whirlpane

#include "editor_frame.moc"
