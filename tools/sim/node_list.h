// Node lists as options give them: "1-3,7".
#ifndef TCUDV_SIM_NODE_LIST_H
#define TCUDV_SIM_NODE_LIST_H

#include <set>
#include <string>
#include <string_view>

namespace tcudv::sim {

// Numbers and ranges "a-b" of nodes 1 to 99, separated by commas. On failure `error` says why
// and the result is empty.
std::set<int> ParseNodeList(std::string_view text, std::string& error);

// An unsigned decimal number no larger than `max`; false for anything else.
bool ParseBoundedNumber(std::string_view text, unsigned long long max, unsigned long long& value);

}  // namespace tcudv::sim

#endif
