// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/progress_toast.h"

#include <QEasingCurve>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "chrome/backdrop.h"
#include "chrome/close_circle_button.h"
#include "chrome/grow_animation.h"
#include "chrome/progress_bar.h"
#include "platform/platform.h"

namespace Whirlpane {

namespace {

constexpr qreal cornerRadius = 22;

// Frames are laid out with the origin at the bottom left, as the rest of the
// window chrome is measured; Qt's widgets count from the top left.
QRect frame(qreal x, qreal y, int w, int h) {
  return QRect(qRound(x), qRound(ProgressToast::height - y - h), w, h);
}

// The white wash over the backdrop that gives the toast its lighter face.
class Tint : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1, 1, 1, 0.2f));
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
  }
};

QLabel* label(QWidget* parent, const QRect& geometry, int pixels, QFont::Weight weight,
              float alpha) {
  auto* result = new QLabel(parent);
  result->setGeometry(geometry);
  QFont font = QGuiApplication::font();
  font.setPixelSize(pixels);
  font.setWeight(weight);
  result->setFont(font);
  QPalette palette = result->palette();
  palette.setColor(QPalette::WindowText, QColor::fromRgbF(0, 0, 0, alpha));
  result->setPalette(palette);
  result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  result->setTextFormat(Qt::PlainText);
  return result;
}

}  // namespace

ProgressToast::Clock ProgressToast::steadyClock() {
  return [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
}

ProgressToast::ProgressToast(const QString& title, int total, QPointF point, Clock clock)
    : clock_(std::move(clock)),
      composited_(Platform::current().compositing()),
      fades_(composited_ && Platform::current().fadesWindows()) {
  panel_ = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint |
                                                  Qt::WindowStaysOnTopHint |
                                                  Qt::WindowDoesNotAcceptFocus);
  panel_->setObjectName("toast");
  panel_->setAttribute(Qt::WA_ShowWithoutActivating);
  // Without a compositor transparent pixels are black: the window stays opaque
  // and the backdrop masks it to its rounded shape instead.
  panel_->setAttribute(Qt::WA_TranslucentBackground, composited_);
  panel_->setFixedSize(width, height);

  content_ = new QWidget(panel_.get());
  content_->setGeometry(0, 0, width, height);
  backdrop_ = makeGlassBackdrop(content_, content_->rect(), cornerRadius, true);
  (new Tint(content_))->setGeometry(content_->rect());
  //: The toast's close button, for screen readers: it stops the conversion.
  cancel_ = new CloseCircleButton(frame(13.5, 60, 20, 20), "toast.cancel", tr("Cancel"), content_);
  title_ = label(content_, frame(43, 61, 252, 18), 13, QFont::DemiBold, 0.6f);
  title_->setText(title);
  detail_ = label(content_, frame(16.5, 31, 279, 15), 11, QFont::Normal, 0.5f);
  bar_ = new ProgressBar(content_);
  bar_->setGeometry(frame(16.5, 17, 279, 4));

  QPointer<ProgressToast> self(this);
  cancel_->handler = [self] {
    if (self && self->onCancel) self->onCancel();
    // onCancel may have let the toast go.
    if (!self) return;
    self->cancelled_ = true;
    self->update(self->saved_, self->total_);
    self->dismissTimer_.start(static_cast<int>(std::lround(shownAfterCancel * 1000)));
  };

  grow_ = new GrowAnimation(content_);
  if (!composited_) {
    // The animation lives in the panel, which may outlast the toast briefly.
    grow_->onFrame = [panel = panel_.get(), backdrop = backdrop_](qreal scale) {
      panel->setMask(backdrop->windowShape(scale));
    };
  }
  fade_ = new QPropertyAnimation(panel_.get(), "windowOpacity", panel_.get());
  connect(fade_, &QPropertyAnimation::finished, this, [this] {
    if (fade_->endValue().toReal() == 0) panel_->hide();
  });
  dismissTimer_.setSingleShot(true);
  connect(&dismissTimer_, &QTimer::timeout, this, &ProgressToast::dismiss);

  update(0, total);
  panel_->move(origin(point, availableAreaAt(point)));
  shownAt_ = clock_();
}

ProgressToast::~ProgressToast() {
  // The toast may go away from inside its own close button's click.
  panel_->hide();
  panel_.release()->deleteLater();
}

void ProgressToast::update(int saved, int total) {
  saved_ = saved;
  total_ = total;
  if (cancelled_) {
    //: After the user cancelled a conversion: %1 files of %n were saved.
    detail_->setText(tr("Cancelled \u2014 %1 of %n saved", nullptr, total).arg(saved));
  } else {
    //: %1 files of %n are saved so far.
    detail_->setText(tr("%1 of %n saved", nullptr, total).arg(saved));
  }
  bar_->setFraction(total > 0 ? static_cast<double>(saved) / total : 0.0);
}

void ProgressToast::show() {
  shownAt_ = clock_();
  fade_->stop();
  panel_->setWindowOpacity(fades_ ? 0 : 1);
  panel_->show();
  panel_->raise();
  QEasingCurve curve(QEasingCurve::BezierSpline);
  curve.addCubicBezierSegment({0.2, 0.9}, {0.3, 1.0}, {1, 1});
  grow_->play(0.35, 160, curve);
  if (fades_) {
    fade_->setDuration(120);
    fade_->setStartValue(0.0);
    fade_->setEndValue(1.0);
    fade_->start();
  }
}

void ProgressToast::finish() {
  if (cancelled_) return;  // the cancel's notice has its own time
  const double delay = std::max(minimumAfterFinish, shownAt_ + minimumOnScreen - clock_());
  dismissTimer_.start(static_cast<int>(std::lround(delay * 1000)));
}

void ProgressToast::dismiss() {
  dismissTimer_.stop();
  if (!fades_ || !panel_->isVisible()) {
    panel_->hide();
    return;
  }
  fade_->stop();
  fade_->setDuration(150);
  fade_->setStartValue(panel_->windowOpacity());
  fade_->setEndValue(0.0);
  fade_->start();
}

QPoint ProgressToast::origin(QPointF point, const QRect& available) {
  const qreal left = available.x();
  const qreal top = available.y();
  const qreal right = left + available.width();
  const qreal bottom = top + available.height();
  const qreal x = std::max(left + 8, std::min(right - width - 8, point.x() - width / 2.0));
  const qreal y = std::max(top + 8, std::min(bottom - height - 8, point.y() - height / 2.0));
  return QPoint(qRound(x), qRound(y));
}

QRect ProgressToast::availableAreaAt(QPointF point) {
  QScreen* screen = QGuiApplication::screenAt(point.toPoint());
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

}  // namespace Whirlpane

#include "progress_toast.moc"
