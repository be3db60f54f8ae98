// The nodes' state as a small text file that scripts and tests can read at any moment.
#ifndef TCUDV_SIM_STATE_FILE_H
#define TCUDV_SIM_STATE_FILE_H

#include <map>
#include <string>

#include "sim/node_state.h"

namespace tcudv::sim {

// One line per node: "node=1", then NAME=VALUE for every parameter mnemonic in table order
// (values as the node would reply them, without the leading blank; OST as its four digits;
// CTR and SEM as their modes; A1R and A2R as the alarm latch, 1 while the alarm stands).
std::string StateText(const std::map<int, NodeState>& nodes);

// Replaces the file as a whole (written beside it, then renamed); false on failure.
bool WriteStateFile(const std::string& path, const std::string& text);

}  // namespace tcudv::sim

#endif
