// SPDX-License-Identifier: GPL-3.0-or-later
/* The boundary between the engine and libwhirlpane-heif.so, the small library
 * that drives libheif's HEVC and AV1 encoders. It is loaded only when a HEIC or
 * AVIF file is written, so that no other conversion pays for loading libheif
 * and its codecs. Plain C types only: both sides may change independently.
 *
 * Thread safety: both functions may be called from any thread at once; each
 * encode has its own libheif context and encoder. */
#pragma once

#include <stddef.h>

extern "C" {

enum WhirlpaneHeifCodec { whirlpaneHeifHEVC = 0, whirlpaneHeifAV1 = 1 };

/* Nonzero when libheif has an encoder for `codec`. */
int whirlpaneHeifCanEncode(int codec);

/* Encodes `height` rows of interleaved 8-bit RGB (or RGBA when `hasAlpha`)
 * pixels, `stride` bytes apart, at `quality` 0 to 100. On success returns 0 and
 * sets *out to a malloc'd buffer of *outSize bytes that the caller frees. On
 * failure returns nonzero and leaves a message in `error`. */
int whirlpaneHeifEncode(const unsigned char* pixels, int width, int height, size_t stride,
                        int hasAlpha, int codec, int quality, unsigned char** out, size_t* outSize,
                        char* error, size_t errorSize);
}
