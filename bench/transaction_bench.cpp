// A read and a write transaction over a pseudo-terminal against tcudv-sim with
// IFG = 0: wall time against the time the driver's rules make it wait, CPU
// time of the calling thread, and heap allocations, per transaction.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "bench_line.h"
#include "entry/ldi.h"
#include "line_waits.h"

namespace tcudv::bench {
namespace {

constexpr int kTransactions = 600;

// User plus system time of the calling thread (the kernel's split of the two is sampled).
double ThreadCpuUs() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 + usage.ru_utime.tv_usec +
         usage.ru_stime.tv_usec;
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const size_t at = static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5);
  return values[at];
}

// One gate of node 1, SET, as the address parser gives it: a float.
struct SetGate {
  LdiGateIo io{};
  float value = 0;
  SetGate() {
    io.label = "01SET";
    io.node = 1;
    io.type = LDI_TYPE_FLOAT;
    io.param = 2;
    io.bit = -1;
    io.value = &value;
  }
};

void RunTransactions(benchmark::State& state, uint32_t operation) {
  std::string error;
  BenchLine* line = BenchLine::Get(error);
  if (line == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  SetGate gate;
  gate.value = 150.0f;
  if (line->Call(operation, &gate.io) != LDI_OK) {  // the first frame also sets the line up
    state.SkipWithError("the transaction failed");
    return;
  }
  std::vector<double> ratios;
  ratios.reserve(kTransactions);
  double ruleMs = 0;
  double oversleptUs = 0;
  double ownUs = 0;
  size_t allocations = 0;
  uint32_t sleeps = 0;
  const double cpuBefore = ThreadCpuUs();
  for (auto _ : state) {
    gate.value = 150.0f;
    StartWaits();
    const int64_t start = NowNs();
    int32_t result;
    {
      test::CountingScope counting;
      result = line->Call(operation, &gate.io);
      allocations += counting.Count().allocations;
    }
    const int64_t wall = NowNs() - start;
    const LineWaits waits = TakeWaits();
    if (result != LDI_OK) {
      state.SkipWithError("the transaction failed");
      break;
    }
    const int64_t rules = waits.askedNs + waits.pollNs;
    ratios.push_back(static_cast<double>(wall) / static_cast<double>(rules));
    ruleMs += static_cast<double>(rules) / 1e6;
    oversleptUs += static_cast<double>(waits.sleptNs - waits.askedNs) / 1e3;
    ownUs += static_cast<double>(wall - waits.sleptNs - waits.pollNs) / 1e3;
    sleeps += waits.sleeps;
    state.SetIterationTime(static_cast<double>(wall) / 1e9);
  }
  const double cpuUs = ThreadCpuUs() - cpuBefore;
  if (ratios.empty()) return;
  const double n = static_cast<double>(ratios.size());
  state.counters["ratio_min"] = Quantile(ratios, 0.0);
  state.counters["ratio_med"] = Quantile(ratios, 0.5);
  state.counters["ratio_p99"] = Quantile(ratios, 0.99);
  state.counters["ratio_max"] = Quantile(ratios, 1.0);
  state.counters["rules_ms"] = ruleMs / n;
  state.counters["sleeps"] = sleeps / n;
  state.counters["overslept_us"] = oversleptUs / n;
  state.counters["rest_us"] = ownUs / n;
  state.counters["cpu_us"] = cpuUs / n;
  state.counters["allocs"] = static_cast<double>(allocations) / n;
}

void BM_ReadTransaction(benchmark::State& state) {
  RunTransactions(state, LDI_OP_SINGLE_READ);
}
void BM_WriteTransaction(benchmark::State& state) {
  RunTransactions(state, LDI_OP_SINGLE_WRITE);
}

BENCHMARK(BM_ReadTransaction)
    ->Iterations(kTransactions)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTransaction)
    ->Iterations(kTransactions)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tcudv::bench
