#include "editors/editor_coordinator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace Whirlpane {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 9> actions{{
    {"crop", "crop"},
    {"background", "background"},
    {"add bg", "background"},
    {"addbg", "background"},
    {"annotate", "annotate"},
    {"redact", "redact"},
    {"edit", "edit"},
    {"compress", "compress"},
    {"metadata", "metadata"},
}};

}  // namespace

std::optional<std::string> EditorCoordinator::editorKey(const std::string& action) {
  std::string lower = action;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const auto& [name, key] : actions) {
    if (lower == name) return std::string(key);
  }
  return std::nullopt;
}

void EditorCoordinator::open(const std::string& action, const std::filesystem::path&,
                             std::optional<QPointF>, Saved) {
  // No editor window exists yet for any key: every action, known or not, is
  // reported the same way until the editors are built.
  if (report_) {
    report_(QString::fromUtf8("The \u201C") + QString::fromStdString(action) +
            QString::fromUtf8("\u201D editor is not available."));
  }
}

}  // namespace Whirlpane
