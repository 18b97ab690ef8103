#include "tests/support/processes.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace TestSupport {

const fs::path& standIns() {
  static const fs::path folder = fs::path(WHIRLPANE_SOURCE_DIR) / "tests/support/stand-ins";
  return folder;
}

int processesMatching(const std::string& marker) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string stat = TestSupport::readFile(entry.path() / "stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    std::string state;
    pid_t parent = 0;
    fields >> state >> parent;
    if (state == "Z") continue;
    std::string command = TestSupport::readFile(entry.path() / "cmdline");
    std::replace(command.begin(), command.end(), '\0', ' ');
    if (parent == ::getpid() || (!marker.empty() && command.find(marker) != std::string::npos))
      ++count;
  }
  return count;
}

void NothingLeftBehind::SetUp() {
  const char* previous = std::getenv("TMPDIR");
  if (previous) savedTemporary_ = previous;
  ::setenv("TMPDIR", temporary_.path().c_str(), 1);
}

void NothingLeftBehind::TearDown() {
  EXPECT_TRUE(TestSupport::listFolder(temporary_.path()).empty())
      << "a scratch folder outlived the call";
  EXPECT_EQ(processesMatching(""), 0) << "a child outlived the call";
  if (savedTemporary_) {
    ::setenv("TMPDIR", savedTemporary_->c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

}  // namespace TestSupport
