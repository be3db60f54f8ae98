#include "sim/state_file.h"

#include <cstdio>

#include "sim/reply_formatter.h"

namespace tcudv::sim {
namespace {

std::string ValueText(const NodeState& node, const MnemonicInfo& mnemonic) {
  const std::string name = mnemonic.mnemonic;
  const std::array<bool, 4> status = node.OutputStatus();
  if (name == "A1R") return status[kAlarm1] ? "1" : "0";
  if (name == "A2R") return status[kAlarm2] ? "1" : "0";
  if (mnemonic.id == kIdW) {
    const std::string reply = FormatOutputStatus(status);
    return reply.substr(1, 4);
  }
  if (mnemonic.id == kIdS || mnemonic.id == kIdU) return std::to_string(node.Mode(mnemonic.id));
  return FormatFixed(node.Value(mnemonic.id), node.Decimals(mnemonic.id));
}

}  // namespace

std::string StateText(const std::map<int, NodeState>& nodes) {
  std::string text;
  for (const auto& [number, node] : nodes) {
    text += "node=" + std::to_string(number);
    for (int i = 0; i < kMnemonicCount; ++i) {
      text += ' ';
      text += Mnemonic(i).mnemonic;
      text += '=';
      text += ValueText(node, Mnemonic(i));
    }
    text += '\n';
  }
  return text;
}

bool WriteStateFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "w");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(temporary.c_str());
    return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace tcudv::sim
