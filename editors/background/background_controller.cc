// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/background/background_controller.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "chrome/alerts.h"
#include "editors/background/background_settings.h"
#include "editors/common/editor_image.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/background_swatch.h"
#include "editors/controls/color_well.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/ratio_control.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/failure.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {
namespace {

// The swatches' pitch: a swatch 27 wide and the gap to the next.
constexpr int swatchPitch = 32;

// A row of swatches that scrolls sideways only, without scroll bars, and only
// by whole swatches, so that none shows cut. A mouse wheel turned up or down
// moves it as a sideways swipe would.
class SwatchStrip : public QScrollArea {
  Q_OBJECT

 public:
  SwatchStrip(const QRectF& frame, QWidget* parent) : QScrollArea(parent) {
    setGeometry(frame.toAlignedRect());
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    // Whatever moves it (a swipe, Tab to a hidden swatch), it rests on a
    // swatch's edge.
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
      horizontalScrollBar()->setValue(value / swatchPitch * swatchPitch);
    });
  }

  // Whether swatches are hidden past the right end.
  bool hidesMore() const {
    return horizontalScrollBar()->value() / swatchPitch <
           horizontalScrollBar()->maximum() / swatchPitch;
  }
  bool overflows() const { return horizontalScrollBar()->maximum() > 0; }

  // A page on, or back to the start from the end.
  void page() {
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(hidesMore() ? bar->value() + viewport()->width() + 1 : 0);
  }

 protected:
  void wheelEvent(QWheelEvent* event) override {
    const QPoint delta =
        event->pixelDelta().isNull() ? event->angleDelta() / 4 : event->pixelDelta();
    // Small swipes add up to a swatch.
    swiped_ += delta.x() != 0 ? delta.x() : delta.y();
    const int swatches = swiped_ / swatchPitch;
    swiped_ -= swatches * swatchPitch;
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(bar->value() - swatches * swatchPitch);
    event->accept();
  }

 private:
  int swiped_ = 0;
};

// The sign beside a strip that hides swatches: a chevron pointing to where
// more are, which pages there when clicked (or back to the start from the end).
class StripArrow : public QWidget {
  Q_OBJECT

 public:
  StripArrow(const QRectF& frame, SwatchStrip* strip, QWidget* parent)
      : QWidget(parent), strip_(strip) {
    setGeometry(frame.toAlignedRect());
    setCursor(Qt::PointingHandCursor);
    connect(strip->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { follow(); });
    connect(strip->horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { follow(); });
    follow();
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) strip_->page();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(hintColor(), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    const QPointF c = QRectF(rect()).center();
    const qreal d = strip_->hidesMore() ? 2.5 : -2.5;
    painter.drawPolyline(QPolygonF({c + QPointF(-d, -5), c + QPointF(d, 0), c + QPointF(-d, 5)}));
  }

 private:
  void follow() {
    setVisible(strip_->overflows());
    update();
  }
  SwatchStrip* strip_;
};

}  // namespace

BackgroundController::BackgroundController(const std::filesystem::path& file, const QImage& image)
    : BackgroundController(file, image,
                           BackgroundRenderer::reducePicture(image, previewDimension)) {}

BackgroundController::BackgroundController(const std::filesystem::path& file,
                                           const EditorPreview& preview)
    : BackgroundController(
          file, QImage(),
          {BackgroundRenderer::reducePicture(preview.image, previewDimension).image,
           preview.fullSize}) {}

BackgroundController::BackgroundController(const std::filesystem::path& file, const QImage& image,
                                           ReducedPicture reduced)
    : EditorFrame(file,
                  //: The Add BG editor's window title: put the picture on a backdrop. "BG" is
                  //: short for background; translate it in full where it fits.
                  tr("Add BG"),
                  //: The Add BG editor's Save button.
                  tr("Save with Background"), "background", QSize(418, 618)),
      image_(image),
      reduced_(std::move(reduced)),
      style_(BackgroundStyle::gradients().front()) {
  preview_ = new PreviewView(QRectF(12, 52, 394, 313), surface(), 11);
  preview_->setObjectName("editor.background.preview");

  const QFont labelFont = editorFont(10.5);
  //: The label before the rows of backdrops to choose from.
  const QString backgroundTitle = tr("Background");
  // The swatches start at 94, or after a longer label; they scroll.
  const qreal titleWidth = std::ceil(QFontMetricsF(labelFont).horizontalAdvance(backgroundTitle));
  const qreal labelWidth = std::max<qreal>(80, titleWidth);
  const qreal stripLeft = std::max<qreal>(94, 16 + titleWidth + 8);
  auto* backgroundLabel =
      new EditorLabel(QRectF(16, 387.5, labelWidth, 15), labelFont, hintColor(), surface());
  backgroundLabel->setText(backgroundTitle);

  const struct {
    const std::vector<BackgroundStyle>& styles;
    const char* kind;
  } rows[] = {{BackgroundStyle::gradients(), "gradient"}, {BackgroundStyle::solids(), "solid"}};
  // As many whole swatches as fit before the image button with room for the
  // arrow after them.
  constexpr qreal arrowWidth = 14;
  const int fitting = std::max(1, int(369 - stripLeft - arrowWidth + 5) / swatchPitch);
  const qreal stripWidth = fitting * swatchPitch - 1;
  for (int i = 0; i < 2; ++i) {
    auto* strip = new SwatchStrip(QRectF(stripLeft, 379.5 + 34 * i, stripWidth, 31), surface());
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    content->resize(static_cast<int>(rows[i].styles.size()) * 32 + 2, 31);
    for (size_t j = 0; j < rows[i].styles.size(); ++j) {
      const BackgroundStyle& style = rows[i].styles[j];
      auto* swatch = new BackgroundSwatch(
          //: A backdrop's name for screen readers; %1 is its name, such as Sunset or Blue.
          QRectF(32.0 * j + 2, 2, 27, 27), tr("%1 background").arg(style.displayName()),
          [&style](QPainter& painter, const QRectF& bounds) {
            BackgroundRenderer::drawBackdrop(style, painter, bounds);
          },
          content);
      swatch->setObjectName(QString("editor.background.%1.%2").arg(rows[i].kind).arg(j));
      swatch->handler = [this, swatch, &style] { choose(style, swatch); };
      swatches_.push_back(swatch);
    }
    strip->setWidget(content);
    auto* arrow = new StripArrow(QRectF(stripLeft + stripWidth, 379.5 + 34 * i, arrowWidth, 31),
                                 strip, surface());
    arrow->setObjectName(QString("editor.background.%1.more").arg(rows[i].kind));
  }

  imageButton_ = new ActionButton(QRectF(375, 381.5, 27, 27), surface());
  imageButton_->setSymbol("photo-badge-plus");
  imageButton_->setFont(editorFont(11));
  imageButton_->setObjectName("editor.background.customImage");
  //: The button that picks a photograph of the user's as the backdrop.
  imageButton_->setAccessibleName(tr("Choose background image"));
  imageButton_->setAccessibleDescription(tr("Choose background image"));
  imageButton_->handler = [this] { chooseBackground(); };

  customColor_ = new ColorWell(QRectF(373, 421, 32, 16), rgb(0x2F5FC8), surface());
  customColor_->setObjectName("editor.background.customColor");
  //: The button that picks a colour of the user's own as the backdrop.
  customColor_->setAccessibleName(tr("Custom colour"));
  customColor_->onChange = [this](const QColor&) { colorChanged(); };

  const auto row = [&](const QString& title, qreal top, double maximum, double value,
                       const QString& id) {
    auto* slider = new SliderRow(title, top + 13, 16, 386, 0, maximum, value, id, surface());
    slider->handler = [this](double) { refresh(); };
    return slider;
  };
  //: The slider of the space between the picture and the edge of the backdrop.
  padding_ = row(tr("Padding"), 449, paddingMaximum(reduced_.size), defaultPadding,
                 "editor.background.padding");
  corner_ =
      //: The slider of how round the picture's corners are.
      row(tr("Corners"), 475, cornerMaximum(reduced_.size), defaultCorner,
          "editor.background.corners");
  //: The slider of the shadow under the picture.
  shadow_ = row(tr("Shadow"), 501, maximumShadow, defaultShadow, "editor.background.shadow");
  alignTitles({padding_, corner_, shadow_});

  //: The label before the backdrop's aspect ratios.
  const QString ratioTitle = tr("Ratio");
  auto* ratioLabel = new EditorLabel(
      QRectF(16, 534.5,
             std::max<qreal>(80, std::ceil(QFontMetricsF(labelFont).horizontalAdvance(ratioTitle))),
             15),
      labelFont, hintColor(), surface());
  ratioLabel->setText(ratioTitle);
  QStringList labels;
  for (const BackgroundRatio& ratio : backgroundRatios()) labels << ratio.displayLabel();
  ratioControl_ = new RatioControl(labels, QRectF(231, 532, 172, 20), "editor.background.ratio",
                                   surface(), [this](int index) {
                                     currentRatio_ = backgroundRatios().at(index).ratio;
                                     refresh();
                                   });
  ratioControl_->setAccessibleName(ratioTitle);

  // Over the preview's foot, which gives way to it while it shows.
  sizeNote_ = new EditorLabel(QRectF(16, 335, 386, 30), editorFont(10.5), labelColor(0.85),
                              surface(), Qt::AlignLeft | Qt::AlignVCenter, 2);
  sizeNote_->setObjectName("editor.background.sizeNote");

  swatches_.front()->setSelected(true);
  refresh();
}

void BackgroundController::refresh() {
  // Whatever the settings make, Save writes at most what can be written: the
  // same look scaled down, said here before anything is designed for it.
  const QSizeF canvas =
      BackgroundRenderer::canvasSize(reduced_.size, padding_->value(), currentRatio_);
  savedDimension_ = fittingDimension(
      canvas, std::min<double>(MediaEngine::picturePixelBudget, BackgroundRenderer::maxArea));
  if (savedDimension_) {
    const double s = *savedDimension_ / std::max(canvas.width(), canvas.height());
    const auto side = [s](double full) { return std::max(std::lround(full * s), 1L); };
    //: Add BG's note when the result at full size would be too large; %1 × %2 is the smaller
    //: size in pixels that Save writes instead.
    sizeNote_->setText(
        tr("At full size this is too large to save; it will be saved at %1 \u00d7 %2 pixels, "
           "scaled down.")
            .arg(side(canvas.width()))
            .arg(side(canvas.height())));
  }
  sizeNote_->setVisible(savedDimension_.has_value());
  preview_->setGeometry(QRect(12, 52, 394, savedDimension_ ? 281 : 313));
  const auto rendered = BackgroundRenderer::render(
      reduced_, style_, previewBackdrop_, padding_->value(), corner_->value(), shadow_->value(),
      currentRatio_, previewDimension);
  preview_->setImage(rendered.value_or(QImage()));
}

void BackgroundController::choose(const BackgroundStyle& style, BackgroundSwatch* swatch) {
  style_ = style;
  backdrop_.reset();
  previewBackdrop_.reset();
  for (BackgroundSwatch* each : swatches_) each->setSelected(each == swatch);
  refresh();
}

void BackgroundController::colorChanged() { choose(customStyle(customColor_->color()), nullptr); }

void BackgroundController::chooseBackground() {
  auto* dialog = new QFileDialog(window(), tr("Choose background image"));
  dialog->setObjectName("editor.background.chooser");
  dialog->setFileMode(QFileDialog::ExistingFile);
  //: The file chooser's filter: the extensions follow in brackets.
  dialog->setNameFilter(sourceNameFilter(tr("Images"), false));
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
    if (!file.isEmpty()) useBackground(QFile::encodeName(file).toStdString());
  });
  dialog->open();
}

void BackgroundController::useBackground(const std::filesystem::path& file) {
  QImage photo;
  try {
    photo = loadEditorImage(file);
  } catch (const std::exception& failure) {
    report(EditorError(MediaEngine::describe(failure)));
    return;
  }
  previewBackdrop_ = BackgroundRenderer::reduceBackdrop(photo, previewDimension);
  backdrop_ = std::move(photo);
  for (BackgroundSwatch* each : swatches_) each->setSelected(false);
  refresh();
}

void BackgroundController::resetEditor() {
  // The well keeps its colour: it is what the next custom choice starts from.
  style_ = BackgroundStyle::gradients().front();
  backdrop_.reset();
  previewBackdrop_.reset();
  for (BackgroundSwatch* each : swatches_) each->setSelected(each == swatches_.front());
  padding_->setValue(defaultPadding);
  corner_->setValue(defaultCorner);
  shadow_->setValue(defaultShadow);
  currentRatio_.reset();
  ratioControl_->setSelectedSegment(0);
  refresh();
}

void BackgroundController::saveEditor() {
  if (image_.isNull()) {
    report(EditorError(renderFailure()));
    return;
  }
  std::filesystem::path target;
  try {
    target = MediaEngine::uniqueSibling(sourceFile(), " With Background", "png");
  } catch (const std::exception& failure) {
    report(EditorError(MediaEngine::describe(failure)));
    return;
  }
  // The full-size render reads and writes every pixel: it runs on the save
  // thread with the settings as they are now, never on the interface's.
  performSave([image = image_, style = style_, backdrop = backdrop_, padding = padding_->value(),
               corner = corner_->value(), shadow = shadow_->value(), ratio = currentRatio_, target,
               source = sourceFile(), limit = savedDimension_] {
    const auto rendered =
        BackgroundRenderer::render(image, style, backdrop, padding, corner, shadow, ratio, limit);
    if (!rendered) throw EditorError(renderFailure());
    MediaEngine::writePicture(pictureOf(*rendered), "png", target, source, 0.9);
    return target;
  });
}

}  // namespace Whirlpane

#include "background_controller.moc"
