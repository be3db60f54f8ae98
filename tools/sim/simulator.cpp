#include "sim/simulator.h"

#include "sim/reply_formatter.h"
#include "sim/value_text.h"

namespace tcudv::sim {
namespace {

Transaction Ignored(const char* reason) {
  Transaction t;
  t.outcome = Outcome::kIgnored;
  t.detail = reason;
  return t;
}

// The value as stored, without trailing zeros: "150", "50.5".
std::string ExactText(int64_t milli) {
  std::string text = FormatFixed(milli, 3);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kReply:
      return "reply";
    case Outcome::kApplied:
      return "applied";
    case Outcome::kNoNode:
      return "no-node";
    case Outcome::kSilent:
      return "silent";
    case Outcome::kUnanswered:
      return "unanswered";
    case Outcome::kIgnored:
      return "ignored";
  }
  return "ignored";
}

Simulator::Simulator(const LineConfig& config)
    : config_(config), faults_(config.seed, config.faultRates) {
  std::set<int> all = config_.nodes;
  all.insert(config_.silent.begin(), config_.silent.end());
  for (const int number : all) {
    NodeState node(number, config_.driftMilliPerSecond);
    for (int i = 0; i < kValueIdCount; ++i) {
      node.SetDecimals(static_cast<ValueId>(i), config_.decimals[number][i]);
    }
    nodes_.emplace(number, node);
  }
}

Transaction Simulator::Handle(const ReceivedItem& item, int64_t nowMs) {
  for (auto& [number, node] : nodes_) node.AdvanceTo(nowMs);
  if (item.kind != Received::kFrame) {
    return Ignored(item.kind == Received::kNoise ? "noise" : item.reason.c_str());
  }
  const auto found = nodes_.find(item.node);
  if (found == nodes_.end()) {
    Transaction t;
    t.outcome = Outcome::kNoNode;
    return t;
  }
  NodeState& node = found->second;
  if (item.command != 'T') return Change(node, item);
  if (config_.silent.contains(item.node)) {
    Transaction t;
    t.outcome = Outcome::kSilent;
    return t;
  }
  if (!Info(item.id).answersRead) return Ignored("not-readable");
  const auto unanswered = config_.unanswered.find(item.node);
  if (unanswered != config_.unanswered.end() && unanswered->second.contains(item.id)) {
    Transaction t;
    t.outcome = Outcome::kUnanswered;
    t.detail = Info(item.id).name;
    return t;
  }
  return Read(node, item.id);
}

Transaction Simulator::Read(const NodeState& node, ValueId id) {
  const std::string reply = id == kIdW ? FormatOutputStatus(node.OutputStatus())
                                       : FormatReply(node.Value(id), node.Decimals(id));
  const FaultedReply faulted = faults_.Apply(reply);
  Transaction t;
  t.outcome = Outcome::kReply;
  t.detail = Info(id).name;
  t.fault = faulted.fault;
  t.reply = faulted.bytes;
  t.delayMs = faulted.late ? config_.lateDelayMs : config_.delayMs;
  return t;
}

Transaction Simulator::Change(NodeState& node, const ReceivedItem& item) {
  const ValueIdInfo& info = Info(item.id);
  Transaction t;
  t.outcome = Outcome::kApplied;
  if (item.command == 'R') {
    if (!node.Reset(item.id)) return Ignored("no-reset");
    t.detail = item.id == kIdG ? "A1R" : "A2R";
    return t;
  }
  const std::optional<int64_t> milli = ParseMilli(item.value);
  if (!milli) return Ignored("bad-value");
  if (item.command == 'C') {
    if (!info.takesControl) return Ignored("no-control");
    if (*milli % 1000 != 0 || !node.Control(item.id, static_cast<int>(*milli / 1000))) {
      return Ignored("bad-mode");
    }
    t.detail = std::string(info.name) + "=" + std::to_string(*milli / 1000);
    return t;
  }
  if (!node.ChangeValue(item.id, *milli)) return Ignored("not-writable");
  t.detail = std::string(info.name) + "=" + ExactText(*milli);
  return t;
}

}  // namespace tcudv::sim
