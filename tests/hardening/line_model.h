// What the driver must do on the line, by its rules, given what the simulator
// says it injected: the frames a read or write sends, which reply line each
// attempt gets out of the port's input, and the result and value that follow.
#ifndef TCUDVNT_TESTS_LINE_MODEL_H
#define TCUDVNT_TESTS_LINE_MODEL_H

#include <cstdint>
#include <map>
#include <string>

#include "sim_events.h"

namespace tcudv::test {

// Gives the simulator's record of the next frame; false when none came.
class EventFeed {
 public:
  virtual ~EventFeed() = default;
  virtual bool Next(SimEvent& event, std::string& error) = 0;
};

struct ModelGate {
  uint32_t node = 0;
  uint32_t type = 0;  // 'L', 'W' or 'B'
  uint32_t param = 0;
  int32_t bit = -1;
  uint8_t cell[4] = {};
};

class LineModel {
 public:
  explicit LineModel(EventFeed& feed) : feed(feed) {}

  // Each predicts one transaction and changes the gate's cell as the driver must.
  // The resolution is the node's decimal places for the parameter.
  int32_t Read(ModelGate& gate);
  int32_t Write(ModelGate& gate, unsigned resolution);

  // Set when the driver's frames did not match the simulator's records.
  bool failed = false;
  std::string failure;

  // The longest reply the simulator holds back past a transaction, in ms, since the last call.
  int TakeLateReplyMs();

  // What the transactions met: faults by kind, gate-0 tests, refusals.
  std::map<std::string, unsigned> seen;

 private:
  int32_t ReadAttempts(ModelGate& gate);
  int32_t Convert(ModelGate& gate, const std::string& line);
  bool Exchange(const std::string& frame);
  bool ReadReply(std::string& line);
  void Fail(const std::string& what);

  EventFeed& feed;
  std::string input;  // bytes in the port's input, not read yet
  int lateReplyMs = 0;
};

// The value text of a change-value (base width 4) or control (1) frame: one
// more character for a value below zero and one for a point; the value
// rounded half away from zero at `resolution` decimals. False when it does not fit.
bool ValueText(float value, unsigned baseWidth, unsigned resolution, std::string& text);

}  // namespace tcudv::test

#endif
