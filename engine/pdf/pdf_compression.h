// SPDX-License-Identifier: GPL-3.0-or-later
// Rewriting a PDF with its images recompressed, for compress(). Internal to
// the engine. This file and its source are kept to C++17: qpdf's headers do
// not compile as C++20 with every compiler we build with.
#pragma once

#include <filesystem>
#include <string>

namespace MediaEngine::detail {

// The PDF at `url` with every image JPEG can hold as it is (8-bit grey or RGB,
// no mask, no remapped values, data qpdf can decode) recompressed as JPEG at
// `quality` where that is smaller, and, below 0.8, first reduced to 150
// pixels per inch of the largest size it is shown at. Every other object is
// kept as it was; object streams are generated. Throws Failure::encoding
// "PDF optimization failed" when the document cannot be rewritten.
std::string compressedPDF(const std::filesystem::path& url, double quality);

}  // namespace MediaEngine::detail
