// What the program's command line asks of a start. Every argument but these is ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorelle {

// "/tray", in any letter case: the start shows no window (the notification area's icon is the
// panel's only sign); a second start with it shows nothing either.
bool IsTrayArgument(std::string_view argument);
bool AsksForTrayStart(const std::vector<std::string>& arguments);

}  // namespace quorelle
