// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/file_manager_menu.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <system_error>

#include "editors/editor_table.h"
#include "wheel/wheel_action.h"
#include "whirlpane/formats.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

enum class Kind { image, pdf, none };

Kind kindOf(const fs::path& file) {
  std::error_code ignored;
  if (fs::is_directory(file, ignored)) return Kind::none;
  const std::string extension = file.extension().string();
  if (extension.empty()) return Kind::none;
  const std::string lower = MediaEngine::asciiLower(extension.substr(1));
  if (lower == "pdf") return Kind::pdf;
  const auto& known = MediaEngine::sourceExtensions;
  return std::find(known.begin(), known.end(), lower) != known.end() ? Kind::image : Kind::none;
}

// The MIME types of the sources of one kind, as the shared MIME database names
// them (HEIC files are announced as either).
std::vector<std::string> mimeTypes(Kind kind) {
  static const std::map<std::string_view, std::vector<std::string>> byExtension{
      {"png", {"image/png"}},   {"jpg", {"image/jpeg"}},
      {"jpeg", {"image/jpeg"}}, {"heic", {"image/heic", "image/heif"}},
      {"heif", {"image/heif"}}, {"webp", {"image/webp"}},
      {"tif", {"image/tiff"}},  {"tiff", {"image/tiff"}},
      {"avif", {"image/avif"}}, {"bmp", {"image/bmp"}},
      {"gif", {"image/gif"}},   {"pdf", {"application/pdf"}},
  };
  std::vector<std::string> types;
  for (const std::string_view extension : MediaEngine::sourceExtensions) {
    if ((extension == "pdf") != (kind == Kind::pdf)) continue;
    for (const std::string& type : byExtension.at(extension)) {
      if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
    }
  }
  return types;
}

std::vector<MenuEntry> formatEntries(Kind kind) {
  std::vector<MenuEntry> entries;
  for (const WheelAction& action :
       WheelAction::formats(fs::path(kind == Kind::pdf ? "a.pdf" : "a.jpg"))) {
    entries.push_back({"Convert to " + action.label, "--to", action.key});
  }
  return entries;
}

std::vector<MenuEntry> editorEntries() {
  std::vector<MenuEntry> entries;
  for (const EditorEntry& editor : editorTable()) {
    entries.push_back({editor.menuLabel, "--editor", editor.key});
  }
  return entries;
}

std::string joined(const std::vector<std::string>& items, std::string_view separator,
                   std::string_view after = "") {
  std::string text;
  for (const std::string& item : items) text += item + std::string(separator);
  if (!after.empty() && !text.empty())
    text.replace(text.size() - separator.size(), separator.size(), after);
  return text;
}

// An action's identifier: "image-to-png", "image-editor-crop", "pdf-to-txt".
std::string identifier(Kind kind, const MenuEntry& entry) {
  return std::string(kind == Kind::pdf ? "pdf" : "image") +
         (entry.option == "--to" ? "-to-" : "-editor-") + entry.value;
}

// The command line an entry runs: every selected file, or the one.
std::string command(const MenuEntry& entry) {
  return "whirlpane " + entry.option + " " + entry.value + (entry.option == "--to" ? " %F" : " %f");
}

struct Group {
  Kind kind;
  std::vector<MenuEntry> entries;
  bool single;  // offered only for one file
};

std::vector<Group> groups() {
  return {{Kind::image, formatEntries(Kind::image), false},
          {Kind::image, editorEntries(), true},
          {Kind::pdf, formatEntries(Kind::pdf), false}};
}

// KIO service menus: one file per group, joined in Dolphin's "Whirlpane"
// submenu. KIO shows a service menu when every selected file has one of its
// MIME types, and lists a submenu's actions sorted by their identifiers, over
// every file that shares it: each identifier leads with the entry's place in
// the submenu (from `first` on), which keeps the wheel's order.
IntegrationFile kioServiceMenu(const Group& group, const std::string& name, size_t first) {
  std::vector<std::string> actions;
  for (const MenuEntry& entry : group.entries) {
    const size_t place = first + actions.size();
    actions.push_back(std::string(place < 10 ? "0" : "") + std::to_string(place) + "-" +
                      identifier(group.kind, entry));
  }
  std::string text =
      "[Desktop Entry]\n"
      "Type=Service\n"
      "Name=Whirlpane\n"
      "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
      "MimeType=" +
      joined(mimeTypes(group.kind), ";") +
      "\n"
      "Actions=" +
      joined(actions, ";") +
      "\n"
      "X-KDE-Submenu=Whirlpane\n";
  if (group.single) text += "X-KDE-MaxNumberOfUrls=1\n";
  for (size_t at = 0; at < group.entries.size(); ++at) {
    const MenuEntry& entry = group.entries[at];
    text += "\n[Desktop Action " + actions[at] +
            "]\n"
            "Name=" +
            entry.label +
            "\n"
            "Icon=whirlpane\n"
            "Exec=" +
            command(entry) + "\n";
  }
  return {"kio/servicemenus/whirlpane-" + name + ".desktop", text};
}

// Nemo's actions, one file each. Nemo 5.6 has no submenus for them, so each
// name carries the program's.
IntegrationFile nemoAction(const Group& group, const MenuEntry& entry) {
  return {"nemo/actions/whirlpane-" + identifier(group.kind, entry) + ".nemo_action",
          "[Nemo Action]\n"
          "Active=true\n"
          "Name=Whirlpane: " +
              entry.label +
              "\n"
              "Comment=Whirlpane: " +
              entry.label +
              "\n"
              "Exec=" +
              command(entry) +
              "\n"
              "Icon-Name=whirlpane\n"
              "Selection=" +
              (group.single ? "S" : "NotNone") +
              "\n"
              "Mimetypes=" +
              joined(mimeTypes(group.kind), ";") + "\n"};
}

// FileManager-Actions: one action per entry and the menu that lists them.
IntegrationFile fileManagerAction(const Group& group, const MenuEntry& entry) {
  return {"file-manager/actions/whirlpane-" + identifier(group.kind, entry) + ".desktop",
          "[Desktop Entry]\n"
          "Type=Action\n"
          "Name=" +
              entry.label +
              "\n"
              "Icon=whirlpane\n"
              "Profiles=whirlpane;\n"
              "\n"
              "[X-Action-Profile whirlpane]\n"
              "Name=" +
              entry.label +
              "\n"
              "MimeTypes=" +
              joined(mimeTypes(group.kind), ";") +
              "\n"
              "SelectionCount=" +
              (group.single ? "=1" : ">0") +
              "\n"
              "Exec=" +
              command(entry) + "\n"};
}

std::string pythonString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string pythonEntries(const std::vector<MenuEntry>& entries) {
  std::string list = "[\n";
  for (const MenuEntry& entry : entries) {
    list += "    (" + pythonString(entry.label) + ", " + pythonString(entry.option) + ", " +
            pythonString(entry.value) + "),\n";
  }
  return list + "]";
}

IntegrationFile nautilusExtension() {
  std::vector<std::string> images;
  for (const std::string_view extension : MediaEngine::sourceExtensions) {
    if (extension != "pdf") images.push_back(pythonString(extension));
  }
  return {"nautilus-python/extensions/whirlpane.py",
          R"(# SPDX-License-Identifier: GPL-3.0-or-later
# The "Whirlpane" submenu in GNOME Files' context menu, for nautilus-python
# with Nautilus 43 and later. Written by Whirlpane's build from the program's
# own offer: the formats for the selected kind, then for a single image the
# editors; nothing for folders, other files, or images and PDFs together.
import os
import subprocess

import gi

gi.require_version("Nautilus", "4.0")
from gi.repository import GObject, Nautilus  # noqa: E402

IMAGE_EXTENSIONS = {)" +
              joined(images, ", ") + R"(}
IMAGE_FORMATS = )" +
              pythonEntries(formatEntries(Kind::image)) + R"(
EDITORS = )" + pythonEntries(editorEntries()) +
              R"(
PDF_FORMATS = )" +
              pythonEntries(formatEntries(Kind::pdf)) + R"(


def kind(path):
    if os.path.isdir(path):
        return None
    extension = os.path.splitext(path)[1][1:].encode().lower().decode()
    if extension == "pdf":
        return "pdf"
    return "image" if extension in IMAGE_EXTENSIONS else None


def offer(paths):
    """The entries for a selection of local paths: (label, option, value)."""
    kinds = {kind(path) for path in paths}
    if len(kinds) != 1 or None in kinds:
        return []
    if kinds == {"pdf"}:
        return list(PDF_FORMATS)
    return IMAGE_FORMATS + (EDITORS if len(paths) == 1 else [])


def run(_item, arguments):
    subprocess.Popen(["whirlpane", *arguments], start_new_session=True,
                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL)


class WhirlpaneMenu(GObject.GObject, Nautilus.MenuProvider):
    def get_file_items(self, files):
        paths = [item.get_location().get_path() for item in files]
        if None in paths:
            return []
        entries = offer(paths)
        if not entries:
            return []
        top = Nautilus.MenuItem(name="Whirlpane::Menu", label="Whirlpane")
        submenu = Nautilus.Menu()
        top.set_submenu(submenu)
        for index, (label, option, value) in enumerate(entries):
            item = Nautilus.MenuItem(name="Whirlpane::Entry%d" % index, label=label)
            item.connect("activate", run, [option, value, *paths])
            submenu.append_item(item)
        return [top]
)"};
}

}  // namespace

std::vector<MenuEntry> menuEntries(const std::vector<fs::path>& selection) {
  std::set<Kind> kinds;
  for (const fs::path& file : selection) kinds.insert(kindOf(file));
  if (kinds.size() != 1 || kinds.count(Kind::none)) return {};
  const Kind kind = *kinds.begin();
  std::vector<MenuEntry> entries = formatEntries(kind);
  if (kind == Kind::image && selection.size() == 1) {
    const std::vector<MenuEntry> editors = editorEntries();
    entries.insert(entries.end(), editors.begin(), editors.end());
  }
  return entries;
}

std::vector<IntegrationFile> fileManagerIntegrations() {
  std::vector<IntegrationFile> files{nautilusExtension()};
  const std::vector<Group> all = groups();
  const char* const names[] = {"image-formats", "image-editors", "pdf-formats"};
  std::vector<std::string> listed;
  std::map<Kind, size_t> placed;  // entries already in each kind's submenu
  for (size_t i = 0; i < all.size(); ++i) {
    files.push_back(kioServiceMenu(all[i], names[i], placed[all[i].kind]));
    placed[all[i].kind] += all[i].entries.size();
    for (const MenuEntry& entry : all[i].entries) {
      files.push_back(nemoAction(all[i], entry));
      files.push_back(fileManagerAction(all[i], entry));
      listed.push_back("whirlpane-" + identifier(all[i].kind, entry));
    }
  }
  files.push_back({"file-manager/actions/whirlpane.desktop",
                   "[Desktop Entry]\n"
                   "Type=Menu\n"
                   "Name=Whirlpane\n"
                   "Icon=whirlpane\n"
                   "ItemsList=" +
                       joined(listed, ";") + "\n"});
  return files;
}

}  // namespace Whirlpane
