// WebP files without their metadata chunks. Internal to the engine; any thread.
#pragma once

#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

// `webp` without the chunks that hold metadata (EXIF, XMP, ICCP), with the
// extended header's flags for them cleared. libvips 8.14 writes an EXIF chunk of its own making
// (orientation, resolution, version fields) into every WebP file, "strip" or not. The chunks that
// hold metadata are dropped here, and the extended header's flags for them cleared. Data that is
// not a well-formed WebP file is left alone.
Bytes withoutWebPMetadata(Bytes webp);

}  // namespace MediaEngine::detail
