// SPDX-License-Identifier: GPL-3.0-or-later
// Metadata listing: the label and value rows the Metadata editor shows for a
// file. Facts every file has, then a PDF's pages and document information, or
// an image's frames, dimensions and every property its decoder and its
// embedded metadata (EXIF, GPS, IPTC, XMP, PNG text, JFIF) report, flattened
// into labels such as "Exif · ExposureTime". Only reads.
//
// Thread safety: any thread; calls share nothing.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace MediaEngine {

using MetadataRow = std::pair<std::string, std::string>;

// The rows for `url`, in order: "File", "Format", "Size", "Bytes", then
// "Created", "Modified" and "Content type" (the MIME type from the shared MIME
// database, by the content where the name says otherwise) when known; for a PDF "Pages", "Page
// size" and its document information sorted by key; for anything else that opens as an image
// "Frames", "Dimensions" and its properties, at most 250 rows in all, each
// value cut to 2,000 characters, binary values left out.
//
// Throws FileError when the file cannot be examined or read, Failure::unreadable
// when it is not a regular file, and what pdf() throws for a PDF. An image whose
// properties cannot be read gives the rows gathered so far.
std::vector<MetadataRow> metadata(const std::filesystem::path& url);

// A file size as people read it, in 1000-based units: "Zero KB", "1 byte",
// "812 bytes", "812 KB" (whole kilobytes), "2.4 MB" (one decimal), "1.23 GB"
// (two decimals from gigabytes on); no trailing zeros after the point. The
// "Size" row above and the interface's byte counts both use it.
std::string byteCount(long long bytes);

}  // namespace MediaEngine
