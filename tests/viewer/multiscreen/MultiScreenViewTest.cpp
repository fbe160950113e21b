// The multi-screen view on the real viewer over the simulated card, in virtual time: the cells
// and their pictures, the live cell, the context menu, the buttons and the way back to the viewer.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "capture/CCaptureWindow.h"
#include "framework/QtMenus.h"
#include "resources/ArtResource.h"
#include "viewer/multiscreen/CMultiScreenDlg.h"
#include "viewer/multiscreen/MultiScreenLayout.h"
#include "viewer/multiscreen/MultiScreenMessages.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include <map>

namespace kelto {
namespace {

using namespace viewer::multiscreen;

// US broadcast channels: 6 at 83.25 MHz, 7 at 175.25 MHz and 6 MHz apart up to 13.
std::uint32_t carrierOf(int channel) {
    return channel == 6 ? 83'250'000u : 175'250'000u + std::uint32_t(channel - 7) * 6'000'000u;
}

class MultiScreenViewTest : public test::ViewerWindowRig {
protected:
    // The card carries a station on each of the channels 6, 7, 9, 11 and 12, each with its name.
    void SetUp() override {
        ViewerWindowRig::SetUp();
        std::vector<cardsim::Station> stations;
        for (int channel : {6, 7, 9, 11, 12})
            stations.push_back(cardsim::test::tvStation(carrierOf(channel), "KCH " + std::to_string(channel)));
        cardsim::test::buildCard({}, stations);
        saveState(7, QRect(40, 40, 484, 424));
        CMultiScreenDlg::setContextMenuExecution(false);
    }
    void TearDown() override {
        CMultiScreenDlg::setContextMenuExecution(true);
        ViewerWindowRig::TearDown();
    }
    // Cells and their slots (1-based slot: channel).
    void registerCells(int cells, std::map<int, int> filled) {
        store.writeInt("multi", "s_multiselect", cells);
        for (const auto& [slot, channel] : filled) store.writeInt("multi", "s_tv" + std::to_string(slot), channel);
    }
    CMultiScreenDlg* openView() {
        if (!open()) return nullptr;
        viewer->wiring().sendCommand(32776);
        return viewer->multiScreenView();
    }
    CMultiScreenDlg* view() const { return viewer->multiScreenView(); }
    capture::CCaptureWindow& capture() { return viewer->multiScreenViewer().captureWindow(); }
    // The live picture, wherever it is (in the view while that is open).
    QWidget* livePicture() { return capture().GetWindow(); }
    // Lets the worker and the view run until `done` holds.
    template <typename Done>
    bool runUntil(Done done) {
        return deliverPostedUntil(done);
    }
    bool passesDone(int passes) {
        return runUntil([&] { return view() && view()->worker().passes() >= passes; });
    }
    void press(QPoint at) {
        mouse(view(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    }
    void click(QPoint at) {
        press(at);
        mouse(view(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    QPoint centreOf(int k) const { return cellRect(view()->cellCount(), k).center(); }
    void contextMenuAt(QPoint at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view()->mapToGlobal(at));
        QApplication::sendEvent(view(), &event);
    }
    // The frame the card gives for a channel now, as the viewer sees it (after the view closed).
    QImage referenceFrame(int channel) {
        viewer->tuneChannel(channel);
        clock.advanceMs(kSettleMs);  // as the worker lets it settle
        return capture().GrabFrameImage(kCellWidth, kCellHeight);
    }
    // The station's name plate: the rows of the picture that only the station decides.
    static int plateDifferences(const QImage& a, const QImage& b) {
        int differing = 0;
        for (int y = 8; y < 32; ++y)
            for (int x = 0; x < kCellWidth; ++x) differing += a.pixel(x, y) != b.pixel(x, y);
        return differing;
    }
};

TEST_F(MultiScreenViewTest, NineCellsWithSlotsOneAndFiveTuneOnlyTheirCellsEachShowingItsOwnStation) {
    registerCells(9, {{1, 6}, {5, 11}});
    ASSERT_NE(openView(), nullptr);
    EXPECT_TRUE(viewer->isHidden());
    EXPECT_TRUE(viewer->session()->companions().multiScreenOpen);
    EXPECT_EQ(view()->size(), QSize(500, 440));
    EXPECT_EQ(view()->windowTitle(), "Kelto MultiScreen");
    ASSERT_TRUE(passesDone(2));

    for (int k = 0; k < 9; ++k) {
        const bool filled = k == 0 || k == 4;
        EXPECT_EQ(view()->cellChannel(k).has_value(), filled) << "cell " << k;
        EXPECT_EQ(view()->cellPicture(k).isNull(), !filled) << "cell " << k;
    }
    EXPECT_EQ(view()->tipAt(centreOf(0)), "TV Channel : 6");
    EXPECT_EQ(view()->tipAt(centreOf(4)), "TV Channel : 11");
    EXPECT_EQ(view()->tipAt(centreOf(1)), "");
    EXPECT_EQ(view()->tipAt(minimiseButtonRect(9).center()), "Minimize");
    EXPECT_EQ(view()->tipAt(exitButtonRect(9).center()), "MultiScreen Exit");
    const QImage cell0 = view()->cellPicture(0);
    const QImage cell4 = view()->cellPicture(4);
    EXPECT_EQ(cell0.size(), QSize(160, 120));

    view()->close();
    ASSERT_TRUE(runUntil([&] { return !view(); }));
    const QImage six = referenceFrame(6);
    const QImage eleven = referenceFrame(11);
    EXPECT_EQ(plateDifferences(cell0, six), 0);
    EXPECT_EQ(plateDifferences(cell4, eleven), 0);
    EXPECT_GT(plateDifferences(cell0, eleven), 0);  // the plates do tell the stations apart
}

TEST_F(MultiScreenViewTest, AClickOnAnEmptyCellDoesNothingAndAFilledCellGoesLiveInItsCell) {
    registerCells(9, {{1, 6}, {5, 11}});
    ASSERT_NE(openView(), nullptr);
    ASSERT_TRUE(passesDone(1));
    click(centreOf(1));
    EXPECT_FALSE(view()->worker().pauseRequested());
    EXPECT_EQ(view()->liveCell(), -1);
    const int passes = view()->worker().passes();
    ASSERT_TRUE(passesDone(passes + 1));  // still cycling

    click(centreOf(0));
    ASSERT_TRUE(runUntil([&] { return view()->liveCell() == 0; }));
    EXPECT_TRUE(view()->worker().isPaused());
    auto* live = livePicture();
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(live->parentWidget(), view());
    EXPECT_EQ(live->geometry(), cellRect(9, 0));
    EXPECT_EQ(viewer->currentChannel(), 6);
    // A click on an empty cell while one is live changes nothing either.
    click(centreOf(8));
    EXPECT_EQ(view()->liveCell(), 0);
}

TEST_F(MultiScreenViewTest, SwitchingTheLiveCellKeepsThePreviousCellsLastFrameAsItsPicture) {
    registerCells(4, {{1, 6}, {2, 9}, {4, 12}});
    ASSERT_NE(openView(), nullptr);
    ASSERT_TRUE(passesDone(1));
    click(centreOf(0));
    ASSERT_TRUE(runUntil([&] { return view()->liveCell() == 0; }));
    const QImage cycled = view()->cellPicture(0);
    clock.advanceMs(1700);  // the card's picture moves on meanwhile (its square and clock)

    click(centreOf(1));
    EXPECT_EQ(view()->liveCell(), 1);  // the worker is paused already: at once
    EXPECT_EQ(viewer->currentChannel(), 9);
    const QImage kept = view()->cellPicture(0);
    EXPECT_NE(kept, cycled);

    click(centreOf(3));
    EXPECT_EQ(view()->liveCell(), 3);
    view()->close();
    ASSERT_TRUE(runUntil([&] { return !view(); }));
    EXPECT_EQ(plateDifferences(kept, referenceFrame(6)), 0);  // channel 6's frame of the moment
}

TEST_F(MultiScreenViewTest, APauseReportArrivingAfterTheCycleStartedAgainIsIgnored) {
    registerCells(4, {{1, 6}, {2, 9}});
    ASSERT_NE(openView(), nullptr);
    ASSERT_TRUE(passesDone(1));
    // A click asks for a pause; "Refresh All Channels" comes before the worker's report, which
    // then finds the worker resumed: no cell may go live while the worker cycles.
    click(centreOf(1));
    view()->wiring().sendCommand(32820);
    view()->wiring().dispatch(platform::WindowMessage{view()->windowHandle(), kMsgMultiScreenPaused, 0, 0, 0, {}, false});
    EXPECT_EQ(view()->liveCell(), -1);
    const int passes = view()->worker().passes();
    ASSERT_TRUE(passesDone(passes + 1));
    EXPECT_EQ(view()->liveCell(), -1);
}

TEST_F(MultiScreenViewTest, TheContextMenuOpensOnlyOnAFilledCellWithItsChannelInTheItems) {
    registerCells(4, {{2, 9}});
    ASSERT_NE(openView(), nullptr);
    contextMenuAt(centreOf(0));
    EXPECT_EQ(view()->lastContextMenu(), nullptr);
    EXPECT_EQ(view()->menuCell(), -1);

    contextMenuAt(centreOf(1));
    QMenu* menu = view()->lastContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(view()->menuCell(), 1);
    std::map<int, QString> items;
    for (QAction* action : menu->actions())
        if (const int command = framework::commandOf(action)) items[command] = action->text();
    EXPECT_EQ(items[32819], "9Channel View(&S)");
    EXPECT_EQ(items[32827], "9Channel Exit(&X)");
    EXPECT_TRUE(items.count(32820));

    // "Channel View" shows the cell live, as a click on it.
    for (QAction* action : menu->actions())
        if (framework::commandOf(action) == 32819) action->trigger();
    ASSERT_TRUE(runUntil([&] { return view()->liveCell() == 1; }));
    // Back to cycling: the capture window leaves the cell, the worker goes on.
    viewer->multiScreenView()->wiring().sendCommand(32820);
    EXPECT_EQ(view()->liveCell(), -1);
    EXPECT_EQ(livePicture()->size(), QSize(0, 0));
    const int passes = view()->worker().passes();
    ASSERT_TRUE(passesDone(passes + 1));
}

TEST_F(MultiScreenViewTest, TheExitButtonWhileACellIsLiveResumesTheWorkerAndTheViewerComesBackOnTheExitChannel) {
    registerCells(4, {{1, 6}, {2, 9}});
    const QSize frameBefore = [&] {
        open();
        const QSize size(int(capture().GetImageWidth()), int(capture().GetImageHeight()));
        return size;
    }();
    viewer->wiring().sendCommand(32776);
    ASSERT_NE(view(), nullptr);
    click(centreOf(1));
    ASSERT_TRUE(runUntil([&] { return view()->liveCell() == 1; }));

    // Pressed drawing follows the pointer; the release over the button closes.
    const QRect exit = exitButtonRect(4);
    press(exit.center());
    EXPECT_TRUE(view()->exitPressed());
    mouse(view(), QEvent::MouseButtonRelease, exit.center(), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(view()->closing());
    EXPECT_EQ(view()->liveCell(), -1);  // cycling again, so the worker sees the stop
    ASSERT_TRUE(runUntil([&] { return !view(); }));

    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->session()->companions().multiScreenOpen);
    EXPECT_EQ(picture()->parentWidget(), viewer.data());
    EXPECT_EQ(picture()->geometry(), viewer->pictureRect());
    EXPECT_EQ(viewer->currentChannel(), 7);  // the channel it had when the view opened
    EXPECT_EQ(viewer->onScreenText(), "CH   7");
    EXPECT_EQ(QSize(int(capture().GetImageWidth()), int(capture().GetImageHeight())), frameBefore);
}

TEST_F(MultiScreenViewTest, ChannelExitLeavesTheViewerOnTheMenuCellsChannel) {
    registerCells(4, {{1, 6}, {3, 12}});
    ASSERT_NE(openView(), nullptr);
    contextMenuAt(centreOf(2));
    ASSERT_NE(view()->lastContextMenu(), nullptr);
    view()->wiring().sendCommand(32827);
    ASSERT_TRUE(runUntil([&] { return !view(); }));
    EXPECT_EQ(viewer->currentChannel(), 12);
}

TEST_F(MultiScreenViewTest, WithListPositionsACellTunesTheRegisteredChannelThereAndChannelExitLeavesTheViewerOnIt) {
    // Country code 86 numbers channels by their place in the registered list (6, 7, 9, 11, 12):
    // slot value 3 is the third registered channel, 9.
    store.writeInt("user", "CountryCode", 86);
    registerCells(4, {{2, 3}});
    ASSERT_NE(openView(), nullptr);
    EXPECT_EQ(view()->cellSlotValue(1), 3);
    EXPECT_EQ(view()->cellChannel(1), 9);
    EXPECT_EQ(view()->tipAt(centreOf(1)), "TV Channel : 3");
    contextMenuAt(centreOf(1));
    ASSERT_NE(view()->lastContextMenu(), nullptr);
    std::map<int, QString> items;
    for (QAction* action : view()->lastContextMenu()->actions())
        if (const int command = framework::commandOf(action)) items[command] = action->text();
    EXPECT_EQ(items[32827], "3Channel Exit(&X)");
    view()->wiring().sendCommand(32827);
    ASSERT_TRUE(runUntil([&] { return !view(); }));
    EXPECT_EQ(viewer->currentChannel(), 9);
    EXPECT_EQ(viewer->sheetViewer().displayedNumber(), 3);
}

TEST_F(MultiScreenViewTest, PressingTheMinimiseButtonAndLeavingItDoesNothing) {
    registerCells(4, {{1, 6}});
    ASSERT_NE(openView(), nullptr);
    const QRect minimise = minimiseButtonRect(4);
    press(minimise.center());
    EXPECT_TRUE(view()->minimisePressed());
    mouse(view(), QEvent::MouseMove, minimise.center() + QPoint(0, -40), Qt::NoButton, Qt::LeftButton);
    mouse(view(), QEvent::MouseButtonRelease, minimise.center() + QPoint(0, -40), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(view()->minimisePressed());
    EXPECT_FALSE(view()->isMinimized());
    EXPECT_FALSE(view()->closing());
}

TEST_F(MultiScreenViewTest, APressOutsideCellsAndButtonsDragsTheViewUnderCursor227) {
    registerCells(4, {{1, 6}});
    ASSERT_NE(openView(), nullptr);
    EXPECT_EQ(view()->cursor().pixmap().toImage(), cursorResource(227).pixmap().toImage());
    const QPoint start = view()->pos();
    const QPoint grip = view()->mapToGlobal(QPoint(200, 300));  // on the deck, right of the buttons
    mouseAt(view(), QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    mouseAt(view(), QEvent::MouseMove, grip + QPoint(25, 15), Qt::NoButton, Qt::LeftButton);
    mouseAt(view(), QEvent::MouseButtonRelease, grip + QPoint(25, 15), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view()->pos(), start + QPoint(25, 15));
    EXPECT_FALSE(view()->closing());
}

TEST_F(MultiScreenViewTest, ClosingTheViewerClosesTheViewFirst) {
    registerCells(4, {{1, 6}});
    ASSERT_NE(openView(), nullptr);
    click(centreOf(0));
    ASSERT_TRUE(runUntil([&] { return view() && view()->liveCell() == 0; }));
    QPointer<CMultiScreenDlg> gone = view();
    close();
    EXPECT_TRUE(gone.isNull());
    EXPECT_TRUE(viewer.isNull());
}

TEST_F(MultiScreenViewTest, OutsideTheTunerModesOrWithoutChannelsNoViewOpens) {
    registerCells(4, {{1, 6}});
    store.writeInt("user", "s_vmode", 2);
    ASSERT_TRUE(open());
    viewer->wiring().sendCommand(32776);
    EXPECT_EQ(viewer->multiScreenView(), nullptr);
    EXPECT_FALSE(viewer->session()->companions().multiScreenOpen);
}

}  // namespace
}  // namespace kelto
