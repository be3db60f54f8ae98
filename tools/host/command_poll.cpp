#include <chrono>
#include <cstdio>
#include <vector>

#include "commands.h"
#include "gate_probe.h"
#include "host_run.h"
#include "interrupt.h"
#include "poll_table.h"
#include "result_words.h"
#include "terminal.h"
#include "value_display.h"

namespace tcudv::host {
namespace {

// Draws the table over the one drawn before it.
class TableScreen {
 public:
  ~TableScreen() {
    if (drawnLines_ > 0) std::printf("%s", kShowCursor);
    std::fflush(stdout);
  }

  void Draw(const std::vector<std::string>& lines) {
    if (drawnLines_ == 0) std::printf("%s", kHideCursor);
    if (drawnLines_ > 0) std::printf("%s", CursorUp(drawnLines_).c_str());
    for (const std::string& line : lines) std::printf("%s%s\n", kClearLine, line.c_str());
    drawnLines_ = lines.size();
    std::fflush(stdout);
  }

 private:
  size_t drawnLines_ = 0;
};

void ReadInto(DriverSession& session, const Gate& gate, PollRow& row, int& exitCode) {
  ValueCell cell;
  LdiGateIo io = GateIoFor(gate, cell);
  const auto start = std::chrono::steady_clock::now();
  const int32_t result = session.Read(io);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // A transaction that Ctrl-C cut into says nothing about the line.
  if (Interrupted()) return;
  row.lastMs = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  ++row.reads;
  row.status = ResultWords(result);
  // A failed read may have left another parameter's value in the cell.
  row.value = result == LDI_OK ? DisplayValue(gate.type, cell) : "-";
  if (result != LDI_OK) ++row.failures;
  exitCode = CombineExitCodes(exitCode, ExitCodeFor(result));
}

}  // namespace

int RunPoll(const Options& options) {
  return RunOnPort(options, [&](DriverSession& session, const LdiInfo&) {
    std::vector<Gate> gates;
    bool sound = true;
    for (const std::string& address : options.gates) {
      ProbeOutcome outcome = ProbeGate(session, address);
      if (!outcome.accepted) {
        std::printf("%s\n", RefusalText(outcome).c_str());
        sound = false;
      }
      gates.push_back(outcome.gate);
    }
    if (!sound) return kExitRefused;

    std::vector<PollRow> rows(gates.size());
    for (size_t i = 0; i < gates.size(); ++i) rows[i].gate = gates[i].address;

    CatchInterrupt();
    // The driver's log lines on the same terminal would tear a table drawn in place.
    const bool onTerminal = IsTerminal(stdout) && !(options.log && IsTerminal(stderr));
    TableScreen screen;
    int exitCode = kExitOk;
    using Clock = std::chrono::steady_clock;
    for (uint32_t round = 1; options.count == 0 || round <= options.count; ++round) {
      const auto roundStart = Clock::now();
      // On a terminal each gate's row changes as soon as its read is done.
      if (onTerminal) screen.Draw(RenderPollTable(rows, round, options.count));
      for (size_t i = 0; i < gates.size(); ++i) {
        ReadInto(session, gates[i], rows[i], exitCode);
        if (Interrupted()) break;
        if (onTerminal) {
          screen.Draw(RenderPollTable(rows, round, options.count));
        } else {
          std::printf("%s\n", PlainPollLine(rows[i], round).c_str());
          std::fflush(stdout);
        }
      }
      if (Interrupted() || round == options.count) break;
      const auto spent =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - roundStart);
      if (spent.count() < options.intervalMs) {
        WaitUnlessInterrupted(options.intervalMs - static_cast<uint32_t>(spent.count()));
      }
      if (Interrupted()) break;
    }
    return exitCode;
  });
}

}  // namespace tcudv::host
