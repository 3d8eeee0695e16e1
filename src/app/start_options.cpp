#include "app/start_options.h"

#include <algorithm>
#include <cctype>

namespace quorelle {

bool IsTrayArgument(std::string_view argument) {
    constexpr std::string_view kTray = "/tray";
    return argument.size() == kTray.size() &&
           std::equal(argument.begin(), argument.end(), kTray.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

bool AsksForTrayStart(const std::vector<std::string>& arguments) {
    return std::ranges::any_of(arguments, IsTrayArgument);
}

}  // namespace quorelle
