#include "soak_lane.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "core/workspace.h"
#include "entry/ldi.h"
#include "fixed_log.h"
#include "line_model.h"
#include "params/parameter_table.h"
#include "sim_events.h"
#include "sim_process.h"

namespace tcudv::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kReplyTimeout = 2;  // 20 ms
constexpr int kEventWaitMs = 3000;
// Nodes 1 to 4 answer (node 3 leaves PWR and SET unanswered), 5 is silent, 6 absent.
constexpr unsigned kNodes = 6;
constexpr char kFaults[] = "hash=0.02,garbage=0.03,drop=0.03,cut=0.03,long=0.03,delay=0.003";
constexpr char kLateDelayMs[] = "1000";
// Held-back replies are waited out before the next transaction empties the input.
constexpr int kLateMarginMs = 200;
constexpr uint32_t kWordParams[] = {5, 6, 15, 20,
                                    21};  // INT DER BIA IT2 DT2: words at resolution 0

class LaneFeed : public EventFeed {
 public:
  explicit LaneFeed(SimEventReader& reader) : reader(reader) {}
  bool Next(SimEvent& event, std::string& error) override {
    if (!reader.Next(event, kEventWaitMs, error)) return false;
    records += event.line + "\n";
    return true;
  }
  std::string records;  // of the current transaction

 private:
  SimEventReader& reader;
};

struct Lane {
  explicit Lane(const LaneSettings& settings)
      : settings(settings), random(settings.seed), feed(reader), model(feed) {}

  int32_t Call(uint32_t operation, void* record) {
    LdiCall call{};
    call.workspace = &workspace;
    call.operation = operation;
    call.instance = settings.index;
    call.record = record;
    return LdiMain(&call);
  }

  bool Start(LaneReport& report);
  bool Transaction(unsigned number, LaneReport& report);
  ModelGate PickGate(bool forWrite);
  void PickValue(ModelGate& gate);

  const LaneSettings& settings;
  std::mt19937_64 random;
  Workspace workspace{};
  SimProcess simulator;
  SimEventReader reader;
  LaneFeed feed;
  LineModel model;
  std::vector<ModelGate> gates[kNodes + 1];  // by node, one per parameter the parser accepts
  Clock::time_point lateUntil = Clock::now();
};

std::string Name(const char* base, unsigned index) {
  return "./" + std::string(base) + std::to_string(index);
}

bool Lane::Start(LaneReport& report) {
  const std::string link = Name("soak", settings.index);
  const std::string events = Name("events", settings.index);
  std::string error;
  const std::vector<std::string> arguments = {"--pty",
                                              "--link",
                                              link,
                                              "--nodes",
                                              "1-4",
                                              "--silent",
                                              "5",
                                              "--unanswered",
                                              "3:PWR,SET",
                                              "--fault-rate",
                                              kFaults,
                                              "--fault-delay",
                                              kLateDelayMs,
                                              "--seed",
                                              std::to_string(settings.seed),
                                              "--events",
                                              events};
  if (!simulator.Start(settings.simulator, arguments, link, Name("simlog", settings.index),
                       error) ||
      !reader.Open(events)) {
    report.failure = error.empty() ? "cannot read " + events : error;
    return false;
  }

  LdiStartup startup{};
  std::snprintf(startup.portName, sizeof startup.portName, "%s", link.c_str());
  startup.openPort = 1;
  startup.replyTimeout = kReplyTimeout;
  startup.lineParams = LdiLineParams{9600, 7, 0, 2};
  if (Call(LDI_OP_COLD_START, &startup) != LDI_OK) {
    report.failure = "ColdStart failed: " + RecentFixedLogLines();
    return false;
  }
  if (workspace.frameGap != 0) {
    report.failure = "the initialisation file's IFG = 0 did not take";
    return false;
  }
  for (unsigned node = 1; node <= kNodes; ++node) {
    for (uint32_t param = 0; param < kParameterCount; ++param) {
      char address[8];
      std::snprintf(address, sizeof address, param == kParamOst ? "%02u%s0" : "%02u%s", node,
                    kMnemonic[param]);
      for (int32_t kind : {LDI_KIND_FLOAT, LDI_KIND_ANALOG16, LDI_KIND_DIGITAL}) {
        LdiGateAddress parsed{};
        parsed.address = address;
        parsed.kind = kind;
        if (Call(LDI_OP_SINGLE_ADDRESS_PARSER, &parsed) != LDI_OK) continue;
        ModelGate gate;
        gate.node = parsed.node;
        gate.type = parsed.type;
        gate.param = parsed.param;
        gate.bit = parsed.bit;
        gates[node].push_back(gate);
        break;
      }
    }
  }
  return true;
}

ModelGate Lane::PickGate(bool bitWrite) {
  const unsigned roll = static_cast<unsigned>(random() % 100);
  const unsigned node = roll < 85 ? 1 + roll % 4 : roll < 92 ? 5 : 6;
  if (bitWrite) {
    const uint32_t param = kWordParams[random() % std::size(kWordParams)];
    for (const ModelGate& gate : gates[node]) {
      if (gate.param != param) continue;
      ModelGate chosen = gate;
      chosen.bit = static_cast<int32_t>(random() % 4);
      return chosen;
    }
  }
  ModelGate gate = gates[node][random() % gates[node].size()];
  if (gate.param == kParamOst) gate.bit = static_cast<int32_t>(random() % 4);
  return gate;
}

void Lane::PickValue(ModelGate& gate) {
  const uint64_t bits = random();
  std::memcpy(gate.cell, &bits, sizeof gate.cell);
  const unsigned resolution = workspace.resolution[gate.node][gate.param];
  if (gate.type == LDI_TYPE_FLOAT) {
    // Whole numbers of the last digit, so the value text has one right answer.
    const int32_t steps = static_cast<int32_t>(random() % 21001) - 10500;
    const float value = static_cast<float>(steps / std::pow(10.0, resolution));
    std::memcpy(gate.cell, &value, sizeof value);
  } else if (gate.type == LDI_TYPE_WORD) {
    const bool control = (kFlags[gate.param] & PF_CONTROL) != 0;
    const uint16_t controls[] = {1, 2, 1, 2, 0, 3};
    const int32_t any = static_cast<int32_t>(random() % 21001) - 10500;
    uint16_t word = control ? controls[random() % 6] : static_cast<uint16_t>(any);
    if (gate.bit >= 0) word = static_cast<uint16_t>(random() % 11);  // 10 is no digit
    gate.cell[2] = static_cast<uint8_t>(word);
    gate.cell[3] = static_cast<uint8_t>(word >> 8);
  }
}

std::string Describe(const char* kind, const ModelGate& gate) {
  std::ostringstream text;
  text << kind << " of node " << gate.node << " parameter " << kMnemonic[gate.param] << " type "
       << static_cast<char>(gate.type) << " bit " << gate.bit << ", cell";
  for (uint8_t byte : gate.cell) text << ' ' << static_cast<unsigned>(byte);
  return text.str();
}

bool Lane::Transaction(unsigned number, LaneReport& report) {
  std::this_thread::sleep_until(lateUntil);
  const unsigned roll = static_cast<unsigned>(random() % 100);
  const char* kind = roll < 55 ? "read" : roll < 85 ? "write" : "bit write";
  const bool read = roll < 55;
  ModelGate gate = PickGate(roll >= 85);
  PickValue(gate);
  const ModelGate before = gate;

  uint8_t cell[4];
  std::memcpy(cell, gate.cell, sizeof cell);
  LdiGateIo io{};
  io.label = "soak";
  io.node = gate.node;
  io.type = gate.type;
  io.param = gate.param;
  io.bit = gate.bit;
  io.aux = static_cast<uint32_t>(number);
  io.value = cell;
  const int32_t result = Call(read ? LDI_OP_SINGLE_READ : LDI_OP_SINGLE_WRITE, &io);
  const Clock::time_point ended = Clock::now();

  feed.records.clear();
  const unsigned resolution = workspace.resolution[gate.node][gate.param];
  const int32_t expected = read ? model.Read(gate) : model.Write(gate, resolution);
  const int late = model.TakeLateReplyMs();
  if (late > 0) lateUntil = ended + std::chrono::milliseconds(late + kLateMarginMs);

  ++report.seen[std::string(kind) + "s"];
  ++report.seen["result " + std::to_string(result)];
  std::string wrong;
  if (model.failed) {
    wrong = model.failure;
  } else if (result != expected) {
    wrong = "result " + std::to_string(result) + ", the rules give " + std::to_string(expected);
  } else if (std::memcmp(cell, gate.cell, sizeof cell) != 0) {
    ModelGate got = gate;
    std::memcpy(got.cell, cell, sizeof cell);
    wrong = "the value cell is not the rules' one: " + Describe("got", got) + "; " +
            Describe("expected", gate);
  } else if (io.node != gate.node || io.type != gate.type || io.param != gate.param ||
             io.bit != gate.bit || io.aux != number || io.value != cell) {
    wrong = "the gate record was not given back as it came";
  }
  if (wrong.empty()) return true;
  report.failure = "transaction " + std::to_string(number) + ", " + Describe(kind, before) + ": " +
                   wrong + "\nthe simulator's records of it:\n" + feed.records +
                   "the driver's last log lines:\n" + RecentFixedLogLines();
  return false;
}

}  // namespace

LaneReport RunLane(const LaneSettings& settings) {
  LaneReport report;
  Lane lane(settings);
  if (lane.Start(report)) {
    report.passed = true;
    for (unsigned number = 1; number <= settings.transactions && report.passed; ++number) {
      report.passed = lane.Transaction(number, report);
      report.done = number;
    }
    lane.Call(LDI_OP_CLOSE_COM, nullptr);
    if (!lane.simulator.Stop() && report.passed) {
      report.passed = false;
      report.failure = "the simulator did not end cleanly";
    }
  }
  for (const auto& [what, count] : lane.model.seen) report.seen[what] += count;
  return report;
}

}  // namespace tcudv::test
