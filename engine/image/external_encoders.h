// SPDX-License-Identifier: GPL-3.0-or-later
// External encoders: cwebp and avifenc, run as child processes (see
// child_process.h) when the image library cannot write WebP or AVIF itself.
// They are found only in the resource folder that belongs to this engine
// library, never relative to the working folder or any other path, so that
// no file a user happens to convert beside can choose the program we run.
//
// Thread safety: any thread; each call has its own child and scratch folder,
// which never outlive it.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "whirlpane/bytes.h"

namespace MediaEngine {

// The folders searched for "webp/cwebp" and "avif/avifenc": the "Codecs"
// folder of the resource folder beside this engine library (installed, or the
// build tree, which has the installed layout).
std::vector<std::filesystem::path> codecFolders();

// The executable encoder for "webp" or "avif" in the first of `folders` that
// holds one. Throws Failure::unsupported "The bundled WEBP encoder is missing.
// Rebuild the app with Resources/Codecs included." when none does.
std::filesystem::path codec(std::string_view format,
                            const std::vector<std::filesystem::path>& folders = codecFolders());

// Encodes `png`, a picture as a PNG without metadata, as "webp" or "avif" with
// the external encoder; the file it writes is checked for the format's
// signature. Throws Failure::encoding "The WEBP encoder returned an
// invalid file." when the check fails, and whatever codec() and run() throw.
Bytes externalEncode(const Bytes& png, std::string_view format, double quality,
                     const std::vector<std::filesystem::path>& folders = codecFolders());

}  // namespace MediaEngine
