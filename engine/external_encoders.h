// External encoders: cwebp and avifenc, run as child processes when the image
// library cannot write WebP or AVIF itself, and the general child-process
// runner behind them.
//
// A child never outlives the call that started it: it runs in a process group
// of its own under a time limit and output limits, and is stopped (politely,
// then by force) when it exceeds them. Its scratch folders never outlive the
// call either.
//
// Thread safety: every function may be called from any thread; each call has
// its own child and folders. run() blocks its thread until the child ends.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bytes.h"
#include "engine/image_codec.h"

namespace MediaEngine {

// Limits of one child process.
struct ProcessLimits {
  std::chrono::milliseconds timeLimit{180'000};  // from launch
  std::chrono::milliseconds pollInterval{200};
  std::chrono::milliseconds grace{2'000};         // after the polite stop, before SIGKILL
  size_t errorLimit = 1'048'576;                 // standard error while running
};

// Runs `executable` with `args` (no shell; standard input from /dev/null; the
// environment as it is) and returns its complete standard output.
// Throws Failure::encoding "<name>: <first 1,000 characters of its standard
// error>" when it exits with another status than 0 or dies of a signal,
// Failure::encoding "<name> exceeded the time limit" when it runs too long,
// Failure::tooLarge when its standard output passes `maximumBytes` or its
// standard error passes the limit, and FileError when it cannot be started.
Bytes run(const std::filesystem::path& executable, const std::vector<std::string>& args,
          size_t maximumBytes, const ProcessLimits& limits = {});

// The folders searched for "webp/cwebp" and "avif/avifenc", in order: the
// installed resource folder's "Codecs", the source tree's "Resources/Codecs"
// as recorded at build time, and the working directory's "Resources/Codecs".
std::vector<std::filesystem::path> codecFolders();

// The executable encoder for "webp" or "avif" in the first of `folders` that
// holds one. Throws Failure::unsupported "The bundled WEBP encoder is missing.
// Rebuild the app with Resources/Codecs included." when none does.
std::filesystem::path codec(std::string_view format,
                            const std::vector<std::filesystem::path>& folders = codecFolders());

// Encodes `image` as "webp" or "avif" with the external encoder: the pixels go
// to it as a PNG without metadata, and the file it writes is checked for the
// format's signature. Throws Failure::encoding "The WEBP encoder returned an
// invalid file." when the check fails, and whatever codec() and run() throw.
Bytes externalEncode(const Image& image, std::string_view format, double quality,
                     const std::vector<std::filesystem::path>& folders = codecFolders());

}  // namespace MediaEngine
