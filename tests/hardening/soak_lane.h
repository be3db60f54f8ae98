// One lane of the soak: a driver instance and a simulator of its own on a
// pseudo-terminal, a seeded run of reads, writes and bit writes, each checked
// against the line model.
#ifndef TCUDVNT_TESTS_SOAK_LANE_H
#define TCUDVNT_TESTS_SOAK_LANE_H

#include <cstdint>
#include <map>
#include <string>

namespace tcudv::test {

struct LaneSettings {
  unsigned index = 0;
  uint64_t seed = 0;
  unsigned transactions = 0;
  std::string simulator;  // path of tcudv-sim
};

struct LaneReport {
  bool passed = false;
  unsigned done = 0;
  std::string failure;                   // what went wrong, with the records that show it
  std::map<std::string, unsigned> seen;  // transactions, results, faults met
};

LaneReport RunLane(const LaneSettings& settings);

}  // namespace tcudv::test

#endif
