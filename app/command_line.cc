#include "app/command_line.h"

#include <algorithm>

#include "engine/formats.h"

namespace Whirlpane {
namespace {

// Index of the first argument equal to `option`, or npos.
size_t find(const std::vector<std::string>& arguments, std::string_view option) {
  const auto it = std::find(arguments.begin(), arguments.end(), option);
  return it == arguments.end() ? std::string::npos : static_cast<size_t>(it - arguments.begin());
}

}  // namespace

Invocation parseCommandLine(const std::vector<std::string>& arguments) {
  using Mode = Invocation::Mode;
  const size_t convert = find(arguments, "--convert");
  if (convert != std::string::npos) {
    const size_t to = find(arguments, "--to");
    if (convert + 1 >= arguments.size() || to == std::string::npos || to + 1 >= arguments.size()) {
      return {Mode::usageError, {}, {}};
    }
    return {Mode::convert, arguments[convert + 1], arguments[to + 1]};
  }
  if (find(arguments, "--version") != std::string::npos) return {Mode::version, {}, {}};
  if (find(arguments, "--help") != std::string::npos) return {Mode::help, {}, {}};
  return {Mode::application, {}, {}};
}

std::string helpText() {
  std::string text;
  text += usageLine;
  text += "\n       Whirlpane --version\n       Whirlpane --help\n\n";
  text += "Converts one file and prints the path of every file written beside it.\n";
  text += "Existing files are never replaced: a taken name gets a number (\"photo 2.png\").\n\n";
  text += "Output formats:";
  for (std::string_view format : MediaEngine::outputFormats) {
    text += ' ';
    text += format;
  }
  text += "\n(jpeg, tif and heif are accepted for jpg, tiff and heic.)\n";
  return text;
}

}  // namespace Whirlpane
