// The human-readable log: every frame received and every reply sent, with a time stamp.
#ifndef TCUDV_SIM_TRAFFIC_LOG_H
#define TCUDV_SIM_TRAFFIC_LOG_H

#include <cstdio>
#include <string>
#include <string_view>

namespace tcudv::sim {

class TrafficLog {
 public:
  TrafficLog() = default;
  TrafficLog(const TrafficLog&) = delete;
  TrafficLog& operator=(const TrafficLog&) = delete;
  ~TrafficLog();

  // To stderr, or to a file when `path` is not empty; false when the file cannot be written.
  bool Open(const std::string& path);
  bool enabled() const { return out_ != nullptr; }
  // "2026-12-11 13:08:57.123 " and the text, as one line.
  void Write(std::string_view text);

 private:
  std::FILE* out_ = nullptr;
  bool ownsFile_ = false;
};

}  // namespace tcudv::sim

#endif
