// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' pictures as Qt images: decoded through the engine (upright,
// sRGB, within the pixel budget) and handed back to it for writing.
//
// Thread safety: any thread (QImage is reentrant).
#pragma once

#include <QImage>
#include <filesystem>

#include "whirlpane/picture_file.h"

namespace Whirlpane {

// `file` decoded as a premultiplied ARGB image. Throws what the engine throws
// for a file it cannot decode.
QImage loadEditorImage(const std::filesystem::path& file);

// The image's pixels as the engine takes them (a copy).
MediaEngine::Picture pictureOf(const QImage& image);

}  // namespace Whirlpane
