// The pure routines per call: SingleAddressParser through LdiMain, and FormatValue.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iterator>

#include "allocation_counter.h"
#include "core/workspace.h"
#include "entry/ldi.h"
#include "params/parameter_table.h"
#include "protocol/value_text.h"

namespace tcudv::bench {
namespace {

Workspace DefaultWorkspace() {
  Workspace workspace{};
  for (auto& row : workspace.resolution) {
    for (uint32_t param = 0; param < kParameterCount; ++param) {
      row[param] = static_cast<uint8_t>(kDefaultResolution[param]);
    }
  }
  return workspace;
}

void BM_SingleAddressParser(benchmark::State& state) {
  static Workspace workspace = DefaultWorkspace();
  const struct {
    const char* address;
    int32_t kind;
  } gates[] = {{"01SET", LDI_KIND_FLOAT},
               {"12pwr", LDI_KIND_FLOAT},
               {"05OST3", LDI_KIND_DIGITAL},
               {"07INT", LDI_KIND_ANALOG16},
               {"99A2R", LDI_KIND_DIGITAL}};
  size_t next = 0;
  size_t allocations = 0;
  for (auto _ : state) {
    LdiGateAddress gate{};
    gate.address = gates[next].address;
    gate.kind = gates[next].kind;
    next = (next + 1) % std::size(gates);
    LdiCall call{};
    call.workspace = &workspace;
    call.operation = LDI_OP_SINGLE_ADDRESS_PARSER;
    call.record = &gate;
    test::CountingScope counting;
    benchmark::DoNotOptimize(LdiMain(&call));
    allocations += counting.Count().allocations;
  }
  state.counters["allocs"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

void BM_FormatValue(benchmark::State& state) {
  const struct {
    const char* format;
    float value;
  } cases[] = {
      {"04.0", 150.0f}, {"05.1", 50.5f}, {"06.1", -12.35f}, {"05.3", 1.25f}, {"05.2", 2.675f}};
  size_t next = 0;
  size_t allocations = 0;
  char text[8];
  for (auto _ : state) {
    std::memcpy(text, cases[next].format, std::strlen(cases[next].format) + 1);
    const float value = cases[next].value;
    next = (next + 1) % std::size(cases);
    test::CountingScope counting;
    benchmark::DoNotOptimize(FormatValue(text, value));
    allocations += counting.Count().allocations;
    benchmark::ClobberMemory();
  }
  state.counters["allocs"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_SingleAddressParser);
BENCHMARK(BM_FormatValue);

}  // namespace
}  // namespace tcudv::bench
