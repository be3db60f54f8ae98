#include "sim/event_log.h"

#include "sim/byte_escape.h"

namespace tcudv::sim {

std::string EventLine(uint64_t seq, int64_t ms, const ReceivedItem& item, const Transaction& t) {
  std::string line = std::to_string(seq);
  line += '\t';
  line += std::to_string(ms);
  line += '\t';
  line += QuoteBytes(item.raw);
  line += '\t';
  line += OutcomeName(t.outcome);
  line += '\t';
  line += t.detail.empty() ? "-" : t.detail;
  line += '\t';
  line += FaultName(t.fault);
  line += '\t';
  line += std::to_string(t.delayMs);
  line += '\t';
  line += QuoteBytes(t.reply);
  return line;
}

EventLog::~EventLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool EventLog::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void EventLog::Record(int64_t ms, const ReceivedItem& item, const Transaction& t) {
  if (file_ == nullptr) return;
  const std::string line = EventLine(++seq_, ms, item, t);
  std::fputs(line.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace tcudv::sim
