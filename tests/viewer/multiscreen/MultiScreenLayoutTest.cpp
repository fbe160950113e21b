// The multi-screen view's geometry for the three grid sizes, and which channel each cell shows.
#include "viewer/multiscreen/MultiScreenLayout.h"

#include <gtest/gtest.h>

namespace kelto::viewer::multiscreen {
namespace {

TEST(MultiScreenLayoutTest, WindowButtonsAndCellsFollowTheGridSize) {
    struct Expected {
        int cells;
        QSize window;
        QRect exit;
        QRect minimise;
    };
    for (const Expected& e : {Expected{4, {340, 320}, QRect(QPoint(25, 270), QPoint(72, 289)), QRect(QPoint(25, 292), QPoint(72, 311))},
                              Expected{9, {500, 440}, QRect(QPoint(25, 390), QPoint(72, 409)), QRect(QPoint(25, 412), QPoint(72, 431))},
                              Expected{16, {660, 560}, QRect(QPoint(25, 510), QPoint(72, 529)), QRect(QPoint(25, 532), QPoint(72, 551))}}) {
        EXPECT_EQ(windowSize(e.cells), e.window) << e.cells;
        EXPECT_EQ(exitButtonRect(e.cells), e.exit) << e.cells;
        EXPECT_EQ(minimiseButtonRect(e.cells), e.minimise) << e.cells;
        // Every cell 160 by 120, the last one ending 10 pixels in from the right edge.
        const QRect last = cellRect(e.cells, e.cells - 1);
        EXPECT_EQ(last.size(), QSize(160, 120));
        EXPECT_EQ(e.window.width() - (last.x() + last.width()), 10) << e.cells;
    }
    EXPECT_EQ(cellRect(9, 5), QRect(10 + 320, 10 + 120, 160, 120));  // row 1, column 2
    EXPECT_EQ(windowSize(7), windowSize(4));                          // no such grid: 2 by 2
}

TEST(MultiScreenLayoutTest, APointFindsItsCellAndNothingOutsideTheGrid) {
    EXPECT_EQ(cellAt(4, {10, 10}), 0);
    EXPECT_EQ(cellAt(4, {169, 129}), 0);
    EXPECT_EQ(cellAt(4, {170, 130}), 3);
    EXPECT_EQ(cellAt(4, {5, 5}), -1);
    EXPECT_EQ(cellAt(16, {649, 489}), 15);
    EXPECT_EQ(cellAt(4, {30, 280}), -1);  // the exit button
}

TEST(MultiScreenLayoutTest, CellsShowTheSlotsOfTheCurrentBandOnly) {
    Slots tv{}, catv{};
    tv[1] = 6;
    tv[5] = 11;
    catv[2] = 40;
    EXPECT_EQ(cellSlot(VideoMode::TV, tv, catv, 0), 6);
    EXPECT_EQ(cellSlot(VideoMode::TV, tv, catv, 4), 11);
    EXPECT_EQ(cellSlot(VideoMode::TV, tv, catv, 1), std::nullopt);
    EXPECT_EQ(cellSlot(VideoMode::CATV, tv, catv, 1), 40);
    EXPECT_EQ(cellSlot(VideoMode::CATV, tv, catv, 0), std::nullopt);
    EXPECT_EQ(cellSlot(VideoMode::VIDEO, tv, catv, 0), std::nullopt);
    EXPECT_EQ(cellSlot(VideoMode::TV, tv, catv, 16), std::nullopt);
}

TEST(MultiScreenLayoutTest, WithListNumberingASlotNamesAPositionInTheRegisteredList) {
    Slots tv{}, catv{};
    tv[1] = 2;
    tv[2] = 7;  // beyond the list
    RegisteredList list;
    list.channels[0] = 6;
    list.channels[1] = 9;
    list.channels[2] = 11;
    list.count = 3;
    EXPECT_EQ(cellChannel(VideoMode::TV, tv, catv, 0, true, list), 9);
    EXPECT_EQ(cellChannel(VideoMode::TV, tv, catv, 1, true, list), std::nullopt);
    EXPECT_EQ(cellChannel(VideoMode::TV, tv, catv, 0, false, list), 2);
}

}  // namespace
}  // namespace kelto::viewer::multiscreen
