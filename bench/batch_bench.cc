// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the wheel's batch path (BatchConversion, its pool of workers of the
// whirlpane executable) over the files given, in one process, as the desktop program
// does after a drop on the formats wheel. Prints the failures, if any, and
// exits 1 when there were some.
//
// Usage: batch-bench WHIRLPANE FORMAT [--workers N] FILE...
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "app/desktop/batch_conversion.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("Usage: batch-bench WHIRLPANE FORMAT [--workers N] FILE...\n", stderr);
    return 2;
  }
  int first = 3;
  int workers = Whirlpane::BatchConversion::defaultWorkers();
  if (std::string(argv[3]) == "--workers" && argc > 5) {
    workers = std::atoi(argv[4]);
    first = 5;
  }
  std::vector<std::filesystem::path> files(argv + first, argv + argc);
  Whirlpane::BatchConversion batch(argv[1], workers);
  std::promise<Whirlpane::BatchConversion::Result> ended;
  batch.start(std::move(files), argv[2], {}, [&](Whirlpane::BatchConversion::Result result) {
    ended.set_value(std::move(result));
  });
  const Whirlpane::BatchConversion::Result result = ended.get_future().get();
  for (const std::string& failure : result.failures) std::fprintf(stderr, "%s\n", failure.c_str());
  return result.failures.empty() ? 0 : 1;
}
