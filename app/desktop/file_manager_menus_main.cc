// SPDX-License-Identifier: GPL-3.0-or-later
// whirlpane-file-manager-menus FOLDER: writes the file managers' integrations
// below FOLDER (a data folder such as /usr/share), as the build does for the
// build tree and the package.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/desktop/file_manager_menu.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: whirlpane-file-manager-menus FOLDER\n");
    return 2;
  }
  namespace fs = std::filesystem;
  for (const Whirlpane::IntegrationFile& file : Whirlpane::fileManagerIntegrations()) {
    const fs::path path = fs::path(argv[1]) / file.path;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << file.contents;
    if (!out.flush()) {
      std::perror(path.c_str());
      return 1;
    }
  }
  return 0;
}
