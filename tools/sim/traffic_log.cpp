#include "sim/traffic_log.h"

#include <chrono>
#include <ctime>

namespace tcudv::sim {

TrafficLog::~TrafficLog() {
  if (ownsFile_) std::fclose(out_);
}

bool TrafficLog::Open(const std::string& path) {
  if (path.empty()) {
    out_ = stderr;
    return true;
  }
  out_ = std::fopen(path.c_str(), "a");
  ownsFile_ = out_ != nullptr;
  return out_ != nullptr;
}

void TrafficLog::Write(std::string_view text) {
  if (out_ == nullptr) return;
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char stamp[32];
  const size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::fprintf(out_, "%.*s.%03d %.*s\n", static_cast<int>(length), stamp, static_cast<int>(millis),
               static_cast<int>(text.size()), text.data());
  std::fflush(out_);
}

}  // namespace tcudv::sim
