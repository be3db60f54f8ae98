// Finding the gate kind the driver accepts for an address, as a host's
// configuration would: by offering the kinds in turn.
#ifndef TCUDV_HOST_GATE_PROBE_H
#define TCUDV_HOST_GATE_PROBE_H

#include <cstdint>
#include <string>
#include <vector>

#include "driver_session.h"
#include "value_cell.h"

namespace tcudv::host {

// An accepted gate: what the address parser made of it.
struct Gate {
  std::string address;
  int32_t kind = 0;
  uint32_t node = 0;
  uint32_t type = 0;
  uint32_t param = 0;
  int32_t bit = -1;
};

struct ProbeOutcome {
  bool accepted = false;
  Gate gate;
  std::vector<std::string> driverLines;  // the driver's reasons when no kind was accepted
};

// The kinds offered, in order: analog float, analog 16-bit, digital.
inline constexpr int32_t kProbeKinds[] = {LDI_KIND_FLOAT, LDI_KIND_ANALOG16, LDI_KIND_DIGITAL};

ProbeOutcome ProbeGate(DriverSession& session, const std::string& address);

// "01XYZ: bad gate, the driver refuses it: <the driver's reason>".
std::string RefusalText(const ProbeOutcome& outcome);

// A gate I/O record for gate, its value cell at cell; both must outlive the record.
LdiGateIo GateIoFor(const Gate& gate, ValueCell& cell);

}  // namespace tcudv::host

#endif
