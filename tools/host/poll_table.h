// The poll command's table: one row per gate, redrawn after every round.
#ifndef TCUDV_HOST_POLL_TABLE_H
#define TCUDV_HOST_POLL_TABLE_H

#include <cstdint>
#include <string>
#include <vector>

namespace tcudv::host {

struct PollRow {
  std::string gate;
  std::string value = "-";   // the last read's value, "-" when it failed
  std::string status = "-";  // the last read's result in words
  int64_t lastMs = -1;       // time of the last transaction; -1 before the first
  uint32_t failures = 0;
  uint32_t reads = 0;
};

// A title line ("round 3 of 10", or "round 3" when count is 0), a header, the rows.
std::vector<std::string> RenderPollTable(const std::vector<PollRow>& rows, uint32_t round,
                                         uint32_t count);

// The row as one self-contained line, for output that is not a terminal.
std::string PlainPollLine(const PollRow& row, uint32_t round);

}  // namespace tcudv::host

#endif
