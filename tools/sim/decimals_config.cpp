#include "sim/decimals_config.h"

#include <cctype>
#include <fstream>

#include "sim/node_list.h"

namespace tcudv::sim {
namespace {

constexpr std::string_view kResolution = "RESOLUTION";

void SetDecimals(DecimalsTable& table, int node, const MnemonicInfo& mnemonic, int decimals) {
  if (mnemonic.setsDecimals) table[node][mnemonic.id] = decimals;
}

void SetResolution(DecimalsTable& table, int node, int decimals) {
  for (int i = 0; i < kMnemonicCount; ++i) {
    if (Mnemonic(i).inResolution) SetDecimals(table, node, Mnemonic(i), decimals);
  }
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

// An unsigned number with an optional "+", as the driver's "%u" takes it in these lines.
bool ReadNumber(std::string_view text, size_t& pos, unsigned long long max,
                unsigned long long& value) {
  SkipBlanks(text, pos);
  if (pos < text.size() && text[pos] == '+') ++pos;
  const size_t start = pos;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
  return ParseBoundedNumber(text.substr(start, pos - start), max, value);
}

bool ReadEquals(std::string_view text, size_t& pos) {
  SkipBlanks(text, pos);
  if (pos >= text.size() || text[pos] != '=') return false;
  ++pos;
  return true;
}

}  // namespace

DecimalsTable DefaultDecimals() {
  DecimalsTable table{};
  for (auto& row : table) {
    for (int i = 0; i < kValueIdCount; ++i) row[i] = Info(static_cast<ValueId>(i)).defaultDecimals;
  }
  return table;
}

std::string ApplyDecimalsOption(std::string_view setting, DecimalsTable& table) {
  const size_t colon = setting.find(':');
  if (colon == std::string_view::npos) {
    return "--decimals needs NODES:NAME=D, as in 5:SET=1";
  }
  std::string error;
  const std::set<int> nodes = ParseNodeList(setting.substr(0, colon), error);
  if (!error.empty()) return "--decimals: " + error;
  DecimalsTable changed = table;
  std::string_view rest = setting.substr(colon + 1);
  while (true) {
    const size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    const size_t equals = item.find('=');
    unsigned long long decimals = 0;
    if (equals == std::string_view::npos ||
        !ParseBoundedNumber(item.substr(equals + 1), 3, decimals)) {
      return "--decimals: bad item '" + std::string(item) + "' (NAME=D with D 0 to 3)";
    }
    const std::string name = Upper(item.substr(0, equals));
    const std::optional<MnemonicInfo> mnemonic = FindMnemonic(name);
    if (name != kResolution && !(mnemonic && mnemonic->setsDecimals)) {
      return "--decimals: '" + name + "' is no parameter with decimals";
    }
    for (const int node : nodes) {
      if (name == kResolution) {
        SetResolution(changed, node, static_cast<int>(decimals));
      } else {
        SetDecimals(changed, node, *mnemonic, static_cast<int>(decimals));
      }
    }
    if (comma == std::string_view::npos) break;
    rest = rest.substr(comma + 1);
  }
  table = changed;
  return {};
}

std::string ApplyDecimalsLine(std::string_view line, DecimalsTable& table) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.find_first_not_of(" \t") == std::string_view::npos) return {};
  size_t pos = 0;
  unsigned long long node = 0;
  unsigned long long decimals = 0;
  if (line.starts_with("IFG")) {
    pos = 3;
    unsigned long long gap = 0;
    if (ReadEquals(line, pos) && ReadNumber(line, pos, 0xFFFFFFFFull, gap)) return {};
    return "not a line of the form IFG = N";
  }
  const bool resolution = line.starts_with(kResolution);
  const std::optional<MnemonicInfo> mnemonic =
      resolution || line.size() < 3 ? std::nullopt : FindMnemonic(line.substr(0, 3));
  // Keywords are upper case, as the driver reads them.
  if (!resolution && !(mnemonic && Upper(line.substr(0, 3)) == line.substr(0, 3))) {
    return "unknown keyword (a mnemonic, RESOLUTION or IFG, in capitals at the line's start)";
  }
  pos = resolution ? kResolution.size() : 3;
  if (!ReadNumber(line, pos, 99, node) || !ReadEquals(line, pos) ||
      !ReadNumber(line, pos, 3, decimals)) {
    return "not a line of the form NAME NODE = D (node 0 to 99, D 0 to 3)";
  }
  if (resolution) {
    SetResolution(table, static_cast<int>(node), static_cast<int>(decimals));
  } else {
    SetDecimals(table, static_cast<int>(node), *mnemonic, static_cast<int>(decimals));
  }
  return {};
}

std::string ApplyDecimalsFile(const std::string& path, DecimalsTable& table) {
  std::ifstream file(path);
  if (!file) return "cannot read the decimals file '" + path + "'";
  std::string line;
  unsigned number = 0;
  while (std::getline(file, line)) {
    ++number;
    const std::string error = ApplyDecimalsLine(line, table);
    if (!error.empty()) return path + " line " + std::to_string(number) + ": " + error;
  }
  return {};
}

}  // namespace tcudv::sim
