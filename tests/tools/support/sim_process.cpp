#include "support/sim_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

extern char** environ;

namespace tcudv::test {
namespace {

// Generous: the bound only keeps a broken simulator from hanging the test.
constexpr int kStartPatienceMs = 10000;

std::string ReadFirstLine(int fd) {
  std::string text;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartPatienceMs);
  while (text.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd watch{fd, POLLIN, 0};
    if (poll(&watch, 1, 100) <= 0) continue;
    char c = 0;
    if (read(fd, &c, 1) != 1) break;
    text += c;
  }
  return text.find('\n') == std::string::npos ? std::string() : text.substr(0, text.find('\n'));
}

}  // namespace

SimProcess::SimProcess(const std::string& binary, const std::vector<std::string>& args) {
  std::vector<std::string> all = {binary};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe(out) != 0) return;
  stderrPath_ = MakeTempDirectory("sim") + "/stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath_.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  stdout_ = out[0];
  if (pid_ > 0) slavePath_ = ReadFirstLine(stdout_);
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  // Kept open until the end: a closed pipe would kill the simulator at its next line.
  if (stdout_ >= 0) close(stdout_);
}

std::string SimProcess::PortName() const {
  const std::string dev = "/dev/";
  return slavePath_.rfind(dev, 0) == 0 ? slavePath_.substr(dev.size()) : slavePath_;
}

std::string SimProcess::Stderr() const {
  std::ifstream file(stderrPath_);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

int SimProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  const pid_t done = waitpid(pid_, &status, 0);
  pid_ = -1;
  return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string MakeTempDirectory(const std::string& stem) {
  std::string pattern = testing::TempDir() + "tcudv_" + stem + "_XXXXXX";
  return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

}  // namespace tcudv::test
