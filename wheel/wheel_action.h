// SPDX-License-Identifier: GPL-3.0-or-later
// One wedge of the wheel: what it shows and what it asks the application to do.
// The formats wheel offers output formats for the file at hand; the tools wheel
// offers the editors. Plain values, no window needed.
//
// Thread safety: plain values and functions of their arguments; any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Whirlpane {

struct WheelAction {
  std::string label;                  // upper-case caption; also ends the progress title
  std::optional<std::string> symbol;  // icon name (Resources/icons/<symbol>.svg); tools only
  std::string key;                    // output-format identifier for formats, editor key for tools
  // The tools wheel's wedges are the editors', made by the application from
  // the editor table; the formats are decided here.

  // The formats offered for `file`, decided by its extension alone (the file is
  // never opened): "pdf" in any case gives DOCX, JPG, PNG, TXT; anything else,
  // no extension or no file gives PNG, WEBP, HEIC, TIFF, AVIF, BMP, PDF, DOCX,
  // except that the source's own format gives its wedge to JPG (a HEIC photo:
  // PNG, WEBP, JPG, TIFF, ...; "heif" and "tif" count as HEIC and TIFF).
  // Each key is its label in lower case.
  static std::vector<WheelAction> formats(const std::optional<std::filesystem::path>& file);

  // What a file of `file`'s kind may be converted to from the command line
  // and the file managers' menus, whose static image menus cannot tell one
  // image format from another: for an image, the eight a JPEG is offered and
  // those the wheel offers `file`; for a PDF, its four.
  static std::vector<WheelAction> convertibleTo(const std::filesystem::path& file);

  bool operator==(const WheelAction&) const = default;
};

}  // namespace Whirlpane
