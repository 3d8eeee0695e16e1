// Logical to device pixels at the display scales: the layout tables keep their order, the
// pictures' hit zones tile their device rectangles, and the pair is a true inverse on pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>

#include "controls/layout.h"
#include "controls/scale.h"
#include "pages/main_console.h"
#include "pages/reverb.h"

using namespace quorelle::controls;
namespace qp = quorelle::pages;

namespace {

constexpr int kDpis[] = {120, 144, 168, 192, 240, 288};

// -1, 0 or 1: how edge a lies against edge b.
int Order(int a, int b) {
    return (a > b) - (a < b);
}

}  // namespace

TEST(Scale, DevicePixelsMapBackToTheLogicalPixelHoldingThem) {
    // odd DPIs and negative coordinates too (windows left of the primary screen)
    for (int dpi : {72, 96, 110, 120, 144, 168, 192, 240, 288, 384}) {
        SCOPED_TRACE(dpi);
        for (int d = -700; d <= 2600; ++d) {
            int l = ToLogical(d, dpi);
            ASSERT_LE(ToDevice(l, dpi), d) << d;
            ASSERT_GT(ToDevice(l + 1, dpi), d) << d;
        }
        if (dpi < kLogicalDpi) continue;
        for (int l = -300; l <= 900; ++l) {
            ASSERT_EQ(ToLogical(ToDevice(l, dpi), dpi), l) << l;
            // no logical pixel vanishes and none grows by more than one device pixel
            int span = ToDevice(l + 1, dpi) - ToDevice(l, dpi);
            ASSERT_GE(span, dpi / kLogicalDpi);
            ASSERT_LE(span, (dpi + kLogicalDpi - 1) / kLogicalDpi);
        }
    }
    EXPECT_EQ(ToDevice(PxRect{10, 20, 30, 40}, 96).x, 10);
    EXPECT_EQ(ToDevice(1, 120), 1);    // 1.25 rounds down
    EXPECT_EQ(ToDevice(2, 120), 3);    // 2.5 rounds up
    EXPECT_EQ(ToDevice(-2, 120), -2);  // -2.5 rounds up too
}

TEST(Scale, LayoutTablesKeepOrderAndSizeAtEveryScale) {
    for (int dpi : kDpis) {
        for (const TemplateInfo& t : Templates()) {
            SCOPED_TRACE(testing::Message() << "dpi " << dpi << " dialog " << t.dialogId);
            // the window is its background times the scale, within a pixel
            const PxRect window = ToDevice(PxRect{0, 0, t.pxW, t.pxH}, dpi);
            EXPECT_LE(std::abs(window.w - t.pxW * dpi / 96.0), 1.0);
            EXPECT_LE(std::abs(window.h - t.pxH * dpi / 96.0), 1.0);
            auto controls = TemplateControls(t.dialogId);
            ASSERT_FALSE(controls.empty());
            for (size_t i = 0; i < controls.size(); ++i) {
                // where the program places it at dpi
                const PxRect a = PlacedRect(t.dialogId, controls[i]);
                const PxRect da = PlacedRect(t.dialogId, controls[i], dpi);
                EXPECT_LE(std::abs(da.w - a.w * dpi / 96.0), 1.0) << controls[i].id;
                EXPECT_LE(std::abs(da.h - a.h * dpi / 96.0), 1.0) << controls[i].id;
                if (a.x >= 0 && a.Right() <= t.pxW && a.y >= 0 && a.Bottom() <= t.pxH) {
                    EXPECT_FALSE(da.x < 0 || da.Right() > window.w || da.y < 0 ||
                                 da.Bottom() > window.h)
                        << controls[i].id << " leaves the window";
                }
                for (size_t j = i + 1; j < controls.size(); ++j) {
                    const PxRect b = PlacedRect(t.dialogId, controls[j]);
                    const PxRect db = PlacedRect(t.dialogId, controls[j], dpi);
                    if (!Overlap(a, b)) {
                        EXPECT_FALSE(Overlap(da, db))
                            << controls[i].id << " and " << controls[j].id << " overlap";
                    }
                    // every pair of edges keeps its order (touching edges keep touching)
                    const int la[] = {a.x, a.Right(), a.y, a.Bottom()};
                    const int lb[] = {b.x, b.Right(), b.y, b.Bottom()};
                    const int dA[] = {da.x, da.Right(), da.y, da.Bottom()};
                    const int dB[] = {db.x, db.Right(), db.y, db.Bottom()};
                    for (int e = 0; e < 4; ++e) {
                        for (int f = e / 2 * 2; f < e / 2 * 2 + 2; ++f) {
                            EXPECT_EQ(Order(la[e], lb[f]), Order(dA[e], dB[f]))
                                << controls[i].id << " edge " << e << " against " << controls[j].id
                                << " edge " << f;
                        }
                    }
                }
            }
        }
    }
}

struct ZoneBox {
    int l = 1 << 30, t = 1 << 30, r = -(1 << 30), b = -(1 << 30), n = 0;
};

// Every zone's bounding box and pixel count over a grid around `area` (3 pixels of margin);
// fails when a pixel inside the area picks no zone or one outside picks a zone.
template <typename ZoneAt>
std::map<int, ZoneBox> ScanZones(const PxRect& area, ZoneAt zoneAt) {
    std::map<int, ZoneBox> boxes;
    for (int y = area.y - 3; y < area.Bottom() + 3; ++y) {
        for (int x = area.x - 3; x < area.Right() + 3; ++x) {
            std::optional<int> z = zoneAt(x, y);
            bool inside = x >= area.x && x < area.Right() && y >= area.y && y < area.Bottom();
            EXPECT_EQ(z.has_value(), inside) << x << "," << y;
            if (!z) continue;
            ZoneBox& b = boxes[*z];
            b.l = std::min(b.l, x);
            b.t = std::min(b.t, y);
            b.r = std::max(b.r, x + 1);
            b.b = std::max(b.b, y + 1);
            ++b.n;
        }
    }
    return boxes;
}

// Mouse points in: every device pixel of a picture is taken back to a logical point for the
// page's own hit test. The zones then tile the picture's device rectangle: each zone's device
// pixels fill exactly its logical rectangle converted by its edges (so no gap, no overlap), and
// nothing outside the picture picks a zone.
TEST(Scale, PictureZonesTileTheirDeviceRectangle) {
    struct Picture {
        const char* name;
        int dialog, control, zones;
        std::optional<int> (*zone)(const qp::Rect&, qp::Point);
    };
    const Picture pictures[] = {
        {"sample rate", kMainDialog, 1018, 6,
         [](const qp::Rect& r, qp::Point p) { return qp::SampleRateZone(r, p); }},
        {"room", kHifiDialog, 1112, 3,
         [](const qp::Rect& r, qp::Point p) {
             auto z = qp::RoomZone(r, p);
             return z ? std::optional<int>(int(*z)) : std::nullopt;
         }},
    };
    for (const Picture& pic : pictures) {
        const PxRect logical = PlacedRect(pic.dialog, *FindControl(pic.dialog, pic.control));
        const qp::Rect lr{logical.x, logical.y, logical.Right(), logical.Bottom()};
        auto logicalZones = ScanZones(logical, [&](int x, int y) { return pic.zone(lr, {x, y}); });
        ASSERT_EQ(int(logicalZones.size()), pic.zones) << pic.name;
        for (int dpi : kDpis) {
            SCOPED_TRACE(testing::Message() << pic.name << " at dpi " << dpi);
            const PxRect dev = ToDevice(logical, dpi);
            auto deviceZones = ScanZones(dev, [&](int x, int y) {
                return pic.zone(lr, {ToLogical(x, dpi), ToLogical(y, dpi)});
            });
            ASSERT_EQ(deviceZones.size(), logicalZones.size());
            int total = 0;
            for (auto& [z, b] : deviceZones) {
                EXPECT_EQ(b.n, (b.r - b.l) * (b.b - b.t)) << "zone " << z << " is not a rectangle";
                const ZoneBox& lz = logicalZones[z];
                PxRect expected = ToDevice(PxRect{lz.l, lz.t, lz.r - lz.l, lz.b - lz.t}, dpi);
                EXPECT_EQ(b.l, expected.x) << "zone " << z;
                EXPECT_EQ(b.t, expected.y) << "zone " << z;
                EXPECT_EQ(b.r, expected.Right()) << "zone " << z;
                EXPECT_EQ(b.b, expected.Bottom()) << "zone " << z;
                total += b.n;
            }
            EXPECT_EQ(total, dev.w * dev.h);
        }
    }
}
