// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/rendering/background_style.h"

#include <QCoreApplication>

namespace Whirlpane {

QColor rgb(std::uint32_t hex) {
  return QColor::fromRgb((hex >> 16) & 0xFF, (hex >> 8) & 0xFF, hex & 0xFF);
}

namespace {

BackgroundStyle::Blob blob(std::uint32_t hex, double x, double y, double radius) {
  return {rgb(hex), x, y, radius};
}

BackgroundStyle solid(const char* name, std::uint32_t hex) {
  return {QString::fromUtf8(name), {rgb(hex)}, false, {}};
}

}  // namespace

QString BackgroundStyle::displayName() const {
  return QCoreApplication::translate("Whirlpane::BackgroundStyle", name.toUtf8().constData());
}

// The names are translated where they are shown (displayName()); the
// backdrops' own names are in English. The gradients are named for what they
// look like; the colours are plain colour names.
const std::vector<BackgroundStyle>& BackgroundStyle::gradients() {
  static const std::vector<BackgroundStyle> list = {
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Sunset"),
       {rgb(0xFF718D), rgb(0xFFAD60)},
       true,
       {}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Daybreak"),
       {rgb(0x8EA8F2), rgb(0xE9E6F2), rgb(0xF8F6F6)},
       false,
       {blob(0xA58BF0, 0.05, 1.0, 0.5), blob(0xF6B38A, 0.98, 0.98, 0.4)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Sorbet"),
       {rgb(0xF2E35C)},
       false,
       {blob(0xF27AC0, 0.9, 0.95, 0.6), blob(0xE8453C, 0.02, 0.02, 0.45),
        blob(0x7CD69A, 0.18, 0.5, 0.4), blob(0x58C8F0, 1.0, 0.3, 0.5)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Cloud"),
       {rgb(0xF6F1F4)},
       false,
       {blob(0xD9C3EC, 0.0, 1.0, 0.7), blob(0xF3B9CF, 1.0, 0.0, 0.7)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Lavender"),
       {rgb(0xEDB4D4)},
       false,
       {blob(0xB79AE6, 0.0, 1.0, 0.7), blob(0xF3A3C6, 0.6, 0.3, 0.5),
        blob(0xC9A0E8, 1.0, 0.0, 0.6)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Garden"),
       {rgb(0x1E3A2E)},
       false,
       {blob(0xE23A3F, 0.95, 0.95, 0.6), blob(0xF08A3C, 0.55, 0.0, 0.55),
        blob(0x3E9D63, 0.1, 0.4, 0.45), blob(0x0B1410, 0.05, 0.95, 0.45)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Sky"),
       {rgb(0x6E8FF2)},
       false,
       {blob(0x8FE0F4, 0.05, 0.05, 0.55), blob(0x8E7CF0, 0.0, 1.0, 0.6),
        blob(0x4D7BF0, 1.0, 0.5, 0.6)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Lagoon"),
       {rgb(0x2FB5D4)},
       false,
       {blob(0x6FE9E2, 0.55, 0.4, 0.6), blob(0x2C9FD0, 0.0, 1.0, 0.6)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Ice"),
       {rgb(0xEEF0FA)},
       false,
       {blob(0xAEBDF2, 0.0, 1.0, 0.7), blob(0xD8D0F4, 1.0, 0.8, 0.5)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Dusk"),
       {rgb(0x23264F)},
       false,
       {blob(0x7D4BD8, 0.0, 1.0, 0.7), blob(0xF2795A, 1.0, 0.0, 0.7)}},
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Mint"),
       {rgb(0xC9F2DF)},
       false,
       {blob(0x5FD3B0, 0.0, 0.0, 0.7), blob(0xF4F7C6, 1.0, 1.0, 0.6)}},
  };
  return list;
}

const std::vector<BackgroundStyle>& BackgroundStyle::solids() {
  static const std::vector<BackgroundStyle> list = {
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "White"), 0xEFEEEC),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Yellow"), 0xE8B434),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Lime"), 0x8CC63C),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Green"), 0x2F9A5A),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Teal"), 0x1F8F80),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Cyan"), 0x3EB4C8),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Blue"), 0x3150D2),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Charcoal"), 0x1F2B3B),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Purple"), 0x7A45CC),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Pink"), 0xE2559A),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Red"), 0xE0432F),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Orange"), 0xF08A24),
      solid(QT_TRANSLATE_NOOP("Whirlpane::BackgroundStyle", "Black"), 0x111111),
  };
  return list;
}

}  // namespace Whirlpane
