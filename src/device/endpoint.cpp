#include "device/endpoint.h"

#include <string>

#include "device/selection.h"

namespace quorelle::device {

namespace {

bool Contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

int32_t ClassifyEndpointName(std::string_view friendlyNameUtf8) {
    const std::string name = LowerAscii(friendlyNameUtf8);
    if (Contains(name, "扬声器") || Contains(name, "master")) return OUTPUT_ANALOG;
    if (Contains(name, "数字") || Contains(name, "pdif")) return OUTPUT_DIGITAL;
    return 0;
}

std::vector<int> DefaultOutputChangeReports(std::string_view friendlyNameUtf8) {
    std::vector<int> reports;
    if (Contains(friendlyNameUtf8, "SPDIF") || Contains(friendlyNameUtf8, "数字"))
        reports.push_back(0);
    if (Contains(friendlyNameUtf8, "扬声器") || Contains(friendlyNameUtf8, "揚聲器"))
        reports.push_back(1);
    return reports;
}

int VolumeChangeWParam(bool ownContext) {
    return ownContext ? 10 : 0;
}

}  // namespace quorelle::device
