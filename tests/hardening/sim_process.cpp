#include "sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace tcudv::test {

SimProcess::~SimProcess() {
  Stop();
}

bool SimProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& linkPath, const std::string& logPath,
                       std::string& error) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    pid = -1;
    error = "cannot start " + program;
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  struct stat link {};
  while (stat(linkPath.c_str(), &link) != 0) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      error = program + " ended before serving; see " + logPath;
      return false;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      error = program + " did not make " + linkPath + " in time";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

bool SimProcess::Stop() {
  if (pid < 0) return false;
  kill(pid, SIGTERM);
  int status = 0;
  const bool waited = waitpid(pid, &status, 0) == pid;
  pid = -1;
  return waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace tcudv::test
