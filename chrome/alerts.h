// SPDX-License-Identifier: GPL-3.0-or-later
// The two things every window of ours asks of the user the same way: the
// alert that reports a failure, and the file chooser's filter of the files
// Whirlpane takes.
//
// Thread safety: main thread only.
#pragma once

#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

namespace Whirlpane {

// Shows "Couldn’t complete this file" ("Couldn’t complete 3 files" when
// `files`, the number of files `detail` reports, is more than one) with
// `detail` below it, without
// blocking the caller, and deletes it when it closes. It stays above every
// window, our always-on-top editors included. Over `parent`'s window it is
// modal to that window alone; without a parent, to the application.
QMessageBox* showErrorAlert(const QString& detail, QWidget* parent = nullptr, int files = 1);

// Asks for the password of the locked PDF `fileName`, with a password field
// ("That password does not open …" when `wrong`, the last one having failed),
// placed and modal as showErrorAlert() is, without blocking the caller.
// "Convert" (or Return) calls `onPassword` with what was typed; Cancel,
// Escape and closing call nothing. The field is emptied as the alert goes:
// the password is handed on, never kept. The field is named
// "password-alert.field" for tests.
QMessageBox* askPDFPassword(const QString& fileName, bool wrong, QWidget* parent,
                            std::function<void(const QString&)> onPassword);

// A file chooser's name filter, "`label` (*.png *.PNG ...)", for the source
// extensions the engine takes, in lower and in upper case; `withPdf` false
// leaves PDFs out.
QString sourceNameFilter(const QString& label, bool withPdf);

}  // namespace Whirlpane
