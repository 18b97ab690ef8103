// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/pdf_password.h"

#include <string.h>

#include <mutex>

namespace MediaEngine::detail {
namespace {

std::mutex mutex;
std::string current;  // guarded by mutex

}  // namespace

void setPDFPassword(std::string password) {
  std::lock_guard lock(mutex);
  // The old text goes from memory, not only from use.
  ::explicit_bzero(current.data(), current.size());
  current = std::move(password);
}

std::string pdfPassword() {
  std::lock_guard lock(mutex);
  return current;
}

}  // namespace MediaEngine::detail
