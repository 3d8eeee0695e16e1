#include "controls/scale.h"

#include <cstdlib>

namespace quorelle::controls {

namespace {
// Division rounding towards minus infinity (the edges of negative coordinates round as the
// positive ones do).
long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
}  // namespace

int SkinPercent(int dpi) {
    if (dpi <= 0) return 100;
    int best = kSkinScales.front();
    for (int percent : kSkinScales) {
        const long long distance = std::llabs(100LL * dpi - 1LL * percent * kLogicalDpi);
        const long long bestDistance = std::llabs(100LL * dpi - 1LL * best * kLogicalDpi);
        if (distance < bestDistance) best = percent;
    }
    return best;
}

int ToDevice(int logical, int dpi) {
    return int(FloorDiv(static_cast<long long>(logical) * dpi + kLogicalDpi / 2, kLogicalDpi));
}

int ToLogical(int device, int dpi) {
    // The largest logical l with ToDevice(l) <= device:
    // (l * dpi + 48) / 96 < device + 1  <=>  l * dpi <= 96 * device + 47.
    return int(FloorDiv(static_cast<long long>(device) * kLogicalDpi + kLogicalDpi / 2 - 1, dpi));
}

PxRect ToDevice(const PxRect& logical, int dpi) {
    int left = ToDevice(logical.x, dpi);
    int top = ToDevice(logical.y, dpi);
    return {left, top, ToDevice(logical.Right(), dpi) - left,
            ToDevice(logical.Bottom(), dpi) - top};
}

PxRect PlacedRect(int dialogId, const ControlPlace& place, int dpi) {
    return ToDevice(PlacedRect(dialogId, place), dpi);
}

}  // namespace quorelle::controls
