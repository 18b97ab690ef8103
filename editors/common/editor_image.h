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

// What an editor shows while the whole picture is decoded: the picture
// reduced, and the size of the whole.
struct EditorPreview {
  QImage image;  // premultiplied ARGB
  QSize fullSize;
};

// The longer side of the picture an editor shows first: enough for the
// largest view of any editor at twice its size.
inline constexpr int editorPreviewSide = 1024;

// `file` decoded the fast way at about editorPreviewSide, with the size of
// the whole. Throws what the engine throws for a file that is no picture.
EditorPreview loadEditorPreview(const std::filesystem::path& file);

// The image's pixels as the engine takes them (a copy).
MediaEngine::Picture pictureOf(const QImage& image);

}  // namespace Whirlpane
