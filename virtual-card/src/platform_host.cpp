// Host build: the card's directory is whatever the test sets (the current directory before).
#include <cstdio>

#include "vcard/card.h"

namespace vcard::platform {

std::filesystem::path CardDirectory() {
    return std::filesystem::path(".");
}

std::FILE* Open(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

void PinModule() {}

}  // namespace vcard::platform
