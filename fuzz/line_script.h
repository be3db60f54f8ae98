// What the fake controller on the other end does, as the fuzz input says: for
// each frame it takes, which bytes come back when, and which port calls fail.
#ifndef TCUDVNT_FUZZ_LINE_SCRIPT_H
#define TCUDVNT_FUZZ_LINE_SCRIPT_H

#include <string>
#include <vector>

#include "fuzz_input.h"

namespace tcudv::fuzz {

inline constexpr char kPortName[] = "COM1";

// Resets the fake comm layer and makes the port, for the driver to open.
void ResetLine();

// From now on the input rules the open port: its write limit, drain polls,
// stale input and first failures, and the answer to each frame.
void ScriptLine(FuzzInput& in);

// Every frame the driver offered to the port since the calls were cleared,
// whether the port took it all, part of it, or failed the write.
std::vector<std::string> OfferedFrames();

}  // namespace tcudv::fuzz

#endif
