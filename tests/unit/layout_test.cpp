// The control layout shared by the program and the art generator.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "base/texts.h"
#include "controls/layout.h"

using namespace quorelle::controls;

namespace {

int PanelBottom(const TemplateInfo& t) {
    return t.pxH == 501 ? 491 : 298;
}

}  // namespace

TEST(Layout, WholeTemplateMapsOntoWholeBackground) {
    ASSERT_EQ(Templates().size(), 5u);
    for (const TemplateInfo& t : Templates()) {
        SCOPED_TRACE(t.dialogId);
        PxRect all = ToPixels(t.dialogId, {0, 0, t.dluW, t.dluH});
        EXPECT_EQ(all.x, 0);
        EXPECT_EQ(all.y, 0);
        EXPECT_EQ(all.w, t.pxW);
        EXPECT_EQ(all.h, t.pxH);
    }
    EXPECT_EQ(FindTemplate(kMainDialog)->backgroundId, 134);
    EXPECT_EQ(FindTemplate(kHifiDialog)->backgroundId, 179);
    EXPECT_EQ(FindTemplate(kAdvanceDialog)->backgroundId, 197);
    EXPECT_EQ(FindTemplate(kHpDialog)->backgroundId, 193);
    EXPECT_EQ(FindTemplate(kInfoDialog)->backgroundId, 174);
}

TEST(Layout, ConversionRoundsEdgesSoNeighboursStayAdjacent) {
    // 483 x 189 units on 800 x 309 pixels: 10 units are 16.56 px wide, 16.35 px high.
    PxRect a = ToPixels(kMainDialog, {0, 0, 10, 10});
    PxRect b = ToPixels(kMainDialog, {10, 10, 10, 10});
    EXPECT_EQ(a.w, 17);
    EXPECT_EQ(a.h, 16);
    EXPECT_EQ(b.x, a.Right());
    EXPECT_EQ(b.y, a.Bottom());
    EXPECT_EQ(b.w, 16);  // 33.13 - 16.56: each edge rounded on its own
    // The main console's volume knob, 42 x 43 units, is a 70-pixel square.
    PxRect knob = ToPixels(kMainDialog, FindControl(kMainDialog, 1007)->dlu);
    EXPECT_EQ(knob.w, 70);
    EXPECT_EQ(knob.h, 70);
}

TEST(Layout, UnknownDialogOrControl) {
    EXPECT_EQ(FindTemplate(999), nullptr);
    EXPECT_TRUE(TemplateControls(999).empty());
    EXPECT_EQ(FindControl(kMainDialog, 4242), nullptr);
    PxRect same = ToPixels(999, {3, 4, 5, 6});
    EXPECT_EQ(same.x, 3);
    EXPECT_EQ(same.h, 6);
}

TEST(Layout, PlacedRectTakesTheImageSizeWhereTheControlDoes) {
    // The mute lamp shows a 49 x 24 image in a 28 x 14 unit slot.
    const ControlPlace* mute = FindControl(kMainDialog, 1008);
    ASSERT_NE(mute, nullptr);
    PxRect r = PlacedRect(kMainDialog, *mute);
    PxRect slot = ToPixels(kMainDialog, mute->dlu);
    EXPECT_EQ(r.x, slot.x);
    EXPECT_EQ(r.y, slot.y);
    EXPECT_EQ(r.w, 49);
    EXPECT_EQ(r.h, 24);
    // The balance slider keeps its width and takes the track's height.
    const ControlPlace* balance = FindControl(kMainDialog, 1010);
    PxRect b = PlacedRect(kMainDialog, *balance);
    EXPECT_EQ(b.w, ToPixels(kMainDialog, balance->dlu).w);
    EXPECT_EQ(b.h, 20);
}

TEST(Layout, EveryPageCarriesTheNavigationColumn) {
    struct Column {
        int dialog;
        int ids[11];
    };
    const Column columns[] = {
        {kMainDialog, {1000, 1001, 1002, 1003, 1004, 1005, 1046, 1047, 1048, 1049, 1050}},
        {kHifiDialog, {1073, 1075, 1077, 1078, 1081, 1083, 1074, 1076, 1079, 1080, 1082}},
        {kAdvanceDialog, {1204, 1206, 1208, 1213, 1211, 1209, 1205, 1207, 1214, 1212, 1210}},
        {kHpDialog, {1179, 1181, 1183, 1184, 1187, 1188, 1180, 1182, 1185, 1186, 1189}},
        {kInfoDialog, {1051, 1053, 1054, 1056, 1058, 1060, 1052, 1072, 1055, 1057, 1059}},
    };
    for (const Column& c : columns) {
        SCOPED_TRACE(c.dialog);
        for (int i = 0; i < 11; ++i) {
            const ControlPlace* p = FindControl(c.dialog, c.ids[i]);
            ASSERT_NE(p, nullptr) << c.ids[i];
            EXPECT_EQ(p->kind, i < 6 ? ControlKind::Button : ControlKind::Label) << c.ids[i];
        }
        // close button 86 x 20, page buttons 64 x 24, stacked top to bottom in page order
        EXPECT_EQ(PlacedRect(c.dialog, *FindControl(c.dialog, c.ids[0])).w, 86);
        for (int i = 1; i < 6; ++i) {
            PxRect r = PlacedRect(c.dialog, *FindControl(c.dialog, c.ids[i]));
            EXPECT_EQ(r.w, 64);
            EXPECT_EQ(r.h, 24);
            if (i > 1) {
                PxRect above = PlacedRect(c.dialog, *FindControl(c.dialog, c.ids[i - 1]));
                EXPECT_GT(r.y, above.Bottom()) << c.ids[i];
            }
        }
    }
}

TEST(Layout, ControlsAreUniqueAndSitOnThePanel) {
    for (const TemplateInfo& t : Templates()) {
        SCOPED_TRACE(t.dialogId);
        std::set<int> ids;
        for (const ControlPlace& c : TemplateControls(t.dialogId)) {
            EXPECT_TRUE(ids.insert(c.id).second) << "id " << c.id << " twice";
            PxRect r = PlacedRect(t.dialogId, c);
            EXPECT_GE(r.x, 5) << c.id;
            EXPECT_GE(r.y, 5) << c.id;
            EXPECT_LE(r.Right(), t.pxW - 5) << c.id;
            // a combo box's slot includes its drop-down list, which may hang below the panel
            EXPECT_LE(r.Bottom(), PanelBottom(t) - 5) << c.id;
        }
    }
}

// Pictures, lamps, keys, knobs and sliders are separate windows: none may cover another, or a
// click would reach the wrong one and the art behind them could not line up.
TEST(Layout, DrawnControlsDoNotOverlap) {
    for (const TemplateInfo& t : Templates()) {
        SCOPED_TRACE(t.dialogId);
        auto controls = TemplateControls(t.dialogId);
        for (size_t i = 0; i < controls.size(); ++i) {
            for (size_t j = i + 1; j < controls.size(); ++j) {
                const ControlPlace& a = controls[i];
                const ControlPlace& b = controls[j];
                if (a.kind == ControlKind::Label || b.kind == ControlKind::Label) continue;
                // The environment panel and its two step keys overlap by a few pixels in the
                // template itself.
                std::set<int> pair{a.id, b.id};
                if (t.dialogId == kHifiDialog && pair.count(1170) &&
                    (pair.count(1168) || pair.count(1169)))
                    continue;
                EXPECT_FALSE(Overlap(PlacedRect(t.dialogId, a), PlacedRect(t.dialogId, b)))
                    << a.id << " and " << b.id;
            }
        }
    }
}

// A label may lie on a lamp or picture (which the page stacks under it, and whose image the
// label composes under its letters) and touch a key stacked above it; two labels, or a label
// on a knob, slider or list, could not be drawn over each other.
TEST(Layout, LabelsLieOnlyOnPicturesAndUnderKeys) {
    for (const TemplateInfo& t : Templates()) {
        SCOPED_TRACE(t.dialogId);
        for (const ControlPlace& label : TemplateControls(t.dialogId)) {
            if (label.kind != ControlKind::Label) continue;
            for (const ControlPlace& other : TemplateControls(t.dialogId)) {
                if (&other == &label ||
                    !Overlap(PlacedRect(t.dialogId, label), PlacedRect(t.dialogId, other)))
                    continue;
                EXPECT_TRUE(other.kind == ControlKind::Lamp || other.kind == ControlKind::Picture ||
                            other.kind == ControlKind::Button)
                    << label.id << " lies on " << other.id;
            }
        }
    }
}

// The text tables name their labels by the same ids as the layout: each text must reach a label
// of its window's template, or it would never be shown.
TEST(Layout, EveryTextOfAWindowHasItsLabel) {
    for (const TemplateInfo& t : Templates()) {
        SCOPED_TRACE(t.dialogId);
        std::vector<int> ids;
        for (const quorelle::LabelText& text : quorelle::LanguageTexts(t.dialogId))
            ids.push_back(text.id);
        for (const quorelle::FixedText& text : quorelle::FixedTexts(t.dialogId))
            ids.push_back(text.id);
        EXPECT_FALSE(ids.empty());
        for (int id : ids) {
            const ControlPlace* label = FindControl(t.dialogId, id);
            ASSERT_NE(label, nullptr) << id;
            EXPECT_EQ(label->kind, ControlKind::Label) << id;
        }
    }
}

// The pictures are clicked by zones (the sample rate by column and third, the room by third)
// and their art points at the lamps: each lamp must stand beside the zone it stands for.
TEST(Layout, LampsStandBesideThePictureZonesTheyStandFor) {
    auto centreY = [](int dialog, int id) {
        PxRect r = PlacedRect(dialog, *FindControl(dialog, id));
        return r.y + r.h / 2.0;
    };
    auto thirdOf = [](PxRect pic, double y) {
        int third = pic.h / 3, y1 = pic.y + third, y2 = y1 + third;
        return y < y1 ? 0 : y < y2 ? 1 : 2;
    };
    PxRect rate = PlacedRect(kMainDialog, *FindControl(kMainDialog, 1018));
    const int mid = rate.x + rate.w / 2;
    // left column top to bottom 88.2, 48, 44.1 kHz; right column 96, 176.4, 192 kHz
    const int left[3] = {1012, 1013, 1014}, right[3] = {1015, 1016, 1017};
    for (int row = 0; row < 3; ++row) {
        PxRect l = PlacedRect(kMainDialog, *FindControl(kMainDialog, left[row]));
        PxRect r = PlacedRect(kMainDialog, *FindControl(kMainDialog, right[row]));
        EXPECT_LT(l.Right(), rate.x) << left[row];
        EXPECT_GT(r.x, rate.Right()) << right[row];
        EXPECT_LT(l.Right(), mid);
        EXPECT_EQ(thirdOf(rate, centreY(kMainDialog, left[row])), row) << left[row];
        EXPECT_EQ(thirdOf(rate, centreY(kMainDialog, right[row])), row) << right[row];
    }
    // room: living room on top, audio room in the middle, bedroom at the bottom
    PxRect room = PlacedRect(kHifiDialog, *FindControl(kHifiDialog, 1112));
    const int rooms[3] = {1109, 1110, 1111};
    for (int row = 0; row < 3; ++row) {
        EXPECT_LT(PlacedRect(kHifiDialog, *FindControl(kHifiDialog, rooms[row])).Right(), room.x);
        EXPECT_EQ(thirdOf(room, centreY(kHifiDialog, rooms[row])), row) << rooms[row];
    }
}
