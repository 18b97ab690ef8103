// One wedge of the wheel: what it shows and what it asks the application to do.
// The formats wheel offers output formats for the file at hand; the tools wheel
// offers the editors. Plain values, no window needed.
//
// Thread safety: values; the shared tools list is built once and never changes.
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

  // The seven tools in wedge order: COMPRESS, METADATA, EDIT, ANNOTATE, ADD BG,
  // CROP, REDACT.
  static const std::vector<WheelAction>& tools();

  // The formats offered for `url`, decided by its extension alone (the file is
  // never opened): "pdf" in any case gives DOCX, JPG, PNG, TXT; anything else,
  // no extension or no file gives PNG, WEBP, HEIC, TIFF, AVIF, BMP, PDF, DOCX.
  // Each key is its label in lower case.
  static std::vector<WheelAction> formats(const std::optional<std::filesystem::path>& url);

  // True when `key` names one of the tools; every other key is a conversion.
  static bool isTool(const std::string& key);

  bool operator==(const WheelAction&) const = default;
};

}  // namespace Whirlpane
