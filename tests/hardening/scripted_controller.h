// A controller on the master side of a pseudo-terminal, on a thread of its
// own: it answers each frame the driver sends with the bytes a table gives.
#ifndef TCUDVNT_TESTS_SCRIPTED_CONTROLLER_H
#define TCUDVNT_TESTS_SCRIPTED_CONTROLLER_H

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tcudv::test {

class ScriptedController {
 public:
  // Frame (as "N01TB*") to the bytes sent back; a frame not in the table gets nothing.
  explicit ScriptedController(std::map<std::string, std::string> answers);
  ~ScriptedController();
  ScriptedController(const ScriptedController&) = delete;
  ScriptedController& operator=(const ScriptedController&) = delete;

  bool ok() const { return master >= 0; }
  // The slave's path, for the driver to open.
  const std::string& SlavePath() const { return slavePath; }
  // Bytes put into the driver's input now, unasked.
  void SendUnasked(const std::string& bytes);
  // Every frame received so far, in order.
  std::vector<std::string> Frames();

 private:
  void Serve();

  std::map<std::string, std::string> answers;
  int master = -1;
  int heldSlave = -1;  // keeps the line up while the driver has the port closed
  std::string slavePath;
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::vector<std::string> frames;
  std::thread thread;
};

}  // namespace tcudv::test

#endif
