// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/document_support.h"

#include "base/plugin.h"
#include "base/translation.h"
#include "whirlpane/failure.h"

namespace MediaEngine::detail {

const DocumentSupport& documentSupport() {
  static const DocumentSupport* const table = []() -> const DocumentSupport* {
    void* library = openPlugin("libwhirlpane-documents.so");
    const auto entry =
        pluginSymbol<decltype(whirlpaneDocumentSupport)>(library, "whirlpaneDocumentSupport");
    return entry ? entry() : nullptr;
  }();
  if (!table) {
    throw Failure::unsupported(
        translated("PDF and document support is missing from this installation "
                   "(libwhirlpane-documents.so could not be loaded)."));
  }
  return *table;
}

}  // namespace MediaEngine::detail
