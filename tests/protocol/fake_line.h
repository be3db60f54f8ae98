// A driver workspace on a fake port, with a scripted controller on the line.
#ifndef TCUDVNT_TESTS_PROTOCOL_FAKE_LINE_H
#define TCUDVNT_TESTS_PROTOCOL_FAKE_LINE_H

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "entry/ldi.h"

namespace tcudv::test {

// The bytes of a value cell, as the host keeps them.
using Cell = std::array<uint8_t, 4>;
Cell FloatCell(float value);
// The word in bytes 2 and 3; bytes 0 and 1 hold a marker that must survive.
Cell WordCell(uint16_t word);
float CellAsFloat(const Cell& cell);
uint16_t CellAsWord(const Cell& cell);

class FakeLine : public testing::Test {
 protected:
  void SetUp() override;

  // The controller answers the next `times` copies of `frame` with `reply`.
  void Answer(const std::string& frame, const std::string& reply, unsigned times = 1);
  // ... and every copy of `frame`, after the counted answers are used up.
  void AnswerAlways(const std::string& frame, const std::string& reply);
  // Bytes waiting in the port's input before the transaction starts.
  void Stale(const std::string& bytes);
  std::string PendingInput() const;

  // A gate I/O record for `cell`, labelled "gate".
  LdiGateIo Gate(uint32_t node, uint32_t param, uint32_t type, int32_t bit, Cell& cell);
  // SingleRead and SingleWrite through LdiMain.
  int32_t Read(LdiGateIo& io);
  int32_t Write(LdiGateIo& io);
  LdiCall CallFor(LdiGateIo& io, uint32_t operation);

  Workspace ws{};

 private:
  std::map<std::string, std::deque<std::string>> counted_;
  std::map<std::string, std::string> always_;
};

}  // namespace tcudv::test

#endif
