#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "gate_probe.h"
#include "host_run.h"
#include "interrupt.h"
#include "progress_bar.h"
#include "result_words.h"
#include "terminal.h"
#include "value_display.h"

namespace tcudv::host {
namespace {

constexpr size_t kBarWidth = 40;

std::string NodeText(unsigned node) {
  char text[8];
  std::snprintf(text, sizeof text, "%02u", node);
  return text;
}

// The progress bar lives on stderr's last line; results go to stdout above it.
class ProgressLine {
 public:
  explicit ProgressLine(bool shown) : shown_(shown) {}
  ~ProgressLine() { Clear(); }

  void Show(size_t done, size_t total, unsigned node) {
    if (!shown_) return;
    std::fprintf(stderr, "\r%s  node %s%s", ProgressBar(done, total, kBarWidth).c_str(),
                 NodeText(node).c_str(), kClearToEnd);
    std::fflush(stderr);
    visible_ = true;
  }

  void Clear() {
    if (!visible_) return;
    std::fprintf(stderr, "\r%s", kClearLine);
    std::fflush(stderr);
    visible_ = false;
  }

 private:
  bool shown_;
  bool visible_ = false;
};

}  // namespace

int RunScan(const Options& options) {
  return RunOnPort(options, [&](DriverSession& session, const LdiInfo&) {
    CatchInterrupt();
    ProgressLine progress(IsTerminal(stderr));
    std::vector<unsigned> found;
    size_t scanned = 0;
    for (unsigned node : options.nodes) {
      if (Interrupted()) break;
      progress.Show(scanned, options.nodes.size(), node);
      ProbeOutcome outcome = ProbeGate(session, NodeText(node) + "TMP");
      if (!outcome.accepted) {
        progress.Clear();
        std::printf("%s\n", RefusalText(outcome).c_str());
        return kExitRefused;
      }
      ValueCell cell;
      LdiGateIo io = GateIoFor(outcome.gate, cell);
      const int32_t result = session.Read(io);
      // A transaction that Ctrl-C cut into says nothing about the node.
      if (Interrupted()) break;
      ++scanned;
      // A refusal still came from a controller that answered; silence is a line failure.
      if (result == LDI_FAILED) continue;
      found.push_back(node);
      progress.Clear();
      if (result == LDI_OK) {
        std::printf("node %s answers: %s = %s\n", NodeText(node).c_str(),
                    outcome.gate.address.c_str(), DisplayValue(outcome.gate.type, cell).c_str());
      } else {
        std::printf("node %s answers: %s %s\n", NodeText(node).c_str(),
                    outcome.gate.address.c_str(), ResultWords(result).c_str());
      }
      std::fflush(stdout);
    }
    progress.Clear();

    std::string list;
    for (unsigned node : found) list += " " + NodeText(node);
    std::printf("%zu of %zu nodes answer%s%s\n", found.size(), scanned, found.empty() ? "" : ":",
                list.c_str());
    if (scanned < options.nodes.size()) {
      std::printf("scan interrupted after %zu of %zu nodes\n", scanned, options.nodes.size());
    }
    return found.empty() ? kExitLineFailure : kExitOk;
  });
}

}  // namespace tcudv::host
