// The simulator's event log read as it grows: one record per frame it took,
// with the fault it injected and the exact bytes it answered.
#ifndef TCUDVNT_TESTS_SIM_EVENTS_H
#define TCUDVNT_TESTS_SIM_EVENTS_H

#include <cstdint>
#include <cstdio>
#include <string>

namespace tcudv::test {

struct SimEvent {
  uint64_t seq = 0;
  std::string frame;    // as received
  std::string outcome;  // reply, applied, no-node, silent, unanswered, ignored
  std::string fault;    // none, hash, garbage, drop, cut, long, delay
  int delayMs = 0;      // how long after the frame its reply goes out
  std::string reply;    // the exact bytes, empty when none
  std::string line;     // the record as written, for reports
};

// Undoes the simulator's quoting: "..." with \\ \" \r \n \t \xHH.
bool UnquoteBytes(const std::string& quoted, std::string& bytes);

// Parses one tab-separated record; false when it has not the eight fields.
bool ParseSimEvent(const std::string& line, SimEvent& event);

class SimEventReader {
 public:
  SimEventReader() = default;
  ~SimEventReader();
  SimEventReader(const SimEventReader&) = delete;
  SimEventReader& operator=(const SimEventReader&) = delete;

  bool Open(const std::string& path);
  // The next record, waiting up to waitMs for it to be written. False when
  // none came; `error` then says whether a record was unreadable.
  bool Next(SimEvent& event, int waitMs, std::string& error);

 private:
  std::FILE* file = nullptr;
  std::string partial;  // a record whose line end has not been written yet
};

}  // namespace tcudv::test

#endif
