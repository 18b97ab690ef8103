// SPDX-License-Identifier: GPL-3.0-or-later
// The conversion pipeline: one source file and one requested format in, the
// published output files out. The one entry the command line and the wheel's
// format wedges use.
//
// Thread safety: convert() keeps no shared state and may run on several threads
// and in several processes at once, also for sources in one folder.
#pragma once

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace MediaEngine {

// Converts `source` to `format` (any spelling normalized() accepts) and returns
// the written files in order. The outputs go into `outputFolder`, or beside
// the source when it is empty. Every output is produced and staged in a hidden
// folder there before the first is published under a free name; no existing
// file is ever replaced and the source never changes.
//
// On failure: a Failure or FileError. Failure::noRoom and
// Failure::folderNotWritable when the outputs' folder is full or may not be
// written. Nothing is published unless the failure happened while publishing,
// in which case the message names or counts the files already saved.
std::vector<std::filesystem::path> convert(const std::filesystem::path& source,
                                           std::string_view format,
                                           const std::filesystem::path& outputFolder = {});

// The password this process's conversions open a locked PDF with, from now
// on; empty for none. Held in memory only and never written anywhere. Without
// one a locked PDF fails with Failure::lockedPDF; with one that does not open
// it, with Failure::wrongPassword.
void usePDFPassword(std::string password);

// True when `error` is Failure::lockedPDF or Failure::wrongPassword: a
// password, or another one, would let the conversion go on.
bool needsPDFPassword(const std::exception& error);

}  // namespace MediaEngine
