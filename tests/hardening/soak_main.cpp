// The seeded soak: driver instances through LdiMain against tcudv-sim with
// random line faults, every result and value checked against what the faults
// the simulator reports predict by the driver's rules.
//   soak --sim PATH [--seed N] [--transactions N] [--lanes N]
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "soak_lane.h"

namespace {

using tcudv::test::LaneReport;
using tcudv::test::LaneSettings;

struct Settings {
  std::string simulator;
  uint64_t seed = 0;
  bool seedGiven = false;
  unsigned transactions = 20000;
  unsigned lanes = 4;
};

bool Number(const char* text, unsigned long long& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return end != text && *end == '\0';
}

bool ParseArguments(int argc, char** argv, Settings& settings) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    unsigned long long value = 0;
    if (name == "--sim") {
      settings.simulator = argv[i + 1];
    } else if (name == "--seed" && Number(argv[i + 1], value)) {
      settings.seed = value;
      settings.seedGiven = true;
    } else if (name == "--transactions" && Number(argv[i + 1], value) && value > 0) {
      settings.transactions = static_cast<unsigned>(value);
    } else if (name == "--lanes" && Number(argv[i + 1], value) && value > 0 && value <= 16) {
      settings.lanes = static_cast<unsigned>(value);
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !settings.simulator.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  if (!ParseArguments(argc, argv, settings)) {
    std::fprintf(stderr, "usage: %s --sim PATH [--seed N] [--transactions N] [--lanes N]\n",
                 argv[0]);
    return 2;
  }
  if (!settings.seedGiven)
    settings.seed = std::random_device{}() ^ static_cast<uint64_t>(getpid()) << 32;
  settings.simulator = std::filesystem::absolute(settings.simulator).string();

  std::string scratch = (std::filesystem::temp_directory_path() / "tcudvnt-soak-XXXXXX").string();
  if (mkdtemp(scratch.data()) == nullptr || chdir(scratch.c_str()) != 0) {
    std::fprintf(stderr, "soak: no scratch directory\n");
    return 2;
  }
  std::ofstream("TCUDV.INT") << "IFG = 0\n";

  std::printf("soak: seed %llu, %u transactions in %u lanes, in %s\n",
              static_cast<unsigned long long>(settings.seed), settings.transactions, settings.lanes,
              scratch.c_str());
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  std::vector<LaneReport> reports(settings.lanes);
  std::vector<std::thread> threads;
  for (unsigned lane = 0; lane < settings.lanes; ++lane) {
    LaneSettings laneSettings;
    laneSettings.index = lane;
    laneSettings.seed = std::mt19937_64(settings.seed + lane)();
    laneSettings.transactions = settings.transactions / settings.lanes +
                                (lane < settings.transactions % settings.lanes ? 1 : 0);
    laneSettings.simulator = settings.simulator;
    threads.emplace_back(
        [laneSettings, &reports, lane] { reports[lane] = tcudv::test::RunLane(laneSettings); });
  }
  for (std::thread& thread : threads) thread.join();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::map<std::string, unsigned> seen;
  unsigned done = 0;
  bool passed = true;
  for (unsigned lane = 0; lane < settings.lanes; ++lane) {
    done += reports[lane].done;
    for (const auto& [what, count] : reports[lane].seen) seen[what] += count;
    if (!reports[lane].passed) {
      passed = false;
      std::printf("soak: lane %u FAILED: %s\n", lane, reports[lane].failure.c_str());
    }
  }
  for (const auto& [what, count] : seen) std::printf("  %-28s %u\n", what.c_str(), count);
  std::printf("soak: %u transactions in %.0f s: %s\n", done, seconds, passed ? "passed" : "FAILED");
  if (!passed) {
    std::printf("soak: repeat with: %s --sim %s --seed %llu --transactions %u --lanes %u\n",
                argv[0], settings.simulator.c_str(), static_cast<unsigned long long>(settings.seed),
                settings.transactions, settings.lanes);
    return 1;
  }
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  return 0;
}
