// Host build: the card's directory is whatever the test sets (the current directory before).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "vcard/card.h"

namespace vcard::platform {

std::filesystem::path CardDirectory() {
    return std::filesystem::path(".");
}

std::FILE* Open(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool Removed(std::FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 && info.st_nlink == 0;
}

void Truncate(std::FILE* file, size_t size) {
    if (ftruncate(fileno(file), static_cast<off_t>(size)) != 0) {
        // the next write rewrites the whole file again
    }
}

void PinModule() {}

}  // namespace vcard::platform
