// One controller's values, modes, alarms and outputs, and how they move with time.
#ifndef TCUDV_SIM_NODE_STATE_H
#define TCUDV_SIM_NODE_STATE_H

#include <array>
#include <cstdint>

#include "sim/value_ids.h"

namespace tcudv::sim {

// Digits of the output status, by place (0 the units).
enum OutputDigit : int {
  kOutput1 = 0,  // main output: on while the process value is below the setpoint
  kAlarm1 = 1,   // alarm 1, latched: the process value reached AL1 (high alarm)
  kAlarm2 = 2,   // alarm 2, latched: the process value fell to AL2 (low alarm)
  kOutput2 = 3,  // second output: on while the process value is above setpoint plus CDB
};

class NodeState {
 public:
  // `driftMilliPerSecond`: how fast the process value moves toward the setpoint.
  NodeState(int node, int64_t driftMilliPerSecond);

  int node() const { return node_; }

  // The value in thousandths; DEV and the modes are worked out, OST is not a value.
  int64_t Value(ValueId id) const;
  int Decimals(ValueId id) const { return decimals_[id]; }
  void SetDecimals(ValueId id, int decimals) { decimals_[id] = decimals; }
  std::array<bool, 4> OutputStatus() const;
  int Mode(ValueId id) const { return id == kIdU ? semMode_ : ctrMode_; }

  // A V frame: false when the id takes no value.
  bool ChangeValue(ValueId id, int64_t milli);
  // A C frame: false unless the id takes a control and the mode is 1 or 2.
  bool Control(ValueId id, int mode);
  // An R frame: G clears alarm 1, H alarm 2; false for other ids.
  bool Reset(ValueId id);

  // Moves the process value on to the time `nowMs` (milliseconds, never going back).
  void AdvanceTo(int64_t nowMs);

 private:
  void UpdateAlarms();

  int node_;
  int64_t driftMilliPerSecond_;
  int64_t lastMs_ = 0;
  int64_t driftCarry_ = 0;  // thousandths of a thousandth not yet moved
  std::array<int64_t, kValueIdCount> values_{};
  std::array<int, kValueIdCount> decimals_{};
  int ctrMode_ = 1;
  int semMode_ = 1;
  bool alarm1_ = false;
  bool alarm2_ = false;
  bool alarm1Condition_ = false;
  bool alarm2Condition_ = false;
};

}  // namespace tcudv::sim

#endif
