// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/interface_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <system_error>

namespace Whirlpane {
namespace {

const QString prefix = QStringLiteral("whirlpane_");
const QString suffix = QStringLiteral(".qm");

// Loads `file` into a translator owned by the application and installs it;
// false (and nothing installed) when it cannot be read.
bool install(const QString& file) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(file)) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace

QString chooseCatalogue(const QStringList& uiLanguages, const QStringList& shipped) {
  for (const QString& tag : uiLanguages) {
    const QLocale wanted(tag);
    if (wanted.language() == QLocale::English || wanted.language() == QLocale::C) return {};
    QString sameScript;
    for (const QString& name : shipped) {
      const QLocale offered(name);
      if (offered.language() != wanted.language() || offered.script() != wanted.script()) continue;
      // A catalogue named for the language alone serves all its territories.
      if (!name.contains('_') || offered.territory() == wanted.territory()) return name;
      if (sameScript.isEmpty()) sameScript = name;
    }
    if (!sameScript.isEmpty()) return sameScript;
  }
  return {};
}

std::filesystem::path translationsFolder() {
  std::error_code ignored;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ignored);
  return (program.parent_path() / "../share/whirlpane/translations").lexically_normal();
}

QString installInterfaceLanguage(const std::filesystem::path& folder,
                                 const QStringList& uiLanguages) {
  if (const QString file = qEnvironmentVariable("WHIRLPANE_TRANSLATION"); !file.isEmpty()) {
    QTranslator probe;
    return probe.load(file) && install(file) ? probe.language() : QString();
  }
  const QDir catalogues(QString::fromStdString(folder.string()));
  QStringList shipped;
  for (const QString& entry : catalogues.entryList({prefix + "*" + suffix}, QDir::Files)) {
    shipped << entry.mid(prefix.size(), entry.size() - prefix.size() - suffix.size());
  }
  const QString chosen = chooseCatalogue(uiLanguages, shipped);
  if (chosen.isEmpty() || !install(catalogues.filePath(prefix + chosen + suffix))) return {};
  // Qt names some catalogues for the language alone (qtbase_de), others with
  // the territory (qtbase_pt_BR); a missing one leaves Qt's texts English.
  const QDir qt(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  for (const QString& name : {chosen, chosen.section('_', 0, 0)}) {
    if (install(qt.filePath("qtbase_" + name + suffix))) break;
  }
  return chosen;
}

}  // namespace Whirlpane
