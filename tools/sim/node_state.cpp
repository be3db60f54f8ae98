#include "sim/node_state.h"

namespace tcudv::sim {
namespace {

constexpr int64_t kUnit = 1000;

// Plausible start values; TMP, SET and the alarm limits differ per node so replies tell nodes
// apart. Every node starts cold, below its low alarm limit, so alarm 2 is latched.
int64_t StartValue(ValueId id, int node) {
  switch (id) {
    case kIdA:
      return (20 + node) * kUnit;
    case kIdB:
      return (100 + node) * kUnit;
    case kIdC:
      return 50 * kUnit;
    case kIdD:
      return 4 * kUnit;
    case kIdE:
      return 120 * kUnit;
    case kIdF:
      return 30 * kUnit;
    case kIdG:
      return (200 + node) * kUnit;
    case kIdH:
      return (50 + node) * kUnit;
    case kIdJ:
      return -2500;
    case kIdK:
      return 0;
    case kIdL:
      return 1 * kUnit;
    case kIdM:
      return 5 * kUnit;
    case kIdO:
      return 125;
    case kIdQ:
      return 10 * kUnit;
    case kIdX:
      return 2500;
    case kIdY:
      return 60 * kUnit;
    case kIdZ:
      return 15 * kUnit;
    case kIdAA:
      return 25300;
    case kIdBB:
      return 75 * kUnit;
    case kIdHC:
      return 12500;
    default:
      return 0;
  }
}

}  // namespace

NodeState::NodeState(int node, int64_t driftMilliPerSecond)
    : node_(node), driftMilliPerSecond_(driftMilliPerSecond) {
  for (int i = 0; i < kValueIdCount; ++i) {
    const ValueId id = static_cast<ValueId>(i);
    values_[i] = StartValue(id, node);
    decimals_[i] = Info(id).defaultDecimals;
  }
  UpdateAlarms();
}

int64_t NodeState::Value(ValueId id) const {
  switch (id) {
    case kIdI:
      return values_[kIdA] - values_[kIdB];
    case kIdS:
      return ctrMode_ * kUnit;
    case kIdU:
      return semMode_ * kUnit;
    default:
      return values_[id];
  }
}

std::array<bool, 4> NodeState::OutputStatus() const {
  std::array<bool, 4> digits{};
  digits[kOutput1] = values_[kIdA] < values_[kIdB];
  digits[kAlarm1] = alarm1_;
  digits[kAlarm2] = alarm2_;
  digits[kOutput2] = values_[kIdA] > values_[kIdB] + values_[kIdM];
  return digits;
}

bool NodeState::ChangeValue(ValueId id, int64_t milli) {
  if (!Info(id).takesValue) return false;
  values_[id] = milli;
  UpdateAlarms();
  return true;
}

bool NodeState::Control(ValueId id, int mode) {
  if (!Info(id).takesControl || (mode != 1 && mode != 2)) return false;
  (id == kIdU ? semMode_ : ctrMode_) = mode;
  return true;
}

bool NodeState::Reset(ValueId id) {
  if (id == kIdG) {
    alarm1_ = false;
  } else if (id == kIdH) {
    alarm2_ = false;
  } else {
    return false;
  }
  return true;
}

void NodeState::AdvanceTo(int64_t nowMs) {
  if (nowMs <= lastMs_) return;
  driftCarry_ += driftMilliPerSecond_ * (nowMs - lastMs_);
  lastMs_ = nowMs;
  const int64_t step = driftCarry_ / 1000;
  driftCarry_ %= 1000;
  int64_t& process = values_[kIdA];
  const int64_t target = values_[kIdB];
  if (process < target) {
    process = process + step < target ? process + step : target;
  } else if (process > target) {
    process = process - step > target ? process - step : target;
  }
  UpdateAlarms();
}

// Alarms latch when their condition begins and stay until reset, so a reset holds until the
// process crosses the limit again.
void NodeState::UpdateAlarms() {
  const bool high = values_[kIdA] >= values_[kIdG];
  const bool low = values_[kIdA] <= values_[kIdH];
  if (high && !alarm1Condition_) alarm1_ = true;
  if (low && !alarm2Condition_) alarm2_ = true;
  alarm1Condition_ = high;
  alarm2Condition_ = low;
}

}  // namespace tcudv::sim
