#include "controls/layout.h"

#include "controls/layout_table.h"

#include <algorithm>
#include <array>

namespace quorelle::controls {

namespace {

// Rounds a * num / den to the nearest integer, halves away from zero.
int ScaleRound(int a, int num, int den) {
    long long p = static_cast<long long>(a) * num;
    long long q = den;
    long long r = (p >= 0 ? p + q / 2 : p - q / 2) / q;
    return static_cast<int>(r);
}

}  // namespace

std::span<const TemplateInfo> Templates() {
    return layout_table::kTemplates;
}

const TemplateInfo* FindTemplate(int dialogId) {
    const auto& all = layout_table::kTemplates;
    auto it = std::find_if(all.begin(), all.end(),
                           [dialogId](const TemplateInfo& t) { return t.dialogId == dialogId; });
    return it == all.end() ? nullptr : &*it;
}

const NavigationIds& NavigationIdsOf(int pageIndex) {
    return layout_table::kNavigation.at(size_t(pageIndex));
}

const NavigationIds* NavigationIdsOfDialog(int dialogId) {
    for (const NavigationIds& n : layout_table::kNavigation)
        if (n.dialogId == dialogId) return &n;
    return nullptr;
}

std::span<const ControlPlace> TemplateControls(int dialogId) {
    return TemplateTable(dialogId);
}

const ControlPlace* FindControl(int dialogId, int controlId) {
    auto controls = TemplateControls(dialogId);
    auto it = std::find_if(controls.begin(), controls.end(),
                           [controlId](const ControlPlace& c) { return c.id == controlId; });
    return it == controls.end() ? nullptr : &*it;
}

PxRect ToPixels(int dialogId, DluRect dlu) {
    const TemplateInfo* t = FindTemplate(dialogId);
    if (t == nullptr) return {dlu.x, dlu.y, dlu.w, dlu.h};
    int left = ScaleRound(dlu.x, t->pxW, t->dluW);
    int right = ScaleRound(dlu.x + dlu.w, t->pxW, t->dluW);
    int top = ScaleRound(dlu.y, t->pxH, t->dluH);
    int bottom = ScaleRound(dlu.y + dlu.h, t->pxH, t->dluH);
    return {left, top, right - left, bottom - top};
}

PxRect PlacedRect(int dialogId, const ControlPlace& place) {
    PxRect r = ToPixels(dialogId, place.dlu);
    if (place.imageW > 0) r.w = place.imageW;
    if (place.imageH > 0) r.h = place.imageH;
    return r;
}

}  // namespace quorelle::controls
