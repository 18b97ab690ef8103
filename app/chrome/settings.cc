#include "app/chrome/settings.h"

#include <QDir>
#include <QSettings>

namespace Whirlpane {

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

}  // namespace Whirlpane
