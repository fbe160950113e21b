// The mouse over the live picture, on the real viewer window: the cursor that hides after the
// mouse rests 2000 ms in full screen, the right button's cursor rules, the caption drag on a left
// press, the press that belongs to the multi-screen view, and the double click to full screen.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "resources/ArtResource.h"

#include <QTest>

namespace kelto {
namespace {

using test::ViewerWindowRig;

// The cursor `id` is what the widget shows (not hidden, not another one).
bool showsCursor(const QWidget* widget, int id) {
    const QCursor cursor = widget->cursor();
    return cursor.shape() == Qt::BitmapCursor && cursor.hotSpot() == cursorHotSpot(id) &&
           cursor.pixmap().toImage() == cursorResource(id).pixmap().toImage();
}
bool hidesCursor(const QWidget* widget) { return widget->cursor().shape() == Qt::BlankCursor; }

class PictureMouseTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        saveState(7, QRect(40, 40, 484, 424));
        ASSERT_TRUE(open());
        ASSERT_NE(picture(), nullptr);
        ASSERT_NE(viewer->pictureMouse(), nullptr);
    }
    void moveOver(QPoint at) { mouse(picture(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void rightClick(QPoint at) {
        mouse(picture(), QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
        mouse(picture(), QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
    }
};

TEST_F(PictureMouseTest, TheCursorHidesAfterTheMouseRests2000msOnlyInFullScreen) {
    EXPECT_TRUE(showsCursor(picture(), 227));
    // In a normal window the cursor never hides.
    moveOver({50, 50});
    scheduler.advanceMs(5000);
    EXPECT_TRUE(showsCursor(picture(), 227));

    viewer->showFullScreen();
    moveOver({60, 50});
    scheduler.advanceMs(1999);
    EXPECT_TRUE(showsCursor(picture(), 227));
    scheduler.advanceMs(1);
    EXPECT_TRUE(hidesCursor(picture()));
    // Movement brings it back and starts the wait again: every movement restarts it.
    moveOver({70, 50});
    EXPECT_TRUE(showsCursor(picture(), 227));
    scheduler.advanceMs(1500);
    moveOver({80, 50});
    scheduler.advanceMs(1999);
    EXPECT_TRUE(showsCursor(picture(), 227));
    scheduler.advanceMs(1);
    EXPECT_TRUE(hidesCursor(picture()));

    // Leaving full screen is a size change: the hidden cursor comes back.
    viewer->showNormal();
    EXPECT_TRUE(showsCursor(picture(), 227));
    // A wait that was running when full screen ended hides nothing in the normal window.
    viewer->showFullScreen();
    moveOver({90, 50});
    viewer->showNormal();
    scheduler.advanceMs(3000);
    EXPECT_TRUE(showsCursor(picture(), 227));
}

TEST_F(PictureMouseTest, ARightPressShowsTheCursorAndARightReleaseWhileMinimisedHidesIt) {
    viewer->showFullScreen();
    moveOver({50, 50});
    scheduler.advanceMs(2000);
    ASSERT_TRUE(hidesCursor(picture()));
    // The press shows it and opens the context menu; the release outside the minimised state
    // leaves it shown, and the mouse resting under the menu does not hide it.
    mouse(picture(), QEvent::MouseButtonPress, {50, 50}, Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(showsCursor(picture(), 227));
    EXPECT_NE(viewer->lastContextMenu(), nullptr);
    mouse(picture(), QEvent::MouseButtonRelease, {50, 50}, Qt::RightButton, Qt::NoButton);
    scheduler.advanceMs(5000);
    EXPECT_TRUE(showsCursor(picture(), 227));

    viewer->showNormal();
    viewer->showMinimized();
    ASSERT_TRUE(viewer->isMinimized());
    rightClick({50, 50});
    EXPECT_TRUE(hidesCursor(picture()));
    // A right press shows it once more; coming back from minimised to a normal window shows a
    // cursor hidden by the release.
    mouse(picture(), QEvent::MouseButtonPress, {50, 50}, Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(showsCursor(picture(), 227));
    mouse(picture(), QEvent::MouseButtonRelease, {50, 50}, Qt::RightButton, Qt::NoButton);
    ASSERT_TRUE(hidesCursor(picture()));
    viewer->showNormal();
    EXPECT_TRUE(showsCursor(picture(), 227));
}

TEST_F(PictureMouseTest, ALeftPressSetsTheMoveCursorAndADragMovesTheWindow) {
    const QPoint start = viewer->pos();
    const QPoint press = picture()->mapToGlobal(QPoint(50, 50));
    mouseAt(picture(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(showsCursor(picture(), 239));
    // A tremble below the drag distance is still a click.
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(1, 1), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(viewer->pos(), start);
    // The platform has no window-manager move off screen: the window follows by hand, the whole
    // way from the press.
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(viewer->pos(), start + QPoint(30, 20));
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(45, -10), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(viewer->pos(), start + QPoint(45, -10));
    mouseAt(picture(), QEvent::MouseButtonRelease, press + QPoint(45, -10), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(showsCursor(picture(), 227));
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(90, 90), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(viewer->pos(), start + QPoint(45, -10));
}

TEST_F(PictureMouseTest, WhenTheWindowManagerMovesTheWindowItIsNotAlsoMovedByHand) {
    int systemMoves = 0;
    viewer->pictureMouse()->setSystemMove([&](QWidget& window) {
        EXPECT_EQ(&window, viewer.data());
        ++systemMoves;
        return true;
    });
    const QPoint start = viewer->pos();
    const QPoint press = picture()->mapToGlobal(QPoint(50, 50));
    mouseAt(picture(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(systemMoves, 0);  // a click is not a move
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(60, 40), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(systemMoves, 1);
    EXPECT_EQ(viewer->pos(), start);
    EXPECT_FALSE(viewer->pictureMouse()->dragging());
    EXPECT_TRUE(showsCursor(picture(), 227));
}

TEST_F(PictureMouseTest, InFullScreenALeftPressMovesNothing) {
    viewer->showFullScreen();
    const QPoint start = viewer->pos();
    const QPoint press = picture()->mapToGlobal(QPoint(50, 50));
    mouseAt(picture(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(showsCursor(picture(), 227));
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(viewer->pos(), start);
    EXPECT_FALSE(viewer->pictureMouse()->dragging());
}

TEST_F(PictureMouseTest, ALeftPressDoesNotMoveTheWindowWhileTheMultiScreenViewIsOpen) {
    viewer::CompanionWindows open;
    open.multiScreenOpen = true;
    viewer->session()->setCompanions(open);
    const QPoint start = viewer->pos();
    const QPoint press = picture()->mapToGlobal(QPoint(50, 50));
    mouseAt(picture(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    mouseAt(picture(), QEvent::MouseMove, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(viewer->pos(), start);
    EXPECT_TRUE(showsCursor(picture(), 227));
}

TEST_F(PictureMouseTest, ADoubleClickReachesTheFullScreenCommand) {
    const QPoint start = viewer->pos();
    QTest::mouseDClick(picture(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(viewer->showState().maximised);  // posted: it runs from the event loop
    EXPECT_TRUE(deliverPostedUntil([&] { return viewer->showState().maximised; }));
    // Full screen; a second double click leaves it, back where the window was.
    QTest::mouseDClick(picture(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(deliverPostedUntil([&] { return !viewer->showState().maximised; }));
    EXPECT_EQ(viewer->pos(), start);
    EXPECT_FALSE(viewer->pictureMouse()->dragging());
    EXPECT_TRUE(showsCursor(picture(), 227));
}

// The viewer goes (and its picture with it) while the wait runs: the expiry finds nothing to do.
TEST_F(PictureMouseTest, AWaitRunningWhenTheViewerClosesEndsWithoutEffect) {
    viewer->showFullScreen();
    moveOver({50, 50});
    close();
    ASSERT_FALSE(viewer);
    scheduler.advanceMs(3000);
}

}  // namespace
}  // namespace kelto
