// The benchmarks' line: tcudv-sim on a pseudo-terminal with one controller,
// and a driver instance started on it with IFG = 0, in a scratch directory.
#ifndef TCUDVNT_BENCH_BENCH_LINE_H
#define TCUDVNT_BENCH_BENCH_LINE_H

#include <cstdint>
#include <string>

#include "core/workspace.h"
#include "entry/ldi.h"

namespace tcudv::bench {

class BenchLine {
 public:
  // Starts the simulator and the driver once; false with `error` set when either fails.
  static BenchLine* Get(std::string& error);

  int32_t Call(uint32_t operation, void* record);

 private:
  BenchLine() = default;
  bool Start(std::string& error);

  Workspace workspace{};
};

}  // namespace tcudv::bench

#endif
