// SPDX-License-Identifier: GPL-3.0-or-later
// The password the user gave this process for opening locked PDFs. It lives
// in memory only, for the conversions of this one process (the desktop program
// runs each file in a child of its own), and is never written anywhere.
//
// Thread safety: any thread.
#pragma once

#include <string>

namespace MediaEngine::detail {

// Replaces the password; an empty one means none was given.
void setPDFPassword(std::string password);

// The password given, or an empty string.
std::string pdfPassword();

}  // namespace MediaEngine::detail
