// The configuration sheet as the viewer opens and closes it: its pages per video mode, where it
// goes on the desktop, its "Close" button, and what the viewer window gets back afterwards.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "framework/BitmapButton.h"
#include "framework/PropertyPage.h"
#include "viewer/config/CEnvironmentPage1.h"
#include "viewer/config/CEnvironmentPage2.h"
#include "viewer/config/CEnvironmentPage3.h"
#include "viewer/config/CEnvironmentPage4.h"
#include "viewer/config/CEnvironmentSheet.h"

#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>

namespace kelto {
namespace {

using viewer::config::CEnvironmentSheet;

class ConfigSheetTest : public test::ViewerWindowRig {
protected:
    CEnvironmentSheet* sheet() const { return viewer->configSheet().sheet(); }
    // Lets a sheet that closed be destroyed, and the viewer take back what it lent it.
    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    void openInMode(int mode) {
        saveState(7, QRect(40, 40, 484, 424));
        store.writeInt("user", "s_vmode", mode);
        ASSERT_TRUE(open());
        viewer->show();
    }
};

TEST_F(ConfigSheetTest, TheConfigurationCommandOpensOneSheetWithFourPagesAndTakesThePanel) {
    openInMode(0);
    const int height = viewer->height();
    viewer->wiring().sendCommand(1007);
    ASSERT_TRUE(sheet());
    EXPECT_TRUE(sheet()->isVisible());
    EXPECT_EQ(sheet()->windowTitle().toStdString(), LoadMessage(189));
    EXPECT_TRUE(sheet()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // Channels, colour, info, multi-screen; each tab with its own image of strip 133.
    ASSERT_EQ(sheet()->pageCount(), 4);
    EXPECT_TRUE(sheet()->channelPage() && sheet()->colourPage() && sheet()->infoPage() && sheet()->multiScreenPage());
    EXPECT_EQ(sheet()->activePage(), sheet()->channelPage());
    for (int tab = 0; tab < 4; ++tab) EXPECT_FALSE(sheet()->tabBar()->tabIcon(tab).isNull()) << tab;
    // The viewer gives up its panel strip while the sheet is open.
    EXPECT_EQ(viewer->height(), height - 60);
    EXPECT_FALSE(viewer->panelShown());
    EXPECT_TRUE(viewer->session()->companions().configSheetOpen);

    // A second command makes no second sheet.
    CEnvironmentSheet* first = sheet();
    viewer->wiring().sendCommand(1007);
    EXPECT_EQ(sheet(), first);
    int sheets = 0;
    for (QWidget* child : viewer->findChildren<QWidget*>()) sheets += dynamic_cast<CEnvironmentSheet*>(child) ? 1 : 0;
    EXPECT_EQ(sheets, 1);
}

TEST_F(ConfigSheetTest, VideoInputsShowOnlyTheColourAndInfoPages) {
    openInMode(2);
    viewer->wiring().sendCommand(1007);
    ASSERT_TRUE(sheet());
    EXPECT_EQ(sheet()->pageCount(), 2);
    EXPECT_FALSE(sheet()->channelPage());
    EXPECT_FALSE(sheet()->multiScreenPage());
    EXPECT_EQ(sheet()->page(0), sheet()->colourPage());
    EXPECT_EQ(sheet()->page(1), sheet()->infoPage());
}

TEST_F(ConfigSheetTest, TheSheetSitsNearTheDesktopsBottomRightCornerWithRoomForItsCloseButton) {
    const QRect desktop(0, 0, 1280, 800);
    EXPECT_EQ(CEnvironmentSheet::placement(desktop, QSize(460, 340)), QRect(1280 - 460 - 30, 800 - 340 - 80, 460, 370));

    openInMode(0);
    viewer->wiring().sendCommand(1007);
    ASSERT_TRUE(sheet());
    const QRect available = viewer->screen()->availableGeometry();
    const QRect frame = sheet()->geometry();
    const QRect outer = sheet()->frameGeometry();
    EXPECT_EQ(available.x() + available.width() - (outer.x() + outer.width()), 30);
    // The button: 100 by 25, centred, its top 5 pixels below the pages.
    framework::BitmapButton* close = sheet()->closeButton();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->size(), QSize(100, 25));
    EXPECT_EQ(close->x(), (frame.width() - 100) / 2);
    EXPECT_EQ(close->y(), sheet()->pageArea()->geometry().bottom() + 1 + 5);
    EXPECT_LE(close->geometry().bottom(), frame.height());
    EXPECT_EQ(close->text().toStdString(), LoadMessage(190));
}

TEST_F(ConfigSheetTest, CloseGivesTheViewerItsPanelHeightAndTopmostStateBack) {
    saveState(7, QRect(40, 40, 484, 424));
    store.writeInt("user", "s_abovescreen", 1);
    ASSERT_TRUE(open());
    viewer->show();
    ASSERT_TRUE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const int height = viewer->height();

    viewer->wiring().sendCommand(1007);
    ASSERT_TRUE(sheet());
    // Above the viewer, which is not topmost meanwhile.
    EXPECT_FALSE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    sheet()->closeButton()->click();
    settle();
    EXPECT_FALSE(sheet());
    EXPECT_EQ(viewer->height(), height);
    EXPECT_TRUE(viewer->panelShown());
    EXPECT_FALSE(viewer->session()->companions().configSheetOpen);
    EXPECT_TRUE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // And it opens again afterwards.
    viewer->wiring().sendCommand(1007);
    EXPECT_TRUE(sheet());
}

TEST_F(ConfigSheetTest, ASheetClosedInFullScreenLeavesFullScreenWithTheWindowsOwnSize) {
    openInMode(0);
    const QRect normal = viewer->geometry();
    // Opened in full screen: the window keeps its size, and gets exactly its own back afterwards.
    viewer->wiring().sendCommand(32779);
    ASSERT_TRUE(viewer->showState().maximised);
    viewer->wiring().sendCommand(1007);
    ASSERT_TRUE(sheet());
    sheet()->closeButton()->click();
    settle();
    EXPECT_FALSE(viewer->showState().maximised);
    EXPECT_EQ(viewer->geometry(), normal);

    // Opened as a window and closed after going full screen: left again, with the panel's room back.
    viewer->wiring().sendCommand(1007);
    ASSERT_TRUE(sheet());
    viewer->wiring().sendCommand(32779);
    ASSERT_TRUE(viewer->showState().maximised);
    sheet()->closeButton()->click();
    settle();
    EXPECT_FALSE(viewer->showState().maximised);
    EXPECT_EQ(viewer->geometry().size(), normal.size());
}

TEST_F(ConfigSheetTest, AMultiScreenViewWithoutChannelsSaysSoAndOpensTheSheetAtItsMultiScreenPage) {
    openInMode(0);
    viewer->wiring().sendCommand(32776);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(232));
    ASSERT_TRUE(sheet());
    EXPECT_EQ(sheet()->activePage(), sheet()->multiScreenPage());
}

TEST_F(ConfigSheetTest, TheSheetStaysWhileTheScanRunsAndItsCloseButtonIsDisabledMeanwhile) {
    openInMode(0);
    viewer->wiring().sendCommand(1007);
    ASSERT_TRUE(sheet());
    QPointer<CEnvironmentSheet> open = sheet();
    // The registration question holds the scan (its Close button is enabled again by then, but
    // the scan has not ended); the user tries to close the sheet meanwhile.
    bool closedDuringScan = true;
    framework::setMessageBoxAnswerer([&](const framework::MessageBoxRequest& request) {
        boxes.push_back(request);
        platform::WindowMessage close;
        close.window = open->windowHandle();
        close.message = platform::WM_CLOSE;
        open->wiring().dispatch(close);
        open->close();
        closedDuringScan = !open->isVisible();
        return framework::IDNO;
    });
    open->channelPage()->wiring().sendCommand(1012);
    EXPECT_FALSE(open->closeButton()->isEnabled());
    EXPECT_FALSE(open->requestClose());
    ASSERT_TRUE(deliverPostedUntil([&] { return open && open->channelPage()->scanning() == 0 && !boxes.empty(); }));
    EXPECT_FALSE(closedDuringScan);
    settle();
    ASSERT_TRUE(open);
    EXPECT_TRUE(open->isVisible());
    EXPECT_TRUE(open->closeButton()->isEnabled());
    // Afterwards it closes.
    open->closeButton()->click();
    settle();
    EXPECT_FALSE(open);
}

TEST_F(ConfigSheetTest, ClosingTheViewerTakesAnOpenSheetWithIt) {
    openInMode(1);
    viewer->wiring().sendCommand(1007);
    QPointer<CEnvironmentSheet> open = sheet();
    ASSERT_TRUE(open);
    close();
    EXPECT_FALSE(open);
    EXPECT_EQ(closedCount, 1);
}

}  // namespace
}  // namespace kelto
