// SPDX-License-Identifier: GPL-3.0-or-later
// The file managers' "Whirlpane" submenu: the offer for a selection, and each
// generated integration read the way its file manager reads it, which must
// offer exactly that.
#include "app/desktop/file_manager_menu.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;
using Labels = std::vector<std::string>;

const Labels imageFormats{"Convert to PNG",  "Convert to WEBP", "Convert to HEIC",
                          "Convert to TIFF", "Convert to AVIF", "Convert to BMP",
                          "Convert to PDF",  "Convert to DOCX"};
const Labels editors{"Compress\u2026", "Remove Metadata\u2026", "Edit\u2026",
                     "Annotate\u2026", "Add Background\u2026",  "Crop\u2026",
                     "Redact\u2026"};
const Labels pdfFormats{"Convert to DOCX", "Convert to JPG", "Convert to PNG", "Convert to TXT"};

Labels plus(Labels a, const Labels& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The selections every integration is checked on, with what they offer.
struct Selection {
  Paths files;
  Labels offered;
};

std::vector<Selection> selections(const fs::path& folder) {
  return {
      {{folder / "photo.jpg"}, plus(imageFormats, editors)},
      {{folder / "scan.HEIC"}, plus(imageFormats, editors)},
      {{folder / "photo.jpg", folder / "b.png"}, imageFormats},
      {{folder / "report.pdf"}, pdfFormats},
      {{folder / "report.pdf", folder / "other.PDF"}, pdfFormats},
      {{folder / "photo.jpg", folder / "report.pdf"}, {}},  // mixed
      {{folder / "notes.txt"}, {}},
      {{folder / "photo.jpg", folder / "notes.txt"}, {}},
      {{folder / "album"}, {}},  // a folder
      {{folder / "album", folder / "photo.jpg"}, {}},
      {{}, {}},
  };
}

Labels labelsOf(const std::vector<MenuEntry>& entries) {
  Labels labels;
  for (const MenuEntry& entry : entries) labels.push_back(entry.label);
  return labels;
}

class FileManagerMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(folder / "album");
    for (const IntegrationFile& file : fileManagerIntegrations()) {
      fs::create_directories((share / file.path).parent_path());
      TestSupport::writeFile(share / file.path, file.contents);
    }
  }

  // The generated files below `under`, by name.
  std::map<std::string, std::string> generated(const std::string& under) const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(share / under)) {
      files[entry.path().filename()] = TestSupport::readFile(entry.path());
    }
    return files;
  }

  TestSupport::ScratchFolder folder;
  fs::path share = folder / "share";
};

TEST_F(FileManagerMenu, OffersWhatTheWheelWouldForTheSelection) {
  for (const Selection& selection : selections(folder.path())) {
    const std::vector<MenuEntry> entries = menuEntries(selection.files);
    EXPECT_EQ(labelsOf(entries), selection.offered) << testing::PrintToString(selection.files);
    for (const MenuEntry& entry : entries) {
      // What each entry runs is a request the program carries out.
      EXPECT_TRUE(entry.option == "--to" || entry.option == "--editor") << entry.label;
    }
  }
  EXPECT_EQ(menuEntries({folder / "photo.jpg"})[5], (MenuEntry{"Convert to BMP", "--to", "bmp"}));
  EXPECT_EQ(menuEntries({folder / "photo.jpg"})[13], (MenuEntry{"Crop\u2026", "--editor", "crop"}));
}

// One INI group of a desktop-style file: key → value.
using Group = std::map<std::string, std::string>;
std::map<std::string, Group> readGroups(const std::string& text) {
  std::map<std::string, Group> groups;
  std::istringstream lines(text);
  std::string line, current;
  while (std::getline(lines, line)) {
    if (line.starts_with('[')) {
      current = line.substr(1, line.size() - 2);
    } else if (const size_t equals = line.find('='); equals != std::string::npos) {
      groups[current][line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return groups;
}

bool listed(const std::string& list, const std::string& item) {
  std::istringstream items(list);
  for (std::string one; std::getline(items, one, ';');) {
    if (one == item) return true;
  }
  return false;
}

// The MIME type the shared MIME database gives each test file.
std::string mimeTypeOf(const fs::path& file) {
  static const std::map<std::string, std::string> types{
      {".jpg", "image/jpeg"},      {".png", "image/png"},       {".HEIC", "image/heif"},
      {".pdf", "application/pdf"}, {".PDF", "application/pdf"}, {".txt", "text/plain"}};
  const auto type = types.find(file.extension().string());
  return type == types.end() ? "inode/directory" : type->second;
}

bool allOf(const Paths& files, const std::string& mimeTypes) {
  return !files.empty() && std::all_of(files.begin(), files.end(), [&](const fs::path& file) {
    return listed(mimeTypes, mimeTypeOf(file));
  });
}

TEST_F(FileManagerMenu, DolphinNemoAndFileManagerActionsOfferTheSameEntries) {
  for (const Selection& selection : selections(folder.path())) {
    const std::string shown = testing::PrintToString(selection.files);
    const size_t count = selection.files.size();
    std::multiset<std::string> kio, nemo, actions;
    // KIO: a service menu applies when every file has one of its types.
    for (const auto& [name, text] : generated("kio/servicemenus")) {
      const auto groups = readGroups(text);
      const Group& entry = groups.at("Desktop Entry");
      EXPECT_EQ(entry.at("X-KDE-Submenu"), "Whirlpane") << name;
      if (!allOf(selection.files, entry.at("MimeType"))) continue;
      if (entry.count("X-KDE-MaxNumberOfUrls") && count > 1) continue;
      std::istringstream ids(entry.at("Actions"));
      for (std::string id; std::getline(ids, id, ';');) {
        kio.insert(groups.at("Desktop Action " + id).at("Name"));
      }
    }
    for (const auto& [name, text] : generated("nemo/actions")) {
      const Group action = readGroups(text).at("Nemo Action");
      if (!allOf(selection.files, action.at("Mimetypes"))) continue;
      if (action.at("Selection") == "S" && count != 1) continue;
      nemo.insert(action.at("Name").substr(std::string("Whirlpane: ").size()));
    }
    const auto files = generated("file-manager/actions");
    const Group menu = readGroups(files.at("whirlpane.desktop")).at("Desktop Entry");
    EXPECT_EQ(menu.at("Type"), "Menu");
    for (const auto& [name, text] : files) {
      if (name == "whirlpane.desktop") continue;
      EXPECT_TRUE(listed(menu.at("ItemsList"), fs::path(name).stem()))
          << name << " not in the menu";
      const auto groups = readGroups(text);
      const Group& profile = groups.at("X-Action-Profile whirlpane");
      if (!allOf(selection.files, profile.at("MimeTypes"))) continue;
      if (profile.at("SelectionCount") == "=1" && count != 1) continue;
      actions.insert(groups.at("Desktop Entry").at("Name"));
    }
    const std::multiset<std::string> expected(selection.offered.begin(), selection.offered.end());
    EXPECT_EQ(kio, expected) << shown;
    EXPECT_EQ(nemo, expected) << shown;
    EXPECT_EQ(actions, expected) << shown;
  }
}

TEST_F(FileManagerMenu, TheNautilusExtensionLoadsWithNautilusAndOffersTheSameEntries) {
  // Each selection on one line, its files separated by tabs; the extension's
  // offer printed the same way.
  std::string lines;
  for (const Selection& selection : selections(folder.path())) {
    std::string line;
    for (const fs::path& file : selection.files) line += (line.empty() ? "" : "\t") + file.string();
    lines += line + "\n";
  }
  TestSupport::writeFile(folder / "selections", lines);
  const fs::path extension = share / "nautilus-python/extensions/whirlpane.py";
  int status = -1;
  const std::string offered = TestSupport::shell(
      "/usr/bin/python3 -c 'import importlib.util, sys\n"
      "spec = importlib.util.spec_from_file_location(\"whirlpane\", sys.argv[1])\n"
      "module = importlib.util.module_from_spec(spec); spec.loader.exec_module(module)\n"
      "assert issubclass(module.WhirlpaneMenu, module.Nautilus.MenuProvider)\n"
      "for line in open(sys.argv[2]).read().split(\"\\n\")[:-1]:\n"
      "    paths = line.split(\"\\t\") if line else []\n"
      "    print(\"|\".join(\"%s %s %s\" % entry for entry in module.offer(paths)))' " +
          TestSupport::quoted(extension.string()) + " " +
          TestSupport::quoted((folder / "selections").string()) + " 2>&1",
      &status);
  ASSERT_EQ(status, 0) << offered;
  std::string expected;
  for (const Selection& selection : selections(folder.path())) {
    std::string line;
    for (const MenuEntry& entry : menuEntries(selection.files)) {
      line += (line.empty() ? "" : "|") + entry.label + " " + entry.option + " " + entry.value;
    }
    expected += line + "\n";
  }
  EXPECT_EQ(offered, expected);
}

TEST_F(FileManagerMenu, TheDesktopFilesPassTheirCheckerBeyondWhatItSaysOfEveryServiceOrAction) {
  // What desktop-file-validate says of any KIO service menu or
  // FileManager-Actions file, whose types and keys it does not know.
  const std::vector<std::string> always{
      "is present in group \"Desktop Entry\", but the type is \"Service\"",
      "is not a registered type value",
      "but keys extending the format should start with \"X-\"",
  };
  for (const std::string under : {"kio/servicemenus", "file-manager/actions"}) {
    for (const auto& [name, text] : generated(under)) {
      const std::string said =
          TestSupport::shell("desktop-file-validate " +
                             TestSupport::quoted((share / under / name).string()) + " 2>&1");
      std::istringstream lines(said);
      for (std::string line; std::getline(lines, line);) {
        const bool known = std::any_of(always.begin(), always.end(), [&](const std::string& part) {
          return line.find(part) != std::string::npos;
        });
        EXPECT_TRUE(known) << line;
      }
    }
  }
}

}  // namespace
}  // namespace Whirlpane
