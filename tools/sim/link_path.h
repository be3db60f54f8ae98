// The symlink that --link places at a fixed path, pointing to the pseudo-terminal's slave.
#ifndef TCUDV_SIM_LINK_PATH_H
#define TCUDV_SIM_LINK_PATH_H

#include <string>

namespace tcudv::sim {

// Places `link` pointing to `target`. An old symlink there is replaced; any other file is left
// alone and refused. False with `error` set on failure.
bool PlaceLink(const std::string& link, const std::string& target, std::string& error);

// Removes `link` if it still points to `target`.
void RemoveLink(const std::string& link, const std::string& target);

}  // namespace tcudv::sim

#endif
