// SPDX-License-Identifier: GPL-3.0-or-later
// What the wheel shows at one moment: its wedges, its files, the hovered wedge
// and the caption fade. Drawing reads nothing else, so a picture of the wheel
// can be made from a value of this type alone.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "wheel/wheel_action.h"

namespace Whirlpane {

struct WheelState {
  std::vector<WheelAction> actions;                     // one wedge each, in order
  std::optional<std::filesystem::path> file;            // the wheel's file
  std::vector<std::filesystem::path> files;             // what a choice applies to
  std::vector<std::filesystem::path> provisionalFiles;  // the drag over the wheel
  std::optional<int> hovered;     // highlighted wedge; ignored when out of range
  bool isTools = false;           // the tools wheel is showing
  double labelAlpha = 1.0;        // opacity of the wedge captions and symbols, 0 to 1
  bool hasGlassBackdrop = false;  // a translucent, blurred backdrop lies behind
  bool invitesDrop = false;       // the wheel waits for files: its pill asks for them
  // The size of labelledFile() in words ("2.4 MB"), read by whoever sets the
  // files, once for each change of them; none when it could not be read.
  std::optional<std::string> sizeText;

  // `hovered` when it names one of the actions, otherwise none.
  std::optional<int> validHovered() const;

  // The one file whose size the pill shows when no wedge is hovered: the
  // first of the drag's files while a drag is over the wheel, else of
  // `files`, else `file`; none when those hold two or more files, or none.
  std::optional<std::filesystem::path> labelledFile() const;

  // What the pill says, the first rule that applies: the hovered wedge's
  // label; the number of files when there are two or more (the drag's files
  // while a drag is over the wheel, else `files`); `sizeText` when there is
  // one file; with no file at all, the invitation to drop some where the
  // wheel `invitesDrop`; otherwise the tools' or the formats' caption.
  struct CenterCaption {
    enum class Kind { label, files, size, drop, tools, convert };
    Kind kind = Kind::convert;
    std::string text;       // the label or the size; empty for the other kinds
    std::size_t count = 0;  // the number of files, for `files`
  };
  CenterCaption centerCaption() const;

  // centerCaption() in English words: the label, "N files", the size, "Drop
  // files here", "TOOLS" or "CONVERT". The painter puts it in the program's language.
  std::string centerLabel() const;

 private:
  // The drag's files while a drag is over the wheel, else `files`.
  const std::vector<std::filesystem::path>& labelledFiles() const;
};

}  // namespace Whirlpane
