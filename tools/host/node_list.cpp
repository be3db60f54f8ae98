#include "node_list.h"

#include <algorithm>
#include <cstdint>

#include "numbers.h"

namespace tcudv::host {
namespace {

std::optional<unsigned> ParseNode(std::string_view text) {
  if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
  std::optional<int64_t> node = ParseInteger(text, kFirstNode, kLastNode);
  if (!node) return std::nullopt;
  return static_cast<unsigned>(*node);
}

}  // namespace

std::optional<std::vector<unsigned>> ParseNodeList(std::string_view text) {
  std::vector<unsigned> nodes;
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const size_t dash = item.find('-');
    std::optional<unsigned> first = ParseNode(item.substr(0, dash));
    std::optional<unsigned> last =
        dash == std::string_view::npos ? first : ParseNode(item.substr(dash + 1));
    if (!first || !last || *first > *last) return std::nullopt;
    for (unsigned node = *first; node <= *last; ++node) nodes.push_back(node);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  std::sort(nodes.begin(), nodes.end());
  nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
  return nodes;
}

std::vector<unsigned> AllNodes() {
  std::vector<unsigned> nodes;
  for (unsigned node = kFirstNode; node <= kLastNode; ++node) nodes.push_back(node);
  return nodes;
}

}  // namespace tcudv::host
