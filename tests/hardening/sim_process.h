// The simulator tcudv-sim as a child process, serving a pseudo-terminal.
#ifndef TCUDVNT_TESTS_SIM_PROCESS_H
#define TCUDVNT_TESTS_SIM_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace tcudv::test {

class SimProcess {
 public:
  SimProcess() = default;
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts `program` with `arguments`, its output to `logPath`, and waits until
  // `linkPath` (its --link) exists. False with `error` set when it does not come up.
  bool Start(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& linkPath, const std::string& logPath, std::string& error);
  // Stops it with SIGTERM; true when it then exits with status 0.
  bool Stop();

 private:
  pid_t pid = -1;
};

}  // namespace tcudv::test

#endif
