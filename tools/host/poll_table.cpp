#include "poll_table.h"

#include <algorithm>

namespace tcudv::host {
namespace {

std::string PadRight(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string PadLeft(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string Milliseconds(int64_t ms) {
  return ms < 0 ? "-" : std::to_string(ms);
}

std::string Failures(const PollRow& row) {
  return std::to_string(row.failures) + " of " + std::to_string(row.reads);
}

}  // namespace

std::vector<std::string> RenderPollTable(const std::vector<PollRow>& rows, uint32_t round,
                                         uint32_t count) {
  // Widths that fit the longest status there is, so columns stay put.
  size_t gateWidth = 4, valueWidth = 8, statusWidth = 23, msWidth = 6;
  for (const PollRow& row : rows) {
    gateWidth = std::max(gateWidth, row.gate.size());
    valueWidth = std::max(valueWidth, row.value.size());
    statusWidth = std::max(statusWidth, row.status.size());
    msWidth = std::max(msWidth, Milliseconds(row.lastMs).size());
  }
  auto line = [&](const std::string& gate, const std::string& value, const std::string& status,
                  const std::string& ms, const std::string& failures) {
    return PadRight(gate, gateWidth) + "  " + PadLeft(value, valueWidth) + "  " +
           PadRight(status, statusWidth) + "  " + PadLeft(ms, msWidth) + "  " + failures;
  };

  std::vector<std::string> lines;
  std::string title = "round " + std::to_string(round);
  title += count == 0 ? " (Ctrl-C ends)" : " of " + std::to_string(count);
  lines.push_back(title);
  lines.push_back(line("GATE", "VALUE", "STATUS", "MS", "FAILURES"));
  for (const PollRow& row : rows) {
    lines.push_back(line(row.gate, row.value, row.status, Milliseconds(row.lastMs), Failures(row)));
  }
  return lines;
}

std::string PlainPollLine(const PollRow& row, uint32_t round) {
  return "round " + std::to_string(round) + ": " + row.gate + " = " + row.value + ", " +
         row.status + ", " + Milliseconds(row.lastMs) + " ms, failures " + Failures(row);
}

}  // namespace tcudv::host
