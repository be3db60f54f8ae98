// Where the driver's log lines go: stderr with --log, a capture while gates
// are probed, nowhere otherwise.
#ifndef TCUDV_HOST_DRIVER_LOG_H
#define TCUDV_HOST_DRIVER_LOG_H

#include <string>
#include <vector>

namespace tcudv::host {

// With shown set, every line is printed to stderr as "[level 8] LDIYY> ...".
void ShowDriverLog(bool shown);

// One formatted line of the driver; the platform's log binding calls it.
void DriverLogLine(int level, const char* text);

// Collects the driver's lines for as long as it lives (they are still printed
// when the log is shown). Captures do not nest.
class DriverLogCapture {
 public:
  DriverLogCapture();
  ~DriverLogCapture();
  DriverLogCapture(const DriverLogCapture&) = delete;
  DriverLogCapture& operator=(const DriverLogCapture&) = delete;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  friend void DriverLogLine(int level, const char* text);
  std::vector<std::string> lines_;
};

}  // namespace tcudv::host

#endif
