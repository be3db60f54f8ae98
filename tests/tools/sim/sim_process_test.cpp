// The real tcudv-sim binary, talked to over a pseudo-terminal as the driver would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
// Generous: the bound only keeps a broken simulator from hanging the test.
constexpr auto kPatience = std::chrono::seconds(10);

std::string TempPath(const std::string& name) {
  return testing::TempDir() + "tcudv_sim_" + std::to_string(getpid()) + "_" + name;
}

// Reads from `fd` until `count` bytes have come or the patience runs out.
std::string ReadBytes(int fd, size_t count) {
  std::string got;
  const auto deadline = Clock::now() + kPatience;
  while (got.size() < count && Clock::now() < deadline) {
    pollfd watch{fd, POLLIN, 0};
    if (poll(&watch, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

// Whatever else arrives within `ms`; for checking that nothing does.
std::string ReadMore(int fd, int ms) {
  std::string got;
  pollfd watch{fd, POLLIN, 0};
  while (poll(&watch, 1, ms) > 0) {
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

void WriteAll(int fd, const std::string& bytes) {
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

int OpenRaw(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return fd;
  termios attributes{};
  tcgetattr(fd, &attributes);
  cfmakeraw(&attributes);
  tcsetattr(fd, TCSANOW, &attributes);
  return fd;
}

class Simulator {
 public:
  explicit Simulator(const std::vector<std::string>& args) {
    std::vector<std::string> all = {TCUDV_SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return;
    stderrPath_ = TempPath("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    stdout_ = out[0];
  }

  ~Simulator() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) close(stdout_);
    unlink(stderrPath_.c_str());
  }

  // The first line it prints: the path to open.
  std::string FirstLine() {
    std::string text;
    const auto deadline = Clock::now() + kPatience;
    while (text.find('\n') == std::string::npos && Clock::now() < deadline) {
      const std::string more = ReadBytes(stdout_, 1);
      if (more.empty()) break;
      text += more;
    }
    return text.substr(0, text.find('\n'));
  }

  // Sends `signal` and waits for the exit; the exit status, or -1.
  int Stop(int signal) {
    kill(pid_, signal);
    return Wait();
  }

  int Wait() {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, 0);
    pid_ = -1;
    return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Stderr() const {
    std::ifstream file(stderrPath_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
  std::string stderrPath_;
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

TEST(SimProcess, AnswersTheDriversFramesOnAPseudoTerminal) {
  const std::string link = TempPath("link");
  const std::string events = TempPath("events");
  const std::string state = TempPath("state");
  Simulator sim({"--nodes", "1-2", "--silent", "2", "--drift", "0", "--link", link, "--events",
                 events, "--state-file", state});
  const std::string path = sim.FirstLine();
  ASSERT_FALSE(path.empty()) << sim.Stderr();
  char target[256] = {};
  ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(path, target);

  int fd = OpenRaw(link);
  ASSERT_GE(fd, 0);
  // The silent node and the missing one answer nothing, so the first line is node 1's.
  WriteAll(fd, "N02TA*N09TA*N01TB*N01VB0150*N01TB*N01RH*N01TW*");
  EXPECT_EQ(ReadBytes(fd, 18), " 101\r\n 150\r\n 0001\r\n");
  EXPECT_EQ(ReadMore(fd, 200), "");

  // The line outlives the driver closing and re-opening the port.
  close(fd);
  fd = OpenRaw(path);
  ASSERT_GE(fd, 0);
  WriteAll(fd, "noise N01V");
  WriteAll(fd, "B-0020*N01TB*");
  EXPECT_EQ(ReadBytes(fd, 5), "-20\r\n");
  close(fd);

  EXPECT_EQ(sim.Stop(SIGTERM), 0) << sim.Stderr();
  struct stat gone {};
  EXPECT_NE(lstat(link.c_str(), &gone), 0) << "the link outlived the simulator";

  const std::vector<std::string> lines = Lines(events);
  ASSERT_EQ(lines.size(), 9u);
  const char* const expected[] = {
      "\t\"N02TA*\"\tsilent\t-\tnone\t0\t\"\"",
      "\t\"N09TA*\"\tno-node\t-\tnone\t0\t\"\"",
      "\t\"N01TB*\"\treply\tSET\tnone\t0\t\" 101\\r\\n\"",
      "\t\"N01VB0150*\"\tapplied\tSET=150\tnone\t0\t\"\"",
      "\t\"N01TB*\"\treply\tSET\tnone\t0\t\" 150\\r\\n\"",
      "\t\"N01RH*\"\tapplied\tA2R\tnone\t0\t\"\"",
      "\t\"N01TW*\"\treply\tOST\tnone\t0\t\" 0001\\r\\n\"",
      "\t\"N01VB-0020*\"\tapplied\tSET=-20\tnone\t0\t\"\"",
      "\t\"N01TB*\"\treply\tSET\tnone\t0\t\"-20\\r\\n\"",
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].starts_with(std::to_string(i + 1) + "\t")) << lines[i];
    EXPECT_TRUE(lines[i].ends_with(expected[i])) << lines[i];
  }
  const std::vector<std::string> nodes = Lines(state);
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_NE(nodes[0].find("node=1 TMP=21 INP=21 SET=-20 "), std::string::npos) << nodes[0];
  EXPECT_NE(nodes[0].find(" A2R=0"), std::string::npos) << nodes[0];
  EXPECT_NE(nodes[1].find(" A2R=1"), std::string::npos) << nodes[1];
  unlink(events.c_str());
  unlink(state.c_str());
}

TEST(SimProcess, ServesASerialDeviceWithFaults) {
  // A pseudo-terminal of the test's own stands in for the adapter; its slave is the device.
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string device = ptsname(master);
  Simulator sim({"--device", device, "--baud", "19200", "--nodes", "4", "--unanswered", "4:PWR",
                 "--fault-rate", "hash=1", "--seed", "3", "--delay", "300"});
  EXPECT_EQ(sim.FirstLine(), device) << sim.Stderr();
  // Unanswered PWR gives nothing; the hash fault then marks the TMP reply, which is held back
  // by the delay: nothing may come early.
  WriteAll(master, "N04TC*N04TA*");
  EXPECT_EQ(ReadMore(master, 150), "");
  const std::string reply = ReadBytes(master, 4);
  ASSERT_GE(reply.size(), 2u);
  EXPECT_EQ(reply.substr(0, 2), " #");
  EXPECT_EQ(sim.Stop(SIGINT), 0) << sim.Stderr();
  close(master);
}

TEST(SimProcess, LinkReplacesAStaleSymlinkButNeverAFile) {
  const std::string link = TempPath("stale");
  ASSERT_EQ(symlink("/nonexistent/old/pts", link.c_str()), 0);
  {
    Simulator sim({"--link", link});
    const std::string path = sim.FirstLine();
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0) << sim.Stderr();
    EXPECT_EQ(path, target);
    EXPECT_EQ(sim.Stop(SIGHUP), 0);
  }
  struct stat gone {};
  EXPECT_NE(lstat(link.c_str(), &gone), 0);

  const std::string file = TempPath("file");
  {
    std::ofstream keep(file);
    keep << "precious";
  }
  Simulator sim({"--link", file});
  EXPECT_EQ(sim.Wait(), 2);
  EXPECT_EQ(Lines(file), std::vector<std::string>{"precious"});
  unlink(file.c_str());
}

TEST(SimProcess, ExitStatusTellsUsageFromSuccess) {
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{"--help"}, 0},
      {{"--nodes", "0"}, 2},
      {{"--fault-rate", "drop=2"}, 2},
      {{"--bogus"}, 2},
      {{"--device", "/nonexistent/tty"}, 2},
      {{"--device", "/dev/null"}, 2},
      {{"--link", "/nonexistent/dir/link"}, 2},
  };
  for (const Case& c : cases) {
    Simulator sim(c.args);
    const int status = sim.Wait();
    EXPECT_EQ(status, c.status) << c.args[0] << ": " << sim.Stderr();
    if (c.status == 2) {
      EXPECT_NE(sim.Stderr(), "") << c.args[0];
    }
  }
}

}  // namespace
