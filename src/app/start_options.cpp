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

std::string SignInCommand(std::string_view exePath) {
    std::string command;
    command.reserve(exePath.size() + 8);
    command += '"';
    command += exePath;
    command += "\" /tray";
    return command;
}

bool SignInCommandStarts(std::string_view command, std::string_view exePath) {
    const size_t start = command.find_first_not_of(' ');
    if (start == std::string_view::npos || exePath.empty()) return false;
    command.remove_prefix(start);
    std::string_view path;
    if (command.front() == '"') {
        const size_t end = command.find('"', 1);
        if (end == std::string_view::npos) return false;
        path = command.substr(1, end - 1);
    } else {
        path = command.substr(0, command.find(' '));
    }
    return path.size() == exePath.size() &&
           std::equal(path.begin(), path.end(), exePath.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace quorelle
