// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_painter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "chrome/symbols.h"
#include "wheel/view_coordinates.h"
#include "wheel/wheel_geometry.h"

namespace Whirlpane::WheelPainter {

namespace {

using G = WheelGeometry;

QColor rgba(double r, double g, double b, double a) {
  return QColor::fromRgbF(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b),
                          static_cast<float>(a));
}

QColor white(double alpha) { return rgba(1, 1, 1, alpha); }

// A two-colour gradient across `path`'s bounds along `angle` (degrees,
// counter-clockwise, y up): `from` where the bounds begin in that direction,
// `to` where they end.
QLinearGradient gradientAlong(const QPainterPath& path, double angle, const QColor& from,
                              const QColor& to) {
  const QRectF bounds = path.boundingRect();
  const double radians = angle * std::numbers::pi / 180;
  const QPointF u(std::cos(radians), -std::sin(radians));  // y down on the screen
  const QPointF center = bounds.center();
  double low = 0;
  double high = 0;
  for (const QPointF corner :
       {bounds.topLeft(), bounds.topRight(), bounds.bottomLeft(), bounds.bottomRight()}) {
    const double along = QPointF::dotProduct(corner - center, u);
    low = std::min(low, along);
    high = std::max(high, along);
  }
  QLinearGradient gradient(center + u * low, center + u * high);
  gradient.setColorAt(0, from);
  gradient.setColorAt(1, to);
  return gradient;
}

Caption measure(const QString& text, qreal size, QFont::Weight weight, qreal kerning,
                const QPaintDevice* device) {
  Caption caption{systemFont(size, weight, kerning, device), size, kerning, {}};
  const QFontMetricsF metrics(caption.font, device);
  caption.measured = {metrics.horizontalAdvance(text), metrics.height()};
  return caption;
}

// Draws `text` with the bottom-left corner of its line box at `origin`.
void drawCaption(QPainter& painter, const ViewCoordinates& view, const QString& text,
                 const Caption& caption, WheelPoint origin, const QColor& color) {
  const QFontMetricsF metrics(caption.font, painter.device());
  const QRectF box = view.toQt(origin, caption.measured);
  painter.setFont(caption.font);
  painter.setPen(color);
  painter.drawText(QPointF(box.left(), box.top() + metrics.ascent()), text);
}

// A caption centred on `centre` horizontally (less its trailing kerning) and
// vertically.
WheelPoint captionOrigin(WheelPoint center, const Caption& caption) {
  return {center.x - (caption.measured.width() - caption.kerning) / 2,
          center.y - caption.measured.height() / 2};
}

QPainterPath circle(const ViewCoordinates& view, WheelPoint center, qreal radius) {
  QPainterPath path;
  path.addEllipse(view.toQt(center), radius, radius);
  return path;
}

void paintWedge(QPainter& painter, const ViewCoordinates& view, const WheelGeometry& geometry,
                const WheelState& state, int i) {
  const WheelAction& action = state.actions[i];
  const bool hovered = state.validHovered() == i;
  const double theta = geometry.middleAngle(i);
  const QPainterPath outline = view.toQt(geometry.wedge(i));

  if (hovered) {
    painter.fillPath(outline, gradientAlong(outline, theta, rgba(1.0, 0.42, 0.12, 0.97),
                                            rgba(0.9, 0.27, 0.1, 0.97)));
  } else {
    const double b = state.hasGlassBackdrop ? 0.42 : 0.5;
    painter.fillPath(outline, gradientAlong(outline, -90, white(b), white(b - 0.07)));
  }
  painter.strokePath(outline, QPen(white(hovered ? 0.22 : 0.6), 0.8));

  QColor color = hovered ? hoverInk() : ink();
  color.setAlphaF(
      static_cast<float>((hovered ? 1.0 : 0.94) * std::clamp(state.labelAlpha, 0.0, 1.0)));
  if (color.alphaF() <= 0) return;

  const WheelPoint p = geometry.captionAnchor(i);
  const QString label = QString::fromStdString(action.label);
  const QString symbol = action.symbol ? QString::fromStdString(*action.symbol) : QString();
  const QSizeF symbolSize = symbol.isEmpty() ? QSizeF() : Whirlpane::symbolSize(symbol, 12);
  if (!symbolSize.isEmpty()) {
    const QImage image = symbolImage(symbol, 12, color, painter.device()->devicePixelRatioF());
    const WheelPoint center{p.x, p.y + 7};
    painter.drawImage(
        view.toQt({center.x - symbolSize.width() / 2, center.y - symbolSize.height() / 2},
                  symbolSize),
        image);
    const Caption caption = fitWedgeCaption(label, true, geometry.count(), painter.device());
    drawCaption(painter, view, label, caption, captionOrigin({p.x, p.y - 7.5}, caption), color);
  } else {
    const Caption caption = fitWedgeCaption(label, false, geometry.count(), painter.device());
    drawCaption(painter, view, label, caption, captionOrigin(p, caption), color);
  }
}

// Shrinks `caption` of `text` in half-point steps, bold staying bold and
// anything lighter becoming semibold, while it is wider than `width` and
// larger than 6 points.
Caption shrunkToFit(const QString& text, Caption caption, qreal width, const QPaintDevice* device) {
  while (caption.measured.width() > width && caption.size > 6) {
    const QFont::Weight weight =
        caption.font.weight() >= QFont::Bold ? QFont::Bold : QFont::DemiBold;
    caption = measure(text, caption.size - 0.5, weight, caption.kerning, device);
  }
  return caption;
}

}  // namespace

QColor ink() { return rgba(0.12, 0.09, 0.07, 0.94); }
QColor hoverInk() { return rgba(1.0, 0.85, 0.74, 1.0); }
QColor centerInk() { return rgba(0.16, 0.12, 0.09, 0.92); }

QFont systemFont(qreal size, QFont::Weight weight, qreal kerning, const QPaintDevice* device) {
  QFont font = QGuiApplication::font();
  font.setPointSizeF(size * 72 / device->logicalDpiY());
  font.setWeight(weight);
  font.setLetterSpacing(QFont::AbsoluteSpacing, kerning);
  // Unhinted outlines keep fractional sizes apart and match the measures.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

qreal wedgeCaptionWidth(int count) {
  if (count < 2) return 2 * G::captionRadius;
  return 2 * G::captionRadius * std::sin(std::numbers::pi / count) - G::gap - 4;
}

Caption fitWedgeCaption(const QString& text, bool withSymbol, int count,
                        const QPaintDevice* device) {
  const Caption natural = withSymbol ? measure(text, 8, QFont::Bold, 0.45, device)
                                     : measure(text, 11, QFont::Bold, 0.2, device);
  return shrunkToFit(text, natural, wedgeCaptionWidth(count), device);
}

QString centerText(const WheelState& state) {
  using Kind = WheelState::CenterCaption::Kind;
  const WheelState::CenterCaption caption = state.centerCaption();
  const int count = static_cast<int>(caption.count);
  switch (caption.kind) {
    case Kind::files:
      //: The centre of the wheel: how many files the wheel acts on (two or more).
      return QCoreApplication::translate("Whirlpane::WheelPainter", "%n files", "", count);
    case Kind::drop:
      //: The centre of the wheel in Whirlpane's window while it waits for files, on two short
      //: lines (the line break is kept).
      return QCoreApplication::translate("Whirlpane::WheelPainter", "Drop files\nhere");
    case Kind::tools:
      //: The centre of the tools wheel, in capitals: the wheel offers the editors.
      return QCoreApplication::translate("Whirlpane::WheelPainter", "TOOLS");
    case Kind::convert:
      //: The centre of the formats wheel, in capitals, a verb: the wheel offers formats to
      //: convert to.
      return QCoreApplication::translate("Whirlpane::WheelPainter", "CONVERT");
    default:
      return QString::fromStdString(caption.text);
  }
}

Caption fitCenterCaption(const QString& text, const WheelState& state, const QPaintDevice* device) {
  const auto hovered = state.validHovered();
  const bool small = hovered && state.actions[*hovered].symbol.has_value();
  Caption caption = hovered ? measure(text, small ? 8 : 10, QFont::Bold, small ? 0.45 : 0.2, device)
                            : measure(text, 11, QFont::DemiBold, 0, device);
  return shrunkToFit(text, caption, centerCaptionWidth, device);
}

void paint(QPainter& painter, QSizeF size, const WheelState& state) {
  const WheelGeometry geometry(static_cast<int>(state.actions.size()), size.width(), size.height());
  const ViewCoordinates view(size.height());
  const WheelPoint c = geometry.center();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);

  // The frame: everything of the disc that no wedge covers, down to the hole.
  QPainterPath frame = circle(view, c, G::radius);
  frame.addPath(circle(view, c, G::hole));
  for (int i = 0; i < geometry.count(); ++i) frame.addPath(view.toQt(geometry.wedge(i)));
  frame.setFillRule(Qt::OddEvenFill);
  painter.fillPath(frame, rgba(0.5, 0.52, 0.58, state.hasGlassBackdrop ? 0.26 : 0.3));

  painter.strokePath(circle(view, c, G::radius - 0.6), QPen(white(0.55), 1.2));

  for (int i = 0; i < geometry.count(); ++i) paintWedge(painter, view, geometry, state, i);

  const QPainterPath disc = circle(view, c, G::hole);
  painter.fillPath(disc, rgba(0, 0, 0, state.hasGlassBackdrop ? 0.06 : 0.05));
  painter.strokePath(disc, QPen(white(0.72), 1));

  QPainterPath pill;
  pill.addRoundedRect(
      view.toQt({c.x - G::pillWidth / 2, c.y - G::pillHeight / 2}, {G::pillWidth, G::pillHeight}),
      G::pillHeight / 2, G::pillHeight / 2);
  painter.fillPath(pill, gradientAlong(pill, -90, white(0.42), white(0.3)));
  painter.strokePath(pill, QPen(white(0.55), 0.8));

  // Each line of the caption is fitted by itself; the lines stand centred
  // together.
  const QStringList lines = centerText(state).split('\n');
  std::vector<Caption> captions;
  double tall = 0;
  for (const QString& line : lines) {
    captions.push_back(fitCenterCaption(line, state, painter.device()));
    tall += captions.back().measured.height();
  }
  double top = c.y + tall / 2;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const Caption& caption = captions[static_cast<size_t>(i)];
    top -= caption.measured.height();
    const WheelPoint origin = captionOrigin({c.x, top + caption.measured.height() / 2}, caption);
    drawCaption(painter, view, lines[i], caption, origin, centerInk());
  }
  painter.restore();
}

}  // namespace Whirlpane::WheelPainter
