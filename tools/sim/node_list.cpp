#include "sim/node_list.h"

namespace tcudv::sim {

bool ParseBoundedNumber(std::string_view text, unsigned long long max, unsigned long long& value) {
  if (text.empty() || text.size() > 20) return false;
  unsigned long long number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (digit > max || number > (max - digit) / 10) return false;
    number = number * 10 + digit;
  }
  value = number;
  return true;
}

std::set<int> ParseNodeList(std::string_view text, std::string& error) {
  std::set<int> nodes;
  error.clear();
  if (text.empty()) {
    error = "empty node list";
    return {};
  }
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = text.find(',', start);
    const std::string_view item = text.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    const size_t dash = item.find('-');
    unsigned long long first = 0;
    unsigned long long last = 0;
    bool numbers = false;
    if (dash == std::string_view::npos) {
      numbers = ParseBoundedNumber(item, 99, first);
      last = first;
    } else {
      numbers = ParseBoundedNumber(item.substr(0, dash), 99, first) &&
                ParseBoundedNumber(item.substr(dash + 1), 99, last);
    }
    if (!numbers || first < 1 || last < first) {
      error = "bad node list item '" + std::string(item) + "' (nodes are 1 to 99, as in 1-3,7)";
      return {};
    }
    for (unsigned long long node = first; node <= last; ++node)
      nodes.insert(static_cast<int>(node));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return nodes;
}

}  // namespace tcudv::sim
