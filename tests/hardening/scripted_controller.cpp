#include "scripted_controller.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace tcudv::test {

ScriptedController::ScriptedController(std::map<std::string, std::string> answers)
    : answers(std::move(answers)) {
  char path[128] = {};
  int slave = -1;
  if (openpty(&master, &slave, path, nullptr, nullptr) != 0) {
    master = -1;
    return;
  }
  termios raw{};
  tcgetattr(slave, &raw);
  cfmakeraw(&raw);
  tcsetattr(slave, TCSANOW, &raw);
  heldSlave = slave;
  slavePath = path;
  thread = std::thread([this] { Serve(); });
}

ScriptedController::~ScriptedController() {
  stop = true;
  if (thread.joinable()) thread.join();
  if (heldSlave >= 0) close(heldSlave);
  if (master >= 0) close(master);
}

void ScriptedController::SendUnasked(const std::string& bytes) {
  if (write(master, bytes.data(), bytes.size()) < 0) return;
}

std::vector<std::string> ScriptedController::Frames() {
  std::lock_guard<std::mutex> lock(mutex);
  return frames;
}

void ScriptedController::Serve() {
  std::string pending;
  while (!stop) {
    pollfd p{master, POLLIN, 0};
    if (poll(&p, 1, 10) <= 0 || (p.revents & POLLIN) == 0) continue;
    char buffer[256];
    const ssize_t n = read(master, buffer, sizeof buffer);
    if (n <= 0) continue;
    pending.append(buffer, static_cast<size_t>(n));
    for (size_t end = pending.find('*'); end != std::string::npos; end = pending.find('*')) {
      const std::string frame = pending.substr(0, end + 1);
      pending.erase(0, end + 1);
      {
        std::lock_guard<std::mutex> lock(mutex);
        frames.push_back(frame);
      }
      const auto answer = answers.find(frame);
      if (answer != answers.end()) SendUnasked(answer->second);
    }
  }
}

}  // namespace tcudv::test
