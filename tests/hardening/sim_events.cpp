#include "sim_events.h"

#include <chrono>
#include <thread>
#include <vector>

namespace tcudv::test {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace

bool UnquoteBytes(const std::string& quoted, std::string& bytes) {
  bytes.clear();
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return false;
  const std::string inner = quoted.substr(1, quoted.size() - 2);
  for (size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] != '\\') {
      bytes += inner[i];
      continue;
    }
    if (++i >= inner.size()) return false;
    switch (inner[i]) {
      case '\\':
        bytes += '\\';
        break;
      case '"':
        bytes += '"';
        break;
      case 'r':
        bytes += '\r';
        break;
      case 'n':
        bytes += '\n';
        break;
      case 't':
        bytes += '\t';
        break;
      case 'x': {
        if (i + 2 >= inner.size()) return false;
        const int high = HexDigit(inner[i + 1]);
        const int low = HexDigit(inner[i + 2]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

bool ParseSimEvent(const std::string& line, SimEvent& event) {
  const std::vector<std::string> fields = SplitTabs(line);
  if (fields.size() != 8) return false;
  event = SimEvent{};
  event.line = line;
  try {
    event.seq = std::stoull(fields[0]);
    event.delayMs = std::stoi(fields[6]);
  } catch (...) {
    return false;
  }
  event.outcome = fields[3];
  event.fault = fields[5];
  return UnquoteBytes(fields[2], event.frame) && UnquoteBytes(fields[7], event.reply);
}

SimEventReader::~SimEventReader() {
  if (file != nullptr) std::fclose(file);
}

bool SimEventReader::Open(const std::string& path) {
  file = std::fopen(path.c_str(), "r");
  return file != nullptr;
}

bool SimEventReader::Next(SimEvent& event, int waitMs, std::string& error) {
  error.clear();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    int c;
    while ((c = std::fgetc(file)) != EOF) {
      if (c != '\n') {
        partial += static_cast<char>(c);
        continue;
      }
      const std::string line = partial;
      partial.clear();
      if (ParseSimEvent(line, event)) return true;
      error = "unreadable event record: " + line;
      return false;
    }
    std::clearerr(file);
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace tcudv::test
