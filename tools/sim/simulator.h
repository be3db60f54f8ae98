// The line of controllers: takes each received frame and says what the line answers.
#ifndef TCUDV_SIM_SIMULATOR_H
#define TCUDV_SIM_SIMULATOR_H

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "sim/decimals_config.h"
#include "sim/fault_injector.h"
#include "sim/frame_parser.h"
#include "sim/node_state.h"

namespace tcudv::sim {

struct LineConfig {
  std::set<int> nodes;                          // nodes that exist
  std::set<int> silent;                         // nodes that exist and never answer
  std::map<int, std::set<ValueId>> unanswered;  // value ids a node does not answer
  DecimalsTable decimals = DefaultDecimals();
  int64_t driftMilliPerSecond = 500;
  int delayMs = 0;        // before every reply
  int lateDelayMs = 500;  // before a reply with the delay fault
  uint64_t seed = 1;
  FaultRates faultRates{};
};

enum class Outcome {
  kReply,       // a reply goes out (perhaps faulted, perhaps empty when dropped)
  kApplied,     // a V, C or R frame changed the node
  kNoNode,      // no controller has that node number
  kSilent,      // a read of a silent node
  kUnanswered,  // a read of a value the node does not answer
  kIgnored,     // no controller would act on it; `detail` says why
};

const char* OutcomeName(Outcome outcome);

struct Transaction {
  Outcome outcome = Outcome::kIgnored;
  std::string detail;  // ignored: the reason; applied: "SET=150", "CTR=2", "A1R"; reply: the
                       // mnemonic read
  Fault fault = Fault::kNone;
  std::string reply;  // the exact bytes to send
  int delayMs = 0;    // how long after the frame they go out
};

class Simulator {
 public:
  explicit Simulator(const LineConfig& config);

  // One frame (or malformed frame) received at `nowMs` milliseconds since the start.
  Transaction Handle(const ReceivedItem& item, int64_t nowMs);

  const std::map<int, NodeState>& nodes() const { return nodes_; }

 private:
  Transaction Read(const NodeState& node, ValueId id);
  Transaction Change(NodeState& node, const ReceivedItem& item);

  LineConfig config_;
  std::map<int, NodeState> nodes_;
  FaultInjector faults_;
};

}  // namespace tcudv::sim

#endif
