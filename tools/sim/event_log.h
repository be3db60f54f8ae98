// The machine-readable record of every frame: what came, what was done, what goes out.
#ifndef TCUDV_SIM_EVENT_LOG_H
#define TCUDV_SIM_EVENT_LOG_H

#include <cstdint>
#include <cstdio>
#include <string>

#include "sim/frame_parser.h"
#include "sim/simulator.h"

namespace tcudv::sim {

// One line, fields separated by tabs:
// seq, ms since start, quoted frame, outcome, detail ("-" for none), fault, delay ms, quoted reply.
std::string EventLine(uint64_t seq, int64_t ms, const ReceivedItem& item, const Transaction& t);

class EventLog {
 public:
  EventLog() = default;
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;
  ~EventLog();

  // Creates or empties the file; false when it cannot be written.
  bool Open(const std::string& path);
  // Writes and flushes one line for a frame; does nothing when no file is open.
  void Record(int64_t ms, const ReceivedItem& item, const Transaction& t);

 private:
  std::FILE* file_ = nullptr;
  uint64_t seq_ = 0;
};

}  // namespace tcudv::sim

#endif
