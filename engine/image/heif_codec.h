// SPDX-License-Identifier: GPL-3.0-or-later
// HEIC and AVIF writing through libwhirlpane-heif.so, loaded on first use.
// Internal to the engine. Thread safety: any thread.
#pragma once

#include <optional>

#include "image/image.h"
#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

enum class HeifCodec { hevc, av1 };

// True when the plugin loads and libheif has an encoder for `codec`.
bool heifCanEncode(HeifCodec codec);

// The encoded file, or nullopt when the encoder failed.
std::optional<Bytes> encodeHeif(const Image& image, HeifCodec codec, int quality);

}  // namespace MediaEngine::detail
