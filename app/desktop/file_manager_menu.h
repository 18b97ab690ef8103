// SPDX-License-Identifier: GPL-3.0-or-later
// The "Whirlpane" submenu of the file managers' context menus: what it offers
// for a selection, and the files that put it into each file manager. The
// offer is the wheel's: the formats for the selected kind in the wheel's
// order, then, for a single image, the editors. Each entry hands the files to
// the program as `whirlpane --to FORMAT FILE...` or `whirlpane --editor KEY
// FILE`. The integrations are generated from this one rule at build time, so
// a format or an editor added to the wheel cannot be missing from a menu.
// The menus are per kind (images, PDFs), not per format, so an image's menu
// offers the formats the wheel offers a JPEG (PNG, WEBP, HEIC, TIFF, AVIF,
// BMP, PDF, DOCX); where the wheel gives a source's own format's wedge to
// JPG, the menu keeps the format, which writes a converted copy beside it.
//
// Thread safety: plain functions of their arguments; any thread.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Whirlpane {

struct MenuEntry {
  std::string label;   // "Convert to PNG", "Crop…"
  std::string option;  // "--to" or "--editor"
  std::string value;   // the format or the editor's key

  bool operator==(const MenuEntry&) const = default;
};

// The entries for `selection`: none for an empty selection, a folder, a file
// Whirlpane does not open, or a selection of images and PDFs together.
// Decided by the files' extensions, as the wheel decides.
std::vector<MenuEntry> menuEntries(const std::vector<std::filesystem::path>& selection);

struct IntegrationFile {
  std::string path;  // below the data folder (/usr/share), "kio/servicemenus/..."
  std::string contents;
};

// Every file that puts the submenu into a file manager: a nautilus-python
// extension for GNOME Files, KIO service menus for Dolphin and KDE's file
// dialogs, Nemo actions, and FileManager-Actions entries for PCManFM,
// PCManFM-Qt and Caja.
std::vector<IntegrationFile> fileManagerIntegrations();

}  // namespace Whirlpane
