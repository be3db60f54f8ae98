#include "gate_probe.h"

#include <algorithm>

#include "driver_log.h"

namespace tcudv::host {

ProbeOutcome ProbeGate(DriverSession& session, const std::string& address) {
  ProbeOutcome outcome;
  outcome.gate.address = address;
  DriverLogCapture capture;
  for (int32_t kind : kProbeKinds) {
    LdiGateAddress record{};
    record.address = outcome.gate.address.c_str();
    record.kind = kind;
    if (session.ParseAddress(record) != LDI_OK) continue;
    outcome.accepted = true;
    outcome.gate.kind = kind;
    outcome.gate.node = record.node;
    outcome.gate.type = record.type;
    outcome.gate.param = record.param;
    outcome.gate.bit = record.bit;
    return outcome;
  }
  for (const std::string& line : capture.Lines()) {
    auto& lines = outcome.driverLines;
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
  }
  return outcome;
}

std::string RefusalText(const ProbeOutcome& outcome) {
  std::string text = outcome.gate.address + ": bad gate, the driver refuses it";
  for (size_t i = 0; i < outcome.driverLines.size(); ++i) {
    text += (i == 0 ? ": " : "; ") + outcome.driverLines[i];
  }
  return text;
}

LdiGateIo GateIoFor(const Gate& gate, ValueCell& cell) {
  LdiGateIo io{};
  io.label = gate.address.c_str();
  io.node = gate.node;
  io.type = gate.type;
  io.param = gate.param;
  io.bit = gate.bit;
  io.value = cell.bytes;
  return io;
}

}  // namespace tcudv::host
