// A list of controller nodes as "1-20" or "1-3,7,12".
#ifndef TCUDV_HOST_NODE_LIST_H
#define TCUDV_HOST_NODE_LIST_H

#include <optional>
#include <string_view>
#include <vector>

namespace tcudv::host {

inline constexpr unsigned kFirstNode = 1;
inline constexpr unsigned kLastNode = 99;

// Nodes 1 to 99 in ascending order, each once; nullopt for a malformed list,
// a node outside 1 to 99 or a range that runs backwards.
std::optional<std::vector<unsigned>> ParseNodeList(std::string_view text);

std::vector<unsigned> AllNodes();

}  // namespace tcudv::host

#endif
