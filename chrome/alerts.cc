// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/alerts.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include "whirlpane/formats.h"

namespace Whirlpane {

namespace {

// Shows `alert` over `parent` (modal to its window) or over everything
// (modal to the application), above our always-on-top editors.
void present(QMessageBox* alert, QWidget* parent) {
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
}

}  // namespace

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
  present(alert, parent);
  return alert;
}

QMessageBox* askPDFPassword(const QString& fileName, bool wrong, QWidget* parent,
                            std::function<void(const QString&)> onPassword) {
  //: The heading of the alert that asks for a locked PDF's password; %1 is the file's name.
  const QString title = QCoreApplication::translate("Whirlpane::PasswordAlert",
                                                    "\u201c%1\u201d is locked with a password")
                            .arg(fileName);
  auto* alert =
      new QMessageBox(QMessageBox::Warning, "Whirlpane", title, QMessageBox::NoButton, parent);
  alert->setObjectName("password-alert");
  if (wrong) {
    //: Below the heading, after a password that did not open the PDF.
    alert->setInformativeText(QCoreApplication::translate(
        "Whirlpane::PasswordAlert",
        "That password does not open it. Type the password again to convert it."));
  } else {
    //: Below the heading. The password is used once and not saved anywhere.
    alert->setInformativeText(QCoreApplication::translate(
        "Whirlpane::PasswordAlert",
        "Type its password to convert it. The password is used for this conversion only and is "
        "not saved."));
  }
  //: The button that converts the locked PDF with the password typed.
  QPushButton* convert = alert->addButton(
      QCoreApplication::translate("Whirlpane::PasswordAlert", "Convert"), QMessageBox::AcceptRole);
  alert->addButton(QMessageBox::Cancel);
  alert->setDefaultButton(convert);
  alert->setEscapeButton(QMessageBox::Cancel);

  auto* field = new QLineEdit(alert);
  field->setObjectName("password-alert.field");
  field->setEchoMode(QLineEdit::Password);
  // Room for a long password, and an alert wide enough to read at a glance.
  field->setMinimumWidth(280);
  //: The password field's name for screen readers, and its greyed text while empty.
  const QString label = QCoreApplication::translate("Whirlpane::PasswordAlert", "Password");
  field->setAccessibleName(label);
  field->setPlaceholderText(label);
  // Between the text and the buttons: the buttons move a row down.
  if (auto* grid = qobject_cast<QGridLayout*>(alert->layout())) {
    if (auto* buttons = alert->findChild<QDialogButtonBox*>()) {
      int row = 0, column = 0, rows = 0, columns = 0;
      grid->getItemPosition(grid->indexOf(buttons), &row, &column, &rows, &columns);
      grid->removeWidget(buttons);
      grid->addWidget(field, row, 2, 1, 1);
      grid->addWidget(buttons, row + 1, column, rows, columns);
    }
  }
  QObject::connect(alert, &QMessageBox::buttonClicked, alert,
                   [convert, field, onPassword = std::move(onPassword)](QAbstractButton* button) {
                     const QString password = field->text();
                     field->clear();
                     if (button == convert && onPassword) onPassword(password);
                   });
  present(alert, parent);
  field->setFocus();
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
