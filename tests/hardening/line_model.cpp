#include "line_model.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "params/parameter_table.h"

namespace tcudv::test {
namespace {

// ReadReply takes at most the reply buffer's 32 bytes less the NUL.
constexpr size_t kReplyBytesTaken = 31;
constexpr int kAttempts = 3;

std::string ReadFrameOf(uint32_t node, uint32_t param) {
  char frame[32];
  std::snprintf(frame, sizeof frame, "N%02uT%s*", static_cast<unsigned>(node), kValueId[param]);
  return frame;
}

uint16_t CellWord(const uint8_t* cell) {
  return static_cast<uint16_t>(cell[2] | cell[3] << 8);
}

void StoreWord(uint8_t* cell, uint16_t word) {
  cell[2] = static_cast<uint8_t>(word);
  cell[3] = static_cast<uint8_t>(word >> 8);
}

uint32_t Power10(int n) {
  uint32_t power = 1;
  while (n-- > 0) power *= 10;
  return power;
}

// The reply as "%u" reads a word: blanks, a sign, digits; false without a digit.
bool WordOf(const std::string& line, uint32_t& word) {
  size_t i = 0;
  while (i < line.size() && std::strchr(" \t\n\v\f\r", line[i]) != nullptr) ++i;
  const bool negative = i < line.size() && line[i] == '-';
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
  if (i >= line.size() || line[i] < '0' || line[i] > '9') return false;
  uint64_t magnitude = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(line[i] - '0');
    if (magnitude > UINT32_MAX) return false;
  }
  word = negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
  return true;
}

}  // namespace

bool ValueText(float value, unsigned baseWidth, unsigned resolution, std::string& text) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool belowZero = bits > 0x80000000u;
  const int decimals = static_cast<int>(resolution);
  const int width = static_cast<int>(baseWidth) + (belowZero ? 1 : 0) + (decimals != 0 ? 1 : 0);
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::trunc(static_cast<double>(value) * scale + (value < 0 ? -0.5 : 0.5));
  const bool negative = rounded < 0;
  const uint64_t magnitude = static_cast<uint64_t>(std::fabs(rounded));
  const uint64_t integer = magnitude / static_cast<uint64_t>(scale);
  const uint64_t fraction = magnitude % static_cast<uint64_t>(scale);
  const int left = width - (decimals != 0 ? 1 : 0) - (negative ? 1 : 0) - decimals;
  const int needed = static_cast<int>(std::to_string(magnitude).size()) - decimals;
  if (left < 0 || left < needed) return false;
  std::string integerDigits = integer == 0 && left == 0 ? "" : std::to_string(integer);
  integerDigits.insert(0, static_cast<size_t>(left) - integerDigits.size(), '0');
  text = (negative ? "-" : "") + integerDigits;
  if (decimals != 0) {
    std::string fractionDigits = std::to_string(fraction);
    fractionDigits.insert(0, static_cast<size_t>(decimals) - fractionDigits.size(), '0');
    text += "." + fractionDigits;
  }
  return true;
}

void LineModel::Fail(const std::string& what) {
  if (!failed) failure = what;
  failed = true;
}

int LineModel::TakeLateReplyMs() {
  const int late = lateReplyMs;
  lateReplyMs = 0;
  return late;
}

// The driver sends `frame`: the simulator's record of it must be for that
// frame, and its reply joins the input unless it is held back.
bool LineModel::Exchange(const std::string& frame) {
  SimEvent event;
  std::string error;
  if (!feed.Next(event, error)) {
    Fail("expected the frame " + frame + ", the simulator recorded none" +
         (error.empty() ? "" : " (" + error + ")"));
    return false;
  }
  if (event.frame != frame) {
    Fail("expected the frame " + frame + ", the simulator recorded: " + event.line);
    return false;
  }
  if (event.fault != "none") ++seen["fault " + event.fault];
  if (event.outcome != "reply") ++seen["outcome " + event.outcome];
  if (event.fault == "delay") {
    if (event.delayMs > lateReplyMs) lateReplyMs = event.delayMs;
  } else {
    input += event.reply;
  }
  return true;
}

// One byte at a time up to CR LF, within the reply buffer; what was read is gone.
bool LineModel::ReadReply(std::string& line) {
  line.clear();
  while (line.size() < kReplyBytesTaken) {
    if (input.empty()) return false;  // the time-out passes
    line += input[0];
    input.erase(0, 1);
    if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') return true;
  }
  return false;
}

int32_t LineModel::Convert(ModelGate& gate, const std::string& line) {
  if (gate.type == 'L') {
    if (line.size() > 1 && line[1] == '#') return 1;
    char* end = nullptr;
    const float value = std::strtof(line.c_str(), &end);
    if (end == line.c_str()) return 1;
    std::memcpy(gate.cell, &value, sizeof value);
    return 0;
  }
  if (gate.type == 'W') {
    uint32_t word = 0;
    if (!WordOf(line, word)) return 1;
    if (gate.bit >= 0) word = word % Power10(gate.bit + 1) / Power10(gate.bit);
    StoreWord(gate.cell, static_cast<uint16_t>(word));
  }
  return 0;
}

int32_t LineModel::Read(ModelGate& gate) {
  input.clear();  // the input is emptied before anything else
  if ((kFlags[gate.param] & PF_READ) == 0) {
    ++seen["refused: not readable"];
    return 1;
  }
  return ReadAttempts(gate);
}

int32_t LineModel::ReadAttempts(ModelGate& gate) {
  const std::string frame = ReadFrameOf(gate.node, gate.param);
  int32_t result = 0;
  std::string line;
  for (int attempt = 1; attempt <= kAttempts && !failed; ++attempt) {
    if (!Exchange(frame)) return -1;
    if (!ReadReply(line)) {
      if (gate.param == kParamTmp) {
        result = 2;
      } else if (attempt == 1) {
        ++seen["gate-0 test"];
        ModelGate test = gate;
        test.param = kParamTmp;
        const int32_t tested = Read(test);  // the driver gives the cell back as it was
        input.clear();
        if (tested == 2) return 2;
        result = 1;
      } else {
        result = 1;
      }
      continue;
    }
    if (line[0] != ' ' && line[0] != '-') {
      result = 2;
      continue;
    }
    return Convert(gate, line);
  }
  return result;
}

int32_t LineModel::Write(ModelGate& gate, unsigned resolution) {
  const uint8_t flags = kFlags[gate.param];
  if (!IsWritable(gate.param)) {
    ++seen["refused: not writable"];
    return 1;
  }
  float value = 0;
  bool hasValue = true;
  if (gate.type == 'L') {
    std::memcpy(&value, gate.cell, sizeof value);
  } else if (gate.type == 'W' && gate.bit == -1) {
    value = static_cast<int16_t>(CellWord(gate.cell));
  } else if (gate.type == 'W') {
    const uint16_t digit = CellWord(gate.cell);
    if (digit > 9) return 1;
    ++seen["bit write"];
    ModelGate word = gate;
    word.bit = -1;
    const int32_t read = Read(word);
    if (read != 0) return read;
    const uint32_t whole = CellWord(word.cell);
    const uint32_t place = Power10(gate.bit);
    const uint32_t old = whole % Power10(gate.bit + 1) / place;
    value = static_cast<float>(whole - old * place + digit * place);
  } else {
    hasValue = false;
  }

  char head[16];
  std::snprintf(head, sizeof head, "N%02u", static_cast<unsigned>(gate.node));
  std::string frame = head;
  if (flags & PF_RESET) {
    frame += std::string("R") + kValueId[gate.param] + "*";
  } else {
    if (!hasValue) return 1;
    const bool control = (flags & PF_CONTROL) != 0;
    if (control && CellWord(gate.cell) != 1 && CellWord(gate.cell) != 2) return 1;
    std::string text;
    if (!ValueText(value, control ? 1 : 4, resolution, text)) {
      ++seen["refused: does not fit"];
      return 1;
    }
    frame += std::string(control ? "C" : "V") + kValueId[gate.param] + text + "*";
  }
  input.clear();
  return Exchange(frame) ? 0 : -1;
}

}  // namespace tcudv::test
