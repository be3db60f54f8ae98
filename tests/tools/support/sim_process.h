// Runs the built tcudv-sim as a child process on a pseudo-terminal of its own.
#ifndef TCUDV_TESTS_SIM_PROCESS_H
#define TCUDV_TESTS_SIM_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace tcudv::test {

class SimProcess {
 public:
  // Starts the simulator at `binary` with `args` and waits for the slave path it prints.
  SimProcess(const std::string& binary, const std::vector<std::string>& args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Started() const { return !slavePath_.empty(); }
  // The path it printed, as /dev/pts/4.
  const std::string& SlavePath() const { return slavePath_; }
  // The same as a port name the driver takes (at most 11 characters): pts/4.
  std::string PortName() const;
  // What it wrote on stderr so far (its log with --log).
  std::string Stderr() const;
  // Ends it with SIGTERM and returns its exit status, -1 if it did not exit normally.
  int Stop();

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
  std::string slavePath_;
  std::string stderrPath_;
};

// A fresh empty directory under the test's temporary directory.
std::string MakeTempDirectory(const std::string& stem);

// The lines of a text file.
std::vector<std::string> FileLines(const std::string& path);

}  // namespace tcudv::test

#endif
