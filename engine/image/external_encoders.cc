// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/external_encoders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "base/file_io.h"
#include "base/locations.h"
#include "base/translation.h"
#include "base/unicode.h"
#include "files/child_process.h"
#include "files/output_placement.h"
#include "files/working_files.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

constexpr size_t encoderOutputLimit = 16'777'216;

bool isExecutableFile(const fs::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

bool hasSignature(const Bytes& file, std::string_view format) {
  const std::string_view bytes = file.text();
  if (format == "webp")
    return bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WEBP";
  return bytes.size() >= 16 && bytes.substr(4, 4) == "ftyp" && bytes.substr(8, 4) == "avif";
}

// avifenc before version 1.0 (Debian 12 ships 0.11) knows neither -q nor
// --qalpha; it takes quantizers from 0 (lossless) to 63 instead.
bool avifencTakesQuality(const fs::path& encoder) {
  const Bytes answer = run(encoder, {"--version"}, 65536);
  const std::string_view text = answer.text();
  const size_t at = text.find("Version: ");
  if (at == std::string_view::npos) return true;
  const char major = at + 9 < text.size() ? text[at + 9] : '1';
  return !(major == '0' && at + 10 < text.size() && text[at + 10] == '.');
}

std::vector<std::string> encoderArguments(std::string_view format, const fs::path& encoder,
                                          long quality, const fs::path& input,
                                          const fs::path& output) {
  const std::string q = std::to_string(quality);
  if (format == "webp") {
    return {"-quiet", "-q",           q,    "-m",           "6", "-mt", "-metadata",
            "none",   input.string(), "-o", output.string()};
  }
  if (avifencTakesQuality(encoder)) {
    return {"-q",     q,   "--qalpha",      "100",          "--speed",      "6",
            "--jobs", "2", "--ignore-exif", "--ignore-xmp", input.string(), output.string()};
  }
  // The quantizer libavif 1.0 derives from -q itself.
  const std::string quantizer = std::to_string(((100 - quality) * 63 + 50) / 100);
  return {"--min",         quantizer,
          "--max",         quantizer,
          "--minalpha",    "0",
          "--maxalpha",    "0",
          "--speed",       "6",
          "--jobs",        "2",
          "--ignore-exif", "--ignore-xmp",
          input.string(),  output.string()};
}

}  // namespace

std::vector<fs::path> codecFolders() { return {detail::resourceFolder() / "Codecs"}; }

fs::path codec(std::string_view format, const std::vector<fs::path>& folders) {
  const fs::path relative = format == "webp" ? "webp/cwebp" : "avif/avifenc";
  for (const fs::path& folder : folders) {
    if (isExecutableFile(folder / relative)) return folder / relative;
  }
  throw Failure::unsupported(translated(
      "The bundled %1$s encoder is missing. Rebuild the app with Resources/Codecs included.",
      {upperCased(format)}));
}

Bytes externalEncode(const Bytes& png, std::string_view format, double quality,
                     const std::vector<fs::path>& folders) {
  // Found first: there is no point in preparing work for an encoder that is not there.
  const fs::path encoder = codec(format, folders);
  const FolderGuard work(temporaryDirectory());
  const fs::path input = work.path() / "input.png";
  const fs::path output = work.path() / ("output." + std::string(format));
  detail::writeAll(WorkingFiles::createFileIn(work.path(), "input.png").get(), png.span(), input);
  // Rounded to the nearest whole number, halves away from zero: 0.005 is 1.
  const long q = std::clamp(std::lround(quality * 100.0), 0L, 100L);
  run(encoder, encoderArguments(format, encoder, q, input, output), encoderOutputLimit);
  Bytes file = detail::readWholeFile(output);
  if (!hasSignature(file, format)) {
    throw Failure::encoding(
        translated("The %1$s encoder returned an invalid file.", {upperCased(format)}));
  }
  return file;
}

}  // namespace MediaEngine
