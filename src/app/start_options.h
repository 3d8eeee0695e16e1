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

// The value of the user's sign-in start list (HKCU ...\CurrentVersion\Run) that starts the
// panel in the notification area: its name, the setup program's too, and its data for the
// program at `exePath`: the quoted path, then " /tray".
inline constexpr char kSignInValueName[] = "Quorelle Control Panel";
std::string SignInCommand(std::string_view exePath);
// Whether `command` starts the program at `exePath` (the quoted or bare path before its
// arguments, compared without regard to letter case, as the file system does).
bool SignInCommandStarts(std::string_view command, std::string_view exePath);

}  // namespace quorelle
