#include "app/desktop/app_settings.h"

#include <QSettings>

#include "app/chrome/settings.h"

namespace Whirlpane {
namespace {

void store(const QString& key, bool value) {
  QSettings settings(settingsFilePath(), QSettings::IniFormat);
  settings.setValue(key, value);
}

}  // namespace

bool automaticDrag() { return storedBoolean("automaticDrag").value_or(true); }

void setAutomaticDrag(bool on) { store("automaticDrag", on); }

bool hasOpenedWhirlpane() { return storedBoolean("hasOpenedWhirlpane").value_or(false); }

void setHasOpenedWhirlpane() { store("hasOpenedWhirlpane", true); }

}  // namespace Whirlpane
