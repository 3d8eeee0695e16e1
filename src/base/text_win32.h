// UTF-8 inside the program, UTF-16 at the Win32 edge.
#pragma once

#include <string>
#include <string_view>

namespace quorelle {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Full path of the module (the program when null), any length.
std::wstring ModulePath(void* module = nullptr);
// The directory of the program's executable, with a trailing backslash.
std::wstring ProgramDirectory();

}  // namespace quorelle
