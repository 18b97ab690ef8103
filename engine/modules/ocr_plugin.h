// SPDX-License-Identifier: GPL-3.0-or-later
/* The boundary between the engine and libwhirlpane-ocr.so, the small library
 * that drives Tesseract. It is loaded only when text is recognised, so that no
 * other conversion pays for loading Tesseract, Leptonica and their
 * dependencies. Plain C types only: both sides may change independently.
 *
 * Thread safety: recognisers may be started, used and stopped on any thread,
 * several at once; each one serves one thread at a time.
 *
 * The engine words every failure for the user; this side reports which one. */
#pragma once

#include <stddef.h>

extern "C" {

typedef struct WhirlpaneOcr WhirlpaneOcr;

/* Starts a recogniser for `languages`, Tesseract's "eng" or "eng+deu" form,
 * with the LSTM engine. Returns null when the language data cannot be loaded,
 * and leaves in `missing` the language that lacks it (all of `languages` when
 * Tesseract names none). One recogniser serves one thread at a time. */
WhirlpaneOcr* whirlpaneOcrStart(const char* languages, char* missing, size_t missingSize);

/* How a recognition fails. */
enum WhirlpaneOcrFailure { whirlpaneOcrFailed = 1, whirlpaneOcrOutOfMemory = 2 };

/* Recognises the text in `height` rows of 8-bit grey pixels, `stride` bytes
 * apart, scanned at `dpi` (0 when unknown). On success returns 0 and sets *text
 * to a malloc'd, NUL-terminated string that the caller frees: the recognised
 * lines in reading order, each ended by a line feed, blank lines left out. On
 * failure returns a WhirlpaneOcrFailure. */
int whirlpaneOcrRecognize(WhirlpaneOcr* ocr, const unsigned char* grey, int width, int height,
                          size_t stride, int dpi, char** text);

void whirlpaneOcrStop(WhirlpaneOcr* ocr);
}
