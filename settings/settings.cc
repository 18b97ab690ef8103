// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings.h"

#include <QDir>
#include <QSettings>

namespace Whirlpane {
namespace {

void store(const QString& key, bool value) {
  QSettings settings(settingsFilePath(), QSettings::IniFormat);
  settings.setValue(key, value);
}

}  // namespace

QString settingsFilePath() {
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.config";
  return base + "/Whirlpane/Whirlpane.conf";
}

std::optional<bool> storedBoolean(const QString& key) {
  const QSettings settings(settingsFilePath(), QSettings::IniFormat);
  const QVariant value = settings.value(key);
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  if (value.typeId() != QMetaType::QString) return std::nullopt;
  const QString text = value.toString();
  if (text.compare("true", Qt::CaseInsensitive) == 0) return true;
  if (text.compare("false", Qt::CaseInsensitive) == 0) return false;
  return std::nullopt;
}

bool automaticDrag() { return storedBoolean("automaticDrag").value_or(true); }

void setAutomaticDrag(bool on) { store("automaticDrag", on); }

bool hasOpenedWhirlpane() { return storedBoolean("hasOpenedWhirlpane").value_or(false); }

void setHasOpenedWhirlpane() { store("hasOpenedWhirlpane", true); }

bool systemGlassSetting() { return storedBoolean("useSystemGlass").value_or(true); }

}  // namespace Whirlpane
