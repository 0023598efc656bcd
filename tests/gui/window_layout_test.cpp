#include "gui/window_layout.h"

#include <gtest/gtest.h>

TEST(WindowLayout, DesignClientAreaGivesTheDesignPlaces) {
    LeftColumnLayout l = layoutForClientSize(12870, 7950);
    EXPECT_FLOAT_EQ(l.frameLeft, 9135);
    EXPECT_FLOAT_EQ(l.list.width, 9015);
    EXPECT_NEAR(l.list.height, 4857.6, 0.01);
    EXPECT_NEAR(l.status.top, 5277.6, 0.01);
    EXPECT_FLOAT_EQ(l.status.width, 9015);
    EXPECT_NEAR(l.log.top, 5622.6, 0.01);
    EXPECT_NEAR(l.log.height, 2207.4, 0.01);
    EXPECT_FLOAT_EQ(l.log.width, 9015);
    EXPECT_FLOAT_EQ(l.itemCountLeft, 8020);
    EXPECT_FLOAT_EQ(l.list.left, 120);
    EXPECT_FLOAT_EQ(l.list.top, 360);
}

TEST(WindowLayout, AWiderWindowWidensTheLeftColumnOnly) {
    LeftColumnLayout l = layoutForClientSize(20000, 12000);
    EXPECT_FLOAT_EQ(l.frameLeft, 20000 - 3735);
    EXPECT_FLOAT_EQ(l.list.width, 20000 - 3735 - 120);
    EXPECT_FLOAT_EQ(l.log.top + l.log.height, 12000 - 120);
    EXPECT_FLOAT_EQ(l.itemCountLeft, 120 + l.list.width - 1095 - 20);
}

TEST(WindowLayout, MinimumOuterSizeCountsTheFrame) {
    Size reported = minimumClientSize(240, 600);
    EXPECT_FLOAT_EQ(reported.width, 12000 - 240);
    EXPECT_FLOAT_EQ(reported.height, 8460 - 600);
    // No frame reported: the design frame counts, so the design client area is allowed.
    Size none = minimumClientSize(0, 0);
    EXPECT_FLOAT_EQ(none.width, 11880);
    EXPECT_FLOAT_EQ(none.height, 7950);
}
