// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/alerts.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QStringList>
#include <QWidget>

#include "whirlpane/formats.h"

namespace Whirlpane {

QMessageBox* showErrorAlert(const QString& detail, QWidget* parent, int files) {
  QString title;
  if (files > 1) {
    //: The alert's heading over the reasons of several files, %n of them (2 or more).
    title = QCoreApplication::translate("Whirlpane::ErrorAlert", "Couldn\u2019t complete %n files",
                                        nullptr, files);
  } else {
    //: The alert's heading; the reason follows below it.
    title =
        QCoreApplication::translate("Whirlpane::ErrorAlert", "Couldn\u2019t complete this file");
  }
  auto* alert = new QMessageBox(QMessageBox::Warning, "Whirlpane", title, QMessageBox::Ok, parent);
  alert->setObjectName("error-alert");
  alert->setInformativeText(detail);
  alert->setAttribute(Qt::WA_DeleteOnClose);
  alert->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
  // Our editors stay on top of other programs' windows; an alert below one
  // would block it unseen. (Setting the modality resets a message box's
  // window flags.)
  alert->setWindowFlag(Qt::WindowStaysOnTopHint);
  if (parent) {
    alert->open();
  } else {
    alert->show();
    alert->raise();
    alert->activateWindow();
  }
  return alert;
}

QString sourceNameFilter(const QString& label, bool withPdf) {
  QStringList lower, upper;
  for (const std::string_view extension : MediaEngine::sourceExtensions) {
    if (!withPdf && extension == "pdf") continue;
    const QString pattern =
        "*." + QString::fromLatin1(extension.data(), qsizetype(extension.size()));
    lower << pattern;
    upper << pattern.toUpper();
  }
  return label + " (" + (lower + upper).join(' ') + ")";
}

}  // namespace Whirlpane
