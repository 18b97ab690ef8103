// Finds and loads libwhirlpane-engine.so: <dir of the executable>/../lib/whirlpane,
// which holds in the build tree and in an installed tree alike.
#pragma once

#include <string>

#include "whirlpane/engine_entry.h"

namespace Whirlpane {

// The engine's entry table. On failure returns null and sets `error` to a
// sentence saying why.
const WhirlpaneEngine* loadEngine(std::string& error);

}  // namespace Whirlpane
